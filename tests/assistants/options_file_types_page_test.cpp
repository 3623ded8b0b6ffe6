#include "assistants/options_file_types_page.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

int IndexOf(const CFileTypesPage& page, const std::string& extension) {
    const Strings& list = page.GetExtensions();
    return static_cast<int>(std::find(list.begin(), list.end(), extension) - list.begin());
}

class FileTypesPageTest : public ::testing::Test {
protected:
    CAppSettings m_app; // the default setting
    CFileTypesPage m_page{m_app};
    void SetUp() override { m_page.OnSetActive(); }
};

TEST_F(FileTypesPageTest, ListIsSorted) {
    EXPECT_EQ(m_page.GetFileTypes(), "*.htm;*.html;*.php;*.asp;*.aspx;*.mtpl;");
    EXPECT_EQ(m_page.GetExtensions(), (Strings{"asp", "aspx", "htm", "html", "mtpl", "php"}));
    EXPECT_EQ(m_page.IsRemoveEnabled(), 0);
}

TEST_F(FileTypesPageTest, AddButtonForTypedText) {
    struct Case {
        const char* typed;
        int add;
    };
    const Case cases[] = {{"htm", 0}, {"mtpl", 0}, {"", 0},    {"  ", 0}, {" shtml ", 1},
                          {"HTM", 1}, {"ht", 1},   {"a;b", 0}, {"asp", 0}};
    for (const Case& c : cases) {
        m_page.SetEditText(c.typed);
        EXPECT_EQ(m_page.IsAddEnabled(), c.add) << "'" << c.typed << "'";
        EXPECT_EQ(m_page.IsReplaceEnabled(), 0) << "nothing selected";
    }
    m_page.OnSelChange(0);
    m_page.SetEditText("jsp");
    EXPECT_EQ(m_page.IsReplaceEnabled(), 1);
    EXPECT_EQ(m_page.IsRemoveEnabled(), 1);
}

TEST_F(FileTypesPageTest, Add) {
    m_page.SetEditText(" shtml ");
    EXPECT_EQ(m_page.OnAdd(), 1);
    EXPECT_EQ(m_page.GetFileTypes(), "*.htm;*.html;*.php;*.asp;*.aspx;*.mtpl;*.shtml;");
    EXPECT_EQ(m_page.IsAddEnabled(), 0); // the edit box keeps its text, now present
    EXPECT_EQ(m_page.OnAdd(), 0);
    EXPECT_EQ(m_page.IsModified(), 1);
}

TEST_F(FileTypesPageTest, AddKeepsCaseApart) {
    m_page.SetEditText("HTM");
    m_page.OnAdd();
    EXPECT_EQ(m_page.GetExtensions(),
              (Strings{"asp", "aspx", "HTM", "htm", "html", "mtpl", "php"}));
}

TEST_F(FileTypesPageTest, RemoveRebuildsSorted) {
    m_page.OnSelChange(IndexOf(m_page, "php"));
    EXPECT_EQ(m_page.OnRemove(), 1);
    EXPECT_EQ(m_page.GetFileTypes(), "*.asp;*.aspx;*.htm;*.html;*.mtpl;");
    EXPECT_EQ(m_page.GetSelected(), -1);
    EXPECT_EQ(m_page.OnRemove(), 0);
}

TEST_F(FileTypesPageTest, Replace) {
    m_page.OnSelChange(IndexOf(m_page, "asp"));
    m_page.SetEditText("jsp");
    EXPECT_EQ(m_page.OnReplace(), 1);
    EXPECT_EQ(m_page.GetFileTypes(), "*.aspx;*.htm;*.html;*.mtpl;*.php;*.jsp;");
}

TEST_F(FileTypesPageTest, ReplaceWithPresentTextRemovesNothing) {
    m_page.OnSelChange(IndexOf(m_page, "asp"));
    m_page.SetEditText("htm");
    EXPECT_EQ(m_page.OnReplace(), 0);
    EXPECT_EQ(m_page.GetExtensions().size(), 6u);
}

TEST_F(FileTypesPageTest, RemovingAllGivesEmptyAndApplyHandsOver) {
    while (!m_page.GetExtensions().empty()) {
        m_page.OnSelChange(0);
        m_page.OnRemove();
    }
    EXPECT_EQ(m_page.GetFileTypes(), "");
    EXPECT_EQ(m_app.m_strFileTypes, "*.htm;*.html;*.php;*.asp;*.aspx;*.mtpl");
    m_page.OnApply();
    EXPECT_EQ(m_app.m_strFileTypes, "");
    EXPECT_EQ(m_page.IsModified(), 0);
}

TEST(FileTypesPage, WorkingCopyAndParsing) {
    struct Case {
        const char* setting;
        const char* copy;
        Strings list;
    };
    const Case cases[] = {
        {"", "", {}},
        {"*.htm", "*.htm;", {"htm"}},
        {"*.htm;", "*.htm;", {"htm"}},
        {"*.php;;*.htm", "*.php;;*.htm;", {"htm", "php"}}, // hand-edited profile
        {"htm;*.", "htm;*.;", {"htm"}},
    };
    for (const Case& c : cases) {
        CAppSettings app;
        app.m_strFileTypes = c.setting;
        CFileTypesPage page(app);
        page.OnSetActive();
        EXPECT_EQ(page.GetFileTypes(), c.copy) << c.setting;
        EXPECT_EQ(page.GetExtensions(), c.list) << c.setting;
    }
}

} // namespace
