// Ids of the window tests' resource library fw_win_res.dll and of the test programs.
#pragma once

// Commands of the routing test: handled by the named targets.
#define ID_CMD_VIEW 30001
#define ID_CMD_DOC 30002
#define ID_CMD_FRAME 30003
#define ID_CMD_APP 30004
#define ID_CMD_ALL 30005       // view, document, frame and application
#define ID_CMD_DOCFRAME 30006  // document and frame
#define ID_CMD_FRAMEAPP 30007  // frame and application
#define ID_CMD_NONE 30008      // nobody
#define ID_CMD_DECLINE 30009   // the view declines (ON_COMMAND_EX), the frame takes it
#define ID_CMD_RANGE_FIRST 30010
#define ID_CMD_RANGE_LAST 30019
#define ID_CMD_UPDATE_ONLY 30020  // an update handler, no command handler
#define ID_CMD_GREYED 30021       // update handler disables it
#define ID_CMD_HAND_FIRST 29501   // routed by hand by a derived frame
#define ID_CMD_HAND_LAST 29510
#define ID_CMD_PROMPT 30030       // string "prompt\ntip"

#define IDR_TESTFRAME 200         // title string and menu of the test frames
#define IDD_FORM 300              // a form view's template (child)
#define IDD_MODAL 301             // a modal dialog's template
#define IDD_DATA 302              // data exchange fields
#define IDD_FORM_BROKEN 303       // a form with a control of a class nobody registered
#define IDC_EDIT_INT 1001
#define IDC_EDIT_UINT 1002
#define IDC_EDIT_TEXT 1003
#define IDC_CHECK 1004
#define IDC_RADIO1 1005
#define IDC_RADIO2 1006
#define IDC_RADIO3 1007
#define IDC_COMBO 1008
#define IDC_FORM_EDIT 1010
#define IDC_TIP_BUTTON 1020       // string "prompt\nbutton tip"

#define IDS_TIP_BUTTON IDC_TIP_BUTTON
