// CFieldList: the ordered fields of the meta-data form, owned by the editing
// view, and their settings in the profile.
//
// Positions 0..12 are the standard catalogue in catalogue order (0 is always
// the title); then the Search and Social rows (field_groups.h), with the
// page's hreflang alternates after the canonical row; after them come
// user-defined fields and fields found in the open page or template, in any
// mix. The list owns its fields.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "fields/meta_field.h"
#include "settings/app_settings.h"
#include "settings/profile.h"

// More user fields than this are not read from a profile: a damaged "IBC" must
// not make the program build millions of rows.
inline constexpr int MAX_USER_FIELDS = 1000;

class CFieldList {
public:
    // The catalogue and the group rows, defined, with their default display modes. No profile is
    // read here; the owner calls LoadSettings.
    CFieldList();
    CFieldList(const CFieldList&) = delete;
    CFieldList& operator=(const CFieldList&) = delete;

    int GetCount() const { return static_cast<int>(m_fields.size()); }
    // Field at pos (0 <= pos < GetCount()).
    CMetaField& GetAt(int pos) { return *m_fields[static_cast<size_t>(pos)]; }
    const CMetaField& GetAt(int pos) const { return *m_fields[static_cast<size_t>(pos)]; }

    // Appends field (taking ownership) and returns its position.
    int AddField(std::unique_ptr<CMetaField> field);
    // Inserts field at pos (clamped after the catalogue) and returns its position.
    int InsertField(int pos, std::unique_ptr<CMetaField> field);
    // Where a new hreflang alternate row goes: after the canonical row and
    // the alternates already there.
    int AlternateInsertPosition() const;
    // Deletes the fields from position count on (never the catalogue).
    void TruncateTo(int count);
    // Whether the options' user-defined page lists the field: a user-defined
    // field, or a found meta tag (not a group row, alternate or property row).
    static bool IsCustomField(const CMetaField& field);
    // Replaces the custom fields with fields (in their order, after every
    // other field); the rest keep their places and widgets.
    void ReplaceCustomFields(std::vector<std::unique_ptr<CMetaField>> fields);
    // Deletes every FIELD_FOUND field; the fields behind it move up.
    void RemoveFoundFields();
    // Position of the first field from position 1 on whose name equals name,
    // ignoring ASCII case (the title never matches), among the fields of tag
    // kind tag; -1 when none does.
    int FindField(std::string_view name, FieldTag tag = FieldTag::META) const;

    // Reads the file types into app and the fields' settings from the "User"
    // section; user fields are appended after the catalogue.
    void LoadSettings(const IProfile& profile, CAppSettings& app);
    // Writes the file types and the settings of the standard and user fields;
    // found fields are skipped without leaving a gap in the numbering.
    void SaveSettings(IProfile& profile, const CAppSettings& app) const;

private:
    std::vector<std::unique_ptr<CMetaField>> m_fields;
};
