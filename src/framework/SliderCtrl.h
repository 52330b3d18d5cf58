// The system track bar.
#pragma once

#include "Wnd.h"

class CSliderCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateEx(0, TRACKBAR_CLASSA, "", style, rect, parent, id);
    }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    void SetRange(int minimum, int maximum, bool redraw = false) {
        SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
        SendMessage(TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
    }
    void GetSelection(int& start, int& end) const {
        start = static_cast<int>(SendMessage(TBM_GETSELSTART));
        end = static_cast<int>(SendMessage(TBM_GETSELEND));
    }
    void SetSelection(int start, int end) {
        SendMessage(TBM_SETSELSTART, FALSE, start);
        SendMessage(TBM_SETSELEND, FALSE, end);
    }
    void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(frequency)); }
    int GetNumTics() const { return static_cast<int>(SendMessage(TBM_GETNUMTICS)); }
    // The position of intermediate tick mark index (0 to GetNumTics() - 3); -1 for none.
    int GetTic(int index) const {
        return static_cast<int>(SendMessage(TBM_GETTIC, static_cast<WPARAM>(index)));
    }
    int GetLineSize() const { return static_cast<int>(SendMessage(TBM_GETLINESIZE)); }
    void SetLineSize(int size) { SendMessage(TBM_SETLINESIZE, 0, size); }
    int GetPageSize() const { return static_cast<int>(SendMessage(TBM_GETPAGESIZE)); }
    void SetPageSize(int size) { SendMessage(TBM_SETPAGESIZE, 0, size); }
    CRect GetThumbRect() const {
        CRect r;
        SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    CRect GetChannelRect() const {
        CRect r;
        SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
};
