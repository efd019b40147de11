// Ids of the control tests' resource library fw_ctl_res.dll and of the test programs.
#pragma once

#define IDB_FACE_NORMAL 201    // 40 x 24 red
#define IDB_FACE_SEL 202       // green
#define IDB_FACE_FOCUS 203     // blue
#define IDB_FACE_DISABLED 204  // grey
#define IDB_STRIP 210          // tool bar images 26 x 26: red, green, blue, yellow on light grey
#define IDB_ICONS 211          // image list images 16 x 16: red, dark green, blue on magenta
#define IDR_CLIP 220           // AVI: three 16 x 16 frames
#define IDB_MISSING 299        // no such bitmap

// Tool bar commands, with "prompt\ntip" strings.
#define ID_TB_FIRST 32001
#define ID_TB_SECOND 32002
#define ID_TB_THIRD 32003
#define ID_TB_FOURTH 32004

// Property pages.
#define IDD_PAGE_ONE 400
#define IDD_PAGE_TWO 401
#define IDC_PAGE_EDIT 1101
#define IDC_PAGE_CHECK 1102
#define IDS_PAGE_ONE 410
#define IDS_PAGE_TWO 411
#define IDS_SHEET 412
