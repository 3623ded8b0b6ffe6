#include "form/form_layout.h"

#include <algorithm>

#include "fields/field_groups.h"
#include "fields/field_list.h"

namespace {

// Where a stop comes in reading order: the bar first, then row by row.
int StopKey(const TabStop& stop) {
    if (stop.pos < 0)
        return stop.control == CONTROL_APPLY ? -2 : -1;
    return stop.pos * 3 + std::clamp(stop.control, 0, 2);
}

} // namespace

CFormLayout LayoutForm(const CFieldList& fields, int clientWidth, int templateOpen, bool meters) {
    CFormLayout layout;
    int y = FIRST_ROW_TOP;
    if (templateOpen) {
        layout.templateBar = 1;
        layout.barBox = QRect(2, 2, clientWidth - 4, 36);
        layout.barText = QPoint(6, 9);
        layout.applyButton = QRect(clientWidth - 220, 8, 80, 22);
        layout.editButton = QRect(clientWidth - 135, 8, 120, 22);
        y = FIRST_ROW_TOP_WITH_BAR;
    }
    const int width = std::max(clientWidth, FORM_MIN_WIDTH);
    FieldGroup group = FieldGroup::STANDARD;
    for (int pos = 0; pos < fields.GetCount(); ++pos) {
        const CMetaField& field = fields.GetAt(pos);
        if (!field.IsVisible())
            continue;
        if (const FieldGroup rowGroup = GroupOf(field, pos); rowGroup != group) {
            group = rowGroup;
            if (const std::string_view heading = GroupHeading(group); !heading.empty()) {
                layout.headings.push_back(
                    {QPoint(4, y + 4),
                     QString::fromUtf8(heading.data(), static_cast<qsizetype>(heading.size()))});
                y += GROUP_HEADING_HEIGHT;
            }
        }
        CRowLayout row;
        row.pos = pos;
        row.top = y;
        row.label = QPoint(10, y + 5);
        row.actionLabel = QPoint(120, y + 5);
        row.actionList = QRect(235, y, 220, COMBO_HEIGHT);
        int boxHeight = EDIT_HEIGHT;
        int buttonWidth = 0;
        if (!field.GetButton().empty()) {
            row.button = QRect(width - 70, y + 24, 60, 22);
            buttonWidth = 60;
        }
        if (field.IsDropDown()) {
            row.valueBox = QRect(10, y + 25, width - 20, COMBO_HEIGHT);
        } else {
            if (field.IsMultiLine())
                boxHeight = MULTI_LINE_HEIGHT;
            row.valueBox = QRect(10, y + 25, width - 22 - buttonWidth, boxHeight);
        }
        if (meters && (pos == 0 || pos == 1)) {
            // Right of the label, never over it.
            const int left = std::max(120, width - 10 - METER_WIDTH);
            row.meter = QRect(left, y + 2, width - 10 - left, 21);
        }
        row.height = boxHeight + ROW_SPACING;
        y += row.height;
        layout.rows.push_back(row);
    }
    layout.content = QSize(width, y);
    return layout;
}

std::vector<TabStop> TabOrder(const CFieldList& fields, int templateOpen, int editingTemplate) {
    std::vector<TabStop> order;
    if (templateOpen) {
        if (!editingTemplate) // Apply is disabled while the template is edited
            order.push_back({-1, CONTROL_APPLY});
        order.push_back({-1, CONTROL_EDIT_TEMPLATE});
    }
    for (int pos = 0; pos < fields.GetCount(); ++pos) {
        const CMetaField& field = fields.GetAt(pos);
        if (!field.IsVisible())
            continue;
        if (editingTemplate)
            order.push_back({pos, CONTROL_ACTION});
        if (field.IsEditable() || field.IsDropDown())
            order.push_back({pos, CONTROL_VALUE});
        if (!field.GetButton().empty())
            order.push_back({pos, CONTROL_BUTTON});
    }
    return order;
}

TabStop NextTabStop(const std::vector<TabStop>& order, TabStop from, bool forward) {
    if (order.empty())
        return from;
    const int key = StopKey(from);
    if (forward) {
        for (const TabStop& stop : order)
            if (StopKey(stop) > key)
                return stop;
        return order.front();
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (StopKey(*it) < key)
            return *it;
    return order.back();
}
