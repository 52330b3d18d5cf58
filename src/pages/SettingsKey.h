// The registry key, under HKEY_CURRENT_USER, where the control panel keeps its settings (the
// language, the colours and how they are drawn). Named here once, for the pages and the
// application; the layers below them know no key of the program's.
#pragma once

constexpr const char kSettingsKey[] = "Software\\Vantrel Electronic GmbH\\Quenda\\ControlPanel";
