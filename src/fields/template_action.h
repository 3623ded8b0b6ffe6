// TemplateAction: how a template value is merged into a page. The numbers are
// stored in template files ("action" attributes), so they never change.
#pragma once

#include <string_view>

enum TemplateAction : int {
    ACTION_ALWAYS_SET = 1,
    ACTION_NEVER_CHANGE = 2,
    ACTION_SET_IF_MISSING = 3,
    ACTION_REPLACE_IF_EXISTS = 4,
    ACTION_REMOVE = 5,
    ACTION_APPEND = 6,
    ACTION_PREPEND = 7,
};

// The text an action list shows for code, "" for a code that is no action.
constexpr std::string_view TemplateActionText(int code) {
    switch (code) {
    case ACTION_ALWAYS_SET:
        return "Always set to this value";
    case ACTION_NEVER_CHANGE:
        return "Never change";
    case ACTION_SET_IF_MISSING:
        return "Set this value if tag doesn't exit";
    case ACTION_REPLACE_IF_EXISTS:
        return "Replace existing data if tag exists";
    case ACTION_REMOVE:
        return "Always remove this tag";
    case ACTION_APPEND:
        return "Add this data after existing data";
    case ACTION_PREPEND:
        return "Add this data before existing data";
    default:
        return "";
    }
}
