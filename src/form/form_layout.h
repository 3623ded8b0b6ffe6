// Where the meta-data form puts its rows and controls, and the order Tab
// visits them in, as pure functions of the field list.
//
// Geometry is in pixels of a 96-dpi screen, in the coordinates of the form's
// content (which scrolls as a whole); the view scales it for its screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class CFieldList;

// The rows are laid out at least this wide; a narrower view scrolls sideways.
inline constexpr int FORM_MIN_WIDTH = 250;
// Height of a one-line edit box or a drop-down, and of a multi-line box.
inline constexpr int EDIT_HEIGHT = 20;
inline constexpr int MULTI_LINE_HEIGHT = 54;
// A shown row is its box's height plus this (label above, gap below).
inline constexpr int ROW_SPACING = 30;
// Height of a closed drop-down list (the action list, the Window-Target box).
inline constexpr int COMBO_HEIGHT = 22;
// Where the rows start without and with the template bar above them.
inline constexpr int FIRST_ROW_TOP = 3;
inline constexpr int FIRST_ROW_TOP_WITH_BAR = 40;
// The height of a group's heading ("Search", "Social") above its first shown row.
inline constexpr int GROUP_HEADING_HEIGHT = 24;
// The width of a length meter on the label line of the title and description.
inline constexpr int METER_WIDTH = 340;

// The controls of a row, in the order Tab visits them.
enum FormControl : int {
    CONTROL_ACTION = 0, // the template action list (while a template is edited)
    CONTROL_VALUE = 1,  // the edit box or drop-down
    CONTROL_BUTTON = 2, // the assistant button
    // The template bar's buttons; their stops have the position -1.
    CONTROL_APPLY = 3,
    CONTROL_EDIT_TEMPLATE = 4,
};

struct CRowLayout {
    int pos = 0;
    int top = 0;
    int height = 0;     // box height + ROW_SPACING
    QPoint label;       // the field's name
    QPoint actionLabel; // "Template action -", while a template is edited
    QRect valueBox;     // the edit box or drop-down
    QRect button;       // the assistant button; null when the row has none
    QRect actionList;   // the template action list
    QRect meter;        // the length meter (title and description); null for none
};

struct CGroupHeading {
    QPoint at;
    QString text;
};

struct CFormLayout {
    int templateBar = 0; // a template is open: the bar is shown
    QRect barBox;        // the painted box
    QPoint barText;      // "Template - " or "Editing template - " and the name
    QRect applyButton;
    QRect editButton;
    std::vector<CRowLayout> rows; // the shown rows, in order
    std::vector<CGroupHeading> headings;
    QSize content; // the size the rows need
};

// Lays out the shown fields for a view clientWidth wide (the rows are at
// least FORM_MIN_WIDTH wide; the template bar follows the real width). A
// group's first shown row gets the group's heading above it; with meters, the
// title and description rows get a length meter at the right of their label
// line.
CFormLayout LayoutForm(const CFieldList& fields, int clientWidth, int templateOpen,
                       bool meters = false);

// One place Tab can stop at: a control of the row at pos, or (pos -1) one of
// the template bar's buttons.
struct TabStop {
    int pos = -1;
    int control = CONTROL_VALUE;
    bool operator==(const TabStop&) const = default;
};

// The controls Tab visits, in order: the template bar's buttons (while a
// template is open, Apply only while it is enabled), then each shown row's
// action list (while a template is edited), its value box unless the box is
// read-only, and its assistant button.
std::vector<TabStop> TabOrder(const CFieldList& fields, int templateOpen, int editingTemplate);

// The stop after (forward) or before from in order, wrapping around; from need
// not be a stop itself (a read-only box that was clicked). Returns from when
// order is empty.
TabStop NextTabStop(const std::vector<TabStop>& order, TabStop from, bool forward);
