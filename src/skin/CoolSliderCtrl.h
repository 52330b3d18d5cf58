// The skinned track bar: a see-through slider with a lit channel, a luminous thumb, coloured
// tick marks, an optional level bar drawn from the selection range, hover and focus looks and
// a double-click reset. The paint redraws only the layers marked dirty, so a level change costs
// little more than copying the channel and the part of the prebuilt level bar that shows.
#pragma once

#include "CoolColors.h"
#include "CoolLayer.h"
#include "SliderCtrl.h"

#include <initializer_list>
#include <memory>

class CCoolBitmap;
class CCoolDC;

class CCoolSliderCtrl : public CSliderCtrl, public CoolColors {
public:
    // Layers the paint must redraw.
    enum : unsigned {
        DirtyBackground = 0x01,
        DirtyTicks = 0x04,
        DirtyChannel = 0x10,
        DirtyLevelImage = 0x20,
        DirtyLevelPlacement = 0x40,
        DirtyAll = 0xFF
    };

    CCoolSliderCtrl();
    ~CCoolSliderCtrl() override;

    // The position a double click sets, and whether a double click sets it.
    void SetResetValue(int value) { m_resetValue = value; }
    int GetResetValue() const { return m_resetValue; }
    void EnableReset(bool enable) { m_resetEnabled = enable; }

    void OnColorsChanged() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Reads what the level bar shows; true when it changed since the last paint.
    virtual bool ReadLevels();
    // Builds the full-length level gradient over the bar area (bar in client coordinates).
    virtual void BuildLevelImage(HDC reference, const CRect& bar);
    // Copies the shown part of the level bar into the composed image.
    virtual void PlaceLevelBar(CCoolDC& dc, const CRect& channel, const CRect& bar);

    // Copies the parts of the level image that lie at parts (client coordinates, within bar).
    void CopyLevelParts(CCoolDC& dc, const CRect& bar, std::initializer_list<CRect> parts);
    // The part of the bar between two values of the range.
    CRect LevelSpan(const CRect& bar, int from, int to) const;

    // The channel and the thumb in client coordinates, the thumb placed by the position.
    void GetGeometry(CRect& channel, CRect& thumb) const;
    void GetGeometry(CRect& channel, CRect& thumb, int pos, int minimum, int maximum) const;
    bool IsVertical() const { return (CWnd::GetStyle() & TBS_VERT) != 0; }
    // Marks the level bar for repainting: the channel with a margin for the peak mark, once
    // the channel has been placed; before that, the whole window. The paint then copies only
    // that part to the screen.
    void InvalidateLevels();

    // Constant alpha of the level bar while the alpha render flag is set.
    int m_levelAlpha = 127;
    unsigned m_dirty = DirtyAll;
    int m_lastPos = 0;
    int m_lastSelStart = 0, m_lastSelEnd = 0;
    int m_lastMin = 0, m_lastMax = 0;
    int m_hot = 0;
    int m_focused = 0;

private:
    LRESULT OnPaint();
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnFocus(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);

    void DrawTicks(CCoolDC& dc, const CRect& client, const CRect& channel, const CRect& thumb);
    void DrawTickArea(CCoolDC& dc, const CRect& area, int count, int pos);
    void DrawChannel(CCoolDC& dc, const CRect& channel);
    void DrawThumb(CCoolDC& dc, const CRect& thumb);
    void ReleaseImages();

    int m_resetValue = 0;
    bool m_resetEnabled = true;
    DWORD m_lastStyle = 0, m_lastExStyle = 0;
    CRect m_channel, m_thumb; // as placed at the last position change
    ULONGLONG m_lastClick;
    // The mouse capture is held only to see the pointer leave, not for a drag.
    bool m_hoverCapture = false;
    CCoolLayer m_composed;
    std::unique_ptr<CCoolBitmap> m_background;
    CCoolLayer m_channelNormal, m_channelHot, m_channelFocused;
    CCoolLayer m_levelImage;
};
