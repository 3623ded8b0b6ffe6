// Reading the pages of a site in parallel: audit, export and the site view's
// scan read every page this one way.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "site/page_batch.h"
#include "site/page_walk.h"

// Reads every page of jobs (by the one reading rule, ReadPageFile) on several
// threads and hands each page's text to read, on the worker's thread, with
// the page's index. read may keep the text (move from it); otherwise its
// buffer serves the next page of that thread. read returns "" or why the
// page could not be taken. Returns the reason of each page that failed
// (refused by the walker, unreadable, out of memory), "" for the others; a
// page not reached because the run was stopped has "" too and was not read.
std::vector<std::string>
ScanPages(const std::vector<CPageJob>& jobs,
          const std::function<std::string(size_t i, std::string& text)>& read,
          const CRunControl& control = {});
