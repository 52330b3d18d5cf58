// The card's own functions (speaker volumes and mode, virtual 5.1, S/P-DIF, microphone boost)
// go through the card's vendor control object. Without one nothing of them reaches the card,
// and the controls for them are disabled rather than seeming to work.
#pragma once

#include "Wnd.h"
#include "ZephMixer.h"

#include <initializer_list>

inline bool HasCardFunctions(const CZephMixer* mixer) {
    return mixer && mixer->GetCardControl();
}

// Disables the controls that need the vendor object when there is none.
inline void DisableWithoutCardFunctions(const CZephMixer* mixer,
                                        std::initializer_list<CWnd*> controls) {
    if (HasCardFunctions(mixer)) return;
    for (CWnd* control : controls)
        if (control->GetSafeHwnd()) control->EnableWindow(false);
}
