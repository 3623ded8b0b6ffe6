#include "fields/field_list.h"

#include <algorithm>

#include "fields/field_catalogue.h"
#include "fields/field_groups.h"
#include "fields/field_names.h"

namespace {

std::string GroupDisplayKey(int i) {
    return "GIB_" + std::to_string(i) + "_D";
}

} // namespace

CFieldList::CFieldList() {
    for (int pos = 0; pos < STANDARD_FIELD_COUNT; ++pos) {
        auto field = std::make_unique<CMetaField>(FIELD_STANDARD);
        DefineStandardField(*field, pos);
        field->SetDisplay(STANDARD_CATALOGUE[static_cast<size_t>(pos)].display);
        m_fields.push_back(std::move(field));
    }
    for (int i = 0; i < GROUP_FIELD_COUNT; ++i) {
        auto field = std::make_unique<CMetaField>(FIELD_GROUP);
        DefineGroupField(*field, i);
        m_fields.push_back(std::move(field));
    }
}

int CFieldList::InsertField(int pos, std::unique_ptr<CMetaField> field) {
    pos = std::clamp(pos, STANDARD_FIELD_COUNT, GetCount());
    m_fields.insert(m_fields.begin() + pos, std::move(field));
    return pos;
}

int CFieldList::AlternateInsertPosition() const {
    int after = STANDARD_FIELD_COUNT;
    for (int pos = STANDARD_FIELD_COUNT; pos < GetCount(); ++pos) {
        const FieldTag tag = GetAt(pos).GetTag();
        if (tag == FieldTag::CANONICAL || tag == FieldTag::ALTERNATE)
            after = pos + 1;
    }
    return after;
}

bool CFieldList::IsCustomField(const CMetaField& field) {
    return field.GetKind() == FIELD_USER ||
           (field.GetKind() == FIELD_FOUND && field.GetTag() == FieldTag::META);
}

void CFieldList::ReplaceCustomFields(std::vector<std::unique_ptr<CMetaField>> fields) {
    std::vector<std::unique_ptr<CMetaField>> kept;
    for (size_t pos = 0; pos < m_fields.size(); ++pos) {
        if (static_cast<int>(pos) < STANDARD_FIELD_COUNT || !IsCustomField(*m_fields[pos]))
            kept.push_back(std::move(m_fields[pos]));
    }
    for (auto& field : fields)
        kept.push_back(std::move(field));
    m_fields = std::move(kept);
}

int CFieldList::AddField(std::unique_ptr<CMetaField> field) {
    m_fields.push_back(std::move(field));
    return GetCount() - 1;
}

void CFieldList::TruncateTo(int count) {
    count = std::max(count, STANDARD_FIELD_COUNT);
    // From the last one down, as the rows were created.
    while (GetCount() > count)
        m_fields.pop_back();
}

void CFieldList::RemoveFoundFields() {
    std::erase_if(m_fields, [](const std::unique_ptr<CMetaField>& field) {
        return field->GetKind() == FIELD_FOUND;
    });
}

int CFieldList::FindField(std::string_view name, FieldTag tag) const {
    for (int pos = 1; pos < GetCount(); ++pos)
        if (GetAt(pos).GetTag() == tag && EqualsNoCase(GetAt(pos).GetName(), name))
            return pos;
    return -1;
}

void CFieldList::LoadSettings(const IProfile& profile, CAppSettings& app) {
    app.m_strFileTypes =
        profile.GetProfileString(PROFILE_SECTION_USER, "FileTypes", DEFAULT_FILE_TYPES);
    app.m_bNormalizeHead = profile.GetProfileInt(PROFILE_SECTION_USER, "NormalizeHead", 0) != 0;
    LoadPreviewSettings(profile, app.m_preview);
    LoadSearchLimits(profile, app.m_searchLimits);
    LoadProjectSites(profile, app.m_projectSites);
    const int total = profile.GetProfileInt(PROFILE_SECTION_USER, "IBC", STANDARD_FIELD_COUNT);
    for (int pos = 0; pos < STANDARD_FIELD_COUNT; ++pos)
        GetAt(pos).ReadProfile(profile, pos, 0);
    for (int pos = STANDARD_FIELD_COUNT; pos < GetCount(); ++pos) {
        CMetaField& field = GetAt(pos);
        if (const int i = GroupEntryOf(field); i >= 0)
            field.SetDisplay(profile.GetProfileInt(PROFILE_SECTION_USER, GroupDisplayKey(i),
                                                   field.GetDisplay()));
    }
    const int userCount = std::min(total - STANDARD_FIELD_COUNT, MAX_USER_FIELDS);
    for (int j = 0; j < userCount; ++j) {
        auto field = std::make_unique<CMetaField>(FIELD_USER);
        field->ReadProfile(profile, j, 1);
        AddField(std::move(field));
    }
}

void CFieldList::SaveSettings(IProfile& profile, const CAppSettings& app) const {
    profile.WriteProfileString(PROFILE_SECTION_USER, "FileTypes", app.m_strFileTypes);
    profile.WriteProfileInt(PROFILE_SECTION_USER, "NormalizeHead", app.m_bNormalizeHead ? 1 : 0);
    SavePreviewSettings(profile, app.m_preview);
    SaveSearchLimits(profile, app.m_searchLimits);
    SaveProjectSites(profile, app.m_projectSites);
    for (int pos = 0; pos < STANDARD_FIELD_COUNT; ++pos)
        GetAt(pos).WriteProfile(profile, pos, 0);
    for (int pos = STANDARD_FIELD_COUNT; pos < GetCount(); ++pos) {
        if (const int i = GroupEntryOf(GetAt(pos)); i >= 0)
            profile.WriteProfileInt(PROFILE_SECTION_USER, GroupDisplayKey(i),
                                    GetAt(pos).GetDisplay());
    }
    int j = 0;
    for (int pos = STANDARD_FIELD_COUNT; pos < GetCount(); ++pos) {
        if (GetAt(pos).GetKind() != FIELD_USER)
            continue;
        GetAt(pos).WriteProfile(profile, j, 1);
        ++j;
    }
    profile.WriteProfileInt(PROFILE_SECTION_USER, "IBC", STANDARD_FIELD_COUNT + j);
}
