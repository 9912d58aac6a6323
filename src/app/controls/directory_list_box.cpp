#include "app/controls/directory_list_box.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStorageInfo>
#include <QStyle>

#include "app/controls/file_list_box.h"
#include "app/controls/item_height.h"
#include "platform/folder_listing.h"

DirectoryListBox::DirectoryListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetItemHeight(this, 15);
    setIconSize(QSize(13, 13));
}

void DirectoryListBox::SetFileList(FileListBox* fileBox) {
    fileList = fileBox;
    if (fileList && !directory.isEmpty())
        fileList->SetDirectory(directory);
}

bool DirectoryListBox::SetDirectory(const QString& folder) {
    const QString base = directory.isEmpty() ? QDir::currentPath() : directory;
    const QString path = QDir::cleanPath(QDir(base).absoluteFilePath(folder));
    const auto listing = pyx::ListFolder(QFile::encodeName(path).toStdString(), "");
    if (!listing || !QDir::setCurrent(path))
        return false;

    directory = path;
    clear();
    // Open folders down the path, closed ones below it, as in a file manager's tree.
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    addItem(new QListWidgetItem(open, QStringLiteral("/")));
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts)
        addItem(new QListWidgetItem(open, part));
    for (const auto& name : listing->subfolders)
        addItem(new QListWidgetItem(closed, QFile::decodeName(QByteArray::fromStdString(name))));
    setCurrentRow(static_cast<int>(parts.size()));
    scrollToItem(currentItem());

    if (fileList)
        fileList->SetDirectory(directory);
    return true;
}

QString DirectoryListBox::Drive() const {
    return QStorageInfo(directory).rootPath();
}

bool DirectoryListBox::SetDrive(const QString& root) {
    if (Drive() == root)
        return true;
    return SetDirectory(root);
}

int DirectoryListBox::ItemIndex() const {
    const auto rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void DirectoryListBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool onItem =
        event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr;
    QListWidget::mouseReleaseEvent(event);
    if (onItem)
        emit boxClicked();
}

void DirectoryListBox::keyPressEvent(QKeyEvent* event) {
    const int before = ItemIndex();
    QListWidget::keyPressEvent(event);
    if (ItemIndex() != before)
        emit boxClicked();
}
