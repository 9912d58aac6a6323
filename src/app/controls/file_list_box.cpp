#include "app/controls/file_list_box.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>

#include "app/controls/item_height.h"
#include "platform/folder_listing.h"

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetItemHeight(this, 13);
}

void FileListBox::SetDirectory(const QString& folder) {
    directory = folder;
    Update();
}

void FileListBox::Update() {
    clear();
    if (directory.isEmpty())
        return;
    const auto listing =
        pyx::ListFolder(QFile::encodeName(directory).toStdString(), mask.toStdString());
    if (!listing)
        return;  // an unreadable folder shows no files
    for (const auto& name : listing->files)
        addItem(QFile::decodeName(QByteArray::fromStdString(name)));
}

int FileListBox::ItemIndex() const {
    const auto rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FileListBox::SetItemIndex(int index) {
    if (index < 0 || index >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return;
    }
    setCurrentRow(index);
    scrollToItem(item(index));
}

QString FileListBox::FileName() const {
    const int index = ItemIndex();
    return index < 0 ? QString() : QDir(directory).filePath(item(index)->text());
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        emit dblClick();
}
