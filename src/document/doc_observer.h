// IDocObserver: what the windows hear from the document.
#pragma once

#include <QString>

class IDocObserver {
public:
    virtual ~IDocObserver() = default;
    // Every view refills itself from the document (the page, or the template
    // while it is being edited). Edits made while refilling are not tracked.
    virtual void OnUpdateAllViews() {}
    // The page's path or modified flag, or the template's state, changed:
    // the caption and the enabled commands follow.
    virtual void OnDocumentStateChanged() {}
    // Browse chose a project directory: show or refresh the file browser.
    virtual void OnProjectDirChanged() {}
    // A page or template file was opened or saved under this full path
    // (for the recent-file list).
    virtual void OnFileUsed(const QString& /*path*/) {}
};
