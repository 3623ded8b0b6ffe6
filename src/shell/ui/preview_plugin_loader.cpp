#include "shell/ui/preview_plugin_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QPluginLoader>

#include "shell/ui/preview_engine.h"

#include <unistd.h>

// QtGui keeps the context that all OpenGL contexts of the application share
// (QOpenGLContext::globalShareContext) and sets it through this function,
// exported for the web engine but declared outside Qt's public headers.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace {

// The web engine draws with OpenGL contexts that share one context with the
// application's, and fails without it. QApplication makes that context at
// start-up when asked to (Qt::AA_ShareOpenGLContexts), which costs a whole
// OpenGL context (some 40 ms with software OpenGL under X) in every run, also
// those that never show the preview; it is made here instead, just before the
// engine is loaded. (The attribute itself only asks for the context, and may
// not be set once the application runs.)
void ProvideSharedOpenGLContext() {
    if (QOpenGLContext::globalShareContext())
        return;
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    // Without OpenGL (no driver, the offscreen platform) the context stays
    // invalid and the engine draws in software; it must exist all the same.
    context->create();
    qt_gl_set_global_share_context(context);
}

// The web engine ends the whole program, unsaved work and all, when it is
// started as root with its sandbox on; it is not started then.
QString SandboxObstacle() {
    if (::geteuid() != 0 || qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") ||
        qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(QLatin1String("--no-sandbox")))
        return {};
    return QStringLiteral("The web engine does not run as root with its sandbox. Start TSLE as "
                          "a normal user, or set QTWEBENGINE_DISABLE_SANDBOX=1.");
}

} // namespace

QStringList PreviewPluginDirs() {
    QStringList dirs;
    const QString configured = qEnvironmentVariable("TSLE_PREVIEW_PLUGIN_DIR");
    if (!configured.isEmpty())
        dirs << configured;
    const QString program = QCoreApplication::applicationDirPath();
    dirs << program
         << QDir::cleanPath(program + QStringLiteral("/" TSLE_PREVIEW_PLUGIN_RELATIVE_DIR))
         << QStringLiteral(TSLE_PREVIEW_PLUGIN_INSTALL_DIR);
    dirs.removeDuplicates();
    return dirs;
}

IPreviewEngineFactory* LoadPreviewEngineFactory(QString* error) {
    // Loaded once: a plugin stays loaded for the process anyway, and a second
    // attempt after a failure would fail the same way.
    static IPreviewEngineFactory* factory = nullptr;
    static QString reason;
    static bool tried = false;
    if (!tried) {
        tried = true;
        reason = SandboxObstacle();
        if (!reason.isEmpty()) {
            if (error)
                *error = reason;
            return nullptr;
        }
        QStringList failures;
        for (const QString& dir : PreviewPluginDirs()) {
            const QString path = dir + QStringLiteral("/" TSLE_PREVIEW_PLUGIN_FILE);
            if (!QFileInfo::exists(path))
                continue;
            ProvideSharedOpenGLContext();
            // The engine reports its set-up on stderr at its start; that is
            // for those who ask (QT_LOGGING_RULES still can).
            QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
            QPluginLoader loader(path);
            factory = qobject_cast<IPreviewEngineFactory*>(loader.instance());
            if (factory)
                break;
            failures << (loader.errorString().isEmpty()
                             ? QStringLiteral("%1 is no preview plugin").arg(path)
                             : loader.errorString());
        }
        if (!factory)
            reason = failures.isEmpty() ? QStringLiteral("%1 was not found in %2")
                                              .arg(QStringLiteral(TSLE_PREVIEW_PLUGIN_FILE),
                                                   PreviewPluginDirs().join(QStringLiteral(", ")))
                                        : failures.join(QStringLiteral("; "));
    }
    if (error)
        *error = reason;
    return factory;
}
