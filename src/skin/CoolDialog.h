// A skinned dialog: a lit background painted when the background is erased, the scheme
// handed down to every child, the children placed by their layout blocks when the dialog is
// resized, and hover prompts shown in a status bar among its descendants.
#pragma once

#include "CoolContainer.h"
#include "CoolDC.h"
#include "Dialog.h"

#include <memory>
#include <string>

class CCoolDialog : public CDialog, public CoolContainer {
public:
    explicit CCoolDialog(UINT templateId = 0, HWND parent = nullptr);
    CCoolDialog(const DLGTEMPLATE* dialogTemplate, HWND parent = nullptr);
    ~CCoolDialog() override;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The status prompt of an identifier: its string resource up to the first line feed.
    virtual void GetMessageString(UINT id, std::string& text) const;
    // The status bar that shows the prompts: the descendant with the status bar identifier.
    virtual HWND GetMessageBar() const;

    // Hands the scheme to every direct child and has them repainted.
    void Propagate() override;

protected:
    HWND m_pParentWnd = nullptr;
    // Held for the window's life, so the drawing library stays loaded between paints.
    CCoolDC m_drawingLife{nullptr};
    HICON m_hIcon = nullptr; // set by the derived dialog
    int m_lastMessageId = 0;
    int m_currentMessageId = 0;

private:
    BOOL OnEraseBkgnd(HDC dc);
    void OnPaint();
    void OnSize();
    LRESULT OnSetMessageString(WPARAM id, LPARAM text);
};
