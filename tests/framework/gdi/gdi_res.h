// Ids of the test resource library fw_gdi_res.dll (shared by its script and the tests).
#pragma once
#define IDB_GDI_TEST 300
#define IDR_TEST_MENU 400
#define ID_TEST_FILE_OPEN 1001
#define ID_TEST_FILE_CLOSE 1002
#define ID_VIEW_ICONS 1101
#define ID_VIEW_LIST 1102
#define ID_VIEW_DETAILS 1103
