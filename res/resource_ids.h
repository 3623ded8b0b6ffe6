// The numbers that identify commands, controls and pictures, in one place, so
// that the menus, toolbars, accelerators and dialogs can be checked against
// one table. QActions carry their command id as data; controls their id in
// their object name where a test or the style needs to find them.
#pragma once

// --- Commands of the menus, toolbars and accelerators --------------------------
// File
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT = 57607; // Ctrl+P, served by the preview only
inline constexpr int ID_FILE_BROWSE = 32772;
inline constexpr int ID_FILE_MRU_FILE1 = 57616; // up to ID_FILE_MRU_FILE1 + 5
inline constexpr int ID_FILE_EXPORT_SITE = 32790;
inline constexpr int ID_FILE_IMPORT_SITE = 32791;
inline constexpr int ID_APP_EXIT = 57665;
// Template
inline constexpr int ID_TEMPLATE_NEW = 32779;
inline constexpr int ID_TEMPLATE_OPEN = 32773;
inline constexpr int ID_TEMPLATE_SAVE = 32775;
inline constexpr int ID_TEMPLATE_SAVE_AS = 32774;
inline constexpr int ID_TEMPLATE_CLOSE = 32778;
inline constexpr int ID_TEMPLATE_EDIT = 32776;
inline constexpr int ID_TEMPLATE_APPLY = 32777;
// Edit
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO_BATCH = 32792;
inline constexpr int ID_EDIT_EARLIER_BATCHES = 32793;
// View
inline constexpr int ID_VIEW_METADATA = 32785;
inline constexpr int ID_VIEW_WEBPAGE = 32786;
inline constexpr int ID_VIEW_SPLIT = 32787;
inline constexpr int ID_VIEW_ALL_FIELDS = 32788;
inline constexpr int ID_VIEW_SITE = 32789;
inline constexpr int ID_VIEW_SNIPPETS = 32800; // the search and social previews
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_OPTIONS = 32771;
// Help
inline constexpr int ID_HELP_FINDER = 57667; // Help Topics, F1, Shift+F1
inline constexpr int ID_CONTEXT_HELP = 57669;
inline constexpr int ID_HELP = 57670;
inline constexpr int ID_DEFAULT_HELP = 57671;
inline constexpr int ID_ONLINE_TUTORIALS = 157;
inline constexpr int ID_APP_ABOUT = 57664;
// Panes
inline constexpr int ID_NEXT_PANE = 57680; // F6
inline constexpr int ID_PREV_PANE = 57681; // Shift+F6

// --- The editing view -------------------------------------------------------------
// The template bar's buttons; they act as the commands "apply" and "edit".
inline constexpr int IDC_TEMPLATE_APPLY = 1;
inline constexpr int IDC_TEMPLATE_EDIT = 2;
// A field at position p has the base id 10 * (p + 1): its value box has the
// base id, its assistant button base + 1, its template action list base + 2.
inline constexpr int FIELD_ID_STEP = 10;
inline constexpr int FIELD_BUTTON_OFFSET = 1;
inline constexpr int FIELD_ACTION_OFFSET = 2;

// --- The child frame ----------------------------------------------------------------
inline constexpr int IDD_TAB_BAR = 143;
inline constexpr int IDC_VIEW_TABS = 1036;

// --- The file browser ----------------------------------------------------------------
inline constexpr int IDC_FILE_TREE = 1;
inline constexpr int IDC_FILE_TREE_CLOSE = 2;

// --- The assistant dialogs and the options sheet -----------------------------------
// Dialog templates.
inline constexpr int IDD_STD_TAGS_PAGE = 131;
inline constexpr int IDD_CUSTOM_TAGS_PAGE = 132;
inline constexpr int IDD_FILE_TYPES_PAGE = 133;
inline constexpr int IDD_DEFINE_TAG = 134;
inline constexpr int IDD_DESCRIPTION = 135;
inline constexpr int IDD_KEYWORDS = 136;
inline constexpr int IDD_ROBOTS = 137;
inline constexpr int IDD_CACHE_CONTROL = 138;
inline constexpr int IDD_EXPIRES = 140;
inline constexpr int IDD_REFRESH = 141;
// Controls. Several dialogs give the id 1000 to their main edit box.
inline constexpr int IDC_EDIT = 1000;
inline constexpr int IDC_TAG_LIST = 1002; // the tags pages' lists
inline constexpr int IDC_DISPLAY_IF_CONTENT = 1004;
inline constexpr int IDC_DISPLAY_NEVER = 1005;
inline constexpr int IDC_ADD_TAG = 1006;
inline constexpr int IDC_EDIT_TAG = 1007;
inline constexpr int IDC_DISPLAY_ALWAYS = 1008;
inline constexpr int IDC_REMOVE_TAG = 1009;
inline constexpr int IDC_FILE_TYPE_LIST = 1010;
inline constexpr int IDC_ADD_FILE_TYPE = 1012;
inline constexpr int IDC_REPLACE_FILE_TYPE = 1013;
inline constexpr int IDC_REMOVE_FILE_TYPE = 1015;
inline constexpr int IDC_HTTP_EQUIV = 1017;
inline constexpr int IDC_MULTI_LINE = 1020;
inline constexpr int IDC_KEYWORD_LIST = 1022;
inline constexpr int IDC_APPEND_LIST = 1023;
inline constexpr int IDC_SELECT_ALL = 1024;
inline constexpr int IDC_NO_INDEX = 1026;
inline constexpr int IDC_NO_FOLLOW = 1027;
inline constexpr int IDC_DATE_BUTTON = 1031;
inline constexpr int IDC_CLEAR_DATE = 1032;
inline constexpr int IDC_REFRESH_URL = 1033;
// The Cache-Control (1030-1032) and Refresh (1034, 1035) choices and the
// calendar's navigation buttons (100-103) are named beside their logic in
// src/assistants.

// --- Pictures and dialogs -------------------------------------------------------------
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDB_SPLASH = 102;    // :/images/splash.png, 459 x 280
inline constexpr int IDR_MAINFRAME = 128; // the menu, accelerators, main toolbar, icon
inline constexpr int IDB_FILE_TREE = 132; // :/images/file_tree.png, 11 images of 16 x 15
inline constexpr int IDB_TABS = 144;      // :/images/tabs.png, 16 x 15 per tab
inline constexpr int IDR_VIEW_TOOLBAR = 145;
inline constexpr int IDB_VIEW_TOOLBAR = 150; // :/images/toolbar_view.png, 6 images of 16 x 15
inline constexpr int IDB_MAIN_TOOLBAR = 152; // :/images/toolbar_main.png, 12 images of 16 x 15
inline constexpr int IDB_CLOSE = 153;        // :/images/close_button.png, 18 x 18
inline constexpr int IDB_BACKGROUND = 159;   // :/images/background.png, 100 x 100 pattern
