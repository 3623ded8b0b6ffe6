// IPreviewEngine: what the preview pane asks of the web engine that renders
// the page, and IPreviewEngineFactory, which makes one.
//
// The engine lives in a plugin (tsle_preview, src/shell/ui/preview) that the
// pane loads when the preview is first shown: the web engine's libraries are
// large and slow to load, and the program starts without them.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QtPlugin>
#include <functional>

#include "shell/preview_request_policy.h"

class QWidget;

// What the engine reports; every member may be empty.
struct PreviewEngineEvents {
    // The engine began or ended loading the page it was given (not the moves
    // the page tried and the engine refused). ok is false when the engine
    // shows its own error page instead.
    std::function<void()> loadStarted;
    std::function<void(bool ok)> loadFinished;
    // The page tried to move its main frame (a link, a form, a script, a
    // refresh); nothing happened.
    std::function<void(const QUrl& url)> navigationRefused;
    // Whether the page can be printed changed (a load ended, a print job
    // started or ended).
    std::function<void()> printStateChanged;
};

class IPreviewEngine {
public:
    virtual ~IPreviewEngine() = default;
    // The widget that shows the page; deleting it deletes the engine.
    virtual QWidget* Widget() = 0;
    // Shows the page file at path, its images, styles and frames resolving
    // against its folder, with what access allows it (CPreviewRequestPolicy).
    virtual void LoadFile(const QString& path, const CPreviewAccess& access) = 0;
    // Shows a page without a file from its bytes, at any size; relative
    // references in it resolve nowhere. Of access only the scripts and the
    // web resources count: the page has no folder tree.
    virtual void LoadText(const QByteArray& text, const CPreviewAccess& access) = 0;
    // Printing through a print dialog: possible once a page was loaded and
    // while no print job runs.
    virtual int CanPrint() const = 0;
    virtual void Print() = 0;
};

class IPreviewEngineFactory {
public:
    virtual ~IPreviewEngineFactory() = default;
    // A new engine whose widget is a child of parent.
    virtual IPreviewEngine* CreateEngine(QWidget* parent, const PreviewEngineEvents& events) = 0;
};

#define TSLE_PREVIEW_ENGINE_IID "org.tsle.PreviewEngineFactory/2.0"
Q_DECLARE_INTERFACE(IPreviewEngineFactory, TSLE_PREVIEW_ENGINE_IID)
