// Rows of the element table that the page model looks for by name.
#pragma once

// Rows of "html", "head", "title", "link", "meta", "style", "script" and "body" in the element
// table; a tag with one of these names has that row, so comparing rows
// compares names.
constexpr int ROW_HTML = 0;
constexpr int ROW_HEAD = 1;
constexpr int ROW_TITLE = 2;
constexpr int ROW_LINK = 4;
constexpr int ROW_META = 5;
constexpr int ROW_STYLE = 6;
constexpr int ROW_SCRIPT = 7;
constexpr int ROW_BODY = 9;
