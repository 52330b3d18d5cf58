// The organizer of the user's colour sets: a list of their names with "Rename" and "Delete",
// on the editor's small template. Changes go to the registry at once.
#pragma once

#include "ColorSetKey.h"
#include "CoolButton.h"
#include "CoolDialog.h"
#include "CoolListCtrl.h"

#include <string>

class CCoolColorSetsDialog : public CCoolDialog {
public:
    enum : int { IdList = 21867, IdDelete = 21868, IdRename = 21869 };

    CCoolColorSetsDialog(const DLGTEMPLATE* dialogTemplate, HWND parent);
    ~CCoolColorSetsDialog() override;

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Lists the names of the user's sets; Rename and Delete are usable when there are any.
    void FillList();
    void OnDelete();
    void OnRename();

private:
    const DLGTEMPLATE* m_dialogTemplate;
    CColorSetKey m_key;
    CCoolButton m_ok;
    CCoolButton m_cancel;
    CCoolButton m_rename;
    CCoolButton m_delete;
    CCoolListCtrl m_list;
};
