#include "shell/ui/file_tree_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "image_strip.h"
#include "settings/app_settings.h"

namespace {

constexpr int IMAGE_ROLE = Qt::UserRole;
constexpr int HEADER_HEIGHT = 20;
constexpr int IMAGE_COUNT = 11;

} // namespace

CFileTreeView::CFileTreeView(const CAppSettings* settings, QWidget* parent)
    : QWidget(parent), m_pSettings(settings),
      m_images(LoadImageStrip(QStringLiteral(":/images/file_tree.png"), IMAGE_COUNT)) {
    setObjectName(QStringLiteral("file_browser"));
    setAccessibleName(QStringLiteral("File browser"));

    // The header: a plain strip with the close button at its right end.
    auto* header = new QWidget(this);
    header->setFixedHeight(HEADER_HEIGHT);
    header->setAutoFillBackground(true);
    header->setBackgroundRole(QPalette::Button);
    m_close = new QToolButton(header);
    m_close->setObjectName(QStringLiteral("IDC_FILE_TREE_CLOSE"));
    m_close->setAccessibleName(QStringLiteral("Close file browser"));
    m_close->setToolTip(QStringLiteral("Close file browser"));
    m_close->setAutoRaise(true);
    m_close->setFixedSize(18, 18);
    const QString closePath = QStringLiteral(":/images/close_button.png");
    const QPixmap closeImage(closePath);
    if (closeImage.isNull()) {
        m_close->setText(QStringLiteral("x"));
    } else {
        // From the file, so that the icon takes its "@2x" twin too.
        m_close->setIcon(QIcon(closePath));
        m_close->setIconSize(closeImage.deviceIndependentSize().toSize());
    }
    connect(m_close, &QToolButton::clicked, this, &CFileTreeView::closeRequested);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 1, 2, 1);
    headerRow->addStretch(1);
    headerRow->addWidget(m_close);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("IDC_FILE_TREE"));
    m_tree->setAccessibleName(QStringLiteral("Project files"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setIconSize(QSize(STRIP_IMAGE_WIDTH, STRIP_IMAGE_HEIGHT));
    // The root shows no expand button: it cannot collapse.
    m_tree->setRootIsDecorated(false);
    m_tree->setUniformRowHeights(true);
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &CFileTreeView::OnExpanded);
    connect(m_tree, &QTreeWidget::itemCollapsed, this, &CFileTreeView::OnCollapsed);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OpenItem(current); });
    // A double click or Enter opens the selected file again, for instance
    // after the question about unsaved changes was cancelled.
    connect(m_tree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { OpenItem(item); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(m_tree, 1);
    setFocusProxy(m_tree);
}

void CFileTreeView::RefreshRoot(const QString& projectDir) {
    if (m_model.RefreshRoot(projectDir))
        Populate(nullptr);
}

QString CFileTreeView::ItemPath(const QTreeWidgetItem* item) {
    QStringList texts;
    for (; item; item = item->parent())
        texts.prepend(item->text(0));
    return CFileTreeModel::ItemPath(texts);
}

int CFileTreeView::ItemImage(const QTreeWidgetItem* item) {
    const QVariant image = item ? item->data(0, IMAGE_ROLE) : QVariant();
    return image.isValid() ? image.toInt() : -1;
}

QTreeWidgetItem* CFileTreeView::AddItem(QTreeWidgetItem* parent, const QString& text, int image) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
    item->setText(0, text);
    if (image >= 0)
        SetImage(item, image);
    return item;
}

void CFileTreeView::SetImage(QTreeWidgetItem* item, int image) {
    item->setData(0, IMAGE_ROLE, image);
    item->setIcon(0, m_images.value(image));
}

void CFileTreeView::Populate(QTreeWidgetItem* folder) {
    if (!folder) {
        m_tree->clear();
        QTreeWidgetItem* root = AddItem(nullptr, m_model.GetRoot(), FILE_TREE_IMAGE_ROOT);
        Populate(root);
        root->setExpanded(true);
        return;
    }
    const std::string_view types =
        m_pSettings ? std::string_view(m_pSettings->m_strFileTypes) : DEFAULT_FILE_TYPES;
    for (const CFileTreeEntry& entry : CFileTreeModel::ListFolder(ItemPath(folder), types)) {
        QTreeWidgetItem* item = AddItem(folder, entry.strName, entry.nImage);
        if (entry.nImage == FILE_TREE_IMAGE_FOLDER)
            AddItem(item, QString::fromLatin1(FILE_TREE_PLACEHOLDER), -1);
    }
}

void CFileTreeView::OnExpanded(QTreeWidgetItem* item) {
    QTreeWidgetItem* first = item->child(0);
    const CFileTreeToggle toggle = CFileTreeModel::Toggle(true, ItemImage(item), !item->parent(),
                                                          first ? first->text(0) : QString());
    SetImage(item, toggle.nImage);
    if (toggle.bPopulate) {
        delete first;
        Populate(item);
    }
}

void CFileTreeView::OnCollapsed(QTreeWidgetItem* item) {
    QTreeWidgetItem* first = item->child(0);
    const CFileTreeToggle toggle = CFileTreeModel::Toggle(false, ItemImage(item), !item->parent(),
                                                          first ? first->text(0) : QString());
    if (toggle.bCancel) {
        item->setExpanded(true);
        return;
    }
    SetImage(item, toggle.nImage);
}

void CFileTreeView::OpenItem(QTreeWidgetItem* item) {
    if (ItemImage(item) != FILE_TREE_IMAGE_FILE)
        return;
    // After the tree's own handling of the click or key: opening may ask a
    // question in a dialog of its own.
    const QString path = ItemPath(item);
    QTimer::singleShot(0, this, [this, path] { emit openRequested(path); });
}
