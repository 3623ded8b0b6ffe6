// The Cache-Control, Robots and Refresh assistants, driven as their dialogs do.
#include <gtest/gtest.h>

#include "assistants/cache_control_value.h"
#include "assistants/refresh_value.h"
#include "assistants/robots_value.h"

namespace {

TEST(CacheControlValue, OpensWithChoiceAndMaxAge) {
    const struct {
        const char* value;
        int choice;
        const char* maxAge;
    } cases[] = {
        {"", CACHE_DONT_LIMIT, "10"},
        {"private", CACHE_DONT_LIMIT, "10"},
        {"No-Cache", CACHE_NO_CACHE, "10"},
        {"max-age=60, no-cache", CACHE_NO_CACHE, "10"}, // no-cache wins
        {"private, max-age = 600", CACHE_MAX_AGE, "600"},
        {"MAX-AGE=3600", CACHE_MAX_AGE, "3600"},
        {"max-age=0600", CACHE_MAX_AGE, "600"},
        {"max-age", CACHE_MAX_AGE, "10"},
        {"max-age=", CACHE_MAX_AGE, "10"},
        {"max-age=abc", CACHE_MAX_AGE, "10"},
        {"a=1, max-age=20", CACHE_MAX_AGE, "20"}, // the "=" after max-age
        {"max-age=-5", CACHE_MAX_AGE, "10"},      // never a wrapped number
        {"max-age=4000000000", CACHE_MAX_AGE, "4000000000"},
    };
    for (const auto& c : cases) {
        const CacheControlValue model(c.value);
        EXPECT_EQ(model.Choice(), c.choice) << c.value;
        EXPECT_EQ(model.MaxAgeText(), c.maxAge) << c.value;
        EXPECT_EQ(model.IsMaxAgeEnabled(), c.choice == CACHE_MAX_AGE) << c.value;
    }
}

TEST(CacheControlValue, OkEnabledOnlyWithPositiveMaxAge) {
    const struct {
        int choice;
        const char* box;
        bool enabled;
    } cases[] = {
        {CACHE_MAX_AGE, "600", true}, {CACHE_MAX_AGE, " 12abc", true},
        {CACHE_MAX_AGE, "0", false},  {CACHE_MAX_AGE, "", false},
        {CACHE_MAX_AGE, "-5", false}, {CACHE_MAX_AGE, "abc", false},
        {CACHE_DONT_LIMIT, "", true}, {CACHE_NO_CACHE, "0", true},
    };
    for (const auto& c : cases) {
        CacheControlValue model("");
        model.SetChoice(c.choice);
        model.SetMaxAgeText(c.box);
        EXPECT_EQ(model.IsOkEnabled(), c.enabled) << c.choice << " '" << c.box << "'";
    }
}

TEST(CacheControlValue, OkComposesValue) {
    const struct {
        int choice;
        const char* box;
        const char* value; // nullptr: refused with a message
    } cases[] = {
        {CACHE_DONT_LIMIT, "abc", ""}, // the unused box is not validated
        {CACHE_NO_CACHE, "", "no-cache"},
        {CACHE_MAX_AGE, "3600", "max-age=3600"},
        {CACHE_MAX_AGE, "0600", "max-age=600"},
        {CACHE_MAX_AGE, " +42 ", "max-age=42"},
        {CACHE_MAX_AGE, "12abc", nullptr},
        {CACHE_MAX_AGE, "4000000000", nullptr}, // does not fit an int
        {CACHE_MAX_AGE, "0", nullptr},
    };
    for (const auto& c : cases) {
        CacheControlValue model("No-Cache");
        model.SetChoice(c.choice);
        model.SetMaxAgeText(c.box);
        std::string message;
        const bool ok = model.Accept(message);
        if (c.value) {
            EXPECT_TRUE(ok) << c.box;
            EXPECT_EQ(model.m_strValue, c.value);
        } else {
            EXPECT_FALSE(ok) << c.box;
            EXPECT_FALSE(message.empty());
            EXPECT_EQ(model.m_strValue, "No-Cache");
        }
    }
    CacheControlValue model("max-age=7");
    model.SetMaxAgeText("12abc");
    std::string message;
    model.Accept(message);
    EXPECT_EQ(message, "Please enter an integer.");
}

TEST(CacheControlValue, OkKeepsDirectivesItDoesNotShow) {
    const struct {
        const char* value;
        int choice;
        const char* box;
        const char* composed;
    } cases[] = {
        {"private, max-age=600", CACHE_MAX_AGE, "600", "private, max-age=600"},
        {"private, max-age = 600", CACHE_MAX_AGE, "60", "private, max-age=60"},
        {"private, max-age=600", CACHE_NO_CACHE, "", "private, no-cache"},
        {"private, max-age=600", CACHE_DONT_LIMIT, "", "private"},
        {"max-age=60, no-cache, must-revalidate", CACHE_MAX_AGE, "5", "max-age=5, must-revalidate"},
        {"no-store", CACHE_NO_CACHE, "", "no-store, no-cache"},
        {"s-maxage=30, private", CACHE_MAX_AGE, "10", "s-maxage=30, private, max-age=10"},
        {"No-Cache, ,no-store", CACHE_DONT_LIMIT, "", "no-store"},
    };
    for (const auto& c : cases) {
        CacheControlValue model(c.value);
        model.SetChoice(c.choice);
        model.SetMaxAgeText(c.box);
        std::string message;
        ASSERT_TRUE(model.Accept(message)) << c.value;
        EXPECT_EQ(model.m_strValue, c.composed) << c.value;
    }
}

TEST(RobotsValue, OpensAndComposes) {
    const struct {
        const char* value;
        bool noIndex;
        bool noFollow;
        const char* composed;
    } cases[] = {
        {"NOINDEX,NOFOLLOW", true, true, "noindex, nofollow"},
        {"noindex", true, false, "noindex"},
        {"index, NoFollow", false, true, "nofollow"},
        {"index, follow", false, false, ""},
        {"all", false, false, ""},
        {"none", true, true, "noindex, nofollow"}, // none means noindex, nofollow
        {"", false, false, ""},
        {"noindex nofollow", true, true, "noindex, nofollow"},
        // Directives without a box are kept in their places.
        {"noindex, noarchive", true, false, "noindex, noarchive"},
        {"noarchive, NoIndex,, max-snippet:50", true, false, "noarchive, noindex, max-snippet:50"},
        {"all, nosnippet", false, false, "nosnippet"},
        {"nosnippet", false, false, "nosnippet"},
    };
    for (const auto& c : cases) {
        const RobotsValue model(c.value);
        EXPECT_EQ(model.m_bNoIndex, c.noIndex) << c.value;
        EXPECT_EQ(model.m_bNoFollow, c.noFollow) << c.value;
        EXPECT_EQ(model.Compose(), c.composed) << c.value;
    }
}

TEST(RobotsValue, BoxesChangeOnlyTheirDirectives) {
    const struct {
        const char* value;
        bool noIndex;
        bool noFollow;
        const char* composed;
    } cases[] = {
        {"noindex, noarchive", false, false, "noarchive"},
        {"noindex, noarchive", true, true, "noindex, nofollow, noarchive"},
        {"noarchive", false, true, "noarchive, nofollow"},
        {"none", false, true, "nofollow"},
        {"noarchive, index, follow, nosnippet", true, false, "noarchive, noindex, nosnippet"},
    };
    for (const auto& c : cases) {
        RobotsValue model(c.value);
        model.m_bNoIndex = c.noIndex;
        model.m_bNoFollow = c.noFollow;
        EXPECT_EQ(model.Compose(), c.composed) << c.value;
    }
}

TEST(RefreshValue, SplitsFieldText) {
    const struct {
        const char* text;
        int seconds;
        const char* url;
        int choice;
    } cases[] = {
        {"5; URL=page.html", 5, "URL=page.html", REFRESH_AFTER},
        {"30", 30, "", REFRESH_AFTER},
        {"0", 0, "", REFRESH_NONE},
        {"", 0, "", REFRESH_NONE},
        {"URL=page.html", 0, "", REFRESH_NONE},
        {"; page.html", 0, "page.html", REFRESH_AFTER},
        {"007;a;b ", 7, "a;b ", REFRESH_AFTER},
        {"-5", -5, "", REFRESH_AFTER},
        {"99999999999", 2147483647, "", REFRESH_AFTER},
    };
    for (const auto& c : cases) {
        const RefreshValue model(c.text);
        EXPECT_EQ(model.m_nSeconds, c.seconds) << c.text;
        EXPECT_EQ(model.m_strUrl, c.url) << c.text;
        EXPECT_EQ(model.OpenChoice(), c.choice) << c.text;
        EXPECT_EQ(model.m_bNoRefresh, c.choice == REFRESH_NONE) << c.text;
    }
}

TEST(RefreshValue, UnchangedOkWritesNormalisedText) {
    const struct {
        const char* text;
        const char* result;
    } cases[] = {
        {"5; URL=page.html", "5;URL=page.html"},
        {"30", "30"},
        {"0", ""},
        {"URL=page.html", ""},
        {"; page.html", "0;page.html"},
        {"10;  url \t", "10;url"},
    };
    for (const auto& c : cases) {
        RefreshValue model(c.text);
        std::string message;
        ASSERT_TRUE(model.Exchange(model.OpenChoice(), std::to_string(model.m_nSeconds),
                                   model.m_strUrl, message))
            << c.text;
        EXPECT_EQ(model.Compose(), c.result) << c.text;
    }
}

TEST(RefreshValue, OkValidatesSeconds) {
    const struct {
        int choice;
        const char* seconds;
        const char* url;
        const char* result;  // nullptr: refused
        const char* message; // when refused
    } cases[] = {
        {REFRESH_AFTER, "12abc", "x", nullptr, "Please enter an integer."},
        {REFRESH_NONE, "12abc", "x", nullptr, "Please enter an integer."},
        {REFRESH_AFTER, "", "x", nullptr, "Please enter an integer."},
        {REFRESH_AFTER, "-5", "x", nullptr, "Please enter a number of seconds of 0 or more."},
        {REFRESH_NONE, "-5", "x", "", nullptr}, // the number is not used
        {REFRESH_NONE, "15", "page.html", "", nullptr},
        {REFRESH_AFTER, " 15 ", " page.html ", "15;page.html", nullptr},
        {REFRESH_AFTER, "0", "", "", nullptr},
        {REFRESH_AFTER, "2147483647", "", "2147483647", nullptr},
        {REFRESH_AFTER, "2147483648", "", nullptr, "Please enter an integer."},
        {REFRESH_AFTER, "1 2", "", nullptr, "Please enter an integer."},
    };
    for (const auto& c : cases) {
        RefreshValue model("3;old");
        std::string message;
        const bool ok = model.Exchange(c.choice, c.seconds, c.url, message);
        if (c.result) {
            EXPECT_TRUE(ok) << c.seconds;
            EXPECT_EQ(model.Compose(), c.result) << c.seconds;
        } else {
            EXPECT_FALSE(ok) << c.seconds;
            EXPECT_EQ(message, c.message) << c.seconds;
            EXPECT_EQ(model.Compose(), "3;old") << "a refused OK changes nothing";
        }
    }
}

} // namespace
