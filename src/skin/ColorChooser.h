// The system colour chooser, called through one replaceable function so that a test can
// answer it instead of a modal dialog.
#pragma once

#include "Platform.h"

#include <commdlg.h>

using ColorChooserFunction = BOOL (*)(CHOOSECOLORA* choose);

// Shows the colour chooser (ChooseColorA unless replaced); nonzero when the user confirmed.
BOOL ShowColorChooser(CHOOSECOLORA* choose);
// Replaces the function ShowColorChooser calls (null restores ChooseColorA); returns the
// one used before.
ColorChooserFunction SetColorChooserFunction(ColorChooserFunction function);
