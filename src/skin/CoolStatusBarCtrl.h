// The skinned status bar: a cached lit background with the parts' texts and frames drawn over
// it. Owner-drawn parts are left to their owner.
#pragma once

#include "CoolColors.h"
#include "StatusBarCtrl.h"

#include <memory>

class CCoolBitmap;

class CCoolStatusBarCtrl : public CStatusBarCtrl, public CoolColors {
public:
    CCoolStatusBarCtrl();
    ~CCoolStatusBarCtrl() override;

    void OnColorsChanged() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    std::unique_ptr<CCoolBitmap> m_background;
};
