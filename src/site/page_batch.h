// Running one piece of work per page on several threads, for everything that
// works on many pages: reading a site (audit, export, the site view's scan)
// and changing it (apply, import, undo).
//
// Nothing here prints: the caller learns about progress and results through
// callbacks, which run on the caller's own thread.
#pragma once

#include <cstddef>
#include <functional>

// How a run is steered and watched from the thread that started it.
struct CRunControl {
    // Polled before each page is started: true stops the run (the pages in
    // hand are finished, no new one is started). Null: never.
    std::function<bool()> stopRequested;
    // Called now and then with the pages done so far, on the caller's thread.
    std::function<void(size_t done, size_t total)> progress;
    // The worker threads; 0: BatchWorkers(count).
    size_t workers = 0;

    bool StopRequested() const { return stopRequested && stopRequested(); }
};

// How many workers a run of count pages uses: pages wait mostly for the file
// system, so a few more than the processors; cpuBound: as many as processors.
size_t BatchWorkers(size_t count, bool cpuBound = false);

// Runs work(i) for every page i < count on worker threads and returns when all
// are done, or the run was stopped; returns the number of pages not started.
size_t ForEachPage(size_t count, const std::function<void(size_t)>& work,
                   const CRunControl& control = {});

// Runs work(i) for every page i < count on worker threads; done(i) is called
// on the caller's thread in page order, as soon as page i and every page
// before it are done, so that what a caller reports of a stopped run is
// exactly what was done (a page never started is passed over). Returns the
// number of pages not started.
size_t RunInOrder(size_t count, const std::function<void(size_t)>& work,
                  const std::function<void(size_t)>& done, const CRunControl& control = {});
