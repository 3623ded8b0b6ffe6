#include "cli/search_font_loader.h"

#include <QFileInfo>
#include <dlfcn.h>

#include "cli/search_font_module.h"

namespace {

constexpr char kModule[] = "libtsle-search-font.so";

void* g_module = nullptr;
bool g_tried = false;
const ITextMeasurer* g_font = nullptr;
QString g_why;

// Beside the executable (a build tree), then where it is installed.
void* LoadModule(QString& why) {
    const QFileInfo exe(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    const QStringList places = {exe.absolutePath(), QStringLiteral(TSLE_MODULE_DIR)};
    for (const QString& place : places) {
        const QString path = place + QLatin1Char('/') + QLatin1String(kModule);
        if (!QFileInfo::exists(path))
            continue;
        if (void* module = ::dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL))
            return module;
        why = QString::fromLocal8Bit(::dlerror());
        return nullptr;
    }
    why = QStringLiteral("%1 is neither beside tsle-cli nor in %2")
              .arg(QLatin1String(kModule), QStringLiteral(TSLE_MODULE_DIR));
    return nullptr;
}

template <class Function>
Function* Symbol(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(g_module, name));
}

} // namespace

const ITextMeasurer* OpenSearchFont(QString& why) {
    if (!g_tried) {
        g_tried = true;
        QString error;
        g_module = LoadModule(error);
        auto* open =
            g_module ? Symbol<decltype(TsleSearchFontOpen)>("TsleSearchFontOpen") : nullptr;
        if (!open)
            g_why = QStringLiteral("widths in pixels cannot be measured: the search font's module "
                                   "cannot be loaded (%1)")
                        .arg(error.isEmpty() ? QString::fromLocal8Bit(::dlerror()) : error);
        else
            g_font = open(&g_why);
    }
    why = g_why;
    return g_font;
}

void CloseSearchFont() {
    // The module stays loaded: Qt's own plugins that it loaded may still
    // have exit handlers to run.
    if (g_module) {
        if (auto* close = Symbol<decltype(TsleSearchFontClose)>("TsleSearchFontClose"))
            close();
    }
    g_font = nullptr;
}
