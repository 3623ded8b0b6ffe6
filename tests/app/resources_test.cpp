// The compiled-in pictures and help pages: present, of the sizes the widgets cut
// them by, and with the help's links all leading somewhere.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>
#include <tuple>

#include "image_strip.h"

class ResourcesTest : public QObject {
    Q_OBJECT

private slots:
    void picturesLoadWithTheirSizes_data();
    void picturesLoadWithTheirSizes();
    void stripsAreCutIntoMaskedImages();
    void iconSvgIsASquareDrawing();
    void helpPagesLoadAndTheirLinksResolve();
};

namespace {

// The mask colour of every strip; widgets take it from the first pixel.
constexpr QRgb kMask = 0xff7f7f7f;

} // namespace

void ResourcesTest::picturesLoadWithTheirSizes_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("strip");
    // Every strip and the close button have a twin of twice the size.
    const std::tuple<const char*, const char*, QSize, bool> pictures[] = {
        {"main toolbar", ":/images/toolbar_main", QSize(192, 15), true},
        {"view toolbar", ":/images/toolbar_view", QSize(96, 15), true},
        {"tabs", ":/images/tabs", QSize(81, 15), true},
        {"file tree", ":/images/file_tree", QSize(176, 15), true},
        {"close button", ":/images/close_button", QSize(18, 18), false},
    };
    for (const auto& [name, path, size, strip] : pictures) {
        QTest::newRow(name) << QString(path) + ".png" << size << strip;
        QTest::newRow(QByteArray(name) + " @2x") << QString(path) + "@2x.png" << size * 2 << strip;
    }
    QTest::newRow("splash") << ":/images/splash.png" << QSize(459, 280) << false;
    QTest::newRow("background") << ":/images/background.png" << QSize(100, 100) << false;
    QTest::newRow("icon") << ":/icons/tsle.png" << QSize(256, 256) << false;
}

void ResourcesTest::picturesLoadWithTheirSizes() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, strip);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    if (strip) {
        // 24-bit images whose transparency is the mask colour alone.
        QVERIFY(!image.hasAlphaChannel());
        QCOMPARE(image.pixel(0, 0), kMask);
    }
}

void ResourcesTest::stripsAreCutIntoMaskedImages() {
    // Three whole images and a part: three icons, masked by the first pixel's
    // colour whatever the picture's format.
    const QColor blue(0, 0, 255);
    QImage strip(3 * STRIP_IMAGE_WIDTH + 5, STRIP_IMAGE_HEIGHT, QImage::Format_RGB888);
    strip.fill(QColor(192, 192, 192));
    QPainter(&strip).fillRect(QRect(STRIP_IMAGE_WIDTH + 4, 2, 8, 8), blue);
    const QList<QIcon> icons = CutImageStrip(strip);
    QCOMPARE(icons.size(), 3);
    const QImage second = icons[1].pixmap(QSize(STRIP_IMAGE_WIDTH, STRIP_IMAGE_HEIGHT)).toImage();
    QCOMPARE(second.size(), QSize(STRIP_IMAGE_WIDTH, STRIP_IMAGE_HEIGHT));
    QCOMPARE(qAlpha(second.pixel(0, 0)), 0);
    QCOMPARE(second.pixelColor(5, 5), blue);

    // Asked for more than the strip holds, or from a missing picture: null
    // icons stand in, never fewer.
    const QList<QIcon> tabs = CutImageStrip(QImage(":/images/tabs.png"), 6); // 81 pixels: 5
    QCOMPARE(tabs.size(), 6);
    QVERIFY(!tabs[0].isNull() && !tabs[4].isNull() && tabs[5].isNull());
    const QList<QIcon> missing = CutImageStrip(QImage(":/no/such/strip.png"), 2);
    QCOMPARE(missing.size(), 2);
    QVERIFY(missing[0].isNull() && missing[1].isNull());
    QVERIFY(CutImageStrip(QImage(":/no/such/strip.png")).isEmpty());
    QCOMPARE(CutImageStrip(QImage(":/images/toolbar_main.png")).size(), 12);

    // Loaded with their twins: the sharp image where the screen has twice the
    // pixels, masked alike, and the same picture at the usual size.
    const QList<QIcon> view = LoadImageStrip(":/images/toolbar_view.png");
    QCOMPARE(view.size(), 6);
    const QSize image(STRIP_IMAGE_WIDTH, STRIP_IMAGE_HEIGHT);
    for (const QIcon& icon : view) {
        const QPixmap sharp = icon.pixmap(image, 2.0);
        QCOMPARE(sharp.size(), image * 2);
        QCOMPARE(sharp.deviceIndependentSize().toSize(), image);
        QCOMPARE(qAlpha(sharp.toImage().pixel(0, 0)), 0);
        QCOMPARE(icon.pixmap(image, 1.0).size(), image);
    }
    QCOMPARE(LoadImageStrip(":/no/such/strip.png", 2).size(), 2);
}

void ResourcesTest::iconSvgIsASquareDrawing() {
    QFile file(":/icons/tsle.svg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QLatin1String("svg"));
    QCOMPARE(xml.attributes().value("viewBox"), QLatin1String("0 0 256 256"));
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    // Where Qt's SVG image plugin is installed, the drawing must also render.
    if (QImageReader::supportedImageFormats().contains("svg"))
        QCOMPARE(QImage(":/icons/tsle.svg").size(), QSize(256, 256));
}

void ResourcesTest::helpPagesLoadAndTheirLinksResolve() {
    const QDir help(":/help");
    const QStringList pages = help.entryList({"*.html"}, QDir::Files);
    QVERIFY(pages.contains("index.html"));
    const QRegularExpression link(R"re(href="([^"#:]*)(#[^"]*)?")re");
    const QRegularExpression anchor(R"re(name="([^"]+)")re");
    QFile indexFile(help.filePath("index.html"));
    QVERIFY(indexFile.open(QIODevice::ReadOnly));
    const QByteArray index = indexFile.readAll();
    for (const QString& page : pages) {
        QFile file(help.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.contains("<title>"), qPrintable(page));
        // Every page but the contents is reachable from the contents.
        if (page != "index.html")
            QVERIFY2(index.contains(("href=\"" + page + "\"").toUtf8()), qPrintable(page));
        for (auto m = link.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            const QString target = match.captured(1).isEmpty() ? page : match.captured(1);
            QFile linked(help.filePath(target));
            QVERIFY2(linked.open(QIODevice::ReadOnly), qPrintable(page + " -> " + target));
            const QString fragment = match.captured(2).mid(1);
            if (fragment.isEmpty())
                continue;
            bool found = false;
            const QString linkedText = QString::fromUtf8(linked.readAll());
            for (auto a = anchor.globalMatch(linkedText); a.hasNext() && !found;)
                found = a.next().captured(1) == fragment;
            QVERIFY2(found, qPrintable(page + " -> " + target + "#" + fragment));
        }
    }
}

QTEST_MAIN(ResourcesTest)
#include "resources_test.moc"
