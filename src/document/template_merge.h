// What a template action makes of one value of a page: the one rule behind
// applying a template to the open page, to pages on disk (tsle-cli apply) and
// to the rows of the site view. Text is the page's bytes or shown text alike.
#pragma once

#include "fields/template_action.h"

enum class TemplateMerge {
    KEEP,   // the page's value stays
    SET,    // the page gets the merged value
    REMOVE, // the tag goes (the title becomes empty)
};

// Two values one after the other with a space between; either alone when the
// other is empty, so that adding to a missing or empty value gives no stray
// space.
template <class Text>
Text Joined(const Text& first, const Text& second) {
    if (first.size() == 0)
        return second;
    if (second.size() == 0)
        return first;
    return first + " " + second;
}

// current: the page's value, empty when the page has none (an empty value
// counts as missing); value: the template's. out receives the value to set.
template <class Text>
TemplateMerge MergeTemplateValue(int action, const Text& current, const Text& value, Text& out) {
    switch (action) {
    case ACTION_ALWAYS_SET:
        out = value;
        return TemplateMerge::SET;
    case ACTION_SET_IF_MISSING:
        if (current.size() != 0)
            return TemplateMerge::KEEP;
        out = value;
        return TemplateMerge::SET;
    case ACTION_REPLACE_IF_EXISTS:
        if (current.size() == 0)
            return TemplateMerge::KEEP;
        out = value;
        return TemplateMerge::SET;
    case ACTION_REMOVE:
        return TemplateMerge::REMOVE;
    case ACTION_APPEND:
        out = Joined(current, value);
        return TemplateMerge::SET;
    case ACTION_PREPEND:
        out = Joined(value, current);
        return TemplateMerge::SET;
    default:
        return TemplateMerge::KEEP; // ACTION_NEVER_CHANGE and unknown values
    }
}
