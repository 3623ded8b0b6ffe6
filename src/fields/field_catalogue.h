// The standard catalogue: the thirteen fields every form starts with.
#pragma once

#include <array>
#include <string_view>

#include "fields/meta_field.h"

// The assistant a catalogue field's button opens.
enum FieldAssistant : int {
    ASSISTANT_NONE = 0,
    ASSISTANT_DESCRIPTION = 1, // suggest a description from the page text
    ASSISTANT_KEYWORDS = 2,    // suggest keywords from the page text
    ASSISTANT_ROBOTS = 3,
    ASSISTANT_CACHE_CONTROL = 4,
    ASSISTANT_EXPIRES = 5,
    ASSISTANT_REFRESH = 6,
};

struct CatalogueEntry {
    std::string_view name; // tag name and row label
    int baseId;            // control id of the edit box or drop-down
    int httpEquiv;
    int editable; // 0: read-only, changed only through the assistant
    int multiLine;
    int dropDown;                 // a drop-down with edit field instead of an edit box
    std::string_view button;      // assistant button caption, "" for none
    int assistant;                // a FieldAssistant
    int display;                  // default DisplayMode
    std::string_view description; // status-bar text while focused, "" for none
};

// clang-format off
inline constexpr std::array<CatalogueEntry, STANDARD_FIELD_COUNT> STANDARD_CATALOGUE = {{
    {"title",         10,  0, 1, 0, 0, "",        ASSISTANT_NONE,          DISPLAY_ALWAYS,     "The title of the web page (not actually a meta tag)"},
    {"description",   20,  0, 1, 1, 0, "Suggest", ASSISTANT_DESCRIPTION,   DISPLAY_ALWAYS,     "A short description of what the page contains"},
    {"keywords",      30,  0, 1, 1, 0, "Suggest", ASSISTANT_KEYWORDS,      DISPLAY_ALWAYS,     "Keywords that search engines can use to index the page"},
    {"Author",        40,  0, 1, 0, 0, "",        ASSISTANT_NONE,          DISPLAY_ALWAYS,     "The name of the page author"},
    {"owner",         50,  0, 1, 0, 0, "",        ASSISTANT_NONE,          DISPLAY_IF_CONTENT, "The e-mail address of the page author/owner"},
    {"copyright",     60,  0, 1, 0, 0, "",        ASSISTANT_NONE,          DISPLAY_ALWAYS,     "A copyright message"},
    {"PICS-label",    70,  0, 1, 1, 0, "",        ASSISTANT_NONE,          DISPLAY_IF_CONTENT, "PICS ratings label (See help for more information)"},
    {"robots",        80,  0, 0, 0, 0, "Edit",    ASSISTANT_ROBOTS,        DISPLAY_ALWAYS,     "Instructions for robot programs that create search databases"},
    {"Cache-Control", 90,  1, 0, 0, 0, "Edit",    ASSISTANT_CACHE_CONTROL, DISPLAY_IF_CONTENT, "Instructions for controling cacheing"},
    {"Expires",       100, 1, 0, 0, 0, "Edit",    ASSISTANT_EXPIRES,       DISPLAY_IF_CONTENT, "An expiry date for the page"},
    {"Window-Target", 110, 1, 1, 0, 1, "",        ASSISTANT_NONE,          DISPLAY_IF_CONTENT, ""},
    {"generator",     120, 0, 1, 0, 0, "",        ASSISTANT_NONE,          DISPLAY_IF_CONTENT, "The program used to generate the page"},
    {"Refresh",       130, 1, 0, 0, 0, "Edit",    ASSISTANT_REFRESH,       DISPLAY_IF_CONTENT, "A refresh period (in seconds) and optional replacement page"},
}};
// clang-format on

// The entries of the Window-Target drop-down, in order; any typed text is
// accepted as well.
inline constexpr std::array<std::string_view, 4> WINDOW_TARGET_CHOICES = {"_blank", "_parent",
                                                                          "_self", "_top"};

// The status-bar description for a control id; "" for ids without one (the
// view then shows its idle text).
std::string_view FieldDescription(int controlId);

// Gives field the definition and base id of catalogue position pos (0..12).
// Returns 0 and changes nothing for another position.
int DefineStandardField(CMetaField& field, int pos);
