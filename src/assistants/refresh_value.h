// The Refresh assistant's model: the seconds and URL read from a value, the
// choice the dialog opens with, the checks on OK and the value composed.
#pragma once

#include <string>
#include <string_view>

// The dialog's radio buttons.
inline constexpr int REFRESH_NONE = 1034;  // "Do not include refresh META tag"
inline constexpr int REFRESH_AFTER = 1035; // "Refresh after - (seconds)"

inline constexpr std::string_view MSG_REFRESH_NEGATIVE =
    "Please enter a number of seconds of 0 or more.";

class RefreshValue {
public:
    RefreshValue() = default;
    // Splits the tag's text: the number at its start (0 without one, clamped to
    // the int range) and the text after the first ";" less leading white space
    // ('5; URL=page.html' gives 5 and 'URL=page.html').
    explicit RefreshValue(std::string_view text);

    // The radio button the dialog opens with: REFRESH_NONE for 0 seconds and
    // no URL; the boxes are usable exactly with REFRESH_AFTER.
    int OpenChoice() const;

    // OK: reads the dialog's boxes. The seconds box must hold a whole integer
    // whatever the choice; with REFRESH_AFTER it must not be negative, and the
    // URL loses its surrounding white space; with REFRESH_NONE both are
    // cleared. Returns false with the message to show (the dialog stays open
    // and the members keep their values).
    bool Exchange(int choice, std::string_view secondsText, std::string_view urlText,
                  std::string& message);

    // The new text: "" when no refresh, otherwise the seconds, followed by ";"
    // and the URL when there is one ('5;URL=page.html').
    std::string Compose() const;

    int m_nSeconds = 0;
    std::string m_strUrl;
    bool m_bNoRefresh = true;
};
