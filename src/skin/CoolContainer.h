// What the skinned windows (dialog, sheet, page) share: they answer the scheme messages as
// windows and pass a change on to their children once per hand-over, and they give their
// see-through children a background to copy from: their own lit one, cached, or the part of
// their parent's that lies under them.
#pragma once

#include "CoolBitmap.h"
#include "CoolColors.h"

#include <memory>

class CWnd;

class CoolContainer : public CoolColors {
public:
    // Whose background the children see.
    enum class BackgroundSource { Own, Parents };

    // The own background (built on first use), or the parent's answer.
    int GetBackgroundBitmap(CCoolBitmap** out) override;
    // The client rectangle on the screen: the own, or the parent's with its background.
    int GetScreenRect(RECT* out) override;
    // Drops the own background.
    void OnColorsChanged() override;

    // Hands the scheme down to the children and has them repainted.
    virtual void Propagate() = 0;

protected:
    CoolContainer(const CWnd& window, BackgroundSource source);

    // The prologue of the container's WindowProc: answers a scheme message and, when it
    // changed the scheme, passes the change on (at the end of a hand-over only) and repaints.
    // True when the message was taken; *result is then the answer.
    bool HandleContainerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The cached own background, built when there is none; null when the client area is empty.
    CCoolBitmap* EnsureBackground(HDC reference);
    // The own background goes when the screen's colour depth changes.
    void OnDisplayChange(int bitsPerPixel);

    std::unique_ptr<CCoolBitmap> m_background;

private:
    const CWnd& m_window;
    const BackgroundSource m_source;
};
