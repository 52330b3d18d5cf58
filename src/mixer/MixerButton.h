// A skinned check box bound to a mixer control: either a whole on/off control (a mute switch,
// whose every channel follows the box) or one item of a list control (a recording source of a
// multiplexer or mixer). A click writes the box to the device at once; every notification of
// the control re-reads it and tells the parent with a WM_NOTIFY record (code -990).
#pragma once

#include "CoolButton.h"
#include "MixerSink.h"

class CMixerButton : public CCoolButton, public CMixerSink {
public:
    // The WM_NOTIFY code (also given as wParam) of the record sent to the parent.
    static constexpr int kNotifyCode = -990;
    struct NotifyRecord {
        NMHDR header;  // window, dialog control ID, code -990
        WORD lineId;   // the line ID's low 16 bits
        WORD reserved; // padding to 32 bits
        DWORD controlId;
    };

    CMixerButton();
    // itemCount 0: the box stands for the whole on/off control; otherwise the control is a
    // list of itemCount values and the box stands for item itemIndex.
    CMixerButton(CMixer* mixer, DWORD lineId, DWORD controlId, int itemCount = 0,
                 int itemIndex = 0);
    ~CMixerButton() override;

    // Creates the window and binds it.
    bool Create(const char* caption, DWORD style, const RECT& rect, HWND parent, UINT id);

    // Binds to another control. The result of Bind.
    int Attach(CMixer* mixer, DWORD lineId, DWORD controlId);
    // The item the box stands for (count 0: the whole control); takes effect at the next Bind.
    void SetItem(int itemCount, int itemIndex) {
        m_itemCount = itemCount;
        m_itemIndex = itemIndex;
    }
    int GetItemCount() const { return m_itemCount; }
    int GetItemIndex() const { return m_itemIndex; }

    int Bind() override;
    int Exchange(int direction) override;
    void OnMixerChange(DWORD controlId, int refresh) override;

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyEnableFlag();
    void Unregister();

    int m_itemCount = 0;
    int m_itemIndex = 0;
    NotifyRecord m_record = {};
};
