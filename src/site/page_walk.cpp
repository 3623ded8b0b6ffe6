#include "site/page_walk.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "document/text_file.h"

namespace {

// Folders nested deeper than this are reported, not searched: no site is that
// deep, and a loop of bind mounts would be endless.
constexpr int MAX_FOLDER_DEPTH = 256;

bool IsTemplateName(std::string_view name) {
    return name.ends_with(".mtpl");
}

PageFileId IdOf(const struct stat& info) {
    return {static_cast<unsigned long long>(info.st_dev),
            static_cast<unsigned long long>(info.st_ino)};
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir.ends_with('/') ? dir + name : dir + "/" + name;
}

// Reads the names in the folder open as fd (but "." and ".."). The whole
// listing comes from one call of the system, which sees the folder as it is at
// one moment: a listing read in several calls can miss a name that another
// program (another tsle-cli apply, say) replaces between them.
struct CFolderEntry {
    std::string name;
    unsigned char type = DT_UNKNOWN; // as the listing says (DT_DIR, DT_REG ...)
};

bool ListFolder(int fd, std::vector<CFolderEntry>& names) {
    // Kept from folder to folder: a tree has thousands, and clearing a fresh
    // buffer for each cost more than listing them.
    thread_local std::vector<char> buffer;
    char probe[4096];
    for (size_t size = 256 * 1024;; size *= 4) {
        if (buffer.size() < size)
            buffer.resize(size);
        if (::lseek(fd, 0, SEEK_SET) != 0)
            return false;
        const ssize_t got = ::getdents64(fd, buffer.data(), size);
        if (got < 0)
            return false;
        const ssize_t more = ::getdents64(fd, probe, sizeof probe);
        if (more < 0)
            return false;
        if (more > 0)
            continue; // did not fit: again, with room for all
        names.clear();
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + at);
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back({std::string(name), entry->d_type});
            at += entry->d_reclen;
        }
        return true;
    }
}

} // namespace

PageStamp StampOf(const struct stat& info) {
    constexpr long long kNs = 1000000000LL;
    return {IdOf(info), static_cast<long long>(info.st_size),
            info.st_mtim.tv_sec * kNs + info.st_mtim.tv_nsec,
            info.st_ctim.tv_sec * kNs + info.st_ctim.tv_nsec};
}

bool CPageWalker::IsBatchPageName(std::string_view name, std::string_view fileTypes) {
    // A name without an extension (a script, LICENSE, Makefile) is never a
    // page to rewrite, whatever the file browser lists.
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size())
        return false;
    const std::string entry = "*." + std::string(name.substr(dot + 1));
    size_t start = 0;
    while (start <= fileTypes.size()) {
        size_t end = fileTypes.find(';', start);
        if (end == std::string_view::npos)
            end = fileTypes.size();
        if (fileTypes.substr(start, end - start) == entry)
            return true;
        start = end + 1;
    }
    return false;
}

void CPageWalker::AddArgument(const std::string& path, bool recursive) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        m_jobs.push_back({path, std::strerror(errno), {}});
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        if (!recursive) {
            m_jobs.push_back({path, "Is a directory (use --recursive)", {}});
            return;
        }
        std::vector<CPageJob> found;
        Walk(path, 0, found);
        std::sort(found.begin(), found.end(),
                  [](const CPageJob& a, const CPageJob& b) { return a.path < b.path; });
        m_jobs.insert(m_jobs.end(), found.begin(), found.end());
        return;
    }
    const size_t slash = path.rfind('/');
    if (IsTemplateName(slash == std::string::npos ? path : path.substr(slash + 1))) {
        m_jobs.push_back(
            {path,
             m_hasTemplate ? "is a template; templates are not changed" : "is a template",
             {}});
    } else if (IsTemplate(IdOf(info))) {
        m_jobs.push_back({path, "is the template of this run; not changed", {}});
    } else if (FirstVisit(IdOf(info), path)) {
        m_jobs.push_back({path, {}, StampOf(info)}); // refused later if not a regular file
    }
}

void CPageWalker::Stream(const std::string& path, const CPageSink& folder) {
    StreamArgument(path, true, folder);
}

std::vector<size_t> CPageWalker::StreamPaths(const std::vector<std::string>& paths,
                                             const CPageSink& sink) {
    std::vector<std::string> listed; // the paths handed over, in that order
    const CPageSink take = [&](std::vector<CPageJob>&& batch) {
        for (const CPageJob& job : batch)
            listed.push_back(job.path);
        sink(std::move(batch));
    };
    std::vector<size_t> order;
    for (const std::string& path : paths) {
        const size_t first = listed.size();
        StreamArgument(path, m_recursive, take);
        const size_t begin = order.size();
        for (size_t i = first; i < listed.size(); ++i)
            order.push_back(i);
        std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(begin), order.end(),
                         [&](size_t a, size_t b) { return listed[a] < listed[b]; });
    }
    return order;
}

void CPageWalker::StreamArgument(const std::string& path, bool recursive, const CPageSink& sink) {
    struct stat info;
    if (!recursive || ::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        const size_t before = m_jobs.size();
        AddArgument(path, false);
        std::vector<CPageJob> taken(std::make_move_iterator(m_jobs.begin() + before),
                                    std::make_move_iterator(m_jobs.end()));
        m_jobs.resize(before);
        sink(std::move(taken));
        return;
    }
    std::vector<CPageJob> unused;
    m_sink = &sink;
    Walk(path, 0, unused);
    m_sink = nullptr;
}

// Every page under dir, without following symbolic links.
void CPageWalker::Walk(const std::string& dir, int depth, std::vector<CPageJob>& found) {
    if (InterruptSignal() || (m_stop && m_stop()))
        return;                 // asked to stop: no page is taken, so nothing is left half done
    std::vector<CPageJob> here; // this folder's own
    const auto handOver = [&] {
        if (!m_sink) {
            found.insert(found.end(), std::make_move_iterator(here.begin()),
                         std::make_move_iterator(here.end()));
            return;
        }
        std::sort(here.begin(), here.end(),
                  [](const CPageJob& a, const CPageJob& b) { return a.path < b.path; });
        if (!here.empty())
            (*m_sink)(std::move(here));
    };
    if (depth > MAX_FOLDER_DEPTH) {
        here.push_back(
            {dir,
             "folders nested more than " + std::to_string(MAX_FOLDER_DEPTH) + " deep; not searched",
             {}});
        handOver();
        return;
    }
    const int fd =
        ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (depth > 0 ? O_NOFOLLOW : 0));
    std::vector<CFolderEntry> names;
    if (fd < 0 || !ListFolder(fd, names)) {
        // A folder removed since its parent was listed: nothing to do.
        if (depth > 0 && errno == ENOENT) {
            if (fd >= 0)
                ::close(fd);
            return;
        }
        here.push_back({dir, std::strerror(errno), {}});
        if (fd >= 0)
            ::close(fd);
        handOver();
        return;
    }
    std::vector<std::string> folders;
    for (const auto& [name, type] : names) {
        // The kind the listing gives spares a look at every file that is no
        // page by its name, which is most of a documentation tree; a page's
        // file is looked at for its identity and stamp.
        const bool page = IsBatchPageName(name, m_types) && !IsTemplateName(name);
        if (type == DT_LNK || (type != DT_UNKNOWN && type != DT_DIR && !page))
            continue;
        const std::string path = Join(dir, name);
        if (type == DT_DIR) {
            folders.push_back(path);
            continue;
        }
        struct stat info;
        if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            // Removed since the listing: nothing to do.
            if (errno != ENOENT)
                here.push_back({path, std::strerror(errno), {}});
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            folders.push_back(path);
            continue;
        }
        // Links met in a folder are not followed: they may lead out of the
        // tree, or to a page reached another way.
        if (S_ISLNK(info.st_mode) || !page || IsTemplate(IdOf(info)))
            continue;
        if (!S_ISREG(info.st_mode))
            here.push_back({path, kNotRegularFile, {}});
        else if (FirstVisit(IdOf(info), path))
            here.push_back({path, {}, StampOf(info)});
    }
    ::close(fd);
    handOver();
    // In name order, so that of two links to one file the same is taken
    // whether the pages are streamed or not.
    std::sort(folders.begin(), folders.end());
    for (const std::string& folder : folders)
        Walk(folder, depth + 1, found);
}

// Whether the file id, met at path, is met for the first time. Another run
// replacing pages meanwhile frees their inodes, and a new page may get one of
// those numbers: the file met first under an id is looked at again, and only
// when it still has that id is the second one the same file.
bool CPageWalker::FirstVisit(const PageFileId& id, const std::string& path) {
    const auto [it, inserted] = m_seen.emplace(id, path);
    if (inserted)
        return true;
    struct stat info;
    if (::stat(it->second.c_str(), &info) == 0 && IdOf(info) == id)
        return false;
    it->second = path;
    return true;
}

bool CPageWalker::Holds(const PageFileId& id) const {
    const auto it = m_seen.find(id);
    struct stat info;
    return it != m_seen.end() && ::stat(it->second.c_str(), &info) == 0 && IdOf(info) == id;
}

// The template file has this id (unless it was replaced since it was read, and
// its inode number went to another file).
bool CPageWalker::IsTemplate(const PageFileId& id) const {
    struct stat info;
    return m_hasTemplate && id == m_template && ::stat(m_templatePath.c_str(), &info) == 0 &&
           IdOf(info) == m_template;
}
