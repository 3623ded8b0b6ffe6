#include "fields/field_list.h"

#include <algorithm>

#include "fields/field_catalogue.h"
#include "fields/field_names.h"

CFieldList::CFieldList() {
    for (int pos = 0; pos < STANDARD_FIELD_COUNT; ++pos) {
        auto field = std::make_unique<CMetaField>(FIELD_STANDARD);
        DefineStandardField(*field, pos);
        field->SetDisplay(STANDARD_CATALOGUE[static_cast<size_t>(pos)].display);
        m_fields.push_back(std::move(field));
    }
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

int CFieldList::FindField(std::string_view name) const {
    for (int pos = 1; pos < GetCount(); ++pos)
        if (EqualsNoCase(GetAt(pos).GetName(), name))
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
    int j = 0;
    for (int pos = STANDARD_FIELD_COUNT; pos < GetCount(); ++pos) {
        if (GetAt(pos).GetKind() != FIELD_USER)
            continue;
        GetAt(pos).WriteProfile(profile, j, 1);
        ++j;
    }
    profile.WriteProfileInt(PROFILE_SECTION_USER, "IBC", STANDARD_FIELD_COUNT + j);
}
