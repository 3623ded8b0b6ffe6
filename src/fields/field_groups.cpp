#include "fields/field_groups.h"

#include "fields/field_names.h"

int DefineGroupField(CMetaField& field, int i) {
    if (i < 0 || i >= GROUP_FIELD_COUNT)
        return 0;
    const GroupEntry& entry = GROUP_CATALOGUE[static_cast<size_t>(i)];
    field.Define(entry.name, 0, entry.button, 1, 0, 0);
    field.SetTag(entry.tag);
    field.SetKind(FIELD_GROUP);
    field.SetDisplay(DISPLAY_IF_CONTENT);
    return 1;
}

int GroupEntryOf(const CMetaField& field) {
    if (field.GetKind() != FIELD_GROUP)
        return -1;
    for (int i = 0; i < GROUP_FIELD_COUNT; ++i) {
        const GroupEntry& entry = GROUP_CATALOGUE[static_cast<size_t>(i)];
        if (entry.tag == field.GetTag() && EqualsNoCase(entry.name, field.GetName()))
            return i;
    }
    return -1;
}

FieldGroup GroupOf(const CMetaField& field, int pos) {
    if (pos >= 0 && pos < STANDARD_FIELD_COUNT)
        return FieldGroup::STANDARD;
    if (field.GetTag() == FieldTag::ALTERNATE)
        return FieldGroup::SEARCH;
    const int entry = GroupEntryOf(field);
    return entry < 0 ? FieldGroup::OTHER : GROUP_CATALOGUE[static_cast<size_t>(entry)].group;
}

std::string_view GroupHeading(FieldGroup group) {
    switch (group) {
    case FieldGroup::SEARCH:
        return "Search";
    case FieldGroup::SOCIAL:
        return "Social";
    default:
        return "";
    }
}

bool ChoosesImage(const CMetaField& field) {
    return field.GetButton() == CHOOSE_IMAGE_BUTTON;
}
