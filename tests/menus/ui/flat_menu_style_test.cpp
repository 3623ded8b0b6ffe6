// The flat menus and toolbars on screen: an open menu, its bar item, a hot
// toolbar button, the measurements, and the mnemonic keys.
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "image_strip.h"
#include "menus/menu_item_data.h"
#include "menus/menu_shadow.h"
#include "menus/ui/flat_menu_style.h"
#include "menus/ui/flat_paint.h"
#include "menus/ui/flat_style_install.h"
#include "settings/memory_profile.h"

class FlatMenuStyleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void openMenuIsPaintedFlatAndJoinedToItsBarItem();
    void selectedAndDisabledImages();
    void itemsMeasureByTheirWidestTexts();
    void hotToolButtonIsLiftedOnALighterBar();
    void typedMnemonicRunsTheFirstItemWithIt();
};

namespace {

// Start of the menu band; few enough colour steps to the white end that
// every step is at least a pixel wide over 30 pixels.
constexpr CRgb BAND_START{230, 235, 245};
const QColor RED(255, 0, 0);
const QColor GREEN(0, 160, 0);
const QColor BLUE(0, 0, 255);

QIcon SolidIcon(const QColor& color) {
    QPixmap pixmap(STRIP_IMAGE_WIDTH, STRIP_IMAGE_HEIGHT);
    pixmap.fill(color);
    return QIcon(pixmap);
}

struct Window {
    QMainWindow window;
    QMenu* file = nullptr;
    QAction* newPage = nullptr;
    QAction* open = nullptr;
    QAction* saveAs = nullptr;
    QAction* separator = nullptr;
    QAction* toolbarShown = nullptr;
    QAction* metaData = nullptr;
    QAction* disabled = nullptr;
    QAction* options = nullptr;
    QToolBar* toolbar = nullptr;
    QAction* toolSeparator = nullptr;
    QAction* toolDisabled = nullptr;
    QAction* toolChecked = nullptr;

    Window() {
        file = window.menuBar()->addMenu("&File");
        newPage = file->addAction(SolidIcon(RED), "&New\tCtrl+N");
        open = file->addAction(SolidIcon(GREEN), "&Open...\tCtrl+O");
        saveAs = file->addAction("Save &As...");
        separator = file->addSeparator();
        toolbarShown = file->addAction("&Toolbar");
        toolbarShown->setCheckable(true);
        toolbarShown->setChecked(true);
        auto* views = new QActionGroup(&window);
        metaData = views->addAction("&Meta-data\tAlt+M");
        metaData->setCheckable(true);
        metaData->setChecked(true);
        file->addAction(metaData);
        QAction* webPage = views->addAction("&Web page\tAlt+W");
        webPage->setCheckable(true);
        file->addAction(webPage);
        disabled = file->addAction(SolidIcon(BLUE), "&Disabled");
        disabled->setEnabled(false);
        file->addSeparator();
        options = file->addAction("&Options");
        file->setDefaultAction(options);
        file->addAction("A&&B");
        window.menuBar()->addMenu("&Help")->addAction("&About");

        toolbar = window.addToolBar("Main");
        toolbar->addAction(newPage);
        toolbar->addAction(open);
        toolSeparator = toolbar->addSeparator();
        toolDisabled = toolbar->addAction(SolidIcon(BLUE), "Disabled");
        toolDisabled->setEnabled(false);
        toolChecked = toolbar->addAction(SolidIcon(GREEN), "Checked");
        toolChecked->setCheckable(true);
        toolChecked->setChecked(true);
        window.setCentralWidget(new QWidget);
        window.setGeometry(0, 0, 800, 600);
    }
};

std::unique_ptr<Window> g_window;
CMenuPalette g_palette;

QColor Pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}
QColor Adjusted(CRgb color, int lightness, int saturation) {
    return ToQColor(AdjustColorHLS(color, lightness, saturation));
}

QImage OpenFileMenu() {
    QMenuBar* bar = g_window->window.menuBar();
    bar->setActiveAction(g_window->file->menuAction());
    if (!QTest::qWaitForWindowExposed(g_window->file))
        return QImage();
    return g_window->file->grab().toImage();
}

} // namespace

void FlatMenuStyleTest::initTestCase() {
    QCOMPARE(CFlatMenuStyle::DetectShadowMode(), CFlatMenuStyle::ShadowMode::Painted);
    g_window = std::make_unique<Window>();
    CMemoryProfile profile;
    profile.WriteProfileInt("MenuXP", "GradientStart", ColorRefFromRgb(BAND_START));
    CFlatMenuStyle* style = InstallFlatStyle(&g_window->window, profile);
    QCOMPARE(QApplication::style(), style);
    // Read once: installing again keeps the style and what it read.
    CMemoryProfile other;
    QCOMPARE(InstallFlatStyle(&g_window->window, other), style);
    QCOMPARE(style->Settings().m_nGradientStart, ColorRefFromRgb(BAND_START));

    g_window->window.show();
    QVERIFY(QTest::qWaitForWindowActive(&g_window->window));
    g_palette = MenuPaletteFrom(g_window->window.palette());
}

void FlatMenuStyleTest::cleanupTestCase() {
    g_window.reset();
}

void FlatMenuStyleTest::cleanup() {
    for (QMenu* menu : g_window->window.menuBar()->findChildren<QMenu*>())
        menu->hide();
    QTRY_VERIFY(!g_window->file->isVisible());
}

void FlatMenuStyleTest::openMenuIsPaintedFlatAndJoinedToItsBarItem() {
    const QImage menu = OpenFileMenu();
    QVERIFY(!menu.isNull());
    QMenuBar* bar = g_window->window.menuBar();
    QMenu* file = g_window->file;
    const QColor white(255, 255, 255);

    // The menu covers the bottom edge of its bar item.
    const QRect item = bar->actionGeometry(file->menuAction());
    QCOMPARE(file->geometry().top(), bar->mapToGlobal(item.bottomLeft()).y());
    QCOMPARE(file->geometry().left(), bar->mapToGlobal(item.bottomLeft()).x());

    // The bar item: framed in the dark-shadow colour, face +20 %, its strip
    // on the right shaded.
    const QImage barImage = bar->grab().toImage();
    const int middle = item.top() + item.height() / 2;
    QCOMPARE(Pixel(barImage, item.left(), middle), ToQColor(g_palette.darkShadow));
    QCOMPARE(Pixel(barImage, item.left() + 1, item.top() + 1), Adjusted(g_palette.face, 20, 0));
    QCOMPARE(Pixel(barImage, item.right(), middle), ToQColor(ShadowDarken(g_palette.face, 0)));
    QCOMPARE(Pixel(barImage, item.right() - 3, middle), ToQColor(ShadowDarken(g_palette.face, 3)));

    // The frame: an outline and two lighter ones; its top edge under the bar
    // item in the item's colour.
    const int w = menu.width();
    const int h = menu.height();
    QCOMPARE(Pixel(menu, 0, h / 2), ToQColor(g_palette.darkShadow));
    QCOMPARE(Pixel(menu, 1, h / 2), Adjusted(g_palette.face, 75, 0));
    QCOMPARE(Pixel(menu, 2, h / 2), Adjusted(g_palette.face, 75, 0));
    QCOMPARE(Pixel(menu, 0, 0), ToQColor(g_palette.darkShadow));
    QCOMPARE(Pixel(menu, 1, 0), Adjusted(g_palette.face, 20, 0));
    QCOMPARE(Pixel(menu, item.width() - SHADOW_SIZE, 0), ToQColor(g_palette.darkShadow));

    // The shadow darkens what lies behind the menu; its corners show it as is.
    const QImage behind = g_window->window.grab().toImage();
    const auto under = [&](int x, int y) {
        const QPoint at = g_window->window.mapFromGlobal(file->mapToGlobal(QPoint(x, y)));
        return ToRgb(behind.pixelColor(at));
    };
    QCOMPARE(Pixel(menu, w - 4, h / 2), ToQColor(ShadowDarken(under(w - 4, h / 2), 3)));
    QCOMPARE(Pixel(menu, w - 1, h / 2), ToQColor(ShadowDarken(under(w - 1, h / 2), 0)));
    QCOMPARE(Pixel(menu, w / 2, h - 1), ToQColor(ShadowDarken(under(w / 2, h - 1), 0)));
    QCOMPARE(Pixel(menu, w - 1, 1), ToQColor(under(w - 1, 1)));
    QCOMPARE(Pixel(menu, 1, h - 1), ToQColor(under(1, h - 1)));

    // An unselected item: the band starts with GradientStart at the item's
    // left edge and ends in white 30 pixels on.
    const QRect plain = file->actionGeometry(g_window->saveAs);
    QCOMPARE(plain.left(), 3);
    QCOMPARE(Pixel(menu, plain.left(), plain.top() + 1), ToQColor(BAND_START));
    QVERIFY(Pixel(menu, plain.left() + 29, plain.top() + 1) != ToQColor(BAND_START));
    QVERIFY(Pixel(menu, plain.left() + 29, plain.top() + 1) != white);
    QCOMPARE(Pixel(menu, plain.left() + 30, plain.top() + 1), white);
    QCOMPARE(Pixel(menu, plain.right(), plain.top() + 1), white);

    // A separator: a line in face -18 % from 30 pixels in to one short of the edge.
    const QRect sep = file->actionGeometry(g_window->separator);
    const int y = sep.top() + sep.height() / 2;
    const QColor line = Adjusted(g_palette.face, -18, 0);
    QVERIFY(Pixel(menu, sep.left() + 29, y) != line);
    QCOMPARE(Pixel(menu, sep.left() + 30, y), line);
    QCOMPARE(Pixel(menu, sep.right() - 1, y), line);
    QCOMPARE(Pixel(menu, sep.right(), y), white);

    // Checked items: a framed pale box, a check mark or a radio dot inside.
    for (QAction* action : {g_window->toolbarShown, g_window->metaData}) {
        const QRect box = file->actionGeometry(action);
        QCOMPARE(Pixel(menu, box.left() + 1, box.top() + 1), ToQColor(g_palette.highlight));
        QCOMPARE(Pixel(menu, box.left() + 2, box.top() + 2),
                 Adjusted(g_palette.highlight, 70, -57));
        QCOMPARE(Pixel(menu, box.left() + 10, box.top() + box.height() / 2),
                 ToQColor(g_palette.menuText));
    }
}

void FlatMenuStyleTest::selectedAndDisabledImages() {
    QVERIFY(!OpenFileMenu().isNull());
    QMenu* file = g_window->file;
    file->setActiveAction(g_window->newPage);
    const QImage menu = file->grab().toImage();
    const QRect item = file->actionGeometry(g_window->newPage);
    const int dy = std::max(0, (item.height() - MENU_IMAGE_SIZE - 4) / 2);
    // Framed in the selection colour over a gradient from GradientStart.
    QCOMPARE(Pixel(menu, item.left(), item.top() + item.height() / 2),
             ToQColor(g_palette.highlight));
    QCOMPARE(Pixel(menu, item.left() + 1, item.top() + 1), ToQColor(BAND_START));
    // The image lifted two pixels up and left of its silhouette.
    QCOMPARE(Pixel(menu, item.left() + 2, item.top() + 2 + dy), RED);
    QCOMPARE(Pixel(menu, item.left() + 19, item.top() + 18 + dy),
             Adjusted(g_palette.highlight, 50, -66));

    // A disabled image: only its silhouette, in face -27 %.
    const QRect off = file->actionGeometry(g_window->disabled);
    const int offDy = std::max(0, (off.height() - MENU_IMAGE_SIZE - 4) / 2);
    QCOMPARE(Pixel(menu, off.left() + 3, off.top() + 3 + offDy), Adjusted(g_palette.face, -27, 0));
    QVERIFY(Pixel(menu, off.left() + 2, off.top() + 2 + offDy) != BLUE);
}

void FlatMenuStyleTest::itemsMeasureByTheirWidestTexts() {
    QMenu* file = g_window->file;
    QVERIFY(!OpenFileMenu().isNull());
    const QFontMetrics metrics = file->fontMetrics();
    int widestLabel = 0;
    int widestAccel = 0;
    for (QAction* action : file->actions()) {
        if (action->isSeparator())
            continue;
        QFont font = file->font();
        font.setBold(action == file->defaultAction());
        const QStringList parts = action->text().split('\t');
        widestLabel =
            std::max(widestLabel, QFontMetrics(font).size(Qt::TextShowMnemonic, parts[0]).width());
        if (parts.size() > 1)
            widestAccel = std::max(widestAccel, metrics.horizontalAdvance(parts[1]));
    }
    const QRect item = file->actionGeometry(g_window->saveAs);
    QCOMPARE(item.width(), widestLabel + widestAccel + 42 + MENU_LABEL_ACCEL_GAP);
    QCOMPARE(item.height(), std::max(metrics.height() + 2, 16) + 4);
    QCOMPARE(file->actionGeometry(g_window->separator).height(), metrics.height() / 2 + 2);
    // Three frame pixels on both sides, and the shadow.
    QCOMPARE(file->width(), 3 + item.width() + 3 + SHADOW_SIZE);
}

void FlatMenuStyleTest::hotToolButtonIsLiftedOnALighterBar() {
    QToolBar* toolbar = g_window->toolbar;
    auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(g_window->newPage));
    QVERIFY(button);
    QCOMPARE(button->size(), QSize(STRIP_IMAGE_WIDTH + 7, STRIP_IMAGE_HEIGHT + 7));
    // Borders: 3 above the buttons, 4 below.
    QCOMPARE(button->y(), 3);
    QCOMPARE(toolbar->height(), 3 + button->height() + 4);
    QTest::mouseMove(button, QPoint(5, 5));
    QTRY_VERIFY(button->underMouse());
    const QImage bar = toolbar->grab().toImage();

    const QColor background = Pixel(bar, toolbar->width() - 2, 1);
    QCOMPARE(background, Adjusted(g_palette.face, 20, 0));
    QVERIFY(background.lightness() > ToQColor(g_palette.face).lightness());

    const QRect hot = button->geometry();
    QCOMPARE(Pixel(bar, hot.left(), hot.top() + 10), ToQColor(g_palette.highlight));
    QCOMPARE(Pixel(bar, hot.left() + 1, hot.bottom() - 1), Adjusted(g_palette.highlight, 70, -57));
    QCOMPARE(Pixel(bar, hot.left() + 2, hot.top() + 2), RED);
    QCOMPARE(Pixel(bar, hot.left() + 19, hot.top() + 18), Adjusted(g_palette.highlight, 50, -66));

    const QRect disabled = toolbar->widgetForAction(g_window->toolDisabled)->geometry();
    QCOMPARE(Pixel(bar, disabled.left() + 3, disabled.top() + 3), Adjusted(g_palette.face, -27, 0));
    QCOMPARE(Pixel(bar, disabled.left() + 2, disabled.top() + 2), background);

    const QRect checked = toolbar->widgetForAction(g_window->toolChecked)->geometry();
    QCOMPARE(Pixel(bar, checked.left(), checked.top() + 10), ToQColor(g_palette.highlight));
    QCOMPARE(Pixel(bar, checked.left() + 1, checked.top() + 1),
             Adjusted(g_palette.highlight, 80, -66));
    QCOMPARE(Pixel(bar, checked.left() + 3, checked.top() + 3), GREEN);

    const QRect separator = toolbar->actionGeometry(g_window->toolSeparator);
    const QColor line = Adjusted(g_palette.face, -15, 0);
    const int x = separator.left() + separator.width() / 2 - 1;
    QCOMPARE(Pixel(bar, x, separator.top() + separator.height() / 2), line);
    QCOMPARE(Pixel(bar, x + 1, separator.top() + separator.height() / 2), background);
}

void FlatMenuStyleTest::typedMnemonicRunsTheFirstItemWithIt() {
    QMenu* file = g_window->file;
    QSignalSpy opened(g_window->open, &QAction::triggered);
    QSignalSpy optioned(g_window->options, &QAction::triggered);
    QVERIFY(!OpenFileMenu().isNull());
    // "&Open..." and "&Options" share the key: the first one runs at once.
    QTest::keyClick(file, Qt::Key_O);
    QCOMPARE(opened.count(), 1);
    QCOMPARE(optioned.count(), 0);
    QTRY_VERIFY(!file->isVisible());

    // After an escaped ampersand a letter is no mnemonic.
    QVERIFY(!OpenFileMenu().isNull());
    QTest::keyClick(file, Qt::Key_B);
    QVERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_A);
    QTRY_VERIFY(!file->isVisible());
}

QTEST_MAIN(FlatMenuStyleTest)
#include "flat_menu_style_test.moc"
