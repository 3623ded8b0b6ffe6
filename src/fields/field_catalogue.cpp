#include "fields/field_catalogue.h"

std::string_view FieldDescription(int controlId) {
    for (const CatalogueEntry& entry : STANDARD_CATALOGUE)
        if (entry.baseId == controlId)
            return entry.description;
    return "";
}

int DefineStandardField(CMetaField& field, int pos) {
    if (pos < 0 || pos >= STANDARD_FIELD_COUNT)
        return 0;
    const CatalogueEntry& entry = STANDARD_CATALOGUE[static_cast<size_t>(pos)];
    field.Define(entry.name, entry.httpEquiv, entry.button, entry.editable, entry.multiLine,
                 entry.dropDown);
    field.SetBaseId(entry.baseId);
    return 1;
}
