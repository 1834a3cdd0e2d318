#include "FolderList.h"

#include "ReplacePaths.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QTimer>

namespace kestrin {

namespace {
constexpr int PathRole = Qt::UserRole + 1;
}

FolderList::FolderList(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(10);
    // A folder list opens folders on double-click; the tree's expand arrows would suggest otherwise.
    setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    // Opening rebuilds the items, so it runs after the view has finished with the click.
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item, int) {
        const QString folder = item->data(0, PathRole).toString();
        QTimer::singleShot(0, this, [this, folder] { openFolder(folder); });
    });
}

bool FolderList::setPath(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QFileInfo info(clean);
    if (!info.isDir() || !info.isReadable() || !QDir(clean).isReadable())
        return false;
    const bool changed = clean != m_path;
    m_path = clean;
    refresh();
    if (changed)
        Q_EMIT pathChanged(m_path);
    return true;
}

void FolderList::refresh()
{
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem *parentItem = nullptr;
    QTreeWidgetItem *current = nullptr;
    for (const QString &folder : folderChain(m_path)) {
        auto *item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setText(0, folderDisplayName(folder));
        item->setIcon(0, open);
        item->setData(0, PathRole, folder);
        parentItem = item;
        current = item;
    }
    if (current) {
        for (const QString &name : subfolderNames(m_path)) {
            auto *item = new QTreeWidgetItem(current);
            item->setText(0, name);
            item->setIcon(0, closed);
            item->setData(0, PathRole, listEntry(m_path, name));
        }
        expandAll();
        setCurrentItem(current);
        scrollToItem(current);
    }
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        openFolder(currentItem()->data(0, PathRole).toString());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FolderList::openFolder(const QString &folder)
{
    if (!setPath(folder))
        Q_EMIT openFailed(folder);
}

} // namespace kestrin
