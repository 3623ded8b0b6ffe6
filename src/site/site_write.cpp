#include "site/site_write.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "document/text_file.h"
#include "page/html_page.h"
#include "site/page_walk.h"
#include "site/site_columns.h"
#include "site/site_page.h"

namespace {

std::string RealPath(const std::string& path) {
    std::string real;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        real = resolved;
        std::free(resolved);
    }
    return real;
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// Why the page at path may not be written any more, or "".
std::string Refusal(const std::string& rootReal, const std::string& path,
                    const std::string& fileTypes) {
    if (rootReal.empty())
        return "the site's folder cannot be reached; not written";
    const std::string real = RealPath(path);
    if (real.empty())
        return "no longer there; not written";
    const size_t slash = real.rfind('/');
    const std::string name = real.substr(slash + 1);
    if (!(rootReal == "/" || real.starts_with(rootReal + "/")))
        return "now leads out of the site's folder, to " + real + "; not written";
    if (!CPageWalker::IsBatchPageName(name, fileTypes) || name.ends_with(".mtpl"))
        return "now leads to " + real + ", which is not a page; not written";
    return {};
}

CSiteWriteResult WriteChange(const std::string& root, const std::string& rootReal,
                             const std::string& fileTypes, const CSitePageChange& change,
                             const PageWriteOptions& options) {
    CSiteWriteResult out;
    const std::string path = root.ends_with('/') ? root + change.path : root + "/" + change.path;
    out.detail = Refusal(rootReal, path, fileTypes);
    if (!out.detail.empty()) {
        out.outcome = PageOutcome::FAILED;
        return out;
    }
    // The edits as the cells of a table with their columns, after its path.
    std::vector<std::string> headers{"path"}, cells{change.path};
    std::vector<QString> names;
    for (const auto& [column, text] : change.cells) {
        headers.push_back(Utf8(column.Header()));
        cells.push_back(Utf8(text));
        if (column.kind == CSiteColumn::META)
            names.push_back(column.name);
    }
    CSiteColumns columns;
    QString why;
    if (!columns.ReadHeader(headers, why)) {
        out.outcome = PageOutcome::FAILED;
        out.detail = Utf8(why);
        return out;
    }
    const PageEditor edit = [&](CHtmlPage& page, const std::string& text, std::string& detail) {
        CPageValues values;
        values.Read(text, page, names);
        if (values.fingerprint != change.fingerprint) {
            detail = "changed on disk since it was read; not written";
            return PageOutcome::CONFLICT;
        }
        QStringList changed;
        QString error;
        if (!ImportRow(page, values, columns, cells, changed, error)) {
            detail = Utf8(error) + "; nothing was written";
            return PageOutcome::FAILED;
        }
        detail = Utf8(changed.join(QStringLiteral(", ")));
        return changed.isEmpty() ? PageOutcome::UNCHANGED : PageOutcome::CHANGED;
    };
    CPageEdit edited = EditPage(path, options, edit);
    out.outcome = edited.outcome;
    out.detail = std::move(edited.detail);
    out.diff = std::move(edited.diff);
    return out;
}

// The row of a page as it is on the disk now.
CSiteRow ReadAgain(const std::string& root, const std::string& name,
                   const std::vector<QString>& names) {
    const std::string path = root.ends_with('/') ? root + name : root + "/" + name;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return UnreadSiteRow(name, std::strerror(errno));
    const PageStamp stamp = StampOf(info);
    std::string text, error;
    if (!ReadPageFile(path, text, error))
        return UnreadSiteRow(name, error, stamp);
    return ReadSiteRow(name, text, stamp, names);
}

} // namespace

size_t WriteSiteChanges(const std::string& root, const std::string& fileTypes,
                        const std::vector<CSitePageChange>& changes,
                        const PageWriteOptions& options, const CRunControl& control,
                        const std::function<void(CSiteWriteResult&)>& result,
                        const std::vector<QString>* reread) {
    const std::string rootReal = RealPath(root);
    std::vector<CSiteWriteResult> results(changes.size());
    return RunInOrder(
        changes.size(),
        [&](size_t i) {
            results[i] = WriteChange(root, rootReal, fileTypes, changes[i], options);
            results[i].change = i;
            if (reread && !options.dryRun && results[i].outcome == PageOutcome::CHANGED)
                results[i].row = ReadAgain(root, changes[i].path, *reread);
        },
        [&](size_t i) {
            result(results[i]);
            results[i] = CSiteWriteResult();
        },
        control);
}
