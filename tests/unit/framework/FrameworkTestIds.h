// Identifiers of the framework tests' resource templates.
#pragma once

#define IDD_TEST_DIALOG 101
#define IDD_TEST_PAGE 102
#define IDC_NAME 1001
#define IDC_LOUD 1002
#define IDC_RESET 1003
#define IDC_SOFT 1004
