// CPageWalker: the pages a batch run takes from the paths it is given.
//
// The rules every whole-site command follows: a folder is searched only when
// asked (recursive); in folders only names with an extension from the file
// types count, templates (.mtpl) never, symbolic links met there are not
// followed, and each file is taken once (by device and inode). A path named
// on the command line is taken as named (a link to a page is followed). Every
// path that cannot be taken is kept with the reason, in its place.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "page/page_file.h"
#include "settings/file_types.h"

// What makes a set of pages from the paths a user names: the file types that
// count as pages in folders, and whether folders are searched.
struct CPageSetOptions {
    std::string fileTypes{DEFAULT_FILE_TYPES};
    bool recursive = false;
};

// A file as it was when it was listed: a file whose stamp is another later
// has (or may have) changed since. The change time moves with every write,
// rename and change of mode, whatever the modification time says.
struct PageStamp {
    PageFileId id;
    long long size = -1;
    long long modifiedNs = 0;
    long long changedNs = 0;
    bool operator==(const PageStamp&) const = default;
};
// The stamp of a file the system described in info.
PageStamp StampOf(const struct stat& info);

struct CPageJob {
    std::string path;  // bytes
    std::string error; // set when the path was refused before reading it
    PageStamp stamp;   // as listed, before it was read
};

// Where pages go as they are listed, a batch at a time.
using CPageSink = std::function<void(std::vector<CPageJob>&& pages)>;

class CPageWalker {
public:
    explicit CPageWalker(std::string_view fileTypes) : m_types(fileTypes) {}
    explicit CPageWalker(const CPageSetOptions& options)
        : m_types(options.fileTypes), m_recursive(options.recursive) {}

    // A file the run must never take (the template it applies); it is
    // refused when named, and passed over in folders.
    void ExcludeTemplate(std::string path, const PageFileId& id) {
        m_templatePath = std::move(path);
        m_template = id;
        m_hasTemplate = true;
    }
    // A path named on the command line (followed when it is a link); a folder
    // is searched when recursive, else refused.
    void AddArgument(const std::string& path, bool recursive);
    // The same, searching folders as the options say.
    void Add(const std::string& path) { AddArgument(path, m_recursive); }

    std::vector<CPageJob>& Jobs() { return m_jobs; }
    // The pages under path (a folder, searched whatever the options say; or
    // a file, taken as named) handed to folder a folder at a time, each as
    // soon as it is listed (its pages in name order), so that reading can
    // start before the whole tree is listed. Jobs() is left as it was.
    void Stream(const std::string& path, const CPageSink& folder);
    // The paths taken as Add takes them, each folder's pages handed to sink
    // as soon as it is listed (a file or a refused path as a batch of its
    // own), so that reading can start at once. Returns the order Add would
    // have given the pages: the indexes (in the order handed over) of each
    // path's pages, sorted by path as Add sorts a folder's. Jobs() is left as
    // it was.
    std::vector<size_t> StreamPaths(const std::vector<std::string>& paths, const CPageSink& sink);
    // Asked before each folder is listed: true stops the listing (the pages
    // listed so far stay). Null: only an interrupt signal stops it.
    void SetStop(std::function<bool()> stop) { m_stop = std::move(stop); }
    // Whether the file with this id is among the pages taken.
    bool Holds(const PageFileId& id) const;
    // Whether a file of this name (no folder) is a page of the set's types
    // that a run may change (templates never are).
    bool IsPageName(std::string_view name) const {
        return IsBatchPageName(name, m_types) && !name.ends_with(".mtpl");
    }

    // Whether a batch run takes a file of this name: its extension (after the
    // last ".") is one of the file types ("*.htm;*.html").
    static bool IsBatchPageName(std::string_view name, std::string_view fileTypes);

private:
    void Walk(const std::string& dir, int depth, std::vector<CPageJob>& found);
    void StreamArgument(const std::string& path, bool recursive, const CPageSink& sink);
    bool FirstVisit(const PageFileId& id, const std::string& path);
    bool IsTemplate(const PageFileId& id) const;

    std::string m_types;
    bool m_recursive = false;
    std::string m_templatePath;
    PageFileId m_template;
    bool m_hasTemplate = false;
    struct IdLess {
        bool operator()(const PageFileId& a, const PageFileId& b) const {
            return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
        }
    };
    std::map<PageFileId, std::string, IdLess> m_seen;
    std::vector<CPageJob> m_jobs;
    // While streaming: where each folder's pages go.
    const CPageSink* m_sink = nullptr;
    std::function<bool()> m_stop;
};
