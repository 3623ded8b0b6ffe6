// CSiteScanner: reads the pages of a site folder for the site view, on worker
// threads, handing rows over as they are read.
//
// A scan lists every page under the folder (the whole-site rules: the file
// types, no templates, no links met in folders followed) and reads them in
// parallel with the site engine's reader; the rows read so far are taken with
// TakeRows whenever rowsReady is sent, a few times a second, so that the first
// rows show at once. A refresh lists the folder again and reads only the pages
// whose files are new or changed since they were read (by their stamps), and
// names the pages that are gone.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "site/site_row.h"
#include "site/site_task.h"

class CSiteScanner : public QObject {
    Q_OBJECT

public:
    // How often rows read are handed over while a scan runs.
    static constexpr int HAND_OVER_MS = 50;
    // Pages read at a time: few at first, for the first rows to come at once.
    static constexpr size_t FIRST_CHUNK = 64;
    static constexpr size_t LAST_CHUNK = 4096;

    explicit CSiteScanner(QObject* parent = nullptr);

    // Reads every page under root (a folder, bytes, absolute). metaNames: the
    // meta names to look up in each page also after its body. Returns false
    // while a scan runs.
    bool Scan(const std::string& root, const std::string& fileTypes,
              std::vector<QString> metaNames);
    // Reads the pages under root that are not among known (paths under root
    // with the stamps they had when read) or whose stamps differ; the known
    // ones no longer there are handed over by TakeGone.
    bool Refresh(const std::string& root, const std::string& fileTypes,
                 std::vector<QString> metaNames, std::unordered_map<std::string, PageStamp> known);
    // What the reading threads measure the widths of titles and descriptions
    // with (see CSiteAudit::Measure), for the scans started after; null: the
    // widths are left to be measured when the rows are compared.
    void SetAudit(std::shared_ptr<const CSiteAudit> audit) { m_audit = std::move(audit); }
    void Cancel() { m_task.Cancel(); }
    bool IsRunning() const { return m_task.IsRunning(); }
    CSiteTask& Task() { return m_task; }

    // The rows read since the last call, in no particular order.
    std::vector<CSiteRow> TakeRows();
    // The paths (under root) of the known pages that are gone.
    std::vector<std::string> TakeGone();

    // The path of a page under root: path without root and the "/" after it.
    static std::string UnderRoot(const std::string& root, const std::string& path);

signals:
    // Rows are waiting for TakeRows.
    void rowsReady();
    // Pages read of pages listed, now and then (total 0: still listing).
    void progress(qint64 done, qint64 total);
    // Every row has been handed over (rowsReady came before); cancelled: the
    // scan was stopped, and not every page was read.
    void finished(bool cancelled);

private:
    struct Inbox {
        std::mutex mutex;
        std::vector<CSiteRow> rows;
        std::vector<std::string> gone;
    };
    bool Start(const std::string& root, const std::string& fileTypes,
               std::vector<QString> metaNames,
               std::shared_ptr<std::unordered_map<std::string, PageStamp>> known);
    void HandOver();

    CSiteTask m_task;
    QTimer m_handOver;
    std::shared_ptr<Inbox> m_inbox;
    std::shared_ptr<const CSiteAudit> m_audit;
};
