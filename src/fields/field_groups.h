// The Search and Social groups: the rows that follow the standard catalogue
// for what search engines and social networks read besides the meta tags.
//
// Their rows sit in the field list right after the thirteen standard fields,
// in GROUP_CATALOGUE order, with one row per hreflang alternate link of the
// page inserted after the canonical row (those come and go with the page,
// like found rows). Their display modes are kept in the profile under
// "GIB_<i>_D", beside the standard fields' values.
#pragma once

#include <array>
#include <string_view>

#include "fields/meta_field.h"

enum class FieldGroup { STANDARD, SEARCH, SOCIAL, OTHER };

struct GroupEntry {
    std::string_view name; // tag name, row label and accessible name
    FieldGroup group;
    FieldTag tag;
    std::string_view button;      // "Choose..." for images, else ""
    std::string_view description; // status-bar text while focused
};

// Caption of the button that picks an image file for og:image and twitter:image.
inline constexpr std::string_view CHOOSE_IMAGE_BUTTON = "Choose...";

// clang-format off
inline constexpr std::array<GroupEntry, 12> GROUP_CATALOGUE = {{
    {"canonical",           FieldGroup::SEARCH, FieldTag::CANONICAL, "",          "The address search engines should list for this page"},
    {"lang",                FieldGroup::SEARCH, FieldTag::LANG,      "",          "The language of the page (the lang of its html tag)"},
    {"og:title",            FieldGroup::SOCIAL, FieldTag::PROPERTY,  "",          "The title a shared link shows (the page title when empty)"},
    {"og:description",      FieldGroup::SOCIAL, FieldTag::PROPERTY,  "",          "The text a shared link shows (the description when empty)"},
    {"og:image",            FieldGroup::SOCIAL, FieldTag::PROPERTY,  "Choose...", "The picture a shared link shows"},
    {"og:url",              FieldGroup::SOCIAL, FieldTag::PROPERTY,  "",          "The address a shared link points to"},
    {"og:type",             FieldGroup::SOCIAL, FieldTag::PROPERTY,  "",          "What the page is (website, article ...)"},
    {"og:site_name",        FieldGroup::SOCIAL, FieldTag::PROPERTY,  "",          "The name of the site the page belongs to"},
    {"twitter:card",        FieldGroup::SOCIAL, FieldTag::META,      "",          "The card layout: summary or summary_large_image"},
    {"twitter:title",       FieldGroup::SOCIAL, FieldTag::META,      "",          "The title of the card (og:title when empty)"},
    {"twitter:description", FieldGroup::SOCIAL, FieldTag::META,      "",          "The text of the card (og:description when empty)"},
    {"twitter:image",       FieldGroup::SOCIAL, FieldTag::META,      "Choose...", "The picture of the card (og:image when empty)"},
}};
// clang-format on

inline constexpr int GROUP_FIELD_COUNT = static_cast<int>(GROUP_CATALOGUE.size());

// Gives field the definition of group entry i (0..GROUP_FIELD_COUNT - 1): an
// editable one-line box, with the entry's tag and button, kind FIELD_GROUP,
// shown if it has content. Returns 0 and changes nothing for another i.
int DefineGroupField(CMetaField& field, int i);
// The group entry a field of kind FIELD_GROUP was defined from, or -1.
int GroupEntryOf(const CMetaField& field);
// The group a field shows in: STANDARD for the catalogue (pos < 13), SEARCH
// for canonical, alternate and language rows, SOCIAL for the social rows,
// OTHER for user-defined and found rows.
FieldGroup GroupOf(const CMetaField& field, int pos);
// The heading painted above the first row of a group ("Search", "Social"),
// "" for the others.
std::string_view GroupHeading(FieldGroup group);
// Whether the field's button picks an image file.
bool ChoosesImage(const CMetaField& field);

// Where user-defined and found fields start in a list without alternates.
inline constexpr int FIRST_CUSTOM_FIELD = STANDARD_FIELD_COUNT + GROUP_FIELD_COUNT;
