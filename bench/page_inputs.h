// Pages the page-model benchmarks run on: generated pages of a chosen size and
// the HTML pages of the Python documentation as Debian installs it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr size_t MiB = 1024 * 1024;

// Where the python3.11-doc package puts its HTML pages.
constexpr char kPythonDocFolder[] = "/usr/share/doc/python3.11/html";

// A page of everyday markup, HTML 4 and 5 mixed, at least targetBytes long:
// head with title, meta tags, style and script; body of nested div, p, a,
// span, ul/li and tables, some tags and attributes in upper case, comments,
// tags broken over lines and an occasional script block. The same size always
// gives the same page.
std::string MakeTypicalPage(size_t targetBytes);

// A page whose head holds metaCount meta tags (name and http-equiv, some in
// upper case), with a short body.
std::string MakeMetaPage(int metaCount);

// A small head and a body that is one text run of at least targetBytes
// without any tag.
std::string MakeTextRunPage(size_t targetBytes);

// The HTML pages under a folder, read once.
struct RealPages {
    std::vector<std::string> paths;
    std::vector<std::string> texts;
    size_t totalBytes = 0;
    // Why there are no pages ("" when there are).
    std::string error;
};

// Every *.html file under kPythonDocFolder (sorted by path), read on first use.
const RealPages& PythonDocPages();

// Index of the largest page of pages (0 when empty).
size_t LargestPage(const RealPages& pages);
