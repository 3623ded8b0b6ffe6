// Reading the pages of a site in parallel: audit, export and the site view's
// scan read every page this one way.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "site/page_batch.h"
#include "site/page_walk.h"

// What reads one page: given the page's index and its text, it may keep the
// text (move from it); otherwise the text's buffer serves the next page of
// that thread. Returns "" or why the page could not be taken.
using CPageReader = std::function<std::string(size_t i, std::string& text)>;

// Reads every page of jobs (by the one reading rule, ReadPageFile) on several
// threads and hands each page's text to read, on the worker's thread. Returns
// the reason of each page that failed (refused by the walker, unreadable, out
// of memory), "" for the others; a page not reached because the run was
// stopped has "" too and was not read.
std::vector<std::string> ScanPages(const std::vector<CPageJob>& jobs, const CPageReader& read,
                                   const CRunControl& control = {});

// The same for pages that are still being listed: list runs on a thread of
// its own and hands each batch of pages to its sink as soon as they are
// known, and the workers read them meanwhile, so that reading need not wait
// for the whole tree to be listed. alongside, when given, runs on the calling
// thread meanwhile (to make what the readers will want, say). jobs gets every
// page listed, in the order listed; read's indexes and the result are of
// that order. control's progress is called on the calling thread, with the
// total listed so far.
std::vector<std::string> ScanListedPages(const std::function<void(const CPageSink& sink)>& list,
                                         std::vector<CPageJob>& jobs, const CPageReader& read,
                                         const CRunControl& control = {},
                                         const std::function<void()>& alongside = {});
