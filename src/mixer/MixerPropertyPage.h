// The generic mixer page: one column of mixer-bound controls per line of one destination (a
// label, a volume slider with the line's peak meter, the switches, the multiplexer), laid out
// at run time on a page that has no dialog resource.
#pragma once

#include "CoolPropertyPage.h"
#include "MixerButton.h"
#include "MixerMuxControl.h"
#include "MixerSliderEx.h"
#include "Static.h"

#include <memory>
#include <vector>

class CMixer;

class CMixerPropertyPage : public CCoolPropertyPage {
public:
    enum : int { ColumnWidth = 45, PageHeight = 280 };
    // Child IDs: sliders SliderId + source index + 1 (the destination is source -1), switches
    // likewise from ButtonId, the multiplexer MuxId, the labels LabelId.
    enum : UINT { SliderId = 1001, ButtonId = 1129, MuxId = 1096, LabelId = 0xFFFF };

    CMixerPropertyPage();
    ~CMixerPropertyPage() override;

    // The destination the page shows; before the page is added to a sheet.
    void SetDestination(CMixer* mixer, int destination);

    int GetPageWidth() override { return m_width; }
    int GetPageHeight() override { return m_height; }
    // The lines that got a column.
    int GetLineCount() const { return m_lineCount; }
    int GetDestination() const { return m_destination; }

    const std::vector<std::unique_ptr<CMixerSliderEx>>& GetSliders() const { return m_sliders; }
    const std::vector<std::unique_ptr<CMixerButton>>& GetButtons() const { return m_buttons; }
    const std::vector<std::unique_ptr<CMixerMuxControl>>& GetMuxes() const { return m_muxes; }
    const std::vector<std::unique_ptr<CStatic>>& GetLabels() const { return m_labels; }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AddLine(int source, const MIXERLINEA& line, int& column);

    std::vector<std::unique_ptr<CMixerMuxControl>> m_muxes;
    std::vector<std::unique_ptr<CStatic>> m_labels;
    std::vector<std::unique_ptr<CMixerSliderEx>> m_sliders;
    std::vector<std::unique_ptr<CMixerButton>> m_buttons;
    CMixer* m_mixer = nullptr;
    int m_destination = -1;
    int m_lineCount = 0;
    int m_height = PageHeight;
    int m_width = 20;
};
