// The meters' widths against a browser's: 200 titles and descriptions
// (Latin, accented, CJK, emoji) measured by the search font and by Qt
// WebEngine's canvas in the same font file, at the sizes results use. They
// must agree within 1 px per 100 px; the worst cases are printed.
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "snippet/search_font.h"

class SearchFontBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void widthsAgreeWithTheBrowsersCanvas();
};

namespace {

struct Sample {
    QString text;
    int fontPx;
};

// Titles at 20 px and descriptions at 14 px, made of the words of four
// scripts; CJK without spaces, and the other scripts among Latin words, as
// they stand in real titles.
std::vector<Sample> Samples() {
    const QStringList latin = {"Riverside", "allotments", "plots",   "and",   "the",
                               "Summer",    "Show",       "waiting", "list",  "open",
                               "to",        "everyone",   "Tea,",    "WAVE",  "AVATAR",
                               "Type",      "fjord",      "office",  "1,250", "(new)"};
    const QStringList accented = {"Café",     "crème",      "brûlée", "Straße", "Übergröße",
                                  "Łódź",     "żółć",       "Tiếng",  "Việt",   "naïve",
                                  "façade",   "Ærøskøbing", "Señor",  "niño",   "Ångström",
                                  "İstanbul", "Dvořák"};
    const QStringList cjk = {"市民農園", "の",   "夏祭り", "开放日", "蔬菜",     "展览",
                             "한국어",   "텃밭", "축제",   "東京",   "ガーデン", "案内"};
    const QStringList emoji = {"🌱", "🥕", "🍅", "🌻", "☕", "🏡", "👩‍🌾", "🇫🇷", "✨", "🐝"};
    const QStringList* scripts[] = {&latin, &accented, &cjk, &emoji};
    QRandomGenerator random(20261208);
    std::vector<Sample> samples;
    for (int i = 0; i < 200; ++i) {
        const int script = i % 4;
        const bool title = (i / 4) % 2 == 0;
        const int count = title ? 4 + int(random.bounded(6)) : 12 + int(random.bounded(20));
        QString text;
        for (int w = 0; w < count; ++w) {
            const QStringList& pool = (script != 0 && w % 3 == 2) ? latin : *scripts[script];
            if (!text.isEmpty() && !(script == 2 && &pool == &cjk))
                text += QLatin1Char(' ');
            text += pool[int(random.bounded(pool.size()))];
        }
        samples.push_back({text, title ? 20 : 14});
    }
    return samples;
}

QString JsString(const QString& text) {
    return QString::fromUtf8(
        QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).chopped(1).mid(1));
}

} // namespace

void SearchFontBrowserTest::widthsAgreeWithTheBrowsersCanvas() {
    const CSearchFont* font = CSearchFont::Instance();
    if (!font)
        QSKIP(qPrintable(CSearchFont::MissingReason()));
    if (font->FileName().isEmpty())
        QSKIP("the search font is the system's, not a file the browser can load");

    // The same file under a name of its own, so that the browser uses it and
    // not a system font of the same family.
    const QString page =
        QStringLiteral("<!DOCTYPE html><html><head><style>@font-face{font-family:\"SearchFace\";"
                       "src:url(\"%1\");}body{font-family:\"SearchFace\"}</style></head>"
                       "<body>SearchFace</body></html>")
            .arg(QUrl::fromLocalFile(font->FileName()).toString());
    QWebEnginePage web;
    QEventLoop loop;
    bool loaded = false;
    connect(&web, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
        loaded = ok;
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    web.setHtml(page, QUrl::fromLocalFile(QStringLiteral("/")));
    loop.exec();
    QVERIFY2(loaded, "the measuring page did not load");

    const std::vector<Sample> samples = Samples();
    QString script = QStringLiteral("(async()=>{await document.fonts.load('20px SearchFace');"
                                    "const c=document.createElement('canvas').getContext('2d');"
                                    "const r=[];");
    for (const Sample& sample : samples)
        script += QStringLiteral("c.font='%1px SearchFace';r.push(c.measureText(%2).width);")
                      .arg(sample.fontPx)
                      .arg(JsString(sample.text));
    script += QStringLiteral("window.__widths=r;})();");
    web.runJavaScript(script);
    QVariantList widths;
    for (int tries = 0; tries < 200 && widths.isEmpty(); ++tries) {
        QTest::qWait(50);
        web.runJavaScript(QStringLiteral("window.__widths||null"),
                          [&](const QVariant& result) { widths = result.toList(); });
        QTest::qWait(20);
    }
    QCOMPARE(widths.size(), int(samples.size()));

    struct Miss {
        double perHundred;
        double ours, browser;
        const Sample* sample;
    };
    std::vector<Miss> misses;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double ours = font->WidthPx(samples[i].text, samples[i].fontPx);
        const double browser = widths[int(i)].toDouble();
        misses.push_back({std::abs(ours - browser) * 100.0 / std::max(browser, 1.0), ours, browser,
                          &samples[i]});
    }
    std::sort(misses.begin(), misses.end(),
              [](const Miss& a, const Miss& b) { return a.perHundred > b.perHundred; });
    for (size_t i = 0; i < 5; ++i)
        qInfo("worst %zu: %.2f px per 100 px (ours %.1f px, browser %.1f px, %d px): %s", i + 1,
              misses[i].perHundred, misses[i].ours, misses[i].browser, misses[i].sample->fontPx,
              qPrintable(misses[i].sample->text));
    int outside = 0;
    for (const Miss& miss : misses)
        outside += miss.perHundred > 1.0 ? 1 : 0;
    QVERIFY2(outside == 0, qPrintable(QStringLiteral("%1 of %2 texts differ by more than 1 px "
                                                     "per 100 px")
                                          .arg(outside)
                                          .arg(samples.size())));
}

QTEST_MAIN(SearchFontBrowserTest)
#include "search_font_browser_test.moc"
