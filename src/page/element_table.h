// The element table: what the page model knows about HTML element names.
#pragma once

#include <string_view>

// The lowest bit of the content flags: an element that never has content.
constexpr int ELEMENT_EMPTY = 1;

struct ElementInfo {
    std::string_view name;
    int versionMask;
    int contentFlags;
    int parserClass;
    int attributeCheck;
};

constexpr int ELEMENT_TABLE_SIZE = 114;
extern const ElementInfo g_elementTable[ELEMENT_TABLE_SIZE];

// Index of the first row whose name equals name exactly (case-sensitive), or -1.
int FindElement(std::string_view name);
