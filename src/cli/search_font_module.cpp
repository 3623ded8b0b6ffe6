#include "cli/search_font_module.h"

#include <QGuiApplication>
#include <memory>

#include "snippet/search_font.h"

namespace {

int g_argc = 1;
char g_name[] = "tsle-cli";
char* g_argv[] = {g_name, nullptr};
std::unique_ptr<QGuiApplication> g_app;
QtMessageHandler g_qtMessages = nullptr;

// The offscreen platform asks for a runtime folder that the measuring never
// uses; its warning about a missing XDG_RUNTIME_DIR (as under cron or sudo)
// would only be noise on stderr. Every other message goes on as before.
void DropRuntimeDirWarning(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")) &&
        message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    if (g_qtMessages)
        g_qtMessages(type, context, message);
}

} // namespace

extern "C" Q_DECL_EXPORT const ITextMeasurer* TsleSearchFontOpen(QString* why) {
    if (!QCoreApplication::instance()) {
        // Measuring needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        g_qtMessages = qInstallMessageHandler(DropRuntimeDirWarning);
        g_app = std::make_unique<QGuiApplication>(g_argc, g_argv);
    }
    const CSearchFont* font = CSearchFont::Instance();
    if (!font && why)
        *why = CSearchFont::MissingReason();
    return font;
}

extern "C" Q_DECL_EXPORT void TsleSearchFontClose() {
    g_app.reset();
}
