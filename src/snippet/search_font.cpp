#include "snippet/search_font.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QStringList>
#include <mutex>

namespace {

// Where Debian puts the font, then the older package's place.
const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
};
// Families with Arial's widths, to look for among the system's fonts.
const char* const kFamilies[] = {"Liberation Sans", "Arimo", "Arial"};

const CSearchFont* g_font = nullptr;
QString g_missing;

} // namespace

const CSearchFont* CSearchFont::Instance() {
    static std::once_flag once;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return nullptr;
    std::call_once(once, [] {
        // Loaded from its file, so that the same glyphs are measured whatever
        // else the system has installed under that family.
        for (const char* file : kFontFiles) {
            if (!QFile::exists(QString::fromLatin1(file)))
                continue;
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (id >= 0 && !families.isEmpty()) {
                g_font = new CSearchFont(families.front(), QString::fromLatin1(file));
                return;
            }
        }
        const QStringList installed = QFontDatabase::families();
        for (const char* family : kFamilies) {
            if (installed.contains(QString::fromLatin1(family))) {
                g_font = new CSearchFont(QString::fromLatin1(family), {});
                return;
            }
        }
        g_missing = QStringLiteral("the font Liberation Sans is not installed (Debian package "
                                   "fonts-liberation2): widths in pixels cannot be measured");
    });
    return g_font;
}

QString CSearchFont::MissingReason() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QStringLiteral("widths in pixels are measured only with a QGuiApplication");
    Instance();
    return g_missing;
}

QFont CSearchFont::Font(int fontPx) const {
    QFont font(m_family);
    font.setPixelSize(fontPx > 0 ? fontPx : 1);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

double CSearchFont::WidthPx(const QString& text, int fontPx) const {
    if (text.isEmpty())
        return 0;
    return QFontMetricsF(Font(fontPx)).horizontalAdvance(text);
}
