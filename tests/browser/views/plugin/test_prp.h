// Ids of the test property page's dialog.
#pragma once
#define IDD_TESTPRP_PAGE 100
#define IDC_TESTPRP_PATH 101
#define IDC_TESTPRP_SCENE 102
#define IDC_TESTPRP_MAP 103
