#include "Dialog.h"
#include "DialogTemplate.h"
#include "Edit.h"
#include "FrameworkTestIds.h"
#include "Platform.h"
#include "Pump.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An edit control that counts the messages reaching its object.
class CCountingEdit : public CEdit {
public:
    int messages = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        ++messages;
        return CEdit::WindowProc(message, wParam, lParam);
    }
};

// Posts a key to the control with the focus, as the keyboard would.
void PostKey(HWND focus, UINT key) {
    ::PostMessageA(focus, WM_KEYDOWN, key, 1);
}

class CNameDialog : public CDialog {
public:
    using CDialog::CDialog;
    CCountingEdit name;
    int inits = 0;
    UINT keyAtStart = 0; // posted to the focus once the dialog runs
    std::string nameAtOk;
    HWND window = nullptr;

    void DoDataExchange() override { BindControl(IDC_NAME, name); }
    BOOL OnInitDialog() override {
        ++inits;
        window = m_hWnd;
        CDialog::OnInitDialog();
        name.SetWindowText("Quenda");
        ::SetFocus(name.m_hWnd);
        if (keyAtStart) PostKey(name.m_hWnd, keyAtStart);
        return FALSE; // the focus was set here
    }
    void OnOK() override {
        nameAtOk = name.GetWindowText();
        EndDialog(42);
    }
};

TEST(Dialog, ModalDialogFromResourceEndsWithItsResult) {
    CNameDialog dialog(IDD_TEST_DIALOG);
    dialog.keyAtStart = VK_RETURN; // the default button: OK
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.nameAtOk, "Quenda"); // the bound control worked through its object
    EXPECT_GT(dialog.name.messages, 0);
    // Everything is unbound once the dialog is gone.
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.name.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(dialog.window));
    EXPECT_EQ(CWnd::FromHandle(dialog.window), nullptr);
}

CDialogTemplate NameTemplate(DWORD style) {
    CDialogTemplate t("In memory", style, CRect(0, 0, 160, 70));
    t.SetFont(8, "MS Shell Dlg");
    t.AddItem(CDialogTemplate::Edit, "", WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
              CRect(8, 8, 148, 22), IDC_NAME);
    t.AddItem(CDialogTemplate::Button, "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
              CRect(40, 46, 90, 60), IDOK);
    t.AddItem(CDialogTemplate::Button, "Cancel", WS_VISIBLE | WS_TABSTOP, CRect(100, 46, 150, 60),
              IDCANCEL);
    return t;
}

TEST(Dialog, ModalDialogFromAnInMemoryTemplateCancels) {
    const CDialogTemplate t = NameTemplate(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(t.ItemCount(), 3);
    CNameDialog dialog(t.Get());
    dialog.keyAtStart = VK_ESCAPE;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_TRUE(dialog.nameAtOk.empty());
}

TEST(Dialog, ModelessDialogIsOwnedByItsObject) {
    const CDialogTemplate t = NameTemplate(WS_POPUP | WS_CAPTION);
    HWND window;
    {
        CNameDialog dialog;
        ASSERT_TRUE(dialog.CreateIndirect(t.Get()));
        window = dialog.m_hWnd;
        EXPECT_EQ(CWnd::FromHandle(window), &dialog);
        EXPECT_EQ(CWnd::FromHandle(::GetDlgItem(window, IDC_NAME)), &dialog.name);
        EXPECT_TRUE(dialog.OwnsWindow());
        // The object's answer is the message's result, straight from WindowProc.
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(dialog.GetResult(), 42);
        EXPECT_FALSE(::IsWindow(window)); // a modeless dialog ends by going
        EXPECT_EQ(dialog.name.m_hWnd, nullptr);

        ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
        window = dialog.m_hWnd;
        EXPECT_EQ(dialog.inits, 2);
    }
    EXPECT_FALSE(::IsWindow(window)); // and goes with its object
    PumpPending();
}

// The process's GDI objects. Where GetGuiResources is not implemented (Wine), the handle
// table is probed instead: a GDI handle's low word is its slot, and a handle given by its slot
// alone is accepted there.
DWORD CountGdiObjects() {
    if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    DWORD count = 0;
    for (UINT_PTR slot = 1; slot <= 0xFFFF; ++slot)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++count;
    return count;
}

TEST(Dialog, ThousandDialogsLeaveNoGdiObjectBehind) {
    const CDialogTemplate t = NameTemplate(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    auto cycle = [&] {
        CNameDialog dialog;
        ASSERT_TRUE(dialog.CreateIndirect(t.Get()));
        ::RedrawWindow(dialog.m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    cycle(); // the first one may create what the system caches (fonts, brushes)
    PumpPending();
    const DWORD before = CountGdiObjects();
    // A font made here and not deleted shows that the count sees the objects of this process.
    HFONT leaked = ::CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    EXPECT_EQ(CountGdiObjects(), before + 1);
    ::DeleteObject(leaked);
    for (int i = 0; i < 1000; ++i)
        cycle();
    PumpPending();
    EXPECT_EQ(CountGdiObjects(), before);
}

} // namespace
