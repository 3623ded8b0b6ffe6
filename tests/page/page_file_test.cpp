#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "page/page_file.h"

namespace fs = std::filesystem;

TEST(PageFile, ReadsBytesAsTheyAre) {
    const fs::path path = fs::temp_directory_path() / "tsle_page_file_test.html";
    const std::string bytes("<p>\0\xff\r\n</p>", 10);
    std::ofstream(path, std::ios::binary) << bytes;
    std::string text, error;
    ASSERT_EQ(ReadPageFile(path.string(), text, error), 1) << error;
    EXPECT_EQ(text, bytes);
    fs::remove(path);
}

TEST(PageFile, ReportsWhyAFileCannotBeRead) {
    std::string text = "old", error;
    EXPECT_EQ(ReadPageFile("/nonexistent/page.html", text, error), 0);
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_EQ(text, "");
    EXPECT_EQ(ReadPageFile(fs::temp_directory_path().string(), text, error), 0);
    EXPECT_EQ(error, "Is a directory");
}
