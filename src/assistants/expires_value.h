// The Expires dialog's value: the date of the Expires tag, read from and
// written back as an HTTP date, and how the dialog's date button shows it.
#pragma once

#include <string>
#include <string_view>

#include "assistants/date_button_state.h"
#include "assistants/http_time.h"

inline constexpr std::string_view MSG_EXPIRES_RANGE = "Please choose a date from 1970 to 3000.";

class ExpiresValue {
public:
    // The tag's current text; a text that does not parse (or parses to the
    // first instant of 1970) means no date.
    void SetValue(std::string_view text);
    // The new text after OK: "" for no date, otherwise the formatted date.
    std::string GetValue() const;

    // When the dialog opens: no date empties the button, a date shows its
    // local calendar date.
    void ShowIn(DateButtonState& button) const;
    // On OK: an empty button means no date, otherwise its date at local
    // standard midnight. A date whose midnight cannot be written as an HTTP
    // date (before 1970 or after 3000, or the first instant of 1970, which
    // means no date) is refused: returns false with message set, m_time
    // unchanged, and the dialog stays open.
    bool TakeFrom(const DateButtonState& button, std::string& message);

    // The value: 0 means no date.
    CHttpTime m_time;
};
