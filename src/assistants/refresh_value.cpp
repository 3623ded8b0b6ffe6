#include "assistants/refresh_value.h"

#include <climits>

#include "assistants/decimal_number.h"

RefreshValue::RefreshValue(std::string_view text) {
    const DecimalNumber number = ReadDecimal(text);
    if (number.read)
        m_nSeconds = number.value > INT_MAX   ? INT_MAX
                     : number.value < INT_MIN ? INT_MIN
                                              : static_cast<int>(number.value);
    const size_t semicolon = text.find(';');
    if (semicolon != std::string_view::npos)
        m_strUrl = TrimLeftAscii(text.substr(semicolon + 1));
    m_bNoRefresh = m_nSeconds == 0 && m_strUrl.empty();
}

int RefreshValue::OpenChoice() const {
    return m_nSeconds == 0 && m_strUrl.empty() ? REFRESH_NONE : REFRESH_AFTER;
}

bool RefreshValue::Exchange(int choice, std::string_view secondsText, std::string_view urlText,
                            std::string& message) {
    int seconds = 0;
    if (!ReadWholeInt(secondsText, seconds)) {
        message = MSG_ENTER_INTEGER;
        return false;
    }
    if (choice == REFRESH_NONE) {
        m_nSeconds = 0;
        m_strUrl.clear();
        m_bNoRefresh = true;
        return true;
    }
    // A negative delay has no meaning, and written unsigned it would become a
    // delay of some 136 years.
    if (seconds < 0) {
        message = MSG_REFRESH_NEGATIVE;
        return false;
    }
    m_nSeconds = seconds;
    m_strUrl = TrimAscii(urlText);
    m_bNoRefresh = false;
    return true;
}

std::string RefreshValue::Compose() const {
    if (m_bNoRefresh || (m_nSeconds == 0 && m_strUrl.empty()))
        return {};
    std::string text = std::to_string(m_nSeconds);
    if (!m_strUrl.empty())
        text += ";" + m_strUrl;
    return text;
}
