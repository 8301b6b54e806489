#pragma once

// Shared by the resource script, the program and the tests that drive it.
#define IDI_APPLICATION_ICON 101

#define IDC_CMD_COMPLETE 1001
#define IDC_FRA_COMMON 1002
#define IDC_TXT_COMMON 1003
#define IDC_CMD_COMMON 1004
