#include "page/element_table.h"

#include <cstdint>

// Rows in their fixed order: the first row with a name wins ("layer" and
// "nolayer" each occur twice). Columns: name, version mask, content flags,
// parser class, attribute-check class; the version mask and the
// attribute-check class are carried but not read.
const ElementInfo g_elementTable[ELEMENT_TABLE_SIZE] = {
    {"html", 0, 0, 1, 0},     {"head", 0, 0, 2, 0},        {"title", 0, 0, 3, 0},
    {"base", 0, 1, 0, 0},     {"link", 0, 1, 0, 0},        {"meta", 0, 1, 0, 0},
    {"style", 0, 0, 4, 0},    {"script", 0, 0, 4, 0},      {"server", 0, 0, 4, 0},
    {"body", 0, 0, 5, 0},     {"frameset", 0, 0, 6, 0},    {"p", 0, 0, 7, 0},
    {"h1", 0, 0, 7, 0},       {"h2", 0, 0, 7, 0},          {"h3", 0, 0, 7, 0},
    {"h4", 0, 0, 7, 0},       {"h5", 0, 0, 7, 0},          {"h6", 0, 0, 7, 0},
    {"ul", 0, 0, 8, 0},       {"ol", 0, 0, 8, 0},          {"dl", 0, 0, 13, 0},
    {"dir", 0, 0, 8, 0},      {"menu", 0, 0, 8, 0},        {"pre", 0, 0, 9, 0},
    {"listing", 0, 0, 9, 0},  {"xmp", 0, 0, 9, 0},         {"plaintext", 0, 0, 9, 0},
    {"address", 0, 0, 10, 0}, {"blockquote", 0, 0, 10, 0}, {"form", 0, 0, 10, 0},
    {"isindex", 0, 1, 0, 0},  {"fieldset", 0, 0, 10, 0},   {"table", 0, 0, 14, 0},
    {"hr", 0, 1, 0, 0},       {"div", 0, 0, 10, 0},        {"multicol", 0, 0, 10, 0},
    {"nosave", 0, 0, 10, 0},  {"layer", 0, 0, 10, 0},      {"nolayer", 0, 0, 10, 0},
    {"align", 0, 0, 10, 0},   {"center", 0, 0, 10, 0},     {"ins", 0, 0, 7, 0},
    {"del", 0, 0, 7, 0},      {"li", 0, 0, 10, 0},         {"dt", 0, 0, 7, 0},
    {"dd", 0, 0, 10, 0},      {"caption", 0, 0, 7, 0},     {"colgroup", 0, 0, 11, 0},
    {"col", 0, 1, 0, 0},      {"thead", 0, 0, 12, 0},      {"tfoot", 0, 0, 12, 0},
    {"tbody", 0, 0, 12, 0},   {"tr", 0, 0, 15, 0},         {"td", 0, 0, 10, 0},
    {"th", 0, 0, 10, 0},      {"q", 0, 0, 7, 0},           {"a", 0, 0, 7, 0},
    {"br", 0, 1, 0, 0},       {"img", 0, 1, 0, 0},         {"object", 0, 0, 10, 0},
    {"applet", 0, 0, 10, 0},  {"servlet", 0, 0, 10, 0},    {"param", 0, 1, 0, 0},
    {"embed", 0, 1, 0, 0},    {"noembed", 0, 0, 7, 0},     {"iframe", 0, 0, 10, 0},
    {"frame", 0, 1, 0, 0},    {"noframes", 0, 0, 16, 0},   {"noscript", 0, 0, 10, 0},
    {"b", 0, 0, 7, 0},        {"i", 0, 0, 7, 0},           {"u", 0, 0, 7, 0},
    {"tt", 0, 0, 7, 0},       {"s", 0, 0, 7, 0},           {"strike", 0, 0, 7, 0},
    {"big", 0, 0, 7, 0},      {"small", 0, 0, 7, 0},       {"sub", 0, 0, 7, 0},
    {"sup", 0, 0, 7, 0},      {"em", 0, 0, 7, 0},          {"strong", 0, 0, 7, 0},
    {"dfn", 0, 0, 7, 0},      {"code", 0, 0, 7, 0},        {"samp", 0, 0, 7, 0},
    {"kbd", 0, 0, 7, 0},      {"var", 0, 0, 7, 0},         {"cite", 0, 0, 7, 0},
    {"abbr", 0, 0, 7, 0},     {"acronym", 0, 0, 7, 0},     {"span", 0, 0, 7, 0},
    {"blink", 0, 0, 7, 0},    {"nobr", 0, 0, 7, 0},        {"wbr", 0, 1, 0, 0},
    {"marquee", 0, 0, 7, 0},  {"bgsound", 0, 1, 0, 0},     {"comment", 0, 0, 7, 0},
    {"spacer", 0, 1, 0, 0},   {"keygen", 0, 1, 0, 0},      {"nolayer", 0, 0, 10, 0},
    {"ilayer", 0, 0, 7, 0},   {"layer", 0, 0, 7, 0},       {"map", 0, 0, 10, 0},
    {"area", 0, 1, 0, 0},     {"input", 0, 1, 0, 0},       {"select", 0, 0, 17, 0},
    {"option", 0, 0, 18, 0},  {"optgroup", 0, 0, 19, 0},   {"textarea", 0, 0, 18, 0},
    {"label", 0, 0, 7, 0},    {"legend", 0, 0, 7, 0},      {"button", 0, 0, 7, 0},
    {"basefont", 0, 1, 0, 0}, {"font", 0, 0, 7, 0},        {"bdo", 0, 0, 7, 0},
};

namespace {

// Open-addressing index over the names, built once; the first row of a name wins.
class ElementIndex {
public:
    ElementIndex() {
        for (int i = 0; i < ELEMENT_TABLE_SIZE; ++i) {
            const std::string_view name = g_elementTable[i].name;
            size_t slot = Hash(name);
            while (m_slots[slot] != 0) {
                if (name == g_elementTable[m_slots[slot] - 1].name)
                    break;
                slot = (slot + 1) & (SIZE - 1);
            }
            if (m_slots[slot] == 0)
                m_slots[slot] = static_cast<uint8_t>(i + 1);
        }
    }
    int Find(std::string_view name) const {
        if (name.empty() || name.size() > 10)
            return -1;
        for (size_t slot = Hash(name);; slot = (slot + 1) & (SIZE - 1)) {
            const int row = m_slots[slot] - 1;
            if (row < 0)
                return -1;
            if (name == g_elementTable[row].name)
                return row;
        }
    }

private:
    static constexpr size_t SIZE = 512;
    static size_t Hash(std::string_view name) {
        const auto c = [&](size_t i) { return static_cast<unsigned char>(name[i]); };
        return (name.size() * 97 + c(0) * 31 + c(name.size() - 1) * 7 + c(name.size() / 2)) &
               (SIZE - 1);
    }
    uint8_t m_slots[SIZE] = {};
};

} // namespace

int FindElement(std::string_view name) {
    static const ElementIndex index;
    return index.Find(name);
}
