#include "assistants/expires_value.h"

void ExpiresValue::SetValue(std::string_view text) {
    if (!m_time.ParseHttpDate(text))
        m_time = CHttpTime(0);
}

std::string ExpiresValue::GetValue() const {
    return m_time.GetTime() == 0 ? std::string() : m_time.FormatHttpDate();
}

void ExpiresValue::ShowIn(DateButtonState& button) const {
    if (m_time.GetTime() == 0)
        button.Clear();
    else
        button.SetTime(m_time);
}

bool ExpiresValue::TakeFrom(const DateButtonState& button, std::string& message) {
    if (button.Text().empty()) {
        m_time = CHttpTime(0);
        return true;
    }
    // Written as it stands such a date would come back as "" and silently
    // clear the tag.
    const CHttpTime time = button.GetTime();
    if (time.GetTime() == 0 || !CHttpTime::IsInRange(time.GetTime())) {
        message = MSG_EXPIRES_RANGE;
        return false;
    }
    m_time = time;
    return true;
}
