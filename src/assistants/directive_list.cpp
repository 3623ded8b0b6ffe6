#include "assistants/directive_list.h"

#include "page/ascii_text.h"

std::vector<std::string_view> SplitDirectives(std::string_view value) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    while (start <= value.size()) {
        size_t comma = value.find(',', start);
        if (comma == std::string_view::npos)
            comma = value.size();
        const std::string_view piece = TrimAscii(value.substr(start, comma - start));
        if (!piece.empty())
            pieces.push_back(piece);
        start = comma + 1;
    }
    return pieces;
}

std::vector<std::string_view> SplitWords(std::string_view directive) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < directive.size()) {
        while (i < directive.size() && IsAsciiSpace(directive[i]))
            ++i;
        const size_t start = i;
        while (i < directive.size() && !IsAsciiSpace(directive[i]))
            ++i;
        if (i > start)
            words.push_back(directive.substr(start, i - start));
    }
    return words;
}

std::string JoinDirectives(const std::vector<std::string>& others, size_t at,
                           std::string_view shown) {
    std::string text;
    const auto append = [&text](std::string_view piece) {
        if (!text.empty())
            text += ", ";
        text.append(piece);
    };
    for (size_t i = 0; i <= others.size(); ++i) {
        if (i == at && !shown.empty())
            append(shown);
        if (i < others.size())
            append(others[i]);
    }
    return text;
}
