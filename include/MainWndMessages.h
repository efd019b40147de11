// Private window messages of the main window, the WM_COPYDATA codes that travel between
// the panes, the browser and outside programs, and the profile flags by which the panes
// report that they are ready. Ids are fixed: outside programs send them too. Which of them
// carry pointers or handles, and how the receivers trust those: OwnMessages.h.
#pragma once

// The main window carries this window property (value 1); the auto-run launcher and
// outside programs find the window by it.
#define MAINWND_PROPERTY " 7kirra:vo "

// ---- Messages of the main window ------------------------------------------------------
#define WM_CHILD_WINDOW_CREATED 1306   // wParam window, lParam manager entry index
#define WM_RELAYED_MESSAGE 1522        // wParam the relay record {message, wParam, lParam}
#define WM_TOOL_VISIBILITY_CHANGED 1523  // wParam entry index, lParam 0x10000000 shown or 0
#define WM_EXPORT_BUSY 1526
#define WM_REFRESH_FOLDERS 1540        // wParam the sender: refresh the trees and the browser
#define WM_SELECT_CLASSIFY_ROOTS 1541  // to the folder pane: open the classification tree's first groups
#define WM_FOLDER_TYPE_QUERY 1542      // answered by the folder pane
#define WM_STORE_HISTORY_BACK 1574     // to the folder pane: write how many entries lie behind
#define WM_STORE_HISTORY_FORWARD 1575  // to the folder pane: write how many entries lie ahead
#define WM_FOLDER_GO_BACK 1634         // to the folder pane: back, forward and up
#define WM_FOLDER_GO_FORWARD 1635
#define WM_FOLDER_GO_UP 1636
#define WM_EXPORT_TEXT_REQUEST 1566    // wParam the window that wants the export pane's text
#define WM_BROWSER_PUBLISH_COUNTS 1576
#define WM_BROWSER_MUSIC_STOP 1616
#define WM_BROWSER_NEXT_THUMBNAIL 1617
#define WM_EXPORT_FINISHED 1624
#define WM_BROWSER_EXPORT_REQUEST 1626 // wParam the window that wants the file list
#define WM_OPEN_MANUAL 1628
#define WM_BROWSER_SORT 1654           // lParam sort id
#define WM_BROWSER_MASK 1655           // lParam filter id
#define WM_BROWSER_RELOAD 1656
#define WM_OPEN_FOLDER 1835  // a tree's saved selection is walked: open it
#define WM_BROWSER_CHANGE_MODE 1657
#define WM_BROWSER_ACTION 1660
// Its actions (lParam).
#define VXACTION_RENAME 0
#define VXACTION_ROTATE_LEFT 1
#define VXACTION_ROTATE_RIGHT 2
#define VXACTION_DELETE 3
#define WM_BROWSER_THUMB_SIZE 1664     // lParam thumbnail size index 0..4
#define WM_BROWSER_BEFORE_FOLDER_CHANGE 1665
#define WM_SHOW_EXPLORER_FOLDER 1724
#define WM_REFRESH_TREES 1828          // 0x724: the folder pane's refresh
#define WM_TREE_FOCUS_CHANGED 1830     // wParam 1: a tree or its title button got the focus
#define WM_FOLDER_ACCEPTED 1834        // to the folder pane: answered 0, nothing done
#define WM_CARD_CHANGED 1844           // wParam drive number, 0 = A
#define WM_BROWSER_FILE_INFO 1849      // to the browser: wParam int* and lParam CMapStringToString* it clears
#define WM_STATUS_PANE_TEXT 1851       // wParam pane index, lParam text
#define WM_CALENDAR_FOLD 1857          // wParam view-mode command id
#define WM_CALENDAR_GET_THUMBNAILS 1858  // wParam the list the calendars fill (in-process senders only)
#define WM_CALENDAR_DECODED 1859       // a calendar's picture was decoded: repaint
#define WM_FOCUSINFO_SET_PATH 1852       // to the focus information's tabs: lParam the path text
#define WM_FOCUSINFO_SHOW_MAP 1853       // relayed to every property page: show the map
#define WM_STATUS_SELECT_COUNT 1860
#define WM_STATUS_MARK_COUNT 1861
#define WM_STATUS_PROGRESS 1862        // lParam percent, -1 ends
#define WM_STATUS_FILE_COUNT 1863      // lParam file count
#define WM_VIEW_MODE_CHANGED 1864      // wParam view type
#define WM_SETTINGS_CHANGED 1865
#define WM_OPTION_PANEL_INVALID 1615  // to an option panel on OK: nonzero keeps the dialog open
#define WM_CLOSE_SLIDE_COLLECT 1866
#define WM_SET_SLIDESHOW_MODE 1867     // wParam mode
#define WM_QUERY_SLIDE_COLLECT 1868    // wParam BOOL* out
#define WM_QUERY_ENTRY_EDITOR 1869     // wParam BOOL* out
#define WM_TOOLBAR_BUTTON_STATES 1925  // wParam button mask, lParam -1 enable / 0 disable
#define WM_TOOL_STARTED 1147  // an outside program tells the main window that it is up
#define WM_TOOLBAR_FILE_LIST_REQUEST 1556  // to the toolbar: wParam the window that wants the file list
#define WM_SLIDESHOW_EXISTS 1928
#define WM_TREE_FOLDER_DELETED 1929    // wParam renew flag, lParam reopen count
#define WM_TOOLBAR_DRAG_ENTER 1914  // to the toolbar: a drag entered the button wParam
#define WM_TOOLBAR_PAGE_TOOL_CHECK 1912  // to the toolbar: start the page program unless it runs
#define WM_TOOL_LIST_SELECT 4357       // to the toolbar: wParam ID_TB_PPC_LIST, lParam the list item
#define WM_TOOLBAR_SLIDE_COLLECT 27876  // to the toolbar: lParam SLIDE_COLLECT_CLOSE closes the collection
#define SLIDE_COLLECT_CLOSE 19009
#define WM_TOOLBAR_CLOSE_EDITOR 27896  // to the toolbar: wParam 0x10000, lParam 1111; IDNO keeps the editor
#define WM_ENTRY_RESTORE_NAME 1368      // to the person entry editor: put the remembered name back
#define WM_FACE_REGISTER_CLOSED 27897   // face registration to its owner: the dialog closed
#define WM_FACE_REGISTER_FACE 27898     // face registration to its owner: wParam the chosen face (FACEPICK*)
#define WM_TOOLBAR_CLOSE_PICKER 27899   // to the toolbar: the image picker ends with the result wParam

// To the folder pane: set the frame's back, forward and up buttons from its history.
#define WM_FOLDER_NAV_BUTTONS (WM_APP + 10)

// To every window of the frame when the program ends without destroying its windows: keep
// now what the window keeps at its destruction (settings, flags, questions about unsaved
// work). It may come again with the destruction: keeping twice must be harmless. Sent
// marked as the process's own (CMTLSendOwnMessage): another program's post or send of the
// number would unload what the running program still uses, so the windows ignore it.
#define WM_KEEP_BEFORE_EXIT (WM_APP + 11)

// The application messages that the main frame relays (WM_RELAYED_MESSAGE).
#define WM_APPMSG_FIRST 1524
#define WM_APPMSG_LAST 1723
// The part of them that is passed on to every registered window.
#define WM_APPMSG_BROADCAST_LAST 1623

// ---- WM_COPYDATA codes (dwData) ---------------------------------------------------------
#define CDID_CHANGE_FOLDER 1534   // folder change: "|"-separated text
#define CDID_ADD_FILES 1536
#define CDID_UPDATE_FILES 1537
#define CDID_ROTATION_FILES 1538
#define CDID_PROGRAM_REQUEST 1564 // an outside program asks for another one
#define CDID_EXPORT_TEXT 1565     // the export pane's text
#define CDID_SELECT_QUERY 1567    // the browser asks a tree to open a query: same text as a change
#define CDID_EXPORT_FILES 1626    // a file list in answer to WM_BROWSER_EXPORT_REQUEST

// ---- Profile: readiness of the panes (section ExeState) ---------------------------------
#define EXESTATE_SECTION "ExeState"
#define EXESTATE_FOLDER_CREATED "VxFolder_Created"
#define EXESTATE_BROWSER_CREATED "VxDepthViewer_Created"
#define EXESTATE_EXPORT_CREATED "VxExport_Created"
