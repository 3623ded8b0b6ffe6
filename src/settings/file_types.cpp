#include "settings/file_types.h"

#include <string>

int IsWebPageName(std::string_view fileName, std::string_view fileTypes) {
    const size_t dot = fileName.rfind('.');
    if (fileTypes.empty() || dot == std::string_view::npos)
        return 1;
    std::string entry = "*.";
    entry.append(fileName.substr(dot + 1));
    entry += ';';
    std::string types(fileTypes);
    if (types.back() != ';')
        types += ';'; // the last entry has no ";" after it
    return types.find(entry) != std::string::npos ? 1 : 0;
}
