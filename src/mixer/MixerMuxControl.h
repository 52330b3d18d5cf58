// A recording multiplexer as a column of push-like radio buttons, one per item in bands of
// the control's height, each showing the item's list text. A click writes every item to the
// device; a change of the multiplexer checks the buttons again.
#pragma once

#include "CoolButton.h"
#include "CoolStatic.h"
#include "MixerSink.h"

#include <memory>
#include <vector>

class CMixerMuxControl : public CCoolStatic, public CMixerSink {
public:
    // Child IDs: item i is FirstItemId + i; clicks are taken up to LastItemId.
    enum : UINT { FirstItemId = 1024, LastItemId = 1055 };

    CMixerMuxControl();
    CMixerMuxControl(CMixer* mixer, DWORD lineId, DWORD controlId);
    ~CMixerMuxControl() override;

    // Creates the window and binds it (making the buttons).
    bool Create(const char* text, DWORD style, const RECT& rect, HWND parent, UINT id,
                DWORD exStyle = 0);

    int Bind() override;
    int Exchange(int direction) override;
    void OnMixerChange(DWORD controlId, int refresh) override;

    size_t GetItemCount() const { return m_buttons.size(); }
    CCoolButton* GetItem(size_t index) const {
        return index < m_buttons.size() ? m_buttons[index].get() : nullptr;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    void DestroyButtons();

    MIXERLINEA m_line = {};
    std::vector<std::unique_ptr<CCoolButton>> m_buttons;
    std::vector<DWORD> m_values;
};
