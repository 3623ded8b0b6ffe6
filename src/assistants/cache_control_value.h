// The Cache-Control assistant's model: which choice a value opens with, when
// the number box and OK are usable, and the value OK composes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The three choices (the dialog's radio button ids).
inline constexpr int CACHE_DONT_LIMIT = 1030; // ""
inline constexpr int CACHE_NO_CACHE = 1031;   // "no-cache"
inline constexpr int CACHE_MAX_AGE = 1032;    // "max-age=N"
// The number the box shows when the value gives none.
inline constexpr int CACHE_DEFAULT_MAX_AGE = 10;

inline constexpr std::string_view MSG_CACHE_MAX_AGE_POSITIVE =
    "Please enter a maximum age of 1 second or more.";

class CacheControlValue {
public:
    // Opens on the tag's current value, read as comma-separated directives: a
    // "no-cache" directive (any case) gives CACHE_NO_CACHE, even beside a
    // "max-age"; else no "max-age" directive gives CACHE_DONT_LIMIT; else
    // CACHE_MAX_AGE with the box showing the number after "max-age" and "="
    // (spaces ignored), or 10 without one. Every other directive ("private",
    // "no-store", ...) is kept for the value OK composes.
    explicit CacheControlValue(std::string_view value);

    int Choice() const { return m_nChoice; }
    void SetChoice(int choice) { m_nChoice = choice; }
    // The text of the number box.
    const std::string& MaxAgeText() const { return m_strMaxAge; }
    void SetMaxAgeText(std::string_view text) { m_strMaxAge = text; }

    // The box is usable exactly while "Maximum age" is chosen.
    bool IsMaxAgeEnabled() const { return m_nChoice == CACHE_MAX_AGE; }
    // OK is usable unless "Maximum age" is chosen and the box does not begin
    // with a number greater than 0.
    bool IsOkEnabled() const;

    // OK: composes m_strValue and returns true: the choice ("", "no-cache" or
    // "max-age=N") where the first no-cache or max-age directive stood (at the
    // end when there was none), the kept directives around it in their order,
    // joined by ", " ("private, max-age=600" stays so). Or returns false with
    // the message to show when the box does not hold a whole integer ("12abc"),
    // and the dialog stays open.
    bool Accept(std::string& message);

    // The value: in, the tag's text as given; out, the composed text after
    // Accept succeeded.
    std::string m_strValue;

private:
    int m_nChoice = CACHE_DONT_LIMIT;
    std::string m_strMaxAge;
    std::vector<std::string> m_others; // directives the dialog does not show
    size_t m_nShownAt = 0;             // where the choice goes among them
};
