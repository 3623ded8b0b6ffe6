#include "assistants/robots_value.h"

#include "assistants/decimal_number.h"

RobotsValue::RobotsValue(std::string_view value) {
    const std::string lower = AsciiLower(value);
    m_bNoIndex = lower.find("noindex") != std::string::npos;
    m_bNoFollow = lower.find("nofollow") != std::string::npos;
}

std::string RobotsValue::Compose() const {
    static const char* const kValues[] = {"", "noindex", "nofollow", "noindex, nofollow"};
    return kValues[(m_bNoIndex ? 1 : 0) + 2 * (m_bNoFollow ? 1 : 0)];
}
