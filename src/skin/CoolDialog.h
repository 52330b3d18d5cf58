// A skinned dialog: a lit background painted when the background is erased, the scheme
// handed down to every child, the children placed by their layout blocks when the dialog is
// resized, and hover prompts shown in a status bar among its descendants.
#pragma once

#include "CoolBitmap.h"
#include "CoolColors.h"
#include "CoolDC.h"
#include "Dialog.h"

#include <memory>
#include <string>

class CCoolDialog : public CDialog, public CoolColors {
public:
    explicit CCoolDialog(UINT templateId = 0, HWND parent = nullptr);
    CCoolDialog(const DLGTEMPLATE* dialogTemplate, HWND parent = nullptr);
    ~CCoolDialog() override;

    int GetBackgroundBitmap(CCoolBitmap** out) override;
    int GetScreenRect(RECT* out) override;
    void OnColorsChanged() override;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The status prompt of an identifier: its string resource up to the first line feed.
    virtual void GetMessageString(UINT id, std::string& text) const;
    // The status bar that shows the prompts: the descendant with the status bar identifier.
    virtual HWND GetMessageBar() const;

    // Hands the scheme to every direct child and has them repainted.
    void Propagate();

protected:
    HWND m_pParentWnd = nullptr;
    // Held for the window's life, so the drawing library stays loaded between paints.
    CCoolDC m_drawingLife{nullptr};

    std::unique_ptr<CCoolBitmap> m_background;
    HICON m_hIcon = nullptr; // set by the derived dialog
    int m_lastMessageId = 0;
    int m_currentMessageId = 0;

private:
    // Builds the cached background when there is none; null when the client area is empty.
    CCoolBitmap* EnsureBackground(HDC reference);
    BOOL OnEraseBkgnd(HDC dc);
    void OnPaint();
    void OnSize();
    void OnDisplayChange(int bitsPerPixel);
    LRESULT OnSetMessageString(WPARAM id, LPARAM text);
};
