// Resource and command ids of VxResource.dll, shared by every module and by the .rc sources.
// Only #defines here: the resource compiler reads this file too.
//
// Prefixes: IDS_ string, IDD_ dialog template, IDC_ control (child window) id,
// IDB_ bitmap, IDI_ icon, IDR_ menu (IDR_MAINFRAME: menu, icon and document string),
// ID_ command id (its prompt string has the same id), ID_INDICATOR_ status-bar pane.
// Sections follow the areas of the .rc files (rc/<area>-*.rc); see README.md.
#ifndef VXRESOURCEIDS_H
#define VXRESOURCEIDS_H

// ===== Framework ids (spelled as the framework spells them) ============================
#ifndef IDC_STATIC
#define IDC_STATIC (-1)  // dialog controls without an id of their own
#endif
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000  // program title: tray tip, launcher menu, notice captions
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 0xE001  // status bar text when nothing else is shown
#endif
#ifndef ID_FILE_PRINT_SETUP
#define ID_FILE_PRINT_SETUP 0xE106  // printer setup
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 0xE122  // copy the selection to the clipboard
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT 0xE123  // cut the selection
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE 0xE125  // paste files from the clipboard
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 0xE140  // About box
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141  // end the program
#endif
#ifndef ID_VIEW_STATUS_BAR
#define ID_VIEW_STATUS_BAR 0xE801  // show or hide the status bar (also the status bar's id)
#endif

// ===== Common ==========================================================================
#define IDR_MAINFRAME 128  // main menu, application icon and document-template string
#define IDR_DISKTREE_FOLDER_MENU 1001  // disk tree: folder menu (popup 0: 2000 to 2006)
#define IDR_DISKTREE_CONTEXT_MENU 1002  // disk tree: context menu (popup 0: 2100 to 2109)
#define IDR_BROWSER_CONTEXT 130  // browser context menu (popup 0); also loaded by the tray window

// ===== Shell (main program): start-up checks and frame messages (rc/shell-strings.rc) =
#define IDS_SHELL_SLIDESHOW_PREPARING 126  // progress notice while the slide-show player starts
#define IDS_SHELL_MANUAL_NEEDS_READER 328  // the manual needs a PDF reader
#define IDS_SHELL_NOTICE_CLOSING 50501  // wait notice while outside programs close
#define IDS_SHELL_IGNORED_WINDOW_TITLES 51001  // "\n"-separated titles skipped when looking for a program's window
#define IDS_SHELL_EDITOR_UNSUPPORTED_FILE 51100  // a file the image editor cannot open
#define IDS_SHELL_DISPLAY_TOO_SMALL 51102  // start-up: display below 1024 x 768 x 16
#define IDS_SHELL_DISPLAY_CHANGED 51103  // display became unfit while running
#define IDS_SHELL_LOW_RESOURCES 51106  // free system resources below %d %%
#define IDS_SHELL_LOW_DISK_SPACE 51107  // less than %d MB free on the program's drive
#define IDS_SHELL_BAD_CLOCK_YEAR 51108  // clock year outside 1971..2037
#define IDS_SHELL_ALREADY_RUNNING 51109  // another instance runs
#define IDS_SHELL_EDITOR_RUNNING 51122  // start-up refused: the image editor runs
#define IDS_SHELL_ACCOUNT_ERROR 51110  // account check failed: %s (call), %d (error)
#define IDS_SHELL_MDAC_INSTALL 51112  // second half of the data-access message
#define IDS_SHELL_GUEST_REFUSED 51113  // Guests account refused
#define IDS_SHELL_MDAC_TOO_OLD 51115  // data-access components older than 2.5
#define IDS_SHELL_SLIDESHOW_SAVING 51117  // close refused: slide show being saved
#define IDS_SHELL_SLIDESHOW_OPEN 51118  // close refused: slide-show player must close first
#define IDS_SHELL_CLOSE_WITH_MARKS 51121  // close warning while files are marked
#define IDS_SHELL_CLOSE_HELD 51124  // close given up: %s = the program whose window stays open
#define IDS_SHELL_MANUAL_OPEN_FAILED 51123  // the manual could not be opened: %s = its path
#define IDS_SHELL_DB_RENEWED 51125  // damaged database kept aside: %s file, %s kept as, %d files carried over
#define IDS_SHELL_DB_READONLY 51126  // damaged database that could not be moved: %s file
#define IDS_SHELL_DB_UNAVAILABLE 51127  // damaged database, neither moved nor readable: %s file
#define IDS_SHELL_DB_OPEN_FAILED 51128  // the database cannot be opened: %s file
#define IDS_SHELL_SLIDESHOW_EMPTY 62085  // nothing to show in a slide show
#define IDS_SHELL_CLIP_EDITOR_RUNNING 62068  // the movie-clip program runs
#define IDS_SHELL_MODE_THUMBNAILS 50040  // status text for DepthViewer\Mode 1
#define IDS_SHELL_MODE_FILE_INFO 50041  // status text for mode 3
#define IDS_SHELL_MODE_CAMERA_INFO 50042  // status text for mode 4
#define IDS_SHELL_MODE_FOCUS 50043  // status text for mode 5
#define IDS_ZOOM 4109  // status text for mode 6; tooltip of the enlarged view's full-view button
#define IDS_SHELL_IDLE_SLIDESHOW 29801  // idle text while the slide-show player runs
#define IDS_SHELL_IDLE_MARK_RESULT 29803  // idle text in a marked-files search result
#define IDS_SHELL_TREE_PROMPT_FORMAT 29241  // prompt of the tree items: %s = tree title
#define IDS_SHELL_PPC_PROMPT_FORMAT 27611  // prompt of the conversion plug-in items: %s = name

// Status bar (rc/shell-strings.rc)
#define ID_INDICATOR_FILES 29900  // pane 3: file count and progress; its string is the progress caption
#define ID_INDICATOR_SELECTION 29901  // pane 2: selection count
#define ID_INDICATOR_MARKS 29903  // pane 1: mark count
#define IDS_STATUS_PROGRESS 29900  // caption of the folder-reading progress
#define IDS_STATUS_FILE_COUNT 7100  // %d files
#define IDS_STATUS_SELECT_COUNT 7101  // %d selected
#define IDS_STATUS_MARK_COUNT 7102  // %d marked
#define IDS_UI_FONT_HEIGHT 50084  // height of the panes' own font, as a decimal number
#define IDS_UI_FONT_FACE 50612  // face name of the panes' own font
#define IDS_UI_FONT_FACE_LATIN 9100  // face name when the GUI font is not a Far-East one

// Browser sub-view strip (rc/shell-strings.rc)
#define IDS_SUBVIEW_VIEW 3101  // caption before the view-mode buttons
#define IDS_SUBVIEW_SORT 3102  // caption before the sort box
#define IDS_SUBVIEW_FILTER 3103  // caption before the filter box
#define IDS_SORT_NAME_ASC 3050  // sort box entry: sort id 19
#define IDS_SORT_NAME_DESC 3051  // sort id 20
#define IDS_SORT_SIZE_ASC 3052  // sort id 15
#define IDS_SORT_SIZE_DESC 3053  // sort id 16
#define IDS_SORT_TYPE_ASC 3054  // sort id 17
#define IDS_SORT_TYPE_DESC 3055  // sort id 18
#define IDS_SORT_MODIFIED_ASC 3056  // sort id 13
#define IDS_SORT_MODIFIED_DESC 3057  // sort id 14
#define IDS_SORT_SHOT_ASC 3058  // sort id 11
#define IDS_SORT_SHOT_DESC 3059  // sort id 12
#define IDS_FILTER_ALL 3070  // filter box entry: filter id 6
#define IDS_FILTER_PHOTOS 3071  // filter id 0
#define IDS_FILTER_STILLS 3072  // filter id 3
#define IDS_FILTER_MOVIES 3073  // filter id 4

// Settings, choice, input and notice dialogs; progress; About (rc/shell-strings.rc)
#define IDS_CLASSIFY_SCAN_CAPTION 310  // progress caption of the classify-folder scan
#define IDS_CLASSIFY_NOT_FIXED_DISK 311  // classify folder not on a fixed disk
#define IDS_CLASSIFY_SCENE_OTHER 437  // scene name when the camera gave none
#define IDS_CLASSIFY_NO_PICTURES 30043  // no supported pictures in the folder
#define IDS_CLASSIFY_SYSTEM_FOLDER 31003  // folder inside Windows or Program Files
#define IDS_FILE_PROGRESS_FORMAT 10000  // %s file name, %d index, %d count
#define IDS_TREE_SELECT_LIMIT 501       // a tree selects at most 128 items
#define IDS_TREE_HIDE_LAST 40100        // the last open tree cannot be hidden
#define IDS_TREE_RENAME_DENIED 40214    // the plug-in refuses the rename: no right
#define IDS_TREE_FOLDER_GONE 40215      // %s: the folder is gone; refresh the tree?
#define IDS_TREE_RENAME_REFUSED 40217   // the plug-in refuses to rename this item
#define IDS_TREE_RENAME_BUSY 40220      // second line: the item is in use
#define IDS_TREE_TITLE_FAVOURITES 40012  // title of the favourites tree
#define IDS_TREE_TITLE_DISK 40013        // title of the disk tree
#define IDS_TREE_TITLE_CARD 62053        // title of the memory-card tree
// Command 40011's prompt holds string 40011: the classification tree's title takes 40014.
#define IDS_TREE_TITLE_CLASSIFY 40014    // title of the classification tree
// The person groups' label: names under it are at most 32 characters. Strings and
// bitmaps are apart, so it shares its number with IDB_CAL_DIGIT_7.
#define IDS_TREE_PERSON_GROUP 808
#define IDS_CLASSIFY_GROUP_FIRST 40020   // its root items' texts, 40020 + k, ended by an empty one
#define IDS_CLASSIFY_GROUP_SCENE 40021
#define IDS_CLASSIFY_GROUP_PLACE 40022   // also the place searches' parent
#define IDS_CLASSIFY_GROUP_KEYWORD 40023
#define IDS_CLASSIFY_GROUP_PERSON 40024
#define IDS_SEARCH_SIMILAR 40026         // the similar-image search's name
#define IDS_SEARCH_NO_CITY 30076         // the place group of files without a city
#define IDS_FOLDER_NOT_FOUND 40218  // path-input and classify: folder does not exist
// One text for every folder that cannot serve: a drive root chosen as music folder, a
// tree's path of 260 characters or more, a tree's folder that cannot be listed.
#define IDS_FOLDER_UNUSABLE 40219
#define IDS_FOLDER_IS_DRIVE IDS_FOLDER_UNUSABLE
#define IDS_MUSIC_FOLDER_BROWSE_TITLE 40251  // title of the music-folder browser
#define IDS_PATH_INVALID_CHARS 40110  // the characters a path may not hold after its drive
#define IDS_SCENARIO_OPEN_TITLE 50031  // open-scenario dialog title
#define IDS_SCENARIO_SAVE_TITLE 50035  // save-scenario dialog title
#define IDS_ABOUT_COL_FILE 50600  // About module list: file name column
#define IDS_ABOUT_COL_VERSION 50602  // version column
#define IDS_COL_SIZE 67  // size column (About list and property kind 4)
#define IDS_COL_MODIFIED 70  // last-write column (About list and property kind 6)

// Dialog templates of the shell (rc/shell-dialogs.rc)
#define IDD_CLASSIFY_FOLDER 234  // classify-destination dialog
#define IDD_AUTORUN_SETTING 235  // auto-run settings (child page)
#define IDD_MUSIC_FOLDER 252  // music-folder setting (child page)
#define IDD_ABOUT 309  // About box of the main program
#define IDD_INFO_TEXT 3004  // info-text dialog (painted text, OK)
#define IDD_TARGET_CHOICE 6501  // which files a command works on
#define IDD_NOTICE 7062  // please-wait notice (painted text)
#define IDD_PROGRESS_MESSAGE 7063  // message that can turn into a progress bar
#define IDD_YES_NO 8002  // yes/no question with a don't-ask-again box
#define IDD_PATH_INPUT 8003  // folder path input with completion
#define IDD_PROGRESS 29020  // modeless progress with cancel

#define IDC_CLASSIFY_FOLDER 1011  // classify dialog: folder edit
#define IDC_CLASSIFY_SUBFOLDERS 1012  // radio group: 1012 search sub-folders (index 0), 1013 not
#define IDC_CLASSIFY_NO_SUBFOLDERS 1013
#define IDC_CLASSIFY_DESKTOP 1014  // radio group: 1014 search the desktop too (index 0), 1015 not
#define IDC_CLASSIFY_NO_DESKTOP 1015
#define IDC_CLASSIFY_BROWSE 1016  // browse button
#define IDC_CLASSIFY_TITLE 1035  // label, also the folder browser's title
#define IDC_AUTORUN_START 1032  // auto-run radio: start the main program (AutoRun 0)
#define IDC_AUTORUN_VIEWER 1033  // use the card viewer (AutoRun 1)
#define IDC_AUTORUN_NONE 1036  // only watch (any other value)
#define IDC_FIRST_CLASSIFY_OFF 1037  // classify later (FirstClassify 0)
#define IDC_FIRST_CLASSIFY_ON 1038  // classify right after import (FirstClassify 1)
#define IDC_MUSIC_BROWSE 1065  // music page: browse button
#define IDC_MUSIC_FOLDER 1068  // music page: the folder (read-only edit)
#define IDC_ABOUT_VERSION 28100  // About: version text
#define IDC_ABOUT_COPYRIGHT 28101  // About: copyright line
#define IDC_ABOUT_NOTICES 28102  // About: module notices (multi-line)
#define IDC_ABOUT_MODULES 28103  // About: module list (report list control)
#define IDC_ABOUT_VERSION_INFO 28104  // About: version-info text
#define IDC_TARGET_GROUP 8071  // target choice: group box
#define IDC_TARGET_MARKED 2000  // option: marked files (choice 5)
#define IDC_TARGET_SHOWN 1039  // option: files of the view (choice 0, or 6 with the check box)
#define IDC_TARGET_SELECTED 1040  // hidden option: selected files (choice 1)
#define IDC_TARGET_ALL 13014  // hidden option: all files (choice 2)
#define IDC_TARGET_SELECTED_ONLY 1112  // check box under IDC_TARGET_SHOWN
#define IDC_PROGRESS_MESSAGE_TEXT 27100  // progress-message dialog: its text
#define IDC_YESNO_TEXT 28002  // yes/no dialog: question
#define IDC_YESNO_DONT_ASK 28003  // yes/no dialog: stop asking
#define IDC_PATH_COMBO 28200  // path input: combo box
#define IDC_PROGRESS_TEXT 29000  // progress dialog: status text
#define IDC_PROGRESS_BAR 27912  // progress dialog: bar

// Child ids fixed by the frame's own windows
#define IDC_SUBVIEW_MODE 27506  // sub-view strip: view-mode control (a toolbar stored state)
#define IDC_SUBVIEW_SORT 27507  // sub-view strip: sort combo box
#define IDC_SUBVIEW_FILTER 27508  // sub-view strip: filter combo box
#define IDC_SUBVIEW_WHITE_CHILD 27520  // sub-view strip: child painted on white
#define IDC_THUMB_SLIDER 19160  // sub-view strip: thumbnail-size slider

// Bitmaps and icons of the shell (rc/shell-bitmaps.rc)
#define IDI_STATUS_MARKS 1011  // status pane 1 icon (marks)
#define IDI_STATUS_SELECTION 1012  // status pane 2 icon (selection)
#define IDB_STATUS_GRIP 358  // status bar: size grip at the right edge
#define IDB_STATUS_BACK 363  // status bar: 1 x 18 background, stretched
#define IDB_STATUS_SEPARATOR 368  // status bar: 2 x 16 separator
#define IDB_STATUS_MARKS 397  // status bar: mark sign in pane 1
#define IDB_STATUS_SELECTION 398  // status bar: selection sign in pane 2
#define IDB_SUBVIEW_TOOLBAR 459  // sub-view strip: view-mode images, 26 x 26 each
#define IDB_COMBO_FACE 323  // skinned combo box: face pattern, 20 high
#define IDB_COMBO_ARROW 324  // skinned combo box: arrow part, normal
#define IDB_COMBO_ARROW_PRESSED 355  // arrow part, pressed
#define IDB_COMBO_ARROW_DISABLED 356  // arrow part, disabled
#define IDB_COMBO_ARROW_HOT 357  // arrow part, hot
#define IDB_SLIDER_TRACK 19150  // thumbnail-size slider: track, 167 x 26
#define IDB_SLIDER_THUMB_DISABLED 19151  // slider thumb, 9 x 20, disabled
#define IDB_SLIDER_THUMB_HOT 19152  // slider thumb, hot
#define IDB_SLIDER_THUMB 19153  // slider thumb, normal
#define IDB_SLIDER_THUMB_PRESSED 19154  // slider thumb, pressed
#define IDB_SPLITTER_LEFT 15011  // splitter button, 12 x 138: arrow to the left
#define IDB_SPLITTER_LEFT_HOT 15013  // the same, hovered
#define IDB_SPLITTER_RIGHT 15021  // splitter button: arrow to the right
#define IDB_SPLITTER_RIGHT_HOT 15023  // the same, hovered

// ===== Browser controller (rc/browser-strings.rc, rc/browser-dialogs.rc) ================
#define IDS_BROWSER_DELETE_PROGRESS 99  // recycle-bin progress title
#define IDS_BROWSER_FILE_PROGRESS 101  // copy/move progress title
#define IDS_BROWSER_DB_PROGRESS 103  // photo-database update progress title
#define IDS_BROWSER_DELETE_CAPTION 162  // caption of delete questions
#define IDS_BROWSER_CLASSIFY_DELETE_FACES 442  // classification kind 8: remove from the face group?
#define IDS_BROWSER_ROTATE_PROGRESS 2019  // %s file, %d index, %d total
#define IDS_BROWSER_ROTATE_UNSUPPORTED 2024  // some pictures could not be rotated
#define IDS_BROWSER_FAVORITES 2050  // name of the favourites list
#define IDS_BROWSER_SIMILAR_SEARCH 2051  // name of the similar-image index
#define IDS_BROWSER_FOLDER_MISSING 2101  // %s: folder no longer exists
#define IDS_BROWSER_PASTE_NO_FOLDER 2104  // no folder to paste into
#define IDS_BROWSER_RENAME_FAILED 2105  // rename refused or failed
#define IDS_BROWSER_ROTATE_ATTRIBUTES 2106  // attributes could not be read
#define IDS_BROWSER_ROTATE_WRITE_FAILED 2108  // one picture could not be saved
#define IDS_BROWSER_ROTATE_WRITE_FAILED_N 2109  // several pictures could not be saved
#define IDS_BROWSER_PASTE_LOW_SPACE 2110  // less than 100 MB free at the paste target
#define IDS_BROWSER_PASTE_BAD_LIST 2111  // the clipboard's file list is damaged
#define IDS_BROWSER_OPEN_FAILED 2112  // a file or the music-card program could not be started
#define IDS_BROWSER_NOT_PROTECTED_CARD 2116  // the track is not on a protected memory card
#define IDS_BROWSER_SIMILAR_FAILED 2117  // %s could not be registered
#define IDS_BROWSER_SIMILAR_FAILED_N 2118  // %d files could not be registered
#define IDS_BROWSER_MOVIE_FAILED 2119  // a movie cannot be played
#define IDS_BROWSER_ROTATE_READONLY 2500  // %s is read-only: rotate anyway?
#define IDS_BROWSER_NO_SELECTION 2501  // nothing selected
#define IDS_BROWSER_FAVORITE_WARNING 2507  // %s = favourites list name
#define IDS_BROWSER_NO_MARKS 2514  // nothing marked
#define IDS_BROWSER_CLASSIFY_DELETE_ONE 2515  // %s: remove from the classification?
#define IDS_BROWSER_CLASSIFY_DELETE_N 2516  // %d files: remove from the classification?
#define IDS_BROWSER_SIMILAR_REFUSED 2518  // %s cannot be registered (not a picture)
#define IDS_BROWSER_SIMILAR_REFUSED_N 2519  // %d files cannot be registered
#define IDS_BROWSER_SIMILAR_DONE 2520  // registered in %s: %s
#define IDS_BROWSER_SIMILAR_DONE_N 2521  // %d files registered in %s
#define IDS_BROWSER_MARK_COPY_TITLE 2800  // folder browser title: copy marked files
#define IDS_BROWSER_MARK_MOVE_TITLE 2801  // folder browser title: move marked files
#define IDS_BROWSER_FAVORITE_CAPTION 7003  // caption of the favourite-folder warning
#define IDS_BROWSER_DELETE_ONE 30026  // %s: send this file to the recycle bin?
#define IDS_BROWSER_FILE_MISSING 30112  // %s: file no longer exists
#define IDS_BROWSER_DISC_CAPTION 40256  // caption of the disc-protection notice
#define IDS_BROWSER_CARD_VOICE 40279  // memory-card voice area name (compared with page names)
#define IDS_BROWSER_CARD_AUDIO 40280  // memory-card audio area name
#define IDS_BROWSER_ROTATE_CAPTION 50004  // rotation progress caption; options tab "rotation"
#define IDS_BROWSER_DISK_FULL 50411  // destination disk full
#define IDS_BROWSER_DISC_PROTECTED 62004  // disc write-protected
#define IDS_BROWSER_DISC_DELETE 62055  // delete the selected disc movies?
#define IDS_BROWSER_DISC_DELETE_GROUP 62056  // delete the whole group?
#define IDS_BROWSER_DISC_DELETE_LAST 62057  // last movie of the disc: clear the disc?
#define IDS_BROWSER_COMPANIONS 62086  // companion files go along
#define IDS_BROWSER_CONT_UNSUPPORTED 62097  // content file of an unsupported maker
#define IDS_BROWSER_AVCHD_EXCLUDED 62101  // AVCHD stream files left out
#define IDS_PLEASE_WAIT 391  // wait text: the calendar's wait dialog, the rename preview's progress window
#define IDS_BROWSER_CALENDAR_WAIT_TITLE 709  // its title
#define IDS_BROWSER_ZOOM_NO_ITEM 7200  // nothing to zoom
#define IDS_BROWSER_ZOOM_FAILED 2022  // this item cannot be zoomed / zoom window failed

// Property catalogue: column names (kinds 0..36) and value texts
#define IDS_PROP_NAME 64  // kind 0
#define IDS_PROP_FOLDER 66  // kind 1
#define IDS_PROP_ATTRIBUTES 71  // kind 2
#define IDS_PROP_ATTR_READONLY 75  // attribute texts of kind 2
#define IDS_PROP_ATTR_HIDDEN 76
#define IDS_PROP_ATTR_ARCHIVE 77
#define IDS_PROP_ATTR_SYSTEM 78
#define IDS_PROP_IMAGE_SIZE 710  // kind 3
#define IDS_PROP_IMAGE_SIZE_FORMAT 9036  // %d x %d
#define IDS_PROP_TYPE 9012  // kind 5
#define IDS_PROP_COLORS 9015  // kind 7
#define IDS_PROP_COLORS_FORMAT 9035  // %d bits per pixel
#define IDS_PROP_KEYWORDS 9040  // kind 8
#define IDS_PROP_COMMENT 9041  // kind 9
#define IDS_PROP_MAKER 711  // kind 11 (property 0)
#define IDS_PROP_MODEL 15  // kind 12 (property 1)
#define IDS_PROP_SHOT_DATE 23  // kind 13 (property 2)
#define IDS_PROP_EXPOSURE 30  // kind 14 (property 3; 24576 for type 129)
#define IDS_PROP_APERTURE 31  // kind 15 (property 4)
#define IDS_PROP_ISO 736  // kind 16 (property 5)
#define IDS_PROP_FOCAL_LENGTH 34  // kind 17 (property 6)
#define IDS_PROP_FLASH 59  // kind 18 (property 7)
#define IDS_PROP_WHITE_BALANCE 30057  // kind 19 (property 8)
#define IDS_PROP_SHOT_MODE 79  // kind 20 (property 64)
#define IDS_PROP_QUALITY 62  // kind 21
#define IDS_PROP_REC_TIME 9026  // kind 22 (property 8192)
#define IDS_PROP_BIT_RATE 8052  // kind 23 (property 16384)
#define IDS_PROP_REC_MODE 9028  // kind 24 (property 12288)
#define IDS_PROP_TITLE 9029  // kind 25 (Exif text)
#define IDS_PROP_DISPLAY_NAME 62076  // kind 26
#define IDS_PROP_TRACK_TITLE 9037  // kind 27
#define IDS_PROP_TRACK_ARTIST 9043  // kind 28
#define IDS_PROP_TRACK_ALBUM 9044  // kind 29
#define IDS_PROP_TRACK_GENRE 9045  // kind 30
#define IDS_PROP_TRACK_NUMBER 9046  // kind 31
#define IDS_PROP_TRACK_LENGTH 69  // kind 32
#define IDS_PROP_TRACK_DATE 9050  // kind 33
#define IDS_PROP_TRACK_FORMAT 9051  // kind 34
#define IDS_PROP_TRACK_LOCK 9052  // kind 35
#define IDS_PROP_TRACK_BIT_RATE 9038  // kind 36
#define IDS_QUALITY_1 7150  // quality flag 1
#define IDS_QUALITY_4 7151  // quality flag 4
#define IDS_QUALITY_2 7152  // quality flag 2
#define IDS_QUALITY_5 7153  // quality flag 5
#define IDS_QUALITY_3 7154  // quality flag 3
#define IDS_QUALITY_6 7155  // quality flag 6
#define IDS_QUALITY_7 7156  // quality flag 7
#define IDS_SIZE_BYTES 8053  // %s bytes (%s bytes)
#define IDS_SIZE_KB 8054  // %.2f KB (%s bytes)
#define IDS_SIZE_MB 8055  // %.2f MB (%s bytes)
#define IDS_SIZE_GB 8056  // %.2f GB (%s bytes)

#define IDD_DELETE_CONFIRM 536  // single-file delete confirmation
#define IDD_ROTATION_PROGRESS 4001  // rotation progress
#define IDD_CALENDAR_WAIT 29022  // wait dialog while the calendar page is built
#define IDC_DELETE_MESSAGE 1137  // delete dialog: question
#define IDC_DELETE_YES 1138  // delete dialog: delete (ends the dialog with this id)
#define IDC_DELETE_NO 1139  // delete dialog: keep (ends the dialog with this id)
#define IDC_ROTATION_TEXT 1020  // rotation dialog: message
#define IDC_ROTATION_PROGRESS 1022  // rotation dialog: bar

// Child ids fixed by the browser's windows
#define IDC_ICONVIEW_NOTIFY 48656  // control id of the icon view's list-view notifications
#define IDC_DETAILS_LIST 61680  // details list control
#define IDC_RENAME_EDIT 12288  // icon view rename edit box
#define IDC_FOCUSINFO_TAB 0x11111111  // focus-information tab control (matched on 0x1111)

// ===== Browser views and controls (rc/views-strings.rc, rc/views-bitmaps.rc) ===========
#define IDS_GROUP_UNKNOWN_KEY 31101  // group label that stands for "no group"
#define IDS_GROUP_UNKNOWN 31103  // what such a group header shows
#define IDS_CAL_MONTH 30709  // caption of the month button
#define IDS_CAL_DAY 30710  // caption of the day button
#define IDS_CAL_TIP_COUNT 62044  // month calendar tip: %d files
#define IDS_MOVIE_NEEDS_PLAYER 2011  // the movie back end is missing or too old
#define IDS_MOVIE_NEEDS_PLAYER_HINT 2012  // follows IDS_MOVIE_NEEDS_PLAYER
#define IDS_MOVIE_NAME_TOO_LONG 2013  // file name too long to play
#define IDS_MOVIE_PATH_TOO_LONG 2014  // path too long to play
#define IDS_MOVIE_PLAY 4103  // tooltip of the play button (first half)
#define IDS_MOVIE_PAUSE 4116  // tooltip of the play button (second half)

#define IDB_ZOOM_BACKGROUND 283  // background handed to the zoom window
#define IDB_GROUP_HEADER 431  // group header bar, 19 high, stretched
#define IDB_BADGE_MOVIE 450  // item bitmap 0: movie
#define IDB_THUMB_BACK_160 452  // backing of 160-pixel thumbnails
#define IDB_THUMB_BACK_80 453  // backing of 80-pixel thumbnails
#define IDB_CHECK_OFF 454  // mark check box, not marked
#define IDB_CHECK_ON 455  // mark check box, marked
#define IDB_BADGE_FAVORITE 464  // favourite
#define IDB_BADGE_TEXT 535  // picture carries an Exif text
#define IDB_BADGE_RAW 536  // RAW picture
#define IDB_BADGE_AVCHD 267  // AVCHD movie
#define IDB_BADGE_AVCHD_EDITED 268  // AVCHD movie, edited
#define IDB_THUMB_BACK_30 19100  // backing of 30-pixel thumbnails
#define IDB_THUMB_BACK_223 19101  // backing of 223-pixel thumbnails
#define IDB_THUMB_BACK_303 19102  // backing of 303-pixel thumbnails

#define IDB_MOVIE_CHANNEL_LEFT 432  // movie slider channel: left end
#define IDB_MOVIE_CHANNEL 433  // channel: middle
#define IDB_MOVIE_CHANNEL_RIGHT 434  // channel: right end
#define IDB_MOVIE_THUMB_DISABLED 435  // slider thumb, disabled
#define IDB_MOVIE_THUMB_PRESSED 436  // slider thumb, pressed
#define IDB_MOVIE_THUMB_HOT 437  // slider thumb, hot
#define IDB_MOVIE_THUMB 438  // slider thumb, normal
#define IDB_MOVIE_PLAY_DISABLED 439  // play button faces: disabled, selected, focus, normal
#define IDB_MOVIE_PLAY_SELECTED 440
#define IDB_MOVIE_PLAY_FOCUS 441
#define IDB_MOVIE_PLAY 442
#define IDB_MOVIE_ZOOM_DISABLED 443  // full-view button faces
#define IDB_MOVIE_ZOOM_SELECTED 444
#define IDB_MOVIE_ZOOM_FOCUS 445
#define IDB_MOVIE_ZOOM 446

// Calendar views
#define IDB_CAL_BAR 800  // top bar, stretched
#define IDB_CAL_DIGIT_0 801  // date and year digits 0..9: 801..810
#define IDB_CAL_DIGIT_1 802
#define IDB_CAL_DIGIT_2 803
#define IDB_CAL_DIGIT_3 804
#define IDB_CAL_DIGIT_4 805
#define IDB_CAL_DIGIT_5 806
#define IDB_CAL_DIGIT_6 807
#define IDB_CAL_DIGIT_7 808
#define IDB_CAL_DIGIT_8 809
#define IDB_CAL_DIGIT_9 810
#define IDB_CAL_SEPARATOR 811  // date separator
#define IDB_CAL_BUTTON_PRESSED 812  // caption button faces; also the day indicator
#define IDB_CAL_BUTTON_FOCUS 813
#define IDB_CAL_BUTTON_DISABLED 814
#define IDB_CAL_BUTTON 815
#define IDB_CAL_INDICATOR 816  // month indicator (the view shown)
#define IDB_CAL_INDICATOR_HOT 817  // spare faces of the day view's container
#define IDB_CAL_BUTTON_HOT 818
#define IDB_CAL_BUTTON_DARK 819
#define IDB_CAL_CELL 820  // month cell without picture
#define IDB_CAL_DAY_DIGIT_0 828  // day numbers 0..9, Monday to Saturday: 828..837
#define IDB_CAL_DAY_DIGIT_1 829
#define IDB_CAL_DAY_DIGIT_2 830
#define IDB_CAL_DAY_DIGIT_3 831
#define IDB_CAL_DAY_DIGIT_4 832
#define IDB_CAL_DAY_DIGIT_5 833
#define IDB_CAL_DAY_DIGIT_6 834
#define IDB_CAL_DAY_DIGIT_7 835
#define IDB_CAL_DAY_DIGIT_8 836
#define IDB_CAL_DAY_DIGIT_9 837
#define IDB_CAL_MONTH_DIGIT_0 838  // month digits 0..9: 838..847
#define IDB_CAL_MONTH_DIGIT_1 839
#define IDB_CAL_MONTH_DIGIT_2 840
#define IDB_CAL_MONTH_DIGIT_3 841
#define IDB_CAL_MONTH_DIGIT_4 842
#define IDB_CAL_MONTH_DIGIT_5 843
#define IDB_CAL_MONTH_DIGIT_6 844
#define IDB_CAL_MONTH_DIGIT_7 845
#define IDB_CAL_MONTH_DIGIT_8 846
#define IDB_CAL_MONTH_DIGIT_9 847
#define IDB_CAL_SUNDAY_DIGIT_0 848  // day numbers 0..9, Sunday column: 848..857
#define IDB_CAL_SUNDAY_DIGIT_1 849
#define IDB_CAL_SUNDAY_DIGIT_2 850
#define IDB_CAL_SUNDAY_DIGIT_3 851
#define IDB_CAL_SUNDAY_DIGIT_4 852
#define IDB_CAL_SUNDAY_DIGIT_5 853
#define IDB_CAL_SUNDAY_DIGIT_6 854
#define IDB_CAL_SUNDAY_DIGIT_7 855
#define IDB_CAL_SUNDAY_DIGIT_8 856
#define IDB_CAL_SUNDAY_DIGIT_9 857
#define IDB_CAL_MONTH_BLANK 858  // blank month digit
#define IDB_CAL_BLANK 859  // blank year digit / date character
#define IDB_CAL_PREV_DISABLED 860  // previous-day/month button faces
#define IDB_CAL_PREV_FOCUS 861
#define IDB_CAL_PREV 862
#define IDB_CAL_PREV_PRESSED 863
#define IDB_CAL_NEXT_DISABLED 864  // next-day/month button faces
#define IDB_CAL_NEXT_FOCUS 865
#define IDB_CAL_NEXT 866
#define IDB_CAL_NEXT_PRESSED 867
#define IDB_CAL_WEEKDAY_SUN 868  // weekday headers Sunday..Saturday: 868..874
#define IDB_CAL_WEEKDAY_MON 869
#define IDB_CAL_WEEKDAY_TUE 870
#define IDB_CAL_WEEKDAY_WED 871
#define IDB_CAL_WEEKDAY_THU 872
#define IDB_CAL_WEEKDAY_FRI 873
#define IDB_CAL_WEEKDAY_SAT 874

// Skinned list controls: the bitmap scroll bar's parts (normal, pressed, hot, disabled)
// and the header strip's part images
#define IDB_SKIN_VSCROLL_UP 880  // vertical bar: first arrow, 880..883 by state
#define IDB_SKIN_VSCROLL_UP_PRESSED 881
#define IDB_SKIN_VSCROLL_UP_HOT 882
#define IDB_SKIN_VSCROLL_UP_DISABLED 883
#define IDB_SKIN_VSCROLL_DOWN 884  // second arrow
#define IDB_SKIN_VSCROLL_DOWN_PRESSED 885
#define IDB_SKIN_VSCROLL_DOWN_HOT 886
#define IDB_SKIN_VSCROLL_DOWN_DISABLED 887
#define IDB_SKIN_VSCROLL_GRIP 888  // thumb grip, drawn centred
#define IDB_SKIN_VSCROLL_GRIP_PRESSED 889
#define IDB_SKIN_VSCROLL_GRIP_HOT 890
#define IDB_SKIN_VSCROLL_BODY 891  // thumb body, stretched
#define IDB_SKIN_VSCROLL_BODY_PRESSED 892
#define IDB_SKIN_VSCROLL_BODY_HOT 893
#define IDB_SKIN_VSCROLL_CAP_TOP 894  // thumb end caps
#define IDB_SKIN_VSCROLL_CAP_BOTTOM 895
#define IDB_SKIN_VSCROLL_TRACK 896  // track background, tiled
#define IDB_SKIN_HSCROLL_LEFT 897  // horizontal bar: first arrow
#define IDB_SKIN_HSCROLL_LEFT_PRESSED 898
#define IDB_SKIN_HSCROLL_LEFT_HOT 899
#define IDB_SKIN_HSCROLL_RIGHT 900  // second arrow
#define IDB_SKIN_HSCROLL_RIGHT_PRESSED 901
#define IDB_SKIN_HSCROLL_RIGHT_HOT 902
#define IDB_SKIN_HSCROLL_BODY 903  // thumb body
#define IDB_SKIN_HSCROLL_BODY_PRESSED 904
#define IDB_SKIN_HSCROLL_BODY_HOT 905
#define IDB_SKIN_HSCROLL_TRACK 906  // track background
#define IDB_SKIN_HEADER_FACE 907  // header strip: column face, stretched
#define IDB_SKIN_HEADER_FACE_PRESSED 908  // column face, pressed
#define IDB_SKIN_HEADER_FACE_SORT 909  // column face of the sort column
#define IDB_SKIN_HEADER_SEPARATOR 910  // column's right edge
#define IDB_SKIN_HEADER_FILLER 911  // after the last column

// Child ids fixed by the calendar views
#define IDC_CAL_PREV_MONTH 18000  // month view: previous month
#define IDC_CAL_NEXT_MONTH 18001  // month view: next month
#define IDC_CAL_DAY_BUTTON 18002  // month view: to the day view
#define IDC_CAL_MONTH_INDICATOR 18003  // month view: marks the view shown
#define IDC_CAL_MONTH_BUTTON 27524  // day view: to the month view
#define IDC_CAL_DAY_INDICATOR 27525  // day view: marks the view shown
#define IDC_CAL_BACK 27526  // day view: previous recording day
#define IDC_CAL_FORWARD 27527  // day view: next recording day

// ===== Folder and export panes: what the frame creates (rc/panes-*.rc) ==================
#define IDD_FOLDER_PANE 6000  // form of the folder pane
#define IDD_EXPORT_PANE 6500  // form of the export pane
#define IDS_PANES_REFRESHING 40005  // please-wait notice while the trees refresh
#define IDS_PANES_NOT_IN_MONTH_VIEW 787  // export refused in the month calendar
#define IDS_PANES_NOT_IN_MUSIC_VIEW 62020  // export refused in the music view
#define IDB_TITLE_ACTIVE_DISABLED 14125  // tree title button faces of an open tree
#define IDB_TITLE_ACTIVE_FOCUS 14126
#define IDB_TITLE_ACTIVE 14127
#define IDB_TITLE_ACTIVE_PRESSED 14128  // also the face of the current tree
#define IDB_TITLE_INACTIVE_DISABLED 14129  // title button faces of a closed tree
#define IDB_TITLE_INACTIVE_FOCUS 14130
#define IDB_TITLE_INACTIVE 14131
#define IDB_TITLE_INACTIVE_PRESSED 14132

// ===== Export pane and options dialog (rc/panes-export-*.rc, rc/panes-options-*.rc) ====
#define IDB_EXPORT_CAPTION 399  // export pane: the caption's picture, 66 x 35
#define IDB_EXPORT_BACKGROUND 400  // export pane: background strip (its first 66 x 1 stretched)
#define IDS_EXPORT_CAPTION 196  // export pane caption; caption of its refusals
#define IDS_EXPORT_DRIVE_REFUSED 148  // a file on a removable drive (formatted with the path)
#define IDS_EXPORT_MAIL_NAME 396  // the mail export's name: its empty-list text is 62059
#define IDS_EXPORT_NO_FILES 45001  // nothing to export in the folder
#define IDS_EXPORT_PRINT_SETUP_FAILED 45003  // the print set-up could not run
#define IDS_EXPORT_EMPTY_LIST 50027  // none of the files can be exported (%s the export)
#define IDS_EXPORT_SUPPORTED_KINDS 50028  // %s the export, %s the kinds it takes
#define IDS_EXPORT_NOT_SELECTED 50075  // the files of the command are not there
#define IDS_EXPORT_SOME_REMOVED 50400  // some files could not be taken (%s the export)
#define IDS_EXPORT_UPLOAD_REFUSED 62040  // upload: a file is not accepted or too long
#define IDS_EXPORT_UPLOAD_TOO_MANY 62041  // upload: more than ten files
#define IDS_EXPORT_MAIL_EMPTY 62059
#define IDS_UPLOAD_NAME 62032  // upload plug-in: tile label, caption of its messages
#define IDS_UPLOAD_DESCRIPTION 62033  // upload plug-in: tile tooltip
#define IDS_UPLOAD_BUSY 62054  // upload plug-in: an upload still runs
#define IDS_UPLOAD_NOT_ACCEPTED 62067  // upload plug-in: a file is not accepted or too long
#define IDS_UPLOAD_FAILED 145  // upload plug-in: the companion files or the uploader failed
#define IDS_UPLOAD_NO_CLIP 62180  // upload plug-in: no movie clip among the chosen files
#define IDB_UPLOAD_DISABLED 19155  // upload tile, 66 x 66: disabled, hover, normal, pressed
#define IDB_UPLOAD_HOVER 19156
#define IDB_UPLOAD_NORMAL 19157
#define IDB_UPLOAD_PRESSED 19158  // mail: none of the files can be attached
#define IDD_OPTIONS 7010  // options dialog: tab control 27300 over the pages
#define IDC_OPTIONS_TABS 27300
#define IDD_OPTIONS_ROTATION 7053  // options: rotation page
#define IDC_ROTATION_PANEL_ON 27310
#define IDC_ROTATION_PANEL_OFF 27311
#define IDC_ROTATION_EXIF_OFF 27312
#define IDC_ROTATION_EXIF_ON 27313
#define IDC_ROTATION_270 27314
#define IDC_ROTATION_90 27315
#define IDC_ROTATION_SAVE_0 27316
#define IDC_ROTATION_SAVE_1 27317
#define IDC_ROTATION_SAVE_2 4012
#define IDD_OPTIONS_SLIDESHOW 236  // options: slide-show page
#define IDC_SLIDE_EFFECT_OFF 19001
#define IDC_SLIDE_EFFECT_ON 19002  // first of its radio group
#define IDC_SLIDE_EFFECT_MODE 19003
#define IDC_SLIDE_AUDIO_MODE_0 19004
#define IDC_SLIDE_AUDIO_MODE_1 19005
#define IDC_SLIDE_QUALITY_0 19010
#define IDC_SLIDE_QUALITY_1 19011
#define IDC_SLIDE_QUALITY_2 19012
#define IDC_SLIDE_AUDIO_PATH 1024
#define IDC_SLIDE_REPEAT 1027
#define IDC_SLIDE_AUDIO 1029
#define IDC_SLIDE_INTERVAL 1030
#define IDC_SLIDE_INTERVAL_SPIN 1031
#define IDC_SLIDE_AUDIO_GROUP 1032
#define IDC_SLIDE_AUDIO_BROWSE 4007
#define IDD_OPTIONS_LAUNCHER 7054  // options: launcher page (empty until the toolbar's)
#define IDS_OPTIONS_TAB_AUTORUN 530
#define IDS_OPTIONS_TAB_SLIDESHOW 531
#define IDS_OPTIONS_TAB_MUSIC 533
#define IDS_OPTIONS_TAB_LAUNCHER 50011
#define IDS_SLIDE_EFFECT_MODE_0 537  // the four effect modes
#define IDS_SLIDE_EFFECT_MODE_1 538
#define IDS_SLIDE_EFFECT_MODE_2 539
#define IDS_SLIDE_EFFECT_MODE_3 540
#define IDS_SLIDE_WRONG_MUSIC 798  // the music file is of another kind

// ===== Toolbar pane: what the frame creates (rc/toolbar-dialogs.rc) =====================
#define IDD_TOOLBAR_PANE 7000  // form of the toolbar pane

// ===== Auto-run launcher (rc/autorun.rc) =================================================
#define IDD_ABOUT_AUTORUN 100  // About box of the launcher
#define IDI_TRAY 131  // tray icon
#define IDS_AUTORUN_EXIT 315  // tray menu: end the launcher
#define IDS_AUTORUN_START_FORMAT 316  // tray menu: start %s
#define IDS_AUTORUN_CLOSE_FORMAT 317  // tray menu: close %s
#define IDS_AUTORUN_ALREADY_RUNNING 319  // a second launcher
#define IDS_AUTORUN_CARD_VIEWER 217  // name of the maker's card viewer

// ===== Command ids: main menu, context menu and the frame's hand routing ==================
// Rotation hints (document hints, not menu items)
#define ID_ROTATE_RIGHT 29100  // rotate the selection +90 degrees
#define ID_ROTATE_LEFT 29101  // rotate the selection -90 degrees

// Folder pane: the commands of the folder menus that the pane takes
#define ID_FOLDER_COMMAND_FIRST 29201
#define ID_FOLDER_COMMAND_LAST 29270
// Folder pane: tree show/hide items (the pane builds them)
#define ID_VIEW_TREE_FIRST 29241  // first tree of the trees sub-menu
#define ID_VIEW_TREE_LAST 29250

// Export entries (the export pane fills the popup from 29301)
#define ID_EXPORT_FIRST 29301
#define ID_EXPORT_LAST 29330

// File popup
#define ID_FILE_IMPORT 29501  // import from a memory card (toolbar 27500)
#define ID_FILE_NEW_FOLDER 29502  // new folder (folder command 0)
#define ID_FILE_PRINT_PHOTOS 29503  // print (export pane, kind 0)
#define ID_FILE_PRINT_SETUP_EXPORT 29504  // printer setup of the export pane
#define ID_FILE_DELETE 29505  // delete the selection
#define ID_FILE_RENAME 29506  // rename the selected file
#define ID_FILE_PROPERTIES 29507  // properties of the selected file
#define ID_SLIDE_COLLECT_CLOSE 29508  // close the slide-show collection dialog
#define ID_FILE_PRINT_INDEX 29700  // index print
#define ID_FILE_PRINT_DATE 29701  // print with the shooting date
#define ID_FILE_PRINT_ORDER 29702  // print order (DPOF)

// Edit popup
#define ID_EDIT_SELECT_ALL_FILES 29511  // select all
#define ID_EDIT_UNSELECT_ALL 29512  // unselect all
#define ID_EDIT_INVERT_SELECTION 29513  // reverse the selection
#define ID_MARK_CLEAR_ALL 29514  // clear every mark
#define ID_MARK_TOGGLE 29515  // toggle the marks of the selection
#define ID_MARK_COPY_TO 29516  // copy the marked files to a folder
#define ID_MARK_MOVE_TO 29517  // move the marked files to a folder
#define ID_FAVORITE_ADD 29518  // add the selected folder to the favourites
#define ID_EDIT_COPY_TO_FOLDER 29703  // copy the selection to a folder
#define ID_EDIT_MOVE_TO_FOLDER 29704  // move the selection to a folder

// View popup
#define ID_VIEW_TOOLBAR_PANE 29531  // show or hide the toolbar row
#define ID_VIEW_FOLDER_PANE 29532  // fold the folder pane; its string is the splitter's tip too
#define ID_VIEW_EXPORT_PANE 29533  // fold the export pane; its string is the splitter's tip too
#define ID_VIEW_MAP 29534  // map of the selected picture (view mode 9)
#define ID_VIEW_SUBFOLDERS 29535  // show sub-folders
#define ID_VIEW_REFRESH 29536  // reload the trees and the folder
#define ID_VIEWMODE_FIRST 29541  // view-mode commands 29541..29559 (value = view code)
#define ID_VIEWMODE_LARGE_ICONS 29541  // view code 2
#define ID_VIEWMODE_SMALL_ICONS 29542  // view code 1
#define ID_VIEWMODE_FILE_INFO 29543  // view code 3
#define ID_VIEWMODE_CAMERA_INFO 29544  // view code 4
#define ID_VIEWMODE_FOCUS 29545  // view code 5
#define ID_VIEWMODE_ZOOM 29546  // view code 6
#define ID_VIEWMODE_MONTH 29547  // view code 10
#define ID_VIEWMODE_DAY 29548  // view code 11
#define ID_VIEWMODE_MUSIC 29549  // view code 12
#define ID_VIEWMODE_SLIDESHOW 29550  // view code 13
#define ID_VIEWMODE_SLIDESHOW_ALL 29551  // view code 14
#define ID_VIEWMODE_LAST 29559
#define ID_SORT_FIRST 29561  // sort commands 29561..29587 (value = sort id)
#define ID_SORT_SIMILARITY 29561  // sort id 29: similarity (search results only)
#define ID_SORT_SHOT_ASC 29562  // sort id 11
#define ID_SORT_SHOT_DESC 29563  // sort id 12
#define ID_SORT_NAME_ASC 29564  // sort id 19
#define ID_SORT_NAME_DESC 29565  // sort id 20
#define ID_SORT_SIZE_ASC 29566  // sort id 15
#define ID_SORT_SIZE_DESC 29567  // sort id 16
#define ID_SORT_TYPE_ASC_IN_RANGE 29568  // sort id 17: ID_SORT_TYPE_ASC as the document passes it to the views
#define ID_SORT_TYPE_DESC_IN_RANGE 29569  // sort id 18: ID_SORT_TYPE_DESC likewise
#define ID_SORT_AUDIO_DATE_ASC 29572  // SD audio: sort id 11
#define ID_SORT_AUDIO_DATE_DESC 29573  // sort id 12
#define ID_SORT_AUDIO_TITLE_ASC 29574  // sort id 21
#define ID_SORT_AUDIO_TITLE_DESC 29575  // sort id 22
#define ID_SORT_AUDIO_ARTIST_ASC 29576  // sort id 23
#define ID_SORT_AUDIO_ARTIST_DESC 29577  // sort id 24
#define ID_SORT_AUDIO_ALBUM_ASC 29578  // sort id 25
#define ID_SORT_AUDIO_ALBUM_DESC 29579  // sort id 26
#define ID_SORT_AUDIO_TRACK 29580  // sort id 27
#define ID_SORT_VOICE_DATE_ASC 29581  // SD voice: sort id 11
#define ID_SORT_VOICE_DATE_DESC 29582  // sort id 12
#define ID_SORT_VOICE_NAME_ASC 29583  // sort id 19
#define ID_SORT_VOICE_NAME_DESC 29584  // sort id 20
#define ID_SORT_VOICE_SIZE_ASC 29585  // sort id 15
#define ID_SORT_VOICE_SIZE_DESC 29586  // sort id 16
#define ID_SORT_VOICE_NUMBER 29587  // sort id 27
#define ID_SORT_LAST 29587
#define ID_SORT_TYPE_ASC 29710  // sort id 17
#define ID_SORT_TYPE_DESC 29711  // sort id 18
#define ID_FILTER_FIRST 29591  // filter commands 29591..29595 (value = filter id)
#define ID_FILTER_PHOTOS 29591  // filter id 0
#define ID_FILTER_STILLS 29592  // filter id 3
#define ID_FILTER_MOVIES 29593  // filter id 4
#define ID_FILTER_ALL 29594  // filter id 6
#define ID_FILTER_AUDIO_ALL 29595  // filter id 6, SD audio and voice folders only
#define ID_FILTER_LAST 29595
#define ID_GO_UP 29601  // folder pane: up one level
#define ID_GO_BACK 29602  // folder history back
#define ID_GO_FORWARD 29603  // folder history forward
#define ID_GO_OPEN_PATH 29610  // open a folder by its path

// Tools popup
#define ID_TOOLS_PLUGIN 29621  // tool plug-ins (toolbar 27504)
#define ID_TOOLS_SCALE 29622  // resize pictures (27842)
#define ID_TOOLS_CONVERT 29623  // convert the file format (27843)
#define ID_TOOLS_RENAME 29624  // rename by pattern (27844)
#define ID_TOOLS_DATE_IMPRINT 29625  // imprint the date (27846)
#define ID_TOOLS_ROTATE 29626  // rotate pictures (27503)
#define ID_TOOLS_SPLIT_CLIP 29627  // split a movie (27891)
#define ID_TOOLS_EDIT_IMAGE 29629  // image editor (27502)
#define ID_TOOLS_FIX_SHOT_DATE 29630  // correct the shooting date (27847)
#define ID_TOOLS_GUESS_PLACE 29631  // find the shooting place (27849)
#define ID_TOOLS_DB_SEARCH 29632  // photo-database search
#define ID_TOOLS_OPTIONS 29633  // options dialog (27510)
#define ID_TOOLS_SLIDESHOW_SETTINGS 29634  // slide-show settings (27535)
#define ID_TOOLS_MOVIE_CUT 29636  // scene-cut editor (27901)
#define ID_TOOLS_MOVIE_EDIT 29637  // scene-cut editor, edit list (27902)
#define ID_TOOLS_MOVIE_PLAY 29638  // content player (27903)
#define ID_PPC_PLUGIN_FIRST 27611  // conversion plug-ins of the tools popup: 27611..27620
#define ID_PPC_PLUGIN_LAST 27620
#define ID_SIMILAR_SEARCH 29725  // similar-image search over the selection
#define ID_SIMILAR_REGISTER 29726  // register the selection for similar-image search
#define ID_SIMILAR_LIST 29727  // similar-image registration list
#define ID_SLIDESHOW_OPEN_SCENARIO 40006  // open a slide-show scenario (27536)
#define ID_SLIDESHOW_PLAY 40007  // slide show of the selection
#define ID_SLIDESHOW_PLAY_ALL 40008  // slide show of all files
#define ID_SLIDESHOW_NEW 40009  // new slide-show collection (27537)
#define ID_TOOLS_WRITER_SETTINGS 40010  // movie-writer settings (27544)
#define ID_TOOLS_SCENE_CUT 40011  // scene-cut editor (27901)
#define ID_TOOLS_ENTRY_EDITOR 40016  // person entry editor (27540)
#define ID_TOOLS_FACE_CLASSIFY 40017  // classify by face (27541)
#define ID_TOOLS_IMAGE_PICKER 40018  // image picker (27542)

// Help popup
#define ID_HELP_MANUAL 29651  // manual
#define ID_HELP_MAP_SITE 29652  // map information web page
#define ID_HELP_SUPPORT_SITE 29653  // support web page
#define ID_HELP_GUIDE 29654  // introductory program (manager entry 7)
#define ID_HELP_PRODUCT_INFO 29655  // product information (toolbar 27518)

// Popup prompts (shown while a popup is highlighted)
#define IDS_POPUP_TREES 29240  // trees sub-menu
#define IDS_POPUP_EXPORT 29300  // export popup
#define IDS_POPUP_FILE 29500  // file popup
#define IDS_POPUP_EDIT 29510  // edit popup
#define IDS_POPUP_VIEW 29530  // view popup
#define IDS_POPUP_VIEWMODE 29540  // view-mode sub-menu
#define IDS_POPUP_SORT 29560  // sort sub-menu
#define IDS_POPUP_FILTER 29590  // filter sub-menu
#define IDS_POPUP_GO 29600  // go sub-menu
#define IDS_POPUP_TOOLS 29620  // tools popup
#define IDS_POPUP_HELP 29650  // help popup

// Document hint of the settings dialog
#define ID_MUSIC_DISPLAY_CHANGED 29910  // settings changed

// Toolbar pane commands that the frame sends (WM_COMMAND ids of the toolbar pane)
#define ID_TB_FOLDER_TREE 27500  // folder-tree plug-in / card import
#define ID_TB_IMAGE_TOOLS 27501  // image-tool list
#define ID_TB_EDIT_IMAGE 27502  // image editor
#define ID_TB_ROTATE 27503  // rotate pictures
#define ID_TB_TOOL_PLUGIN 27504  // tool plug-ins
#define ID_TB_REFRESH 27505  // refresh trees and folder
#define ID_TB_OPTIONS 27510  // options dialog
#define ID_TB_FOLDER_UP 27513  // up one folder
#define ID_TB_FOLDER_BACK 27514  // history back
#define ID_TB_FOLDER_FORWARD 27515  // history forward
#define ID_TB_PRODUCT_INFO 27518  // product information
#define ID_TB_SLIDESHOW_SETTINGS 27535  // slide-show settings
#define ID_TB_OPEN_SCENARIO 27536  // open a scenario
#define ID_TB_NEW_SLIDE_COLLECTION 27537  // new slide-show collection
#define ID_TB_ENTRY_EDITOR 27540  // person entry editor
#define ID_TB_FACE_CLASSIFY 27541  // classify by face
#define ID_TB_IMAGE_PICKER 27542  // image picker
#define ID_TB_WRITER_SETTINGS 27544  // movie-writer settings
#define ID_TB_PPC_LIST 27790  // list base of the conversion plug-ins
#define ID_TB_SCALE 27842  // resize pictures
#define ID_TB_CONVERT 27843  // convert the file format
#define ID_TB_RENAME 27844  // rename by pattern
#define ID_TB_DATE_IMPRINT 27846  // imprint the date
#define ID_TB_FIX_SHOT_DATE 27847  // correct the shooting date
#define ID_TB_GUESS_PLACE 27849  // find the shooting place
#define ID_TB_SPLIT_CLIP 27891  // split a movie
#define ID_TB_MOVIE_CUT 27901  // scene-cut editor
#define ID_TB_MOVIE_EDIT 27902  // scene-cut editor, edit list
#define ID_TB_MOVIE_PLAY 27903  // content player

// Auto-run launcher tray menu
#define ID_AUTORUN_EXIT 1001  // end the launcher
#define ID_AUTORUN_START_MAIN 1002  // start the main program
#define ID_AUTORUN_CLOSE_MAIN 1003  // close the main program
#define ID_AUTORUN_START_VIEWER 1004  // start the card viewer
#define ID_AUTORUN_CLOSE_VIEWER 1005  // close the card viewer

// The disk and card trees (rc/trees-strings.rc)
#define IDS_DISKTREE_TOOLTIP 293               // tool tip of the disk tree's title button
#define IDS_DISKTREE_PLUGIN_TITLE 294          // the disk tree plug-in's registry title ("Explorer")
#define IDS_DISKTREE_NEW_FOLDER 295            // name of a new folder
#define IDS_DISKTREE_NEW_FOLDER_CAPTION 300    // caption when a folder cannot be made
#define IDS_DISKTREE_DISK_FULL 301             // the disk is full
#define IDS_DISKTREE_NOT_READY 302             // the drive is not ready
#define IDS_DISKTREE_ACCESS_DENIED 303         // no right to write here
#define IDS_DISKTREE_WRITE_PROTECTED 304       // the medium is write-protected
#define IDS_DISKTREE_DELETE_CAPTION 305        // caption when folders cannot be deleted
#define IDS_DISKTREE_NO_CREATION_TIME 10027    // properties: a folder without creation time
#define IDS_DISKTREE_EMPTY_DRIVE 10173         // an expanded drive without media
#define IDS_TREE_DROP_COLLECTING 10174         // wait text while a large drop is collected
#define IDS_DISKTREE_NAME_BAD_CHARS 40211      // a new name holds a forbidden character
#define IDS_DISKTREE_NAME_EMPTY 40212          // a new name is empty once its dots are cut
#define IDS_DISKTREE_NAME_TOO_LONG 40216       // the new path is too long
#define IDS_TREE_DROP_NOT_REPRESENTABLE 40222  // a dropped name the code page cannot hold
#define IDS_TREE_PATH_TOO_LONG 40223           // a path of 260 characters or more
#define IDS_DISKTREE_COLOR_STANDARD 296        // the colour dialog's standard-colour button
#define IDS_DISKTREE_FAVORITE_FAILED 502       // the folder could not become a favourite
#define IDS_DISKTREE_FAVORITE_FULL 503         // no more favourites
#define IDS_DISKTREE_PROPERTIES_TITLE 10020    // %s: the folder's properties
#define IDS_DISKTREE_SIZE_BYTES 10022          // %s short, %s exact: bytes
#define IDS_DISKTREE_SIZE_KB 10023             // kilobytes
#define IDS_DISKTREE_SIZE_MB 10024             // megabytes
#define IDS_DISKTREE_SIZE_GB 10025             // gigabytes
#define IDS_DISKTREE_SIZE_TB 10026             // terabytes
#define IDS_DISKTREE_CONTENTS 30060            // %s files, %s folders
#define IDS_DISKTREE_CHARSET_NAME 11956        // the name of the user interface's character set
#define ID_DISKTREE_NEW_FOLDER 2000            // folder menu: new folder
#define ID_DISKTREE_RENAME 2001
#define ID_DISKTREE_SEPARATOR 2002
#define ID_DISKTREE_CUT 2003
#define ID_DISKTREE_COPY 2004
#define ID_DISKTREE_DELETE 2005
#define ID_DISKTREE_PASTE 2006
#define ID_DISKTREE_PROPERTIES 2007
#define ID_DISKTREE_FAVORITE 2008
#define ID_DISKTREE_CTX_NEW_FOLDER 2100  // context menu: new folder
#define ID_DISKTREE_CTX_RENAME 2101
#define ID_DISKTREE_CTX_CUT 2102
#define ID_DISKTREE_CTX_COPY 2103
#define ID_DISKTREE_CTX_DELETE 2104
#define ID_DISKTREE_CTX_PASTE 2105
#define ID_DISKTREE_CTX_COLOR 2106
#define ID_DISKTREE_CTX_UNUSED 2107  // removed before the menu shows
#define ID_DISKTREE_CTX_FAVORITE 2108
#define ID_DISKTREE_CTX_PROPERTIES 2109
// Prompts of the context menu's commands whose numbers are the browser's messages.
#define IDS_DISKTREE_PROMPT_RENAME 40240
#define IDS_DISKTREE_PROMPT_DELETE 40241
#define IDS_DISKTREE_PROMPT_PASTE 40242
#define IDS_DISKTREE_PROMPT_COLOR 40243
#define IDS_DISKTREE_PROMPT_FAVORITE 40244
#define IDS_DISKTREE_PROMPT_PROPERTIES 40245
#define IDC_DISKTREE_COLOR_STANDARD 2501  // the colour dialog's added button
#define IDD_DISKTREE_PROPERTIES 5011      // a folder's properties page
#define IDC_DISKTREE_PROP_ICON 25020      // the folder's icon
#define IDC_DISKTREE_PROP_NAME 25022      // display name
#define IDC_DISKTREE_PROP_TYPE 25024      // type name
#define IDC_DISKTREE_PROP_LOCATION 25025  // the parent folder's path
#define IDC_DISKTREE_PROP_SIZE 25027      // total size of the files
#define IDC_DISKTREE_PROP_ON_DISK 25028   // size on disk
#define IDC_DISKTREE_PROP_CONTENTS 25029  // files and folders counted
#define IDC_DISKTREE_PROP_CREATED 25030   // creation date and time
#define IDC_DISKTREE_PROP_READONLY 25032  // attribute boxes, shown only
#define IDC_DISKTREE_PROP_HIDDEN 25034
#define IDC_DISKTREE_PROP_ARCHIVE 25036
#define IDC_DISKTREE_PROP_SYSTEM 25038

// ---- The card tree (CardTree.psp): titles, node labels, dialogs, buttons -------------------
#define IDS_CARDTREE_TOOLTIP_CARD 322      // tool tip of the card tree's title button
#define IDS_CARDTREE_TOOLTIP_DISC 323      // tool tip of its disc title button
#define IDS_CARDTREE_PLUGIN_TITLE 324      // the card tree plug-in's registry title ("MemoryCard")
#define IDS_CARDTREE_TITLE 40270           // title of the card section
#define IDS_CARD_DRIVE_PREFIX 40275        // drive node: text before the letter
#define IDS_CARD_DRIVE_SUFFIX 40276        // drive node: text after the letter; +n names folder type n
#define IDS_CARD_GROUP_PICTURES 40277      // pictures group
#define IDS_CARD_GROUP_VIDEO 40278         // SD-Video group
#define IDS_CARD_GROUP_TITLES 40281        // video-title group
#define IDS_CARD_AUTOPLAY 40282            // auto-play group and its entry 0
#define IDS_CARD_AUTOPLAY_1 40283          // auto-play entry 1
#define IDS_CARD_AUTOPLAY_2 40284          // auto-play entry 2
#define IDS_CARD_GROUP_MOBILE 40285        // mobile transfer group
#define IDS_CARD_DCIM 62050                // the DCIM node outside group mode
#define IDS_CARD_DISC_TITLES 62051         // disc-core node above the date nodes
#define IDS_CARD_DISC_DRIVE 62052          // disc drive node: text before the letter
#define IDS_CARD_DISC_UNFINALISED 62070    // a disc needs finalising before it can be read
#define IDS_CARD_IMPORT_INFO 62036         // the import information dialog's text
#define IDS_NOTICE_CAPTION 140             // notice popup: caption when none is given
#define IDS_NOTICE_YES 141
#define IDS_NOTICE_NO 142
#define IDS_NOTICE_OK 143
#define IDS_NOTICE_CANCEL 144
#define IDS_NOTICE_YES_ALL 147
#define IDS_NOTICE_NO_ALL 150
#define IDI_CARD_TREE 3009                 // the card section's title icon
#define IDI_CARD_DRIVE 3010                // a card drive node
#define IDI_DISC_DRIVE 507                 // a disc drive node
#define IDB_NOTICE_BUTTON_DISABLED 415     // notice popup buttons, 98 x 30
#define IDB_NOTICE_BUTTON_FOCUS 416
#define IDB_NOTICE_BUTTON 417
#define IDB_NOTICE_BUTTON_PRESSED 418
#define IDB_NOTICE_BUTTON_HOVER 419
#define IDB_THUMB_UNCHECKED 600          // thumbnail list overlays, 80 x 60 on magenta: check box off
#define IDB_THUMB_CHECKED 601            // check box on
#define IDB_THUMB_MARK 602               // the third overlay
#define IDB_THUMB_EMPTY 603              // an empty item's picture, 80 x 60
#define IDB_THUMB_WIDE_FRAME 604         // the frame of wide pictures, 80 x 60
#define IDD_IMPORT_INFO 531                // information after an import
#define IDC_IMPORT_INFO_TEXT 1120
#define IDC_IMPORT_INFO_NO_MORE 1121       // do not show again
#define IDD_CARD_ITEM 533                  // the parts of one disc title
#define IDC_CARD_ITEM_LIST 1122
#define IDD_DRIVE_CHANGE 534               // may the import switch drives?
#define IDC_DRIVE_CHANGE_NO_MORE 1126
#define IDC_DRIVE_CHANGE_YES 1127
#define IDC_DRIVE_CHANGE_NO 1128
#define IDC_DRIVE_CHANGE_TEXT 1129
#define IDD_CARD_NOTICE 2005               // the card plug-in's own message box
#define IDC_NOTICE_ICON 5000
#define IDC_NOTICE_BUTTON1 5001            // the five buttons, in order
#define IDC_NOTICE_BUTTON2 5002
#define IDC_NOTICE_BUTTON3 5003
#define IDC_NOTICE_BUTTON4 5004
#define IDC_NOTICE_BUTTON5 5005
// ===== Rename tool (Rename.dll) ==========================================================
#define IDD_RENAME 29017                    // the rename dialog
#define IDC_RENAME_PREVIEW 1001             // list: old name, new name (both without extension)
#define IDC_RENAME_BY_NAME 1002             // radio: the typed base name
#define IDC_RENAME_BASE_NAME 1004           // edit: the typed base name
#define IDC_RENAME_DECORATION 1013          // combo: decorations around the number
#define IDC_RENAME_NUMBER_AFTER 1014        // radio: number after the base name
#define IDC_RENAME_NUMBER_BEFORE 1015       // radio: number before the base name
#define IDC_RENAME_GROUP 1023               // group box around the naming fields
#define IDC_RENAME_START_LABEL 1024         // label beside the start field
#define IDC_RENAME_LENGTH_LABEL 1025        // label beside the digits field
#define IDC_RENAME_STEP_LABEL 1026          // label beside the step field
#define IDC_RENAME_DECORATION_LABEL 1027
#define IDC_RENAME_NOTE 1028                // the lowest line of the number settings
#define IDC_RENAME_POSITION_LABEL 1029
#define IDC_RENAME_WIDTH 1030               // the line whose width the group box takes
#define IDC_RENAME_OWN_NAME 4011            // radio: each file's own name
#define IDC_RENAME_DETAILS 17012            // button: show or hide the number settings
#define IDC_RENAME_START_SPIN 1508          // spins and edits made at run time
#define IDC_RENAME_LENGTH_SPIN 1509
#define IDC_RENAME_STEP_SPIN 1510
#define IDC_RENAME_START 1511
#define IDC_RENAME_LENGTH 1512
#define IDC_RENAME_STEP 1513
#define IDS_RENAME_DETAILS_SHOW 350         // details button, compact dialog
#define IDS_RENAME_DETAILS_HIDE 351         // details button, expanded dialog
#define IDS_RENAME_NO_DECORATION 352        // decoration item 0
#define IDS_RENAME_NAME_TAKEN 353           // a file outside the list has the new name
#define IDS_RENAME_OLD_COLUMN 358           // preview column 0
#define IDS_RENAME_NEW_COLUMN 369           // preview column 1
#define IDS_RENAME_SKIP 380                 // a new name meaning "leave this file"
#define IDS_RENAME_READ_ONLY 381            // %s old name, %s new name: rename a read-only file?
#define IDS_RENAME_BAD_CHARACTERS 384       // forbidden characters were removed
#define IDS_RENAME_PATH_TOO_LONG 385        // a folder leaves no room for a name
#define IDS_RENAME_NAME_CLASH 388           // the new name meets another spelling of a file
#define IDS_RENAME_RUNNING 389              // progress text of a rename run
#define IDS_RENAME_SOME_FAILED 390          // closing message: some files failed
#define IDS_RENAME_ALL_FAILED 392           // closing message: no file was renamed
#define IDS_RENAME_LEFT_TEMPORARY 393       // closing message: files left under a temporary name follow
#define IDS_RENAME_DECORATIONS 441          // decoration items, "\"-separated; "before after"
#define IDS_RENAME_CAPTION 50022            // caption of every message box of the tool
#define IDS_RENAME_NO_FILE 50032            // no file to rename

// ===== Toolbar pane: buttons, item lists and tools (rc/toolbar-*.rc) ===============// Commands of buttons the frame does not send
#define ID_TB_LAUNCHER 27511  // launcher window / register dropped programs
#define ID_TB_SHOW_LAUNCHER_LIST 199  // the launcher's window under its button until the cursor leaves
#define ID_TB_PPC_PLUGIN 27512  // conversion plug-ins
#define ID_TB_CARD_VIEWER 27516  // switch to the card viewer
#define ID_TB_MANUAL 27517  // the manual document
#define ID_TB_LOCATION_PAGE 27519  // the shooting-place page
#define ID_TB_SLIDESHOW 27530  // slide-show list
#define ID_TB_PERSON 27539  // person list
#define ID_TB_MOVIE 27543  // movie-program list
#define ID_TB_DISC_DRIVES 27545  // disc-drive list
#define ID_TB_ROTATE_ITEM 27841  // rotate pictures (tools list item)
// List base ids (what an item list reports as its own) and list items
#define ID_TB_TOOLS_LIST 27840  // list of the tool libraries
#define ID_TB_TREE_LIST 27850  // list base of the folder-tree plug-ins (items + 1..9)
#define ID_TB_PLUGIN_LIST 27860  // list base of the tool plug-ins (items + 1..9)
#define ID_TB_LAUNCHER_LIST 27890  // the launcher window's base
#define ID_TB_DISC_LIST 28000  // list base of the disc drives (items + 1..26)
#define ID_TB_SLIDE_PLAY 27873  // slide-show list: play (also the list's base)
#define ID_TB_SLIDE_OPEN_SCENARIO 27875  // slide-show list: open a scenario
#define ID_TB_SLIDE_NEW_COLLECTION 27878  // slide-show list: new collection
#define ID_TB_PERSON_EDITOR 27893  // person list: entry editor (also the list's base)
#define ID_TB_PERSON_CLASSIFY 27894  // person list: classify by face
#define ID_TB_PERSON_PICKER 27895  // person list: image picker
#define ID_TB_MOVIE_LIST 27900  // movie-program list base
// Timers of the pane
#define IDT_TB_BUTTON_STATES 111  // enabled states, every 100 ms
#define IDT_TB_LIST_AUTOHIDE 116  // item list opened by a drag
// Bitmaps (rc/toolbar-bitmaps.rc)
#define IDB_TB_BACK_LEFT 313  // background: left end, 143 x 165
#define IDB_TB_BACK_RIGHT 314  // background: right end, 143 x 165
#define IDB_TB_BACK_MIDDLE 14501  // background: 1 x 165, stretched between the ends
#define IDB_TB_ITEM 14046  // item list row
#define IDB_TB_ITEM_HOT 14048  // item list row under the mouse
#define IDB_TB_ITEM_PRESSED 14047  // item list row pressed
#define IDB_TB_UP 14124
#define IDB_TB_UP_SELECTED 14101
#define IDB_TB_UP_FOCUS 14123
#define IDB_TB_UP_DISABLED 14122
#define IDB_TB_BACK 14112
#define IDB_TB_BACK_SELECTED 14121
#define IDB_TB_BACK_FOCUS 14114
#define IDB_TB_BACK_DISABLED 14113
#define IDB_TB_FORWARD 14104
#define IDB_TB_FORWARD_SELECTED 14111
#define IDB_TB_FORWARD_FOCUS 14103
#define IDB_TB_FORWARD_DISABLED 14102
#define IDB_TB_TREE 14036
#define IDB_TB_TREE_SELECTED 14037
#define IDB_TB_TREE_FOCUS 14038
#define IDB_TB_TREE_DISABLED 14039
#define IDB_TB_PLUGIN 14076
#define IDB_TB_PLUGIN_SELECTED 14077
#define IDB_TB_PLUGIN_FOCUS 14078
#define IDB_TB_PLUGIN_DISABLED 14079
#define IDB_TB_PERSON 321
#define IDB_TB_PERSON_SELECTED 322
#define IDB_TB_PERSON_FOCUS 316
#define IDB_TB_PERSON_DISABLED 315
#define IDB_TB_LOCATION 14533
#define IDB_TB_LOCATION_SELECTED 14534
#define IDB_TB_LOCATION_FOCUS 14532
#define IDB_TB_LOCATION_DISABLED 14531
#define IDB_TB_SLIDESHOW 243
#define IDB_TB_SLIDESHOW_SELECTED 244
#define IDB_TB_SLIDESHOW_FOCUS 242
#define IDB_TB_SLIDESHOW_DISABLED 241
#define IDB_TB_TOOLS 14081
#define IDB_TB_TOOLS_SELECTED 14082
#define IDB_TB_TOOLS_FOCUS 14083
#define IDB_TB_TOOLS_DISABLED 14084
#define IDB_TB_EDIT 14056
#define IDB_TB_EDIT_SELECTED 14057
#define IDB_TB_EDIT_FOCUS 14058
#define IDB_TB_EDIT_DISABLED 14059
#define IDB_TB_ROTATE 14061
#define IDB_TB_ROTATE_SELECTED 14062
#define IDB_TB_ROTATE_FOCUS 14063
#define IDB_TB_ROTATE_DISABLED 14064
#define IDB_TB_MOVIE 499
#define IDB_TB_MOVIE_SELECTED 500
#define IDB_TB_MOVIE_FOCUS 498
#define IDB_TB_MOVIE_DISABLED 497
#define IDB_TB_DISC 530
#define IDB_TB_DISC_SELECTED 509
#define IDB_TB_DISC_FOCUS 525
#define IDB_TB_DISC_DISABLED 523
#define IDB_TB_REFRESH 14086
#define IDB_TB_REFRESH_SELECTED 14087
#define IDB_TB_REFRESH_FOCUS 14088
#define IDB_TB_REFRESH_DISABLED 14089
#define IDB_TB_LAUNCHER 14041
#define IDB_TB_LAUNCHER_SELECTED 14042
#define IDB_TB_LAUNCHER_FOCUS 14043
#define IDB_TB_LAUNCHER_DISABLED 14044
#define IDB_TB_MANUAL 14031
#define IDB_TB_MANUAL_SELECTED 14032
#define IDB_TB_MANUAL_FOCUS 14033
#define IDB_TB_MANUAL_DISABLED 14034
// Strings (rc/toolbar-strings.rc): labels, tooltips, list items
#define IDS_TB_LABEL_UP 50014
#define IDS_TB_TIP_UP 50125
#define IDS_TB_LABEL_BACK 50015
#define IDS_TB_TIP_BACK 50126
#define IDS_TB_LABEL_FORWARD 50016
#define IDS_TB_TIP_FORWARD 50127
#define IDS_TB_LABEL_TREE 50001
#define IDS_TB_TIP_TREE 50120
#define IDS_TB_LABEL_PLUGIN 50005
#define IDS_TB_TIP_PLUGIN 50116
#define IDS_TB_LABEL_PERSON 50138
#define IDS_TB_TIP_PERSON 50142
#define IDS_TB_LABEL_LOCATION 50029
#define IDS_TB_TIP_LOCATION 50133
#define IDS_TB_LABEL_SLIDESHOW 50030
#define IDS_TB_TIP_SLIDESHOW 50134
#define IDS_TB_LABEL_TOOLS 50002
#define IDS_TB_TIP_TOOLS 50119
#define IDS_TB_LABEL_EDIT 50003
#define IDS_TB_TIP_EDIT 50118
#define IDS_TB_LABEL_PPC 50013
#define IDS_TB_TIP_PPC 50124
#define IDS_TB_TIP_ROTATE 50117
#define IDS_TB_LABEL_MOVIE 50036
#define IDS_TB_LABEL_DISC 62071
#define IDS_TB_LABEL_REFRESH 50012
#define IDS_TB_TIP_REFRESH 50123
#define IDS_TB_TIP_LAUNCHER 50110
#define IDS_TB_LABEL_MANUAL 50018
#define IDS_TB_TIP_MANUAL 50129
#define IDS_TB_TOOL_SCALE 50020  // tools list: resize
#define IDS_TB_TOOL_CONVERT 50021  // tools list: convert the format
#define IDS_TB_TOOL_DATE_IMPRINT 50024  // tools list: imprint the date
#define IDS_TB_TOOL_FIX_SHOT_DATE 50026  // tools list: correct the shooting date
#define IDS_TB_TOOL_GUESS_PLACE 50033  // tools list: find the shooting place
#define IDS_TB_TOOL_SPLIT_CLIP 50034  // tools list: split a movie
#define IDS_TB_SLIDE_PLAY 50135  // slide-show list item
#define IDS_TB_SLIDE_NEW_COLLECTION 50136  // slide-show list item
#define IDS_TB_SLIDE_OPEN_SCENARIO 50137  // slide-show list item
#define IDS_TB_PERSON_EDITOR 50139  // person list item; the entry editor's caption
#define IDS_TB_PERSON_CLASSIFY 50140  // person list item
#define IDS_TB_PERSON_PICKER 50141  // person list item
#define IDS_TB_MOVIE_CUT 50037  // movie list item
#define IDS_TB_MOVIE_PLAY 50039  // movie list item
#define IDS_TB_DISC_DRIVE 62072  // text after a drive letter in the disc list
#define IDS_TB_PROGRAM_MISSING 61446  // an outside program is not there
#define IDS_PROGRAM_STARTING 62077  // an outside program starts: the toolbar's notice, the upload's progress window
#define IDS_TB_NO_MOVIE 62096  // no movie among the selected files
#define IDS_TB_FIRST_MOVIE_ONLY 62048  // only the first movie is taken: go on?
#define IDS_TB_MONTH_RENAME 791  // rename refused in the month calendar
#define IDS_TB_MUSIC_RENAME 62024  // rename refused in the music view
// ---- the card import -----------------------------------------------------------------
#define IDS_IMPORT_KEYWORD_PROTECTED 31100  // keyword: the camera marked the picture protected
#define IDS_IMPORT_KEYWORD_MARKED 31104     // keyword: the camera marked the picture for sharing
#define IDS_IMPORT_KEYWORD_NO_DATE 259      // keyword: the capture date is unknown
#define IDS_IMPORT_KEYWORD_DATE 11969       // keyword "%s": the import date
#define IDS_IMPORT_REGISTERING 40300        // heading of the registration step
#define IDS_IMPORT_REGISTER_PERCENT 40301   // registration progress "%d"
#define IDS_IMPORT_DONE 40259               // the import ended
#define IDS_IMPORT_SUMMARY_CAPTION 40255    // caption of the summary
#define IDS_IMPORT_COUNT 62089              // "%d" files imported
#define IDS_IMPORT_SKIPPED 62090            // "%d" files already there
#define IDS_IMPORT_FAILED 62100             // the import stopped
#define IDS_IMPORT_NO_FREE_NUMBER 62106     // "%s": no free "(n)" name for the file
#define IDS_IMPORT_NOT_FIXED_DISK 40266     // the backup goes to a fixed disk only
#define IDS_IMPORT_NO_CARD 252              // no memory card is inserted
#define IDS_IMPORT_COPY_FAILED 62107        // "%s\n\n%s": the file that failed, the system's reason
// The import dialog (template 29014) and its messages.
#define IDD_CARD_IMPORT 29014               // the card import dialog
#define IDC_IMPORT_DRIVE 1001               // card-drive drop list
#define IDC_IMPORT_DESTINATION 2101         // destination folder (read-only edit)
#define IDC_IMPORT_BROWSE 2102              // browse for the destination
#define IDC_IMPORT_STATUS 2103              // progress and step texts
#define IDC_IMPORT_MONTHLY 2104             // BackupMode 1: a folder per month
#define IDC_IMPORT_DAILY 2105               // BackupMode 2: a folder per day
#define IDC_IMPORT_TODAY 1055               // BackupMode 3: a folder for the import day
#define IDC_IMPORT_NAMED 1056               // BackupMode 4: the folder named below
#define IDC_IMPORT_FOLDER_NAME 1057         // the folder name of BackupMode 4
#define IDC_IMPORT_NAME_BY_TIME 510         // FileNameMode 0: named by capture time
#define IDC_IMPORT_NAME_KEEP 511            // FileNameMode 1: the card's names
#define IDC_IMPORT_COPY_ALL 505             // CopyMode 0: copy every file
#define IDC_IMPORT_COPY_RULE 1048           // apply the duplicate rule of the list
#define IDC_IMPORT_RULE_LIST 1059           // duplicate rules (strings 534 to 536)
#define IDC_IMPORT_CLASSIFY_DATE 1061
#define IDC_IMPORT_CLASSIFY_MODEL 1062
#define IDC_IMPORT_CLASSIFY_SCENE 1063
#define IDC_IMPORT_CLASSIFY_FOLDER 1064
#define IDC_IMPORT_CLASSIFY_FACE 1071
#define IDC_IMPORT_CLASSIFY_PERSONAL 1097
#define IDC_IMPORT_KEYWORD 3001             // keyword combo box
#define IDC_IMPORT_LIST 3013                // the card's files as checked thumbnails
#define IDC_IMPORT_DETAILS 2106             // show or hide the details
#define IDC_IMPORT_CHECK_ALL 1077
#define IDC_IMPORT_UNCHECK_ALL 1078
#define IDC_IMPORT_NAMING_FRAME 3008        // frames and labels the details toggle moves
#define IDC_IMPORT_RULE_FRAME 3009
#define IDC_IMPORT_KEYWORD_LABEL 3010
#define IDC_IMPORT_LIST_LABEL 3011
#define IDC_IMPORT_FOLDER_FRAME 3012
#define IDC_IMPORT_DRIVE_LABEL 1058
#define IDC_IMPORT_CLASSIFY_FRAME 1060
#define IDC_IMPORT_DESTINATION_LABEL 1088
#define IDR_IMPORT_ITEM_MENU 5204           // context menu of a listed file
#define ID_IMPORT_ITEM_PROPERTY 29001       // the listed file's properties
#define IDS_IMPORT_BROWSE_TITLE 40250       // folder browser's text
#define IDS_IMPORT_PICTURES_FOLDER 212      // folder under the documents when there is no picture folder
#define IDS_IMPORT_RULE_SKIP_SAME 534       // duplicate rules at list positions 0, 1, 2
#define IDS_IMPORT_RULE_SKIP_NAME 535
#define IDS_IMPORT_RULE_RENAME 536
#define IDS_IMPORT_THUMBNAILS 40314         // status while thumbnails are asked for
#define IDS_IMPORT_LIST_PERCENT 40312       // "%d": percent of the thumbnails made
#define IDS_IMPORT_NO_FILES 40313           // "%d": nothing to import on the card
#define IDS_IMPORT_NOTHING_CHECKED 62031    // Start with no file checked
#define IDS_IMPORT_BAD_KEYWORD 30031        // the keyword holds a character of 30032
#define IDS_IMPORT_KEYWORD_CHARACTERS 30032 // the characters a keyword may not hold
#define IDS_IMPORT_CREATE_FOLDER 40264      // the destination does not exist: create it?
#define IDS_IMPORT_CREATE_CAPTION 40263
#define IDS_IMPORT_BAD_FOLDER_NAME 119      // the folder name of BackupMode 4 is refused
#define IDS_IMPORT_NO_DESTINATION 40260     // run: the destination is empty
#define IDS_IMPORT_BAD_DESTINATION 40261    // run: the destination is no path
#define IDS_IMPORT_DRIVE_UNREADABLE 40253   // run: the destination's drive answers nothing
#define IDS_IMPORT_LOW_SPACE 62110          // fewer free bytes than the import needs (280 is the slide show's)
#define IDS_IMPORT_KEPT_HEAD 62111          // the clean-up left files on the card; the lines below say why
#define IDS_IMPORT_KEPT_OTHER_CARD 62112    // "%d": the drive holds another card (or none)
#define IDS_IMPORT_KEPT_CHANGED 62113       // "%d": the card file changed since it was copied
#define IDS_IMPORT_KEPT_COPY_CHANGED 62114  // "%d": its copy changed or went
#define IDS_IMPORT_KEPT_READ_ONLY 62115     // "%d": read-only on the card
#define IDS_IMPORT_KEPT_NOT_DELETED 62116   // "%d": the deletion failed
#define IDS_IMPORT_KEPT_DIFFERS 62118       // "%d": the card file and its copy differ now
#define IDS_IMPORT_NAME_TAKEN 62117         // "%d": not copied, a file of the name is at the destination
#define IDS_IMPORT_TITLE_PARTS 62074        // "%d": the parts of a disc title (its list label's second line)
#define IDS_IMPORT_PREPARING 40257          // status: the run starts
#define IDS_IMPORT_COPYING 40258            // status: files are copied
#define IDS_IMPORT_LIMIT_REACHED 270        // done, the title limit was reached
#define IDS_IMPORT_DELETE_QUESTION 61461    // delete the imported files from the card?
#define IDS_IMPORT_DELETE_AGAIN 62030       // the second question before deleting
#define IDS_IMPORT_DRIVE_CHANGE 62088       // switch the card drive?
#define IDS_IMPORT_UNSUPPORTED_ITEMS 62045  // "%d" disc items of other makers
#define IDS_IMPORT_DISC_CHECK 62069         // scan: the card's titles need finalising or checking
#define IDS_IMPORT_TV_SYSTEM 62073          // scan: the card's titles are of the other TV system
#define IDS_IMPORT_TITLES_UNREADABLE 62084  // scan: the card's title data can't be read
#define IDS_IMPORT_RENAMED 62108           // "%d" files copied under a "(n)" name
#define IDS_IMPORT_DELETING 62109          // status: the imported files leave the card
// The copy, registration and backup progress dialogs.
#define IDA_IMPORT_COPY 1001                // clip of the copy and registration windows (AVI)
#define IDA_CARD_BACKUP 3017                // clip of the backup window (AVI)
#define IDS_COPY_TITLE 167                  // copy window title
#define IDS_COPY_BETWEEN 40303              // word between the two folder names
#define IDS_COPY_CURRENT 40305              // "%d": the current number
#define IDS_COPY_TOTAL 40306                // "%d": the total
#define IDS_IMPORT_SIZE_BYTES 40307                // size formats "%s", bytes to TB
#define IDS_IMPORT_SIZE_KB 40308
#define IDS_IMPORT_SIZE_MB 40309
#define IDS_IMPORT_SIZE_GB 40310
#define IDS_IMPORT_SIZE_TB 40311
#define IDS_COPY_PATH_TOO_LONG 10157        // the target path is too long
#define IDS_BACKUP_CANCEL 40304             // the backup's cancel button
#define IDS_BACKUP_CANCELLING 40401         // folder line once cancel is pressed
#define IDS_BACKUP_SCANNING 40402           // notice while the cards are read
#define IDD_COPY_PROGRESS 3019              // copy progress dialog
#define IDC_COPY_FILE 1004                  // file name and size
#define IDC_COPY_FOLDERS 1005               // source and destination folders
#define IDC_COPY_COUNT 3027                 // "n / total"
#define IDC_COPY_BAR 27912                  // progress bar (also of 268)
#define IDC_COPY_ANIMATION 1002
#define IDC_COPY_CANCEL 1111                // cancel (also the backup's)
#define IDC_COPY_STOP 1006                  // stop after the running file
#define IDD_REGISTER_PROGRESS 268           // registration progress of the disc items
#define IDC_REGISTER_FILE 1102
#define IDC_REGISTER_FOLDERS 1103
#define IDC_REGISTER_NOTE 1104
#define IDC_REGISTER_CANCEL 1105
#define IDC_REGISTER_ANIMATION 1106
#define IDD_BACKUP_PROGRESS 3100            // the card backup's progress dialog
#define IDC_BACKUP_ANIMATION 3025
#define IDB_BACKUP_BACKGROUND 3011          // backup dialog background, 450 x 200
#define IDB_BACKUP_BUTTON_DISABLED 3012     // its cancel button, 132 x 36
#define IDB_BACKUP_BUTTON_FOCUS 3013
#define IDB_BACKUP_BUTTON 3014
#define IDB_BACKUP_BUTTON_PRESSED 3015
#define IDB_BACKUP_BUTTON_HOVER 3016
#define IDS_IMPORT_DISC_FAILED 62093        // "%08X": a disc title's import job failed with that code
#define IDS_FACE_DB_FILE 811                // the face database's file name, after "\Norvane\vxdb"
// The full-screen zoom window's panel: tooltips and faces (normal, selected, focus).
#define IDS_ZOOM_CLOSE 3031
#define IDS_ZOOM_PREV_GROUP 3032
#define IDS_ZOOM_PREV_ITEM 3033
#define IDS_ZOOM_NEXT_ITEM 3034
#define IDS_ZOOM_NEXT_GROUP 3035
#define IDS_ZOOM_IN 3036
#define IDS_ZOOM_OUT 3037
#define IDS_ZOOM_ACTUAL 3038
#define IDS_ZOOM_FIT 3039
#define IDS_ZOOM_MARK 3040
#define IDB_ZOOM_CLOSE 132
#define IDB_ZOOM_CLOSE_SELECTED 130
#define IDB_ZOOM_CLOSE_FOCUS 131
#define IDB_ZOOM_PREV_GROUP 135
#define IDB_ZOOM_PREV_GROUP_SELECTED 133
#define IDB_ZOOM_PREV_GROUP_FOCUS 134
#define IDB_ZOOM_PREV_ITEM 138
#define IDB_ZOOM_PREV_ITEM_SELECTED 136
#define IDB_ZOOM_PREV_ITEM_FOCUS 137
#define IDB_ZOOM_NEXT_ITEM 141
#define IDB_ZOOM_NEXT_ITEM_SELECTED 139
#define IDB_ZOOM_NEXT_ITEM_FOCUS 140
#define IDB_ZOOM_NEXT_GROUP 144
#define IDB_ZOOM_NEXT_GROUP_SELECTED 142
#define IDB_ZOOM_NEXT_GROUP_FOCUS 143
#define IDB_ZOOM_UNMARKED 147
#define IDB_ZOOM_UNMARKED_SELECTED 145
#define IDB_ZOOM_UNMARKED_FOCUS 146
#define IDB_ZOOM_IN 158
#define IDB_ZOOM_IN_SELECTED 156
#define IDB_ZOOM_IN_FOCUS 157
#define IDB_ZOOM_MARKED 161
#define IDB_ZOOM_MARKED_SELECTED 159
#define IDB_ZOOM_MARKED_FOCUS 160
#define IDB_ZOOM_OUT 164
#define IDB_ZOOM_OUT_SELECTED 162
#define IDB_ZOOM_OUT_FOCUS 163
#define IDB_ZOOM_FIT 168
#define IDB_ZOOM_FIT_SELECTED 166
#define IDB_ZOOM_FIT_FOCUS 167
#define IDB_ZOOM_ACTUAL 171
#define IDB_ZOOM_ACTUAL_SELECTED 170
#define IDB_ZOOM_ACTUAL_FOCUS 169
#define IDB_ZOOM_PLAY 461
#define IDB_ZOOM_PLAY_SELECTED 462
#define IDB_ZOOM_PLAY_FOCUS 463
#define IDCUR_ZOOM_OPEN_HAND 279    // cursor over a picture larger than the screen
#define IDCUR_ZOOM_CLOSED_HAND 280  // cursor while the picture is dragged
#define IDCUR_PANEL_BUTTON 281      // cursor over a button of the zoom and slide-show panels

// ---- the toolbar's tool runs (rc/toolbar-tool-strings.rc) -------------------------------
#define IDS_TB_MONTH_ROTATE 792  // rotation refused in the month calendar
#define IDS_TB_MUSIC_ROTATE 62025
#define IDS_TB_MONTH_SCALE 789
#define IDS_TB_MUSIC_SCALE 62022
#define IDS_TB_MONTH_CONVERT 790
#define IDS_TB_MUSIC_CONVERT 62023
#define IDS_TB_MONTH_IMPRINT 796
#define IDS_TB_MUSIC_IMPRINT 62028
#define IDS_TB_MONTH_SHOT_DATE 794
#define IDS_TB_MUSIC_SHOT_DATE 62026
#define IDS_TB_MONTH_SPLIT 797
#define IDS_TB_MUSIC_SPLIT 62029
#define IDS_TB_DISK_FULL 769  // too little disk space for a tool run
#define IDS_TB_IMPRINT_DEFAULT_NAME 50320  // the name prompt's first default text
#define IDS_TB_IMPRINT_NOTHING 50321  // no file can take the date
#define IDS_TB_IMPRINT_UNDATED 50322  // the files have no shooting date
#define IDS_TB_SOME_FILES_LEFT_OUT 50323  // some files were left out
#define IDS_TB_SPECIAL_KINDS_LEFT_OUT 50324  // %s the tool three times
#define IDS_TB_KIND_TTL 50326
#define IDS_TB_KIND_DVF 50327
#define IDS_TB_KIND_PED 50328
#define IDS_TB_IMPRINT_DVF_AS_BMP 50330  // ".dvf" files are written as bitmaps
#define IDS_TB_IMPRINT_MAKER_NOTE 50331  // the maker's note is lost: go on?
#define IDS_TB_SHOT_DATE_LEFT_OUT 50332  // files that cannot take a date were left out
#define IDS_TB_FIRST_SELECTED_ONLY 50333  // only the first selected file is used: go on? (split, entry editor)
#define IDS_TB_IMPRINT_EXIF_TEXT 50334  // the Exif comment is lost: go on?
#define IDS_TB_PRINT_MARK_QUESTION 50401  // %s the tool: print data is lost, go on?
#define IDS_TB_IMPRINT_WRITE_PROTECTED 50410
#define IDS_TB_IMPRINT_NO_MEMORY 50412
#define IDS_TB_IMPRINT_FAILED 50413  // %s the source file
#define IDS_TB_SPLIT_NO_MOVIE 62082
#define IDS_TB_SPLIT_OTHER_FILES 62083  // files other than movies are left out

// The slide-show window's panel (close is the zoom panel's): tooltips, faces (normal,
// selected, focus) and the player's failures ("%s": the system's text for the error).
#define IDS_SLIDE_PLAY 3049
#define IDS_SLIDE_PAUSE 3060
#define IDS_SLIDE_SETTINGS 4118
#define IDS_SLIDE_LOAD_FAILED 51131
#define IDS_SLIDE_PLAY_FAILED 51132
#define IDB_SLIDE_PLAY 468
#define IDB_SLIDE_PLAY_SELECTED 466
#define IDB_SLIDE_PLAY_FOCUS 467
#define IDB_SLIDE_PAUSE 471
#define IDB_SLIDE_PAUSE_SELECTED 469
#define IDB_SLIDE_PAUSE_FOCUS 470
#define IDB_SLIDE_SETTINGS 239
#define IDB_SLIDE_SETTINGS_SELECTED 240
#define IDB_SLIDE_SETTINGS_FOCUS 238

// Slide-show authoring.
#define IDS_SLIDE_DISK_FULL 280   // the image preparer: less than 51,200,000 bytes free
#define IDS_SLIDE_PREPARING 399   // the image preparer's caption
#define IDS_SLIDE_SCENARIO_FAILED 51120  // a scenario file that could not be read
#define IDS_SLIDE_SCENARIO_MISSING 51137  // an opened scenario: head of its files that are gone
#define IDS_TB_CALENDAR_SLIDESHOW 805     // the slide-show commands refused in a calendar view
#define IDD_SLIDESHOW_SETTINGS 19000  // the slide-show settings dialog (the page's controls too)
#define IDC_SLIDE_DETAIL_GROUP 19006  // always disabled
#define IDC_SLIDE_DETAIL_1 19007
#define IDC_SLIDE_DETAIL_2 19008
#define IDC_SLIDE_SETTINGS_OK 19009
#define IDC_SLIDE_SETTINGS_CANCEL 1111

// The slide-show collection dialog. Its three messages of 51122, 51124 and 51126 moved to
// 51134-51136: those numbers are the shell's (51131 and 51132 are the slide-show window's).
#define IDD_SLIDE_COLLECT 250
#define IDC_SLIDE_COLLECT_CLOSE 1048
#define IDC_SLIDE_COLLECT_START 1049
#define IDC_SLIDE_COLLECT_SAVE 1050
#define IDC_SLIDE_COLLECT_REMOVE 1051
#define IDC_SLIDE_COLLECT_AUDIO 1073     // the audio file's label
#define IDC_SLIDE_COLLECT_LIST 1074      // the picture list, made by the program; command 1074 opens the settings
#define IDC_SLIDE_COLLECT_SETTINGS 1052  // the settings button (1074 is the list's)
#define IDC_SLIDE_COLLECT_TIP 1075       // the tooltip's tool over the audio label
#define IDC_SLIDE_COLLECT_HEAD 17124     // the heading above the list
#define IDS_SLIDE_COLLECT_FILLING 491    // caption while the list is filled
#define IDS_SLIDE_FILE_REFUSED 51119     // a dropped file that can't be used: %s its path
#define IDS_SLIDE_ASK_SAVE 51129         // yes/no before closing unsaved work
#define IDS_SLIDE_AUDIO_REFUSED 51130    // audio dropped from the file manager
#define IDS_SLIDE_SAVE_FAILED 51134      // nothing left to save, or the save failed
#define IDS_SLIDE_MISSING_FILES 51135    // head of the list of missing files
#define IDS_SLIDE_TOO_MANY 51136         // the list holds 10000 pictures already
// The collection dialog's commands to the toolbar (WM_COMMAND, lParam the dialog)
#define ID_SLIDE_SETTINGS 27874
#define ID_SLIDE_START 27877

// The music view: column titles, the column header's ten parts and the rows' play and
// stop buttons (normal, selected, focus, disabled)
#define IDS_MUSIC_COLUMN_TITLE 62000
#define IDS_MUSIC_COLUMN_TIME 62001
#define IDS_MUSIC_COLUMN_FORMAT 62002
#define IDS_MUSIC_COLUMN_SIZE 62003
#define IDB_MUSIC_HEADER_LEFT 15029
#define IDB_MUSIC_HEADER_LEFT_PRESSED 15030
#define IDB_MUSIC_HEADER_BODY 15031
#define IDB_MUSIC_HEADER_BODY_PRESSED 15032
#define IDB_MUSIC_HEADER_RIGHT 15033
#define IDB_MUSIC_HEADER_RIGHT_PRESSED 15034
#define IDB_MUSIC_HEADER_DOWN 15035  // sort direction 2
#define IDB_MUSIC_HEADER_DOWN_PRESSED 15036
#define IDB_MUSIC_HEADER_UP 15037  // sort direction 1
#define IDB_MUSIC_HEADER_UP_PRESSED 15038
#define IDB_MUSIC_PLAY 15081
#define IDB_MUSIC_PLAY_SELECTED 15082
#define IDB_MUSIC_PLAY_FOCUS 15083
#define IDB_MUSIC_PLAY_DISABLED 15084
#define IDB_MUSIC_STOP 15085
#define IDB_MUSIC_STOP_SELECTED 15086
#define IDB_MUSIC_STOP_FOCUS 15087
#define IDB_MUSIC_STOP_DISABLED 15088
#define IDCUR_MUSIC_DIVIDER 248        // header cursor over a column divider
#define IDCUR_MUSIC_HIDDEN_COLUMN 249  // header cursor over the zone of a column sized to nothing

// ---- the launcher: its window, its entries and its options page ----------------------
#define IDS_LAUNCHER_REGISTER 50301  // menu item "register"; caption of the register questions
#define IDS_LAUNCHER_FILTER 50303  // file dialog filter of programs
#define IDS_LAUNCHER_START_FAILED 50304  // the program could not be started
#define IDS_LAUNCHER_EMPTY_SLOT 50305  // label of an empty slot
#define IDS_LAUNCHER_ASK_REGISTER 50306  // register a program in this slot?
#define IDS_LAUNCHER_LOW_RESOURCES 50307  // too few system resources to start a program
#define IDS_LAUNCHER_NO_METER 50308  // after the meter library's name: it cannot be loaded
#define IDS_LAUNCHER_NO_METER_FUNCTION 50309  // after the meter library's name: its function is missing
#define IDS_LAUNCHER_ASK_REMOVE 50311  // remove the program of this slot?
#define IDS_LAUNCHER_NOT_PROGRAM 50312  // the file is not a program
#define IDS_LAUNCHER_ASK_REGISTER_EMPTY 50313  // the slot is empty: register a program?
#define IDS_LAUNCHER_ASK_MANY 50314  // "%d" files: start them all? (the count twice)
#define IDS_LAUNCHER_LAST_SLOT_KEY 50611  // profile key of the last-used slot
#define ID_LAUNCHER_REGISTER 27220  // launcher row menu: register a program
#define ID_LAUNCHER_REMOVE 27224  // launcher row menu: remove the program
#define IDC_LAUNCHER_LABEL1 27351
#define IDC_LAUNCHER_PATH1 27352
#define IDC_LAUNCHER_BROWSE1 27353
#define IDC_LAUNCHER_CLEAR1 27354
#define IDC_LAUNCHER_LABEL2 27356
#define IDC_LAUNCHER_PATH2 27357
#define IDC_LAUNCHER_BROWSE2 27359
#define IDC_LAUNCHER_CLEAR2 27360
#define IDC_LAUNCHER_LABEL3 27361
#define IDC_LAUNCHER_PATH3 27362
#define IDC_LAUNCHER_BROWSE3 27364
#define IDC_LAUNCHER_CLEAR3 27365

// Persons and faces: the person entry editor, the face registration dialog and the face
// classification run.
#define IDD_ENTRY_EDIT 263              // person entry editor (modeless)
#define IDD_FACE_REGISTER 265           // face registration (modeless)
#define IDC_ENTRY_ADD_FACE 1078
#define IDC_ENTRY_DELETE_FACE 1079
#define IDC_ENTRY_BIRTHDAY 1080         // check box: the person has a birthday
#define IDC_ENTRY_ADD_NAME 1081
#define IDC_ENTRY_DELETE_NAME 1082
#define IDC_ENTRY_DAY 1083
#define IDC_ENTRY_FACES 1084            // list control of face thumbnails
#define IDC_ENTRY_NAMES 1085            // names combo (drop-down with edit)
#define IDC_ENTRY_MONTH 1086
#define IDC_ENTRY_YEAR 1087
#define IDC_FACE_REG_TEXT1 1099
#define IDC_FACE_REG_TEXT2 1100
#define IDC_FACE_REG_PICTURE 1101       // the 320 x 240 drawing area
#define IDC_FACE_REG_NOTE 1111
#define IDS_FACE_PICTURE_MISSING 309    // the picture file does not exist
#define IDS_ENTRY_NAME_EXISTS 812
#define IDS_ENTRY_TOO_MANY 813          // more than five faces, or more than twenty names
#define IDS_ENTRY_NAME_INVALID 816      // / * ? " | < > in a name
#define IDS_ENTRY_NAME_EMPTY 817        // empty name, or the first entry
#define IDS_ENTRY_YEAR_DIGITS 818       // the year takes digits only
#define IDS_ENTRY_BIRTHDAY_INCOMPLETE 820
#define IDS_ENTRY_DELETE_NAME_ASK 821
#define IDS_ENTRY_DELETE_FACE_ASK 822
#define IDS_FACE_NOT_FOUND 826          // no picture, or its faces could not be examined
#define IDS_FACE_REG_NOTE 827
#define IDS_FACE_DB_NOT_READY 828
#define IDS_FACE_REG_TEXT1 12100
#define IDS_FACE_REG_TEXT2 12101
#define IDS_CLASSIFY_TITLE 62060
#define IDS_CLASSIFY_COUNT 62061        // "%d" pictures classified
#define IDS_ENTRY_SAVED 62062
#define IDS_ENTRY_FIRST_NAME 62063      // the names combo's first entry
#define IDS_FACE_DB_NOT_SAVED 62064     // the face database file "%s" could not be written
#define IDS_ENTRY_DISCARD_ASK 62065     // unsaved faces: change the person anyway?
#define IDS_CLASSIFY_NOT_FIXED 62078    // a picture off a fixed disk stops the run
#define IDS_CLASSIFY_REMOVABLE 62079    // pictures on removable disks are skipped once
#define IDS_CLASSIFY_NOT_IN_MONTH_VIEW 788   // classification refused in the month calendar
#define IDS_CLASSIFY_NOT_IN_MUSIC_VIEW 62021  // classification refused in the music view
#define IDS_TB_CLOSE_EDITOR_ASK 337     // "%s" (the editor's caption) is open: close it?
#define IDS_TB_CLOSE_EDITOR_NOTE 12068  // what closing the editor loses

// The image picker: pictures of a name or a folder, ticked and filed under a name.
#define IDD_IMAGE_PICKER 269
#define IDC_PICKER_LIST 1034            // thumbnail list with check boxes
#define IDC_PICKER_SOURCE 1107          // where the pictures come from: a name or a folder
#define IDC_PICKER_NAME 1108            // the name to file under (drop-down with edit)
#define IDC_PICKER_OK 1109
#define IDC_PICKER_CANCEL 1110
#define IDC_PICKER_SOURCE_LABEL 62060
#define IDC_PICKER_LIST_LABEL 62061
#define IDC_PICKER_NAME_LABEL 62062
#define IDS_PICKER_UNFILE_ONE 472       // "%s": take the picture out of its name?
#define IDS_PICKER_UNSORTED 62038       // the source entry of pictures filed under no chosen name
#define IDS_PICKER_UNFILE 62039         // the name entry that takes pictures out of their name
#define IDS_PICKER_CHOOSE_FOLDER 62058  // the source entry that browses for a folder; the browser's title

// ---- Picture tool libraries: TurnPicture, ScalePicture, ConvertKind ----------------------
#define IDD_TURN_PICTURE 57100          // the rotation tool's settings
#define IDD_SCALE_PICTURE 57101         // the resize tool's settings
#define IDD_CONVERT_KIND 57102          // the conversion tool's settings
#define IDC_TURN_90 57110               // radio: a quarter turn clockwise
#define IDC_TURN_180 57111              // radio: a half turn
#define IDC_TURN_270 57112              // radio: a quarter turn counter-clockwise
#define IDC_TURN_PIXELS 57113           // radio: turn the pixels
#define IDC_TURN_TAG 57114              // radio: rewrite only the Exif orientation
#define IDC_TURN_SAVE_COPY 57115        // radio: write a copy beside the picture
#define IDC_TURN_SAVE_OVER 57116        // radio: replace the picture
#define IDC_TURN_SAVE_ASK 57117         // radio: ask for each picture
#define IDC_SCALE_BY_SIDE 57120         // radio: a long side in pixels
#define IDC_SCALE_SIDE 57121            // edit: the long side
#define IDC_SCALE_BY_PERCENT 57122      // radio: a percentage
#define IDC_SCALE_PERCENT 57123         // edit: the percentage
#define IDC_SCALE_QUALITY 57124         // trackbar: JPEG quality 10..100
#define IDC_SCALE_QUALITY_TEXT 57125    // static: the quality as a number
#define IDC_SCALE_QUALITY_LABEL 57126   // static: the trackbar's label
#define IDC_CONVERT_JPEG 57130          // radio: to JPEG
#define IDC_CONVERT_BMP 57131           // radio: to BMP
#define IDC_CONVERT_PNG 57132           // radio: to PNG
#define IDC_CONVERT_TIFF 57133          // radio: to TIFF
#define IDS_PICTOOL_FAILED 57150        // "%s" file name, "%s" the tool's title: it failed; go on?
#define IDS_PICTOOL_OVERWRITE_ASK 57151 // "%s" file name: replace it? No writes a copy
#define IDS_SCALE_SIDE_RANGE 57152      // the long side must lie in 16..10000
#define IDS_SCALE_PERCENT_RANGE 57153   // the percentage must lie in 1..100

// ===== Tool libraries beside the program (StampDay, NamePrompt, FixShotDate, GuessPlace) ==
#define IDS_TOOLS_OK 53400                  // buttons of the tool libraries' dialogs
#define IDS_TOOLS_CANCEL 53401
#define IDS_NAMEPROMPT_SOURCE 53411         // NamePrompt (its caption: the command's title)
#define IDS_NAMEPROMPT_SUFFIX 53412
#define IDS_NAMEPROMPT_OUTPUT 53413
#define IDS_NAMEPROMPT_CORNER 53414
#define IDS_NAMEPROMPT_LOWER_RIGHT 53415
#define IDS_NAMEPROMPT_LOWER_LEFT 53416
#define IDS_NAMEPROMPT_UPPER_RIGHT 53417
#define IDS_NAMEPROMPT_UPPER_LEFT 53418
#define IDS_NAMEPROMPT_BAD_NAME 53419
#define IDS_FIXDATE_FILES 53431             // FixShotDate: %d files, %s the first file's date
#define IDS_FIXDATE_SET 53432
#define IDS_FIXDATE_SHIFT 53433
#define IDS_FIXDATE_DAYS 53434
#define IDS_FIXDATE_HOURS 53435
#define IDS_FIXDATE_MINUTES 53436
#define IDS_FIXDATE_SECONDS 53437
#define IDS_FIXDATE_ALL_TAGS 53438
#define IDS_FIXDATE_BAD_DATE 53439
#define IDS_FIXDATE_BAD_SHIFT 53440
#define IDS_FIXDATE_FAILED 53441            // %d files left unchanged
#define IDS_GUESS_FOLDER 53450              // GuessPlace: the window's texts
#define IDS_GUESS_READ 53451
#define IDS_GUESS_NOTE 53452
#define IDS_GUESS_WRITE 53453
#define IDS_GUESS_CLOSE 53454
#define IDS_GUESS_PROPOSAL 53455            // %s the picture, %s the GPS picture, %d minutes apart
#define IDS_GUESS_NO_PROPOSAL 53456         // %s the picture
#define IDS_GUESS_NONE 53457
#define IDS_GUESS_WRITTEN 53458             // %d files
#define IDS_GUESS_NOT_WRITTEN 53459         // %d files

#endif  // VXRESOURCEIDS_H
