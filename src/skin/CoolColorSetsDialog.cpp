#include "CoolColorSetsDialog.h"

#include "AppMessageBox.h"
#include "CoolColorNameDialog.h"

#include <vector>

namespace {

CRect ChildRect(HWND child) {
    CRect r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The registry compares value names without regard to case.
bool SameValueName(const std::string& a, const std::string& b) {
    return ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}
} // namespace

CCoolColorSetsDialog::CCoolColorSetsDialog(const DLGTEMPLATE* dialogTemplate, HWND parent)
    : CCoolDialog(dialogTemplate, parent), m_dialogTemplate(dialogTemplate) {}

CCoolColorSetsDialog::~CCoolColorSetsDialog() = default;

void CCoolColorSetsDialog::DoDataExchange() {
    BindControl(IDOK, m_ok);
    BindControl(IDCANCEL, m_cancel);
}

BOOL CCoolColorSetsDialog::OnInitDialog() {
    CCoolDialog::OnInitDialog();
    SetWindowText("Color Sets");

    CRect ok = ChildRect(m_ok);
    CRect cancel = ChildRect(m_cancel);
    const HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    const CRect list(ok.left, ok.top, cancel.right, ok.top + 80);
    if (m_list.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_LIST | LVS_SORTASCENDING, list,
                      m_hWnd, IdList))
        m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    CRect rename = ok, remove = cancel;
    rename.OffsetRect(0, 88);
    remove.OffsetRect(0, 88);
    const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    if (m_rename.Create("Rename", buttonStyle, rename, m_hWnd, IdRename))
        m_rename.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (m_delete.Create("Delete", buttonStyle, remove, m_hWnd, IdDelete))
        m_delete.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    // OK spans both buttons below them; Cancel is not offered.
    const CRect okPlace(ok.left, rename.bottom + 8, cancel.right, rename.bottom + 8 + ok.Height());
    m_ok.MoveWindow(okPlace);
    m_cancel.ShowWindow(SW_HIDE);
    const CRect window = GetWindowRect();
    const CRect client = GetClientRect();
    const int height = window.Height() - client.Height() + okPlace.bottom + 8;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.Width(), height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    FillList();
    Propagate();
    ::SetFocus(m_list);
    return FALSE; // the focus is set
}

LRESULT CCoolColorSetsDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && OnCommand(wParam, lParam)) return 0;
    return CCoolDialog::WindowProc(message, wParam, lParam);
}

BOOL CCoolColorSetsDialog::OnCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
    case IdDelete:
        OnDelete();
        return TRUE;
    case IdRename:
        OnRename();
        return TRUE;
    default:
        return FALSE;
    }
}

void CCoolColorSetsDialog::FillList() {
    m_list.DeleteAllItems();
    for (const std::string& name : m_key.ValueNames(CColorSetKey::kUserSets))
        m_list.InsertItem(m_list.GetItemCount(), name);
    const bool any = m_list.GetItemCount() > 0;
    m_rename.EnableWindow(any);
    m_delete.EnableWindow(any);
}

void CCoolColorSetsDialog::OnDelete() {
    std::vector<std::string> chosen;
    for (int item = m_list.GetNextItem(-1, LVNI_SELECTED); item >= 0;
         item = m_list.GetNextItem(item, LVNI_SELECTED))
        chosen.push_back(m_list.GetItemText(item));
    if (!chosen.empty() && AppMessageBox(m_hWnd, "Are you sure to delete the selected color sets?",
                                         MB_YESNO | MB_ICONQUESTION) == IDYES)
        for (const std::string& name : chosen)
            m_key.DeleteValue(CColorSetKey::kUserSets, name);
    FillList();
}

void CCoolColorSetsDialog::OnRename() {
    const int item = m_list.GetNextItem(-1, LVNI_SELECTED);
    const std::string oldName = item >= 0 ? m_list.GetItemText(item) : std::string();
    CCoolColorNameDialog names(m_dialogTemplate, m_hWnd, oldName);
    if (names.DoModal() != IDOK) return;
    const std::string& newName = names.GetName();
    CoolColorSet set = {};
    if (newName == oldName || !m_key.ReadSet(CColorSetKey::kUserSets, oldName, set)) return;
    // A set of the new name is replaced. When the names differ only in case they name the
    // same value, which must not be deleted after it was written.
    if (SameValueName(newName, oldName)) {
        m_key.DeleteValue(CColorSetKey::kUserSets, oldName);
        m_key.WriteSet(CColorSetKey::kUserSets, newName, set);
    } else {
        m_key.WriteSet(CColorSetKey::kUserSets, newName, set);
        m_key.DeleteValue(CColorSetKey::kUserSets, oldName);
    }
    FillList();
}
