// CPageWalker: the pages a batch run takes from the paths it is given.
//
// The rules every whole-site command follows: a folder is searched only when
// asked (recursive); in folders only names with an extension from the file
// types count, templates (.mtpl) never, symbolic links met there are not
// followed, and each file is taken once (by device and inode). A path named
// on the command line is taken as named (a link to a page is followed). Every
// path that cannot be taken is kept with the reason, in its place.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "page/page_file.h"

struct CPageJob {
    std::string path;  // bytes
    std::string error; // set when the path was refused before reading it
};

class CPageWalker {
public:
    explicit CPageWalker(std::string_view fileTypes) : m_types(fileTypes) {}

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

    std::vector<CPageJob>& Jobs() { return m_jobs; }

    // Whether a batch run takes a file of this name: its extension (after the
    // last ".") is one of the file types ("*.htm;*.html").
    static bool IsBatchPageName(std::string_view name, std::string_view fileTypes);

private:
    void Walk(const std::string& dir, int depth, std::vector<CPageJob>& found);
    bool FirstVisit(const PageFileId& id, const std::string& path);
    bool IsTemplate(const PageFileId& id) const;

    std::string m_types;
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
};
