// Asks for the name of a colour set: an edit field laid over the place of the OK and Cancel
// buttons of the editor's small template, the buttons moved below it.
#pragma once

#include "CoolButton.h"
#include "CoolDialog.h"
#include "CoolEdit.h"

#include <string>

class CCoolColorNameDialog : public CCoolDialog {
public:
    enum : int { IdName = 21866 };

    // The edit starts with name, or "New" when name is empty.
    CCoolColorNameDialog(const DLGTEMPLATE* dialogTemplate, HWND parent, const std::string& name);
    ~CCoolColorNameDialog() override;

    // The name the user confirmed with OK.
    const std::string& GetName() const { return m_name; }

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CCoolButton m_ok;
    CCoolButton m_cancel;
    CCoolEdit m_edit;
    std::string m_name;
};
