// Texts of page controls from the language object.
#pragma once

#include "LanguageSupport.h"
#include "Wnd.h"

// Sets a bound control's text to a string of the current language; nothing when the control
// has no window or there is no language object.
inline void SetLanguageText(CWnd& control, UINT stringId) {
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    if (language && control.GetSafeHwnd()) control.SetWindowText(language->GetString(stringId));
}
