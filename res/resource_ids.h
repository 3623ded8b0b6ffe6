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
// View
inline constexpr int ID_VIEW_METADATA = 32785;
inline constexpr int ID_VIEW_WEBPAGE = 32786;
inline constexpr int ID_VIEW_SPLIT = 32787;
inline constexpr int ID_VIEW_ALL_FIELDS = 32788;
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

// --- Pictures and dialogs -------------------------------------------------------------
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDB_SPLASH = 102;      // :/images/splash.png, 459 x 280
inline constexpr int IDR_MAINFRAME = 128;   // the menu, accelerators, main toolbar, icon
inline constexpr int IDB_FILE_TREE = 132;   // :/images/file_tree.png, 11 images of 16 x 15
inline constexpr int IDB_TABS = 144;        // :/images/tabs.png, 16 x 15 per tab
inline constexpr int IDR_VIEW_TOOLBAR = 145;
inline constexpr int IDB_VIEW_TOOLBAR = 150; // :/images/toolbar_view.png, 5 images of 16 x 15
inline constexpr int IDB_MAIN_TOOLBAR = 152; // :/images/toolbar_main.png, 12 images of 16 x 15
inline constexpr int IDB_CLOSE = 153;        // :/images/close_button.png, 18 x 18
inline constexpr int IDB_BACKGROUND = 159;   // :/images/background.png, 100 x 100 pattern
