#include "app/controls/check_list_box.h"

#include <QScrollBar>

#include "app/controls/item_height.h"

CheckListBox::CheckListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetItemHeight(this, 14);
}

void CheckListBox::InsertEntry(int row, const QString& text) {
    auto* entry = new QListWidgetItem(text);
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Unchecked);
    insertItem(row, entry);
}

bool CheckListBox::IsChecked(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry && entry->checkState() == Qt::Checked;
}

void CheckListBox::SetChecked(int row, bool checked) {
    if (QListWidgetItem* entry = item(row))
        entry->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void CheckListBox::SetHorizontalExtent(int extent) {
    horizontalExtent = extent;
    ApplyExtent();
}

void CheckListBox::updateGeometries() {
    QListWidget::updateGeometries();  // sets a range measured from the entries; ours wins
    ApplyExtent();
}

// The bar is shown exactly when the extent does not fit; left to itself, the view would keep a
// bar it once needed for its own measure of the entries.
void CheckListBox::ApplyExtent() {
    const int range = std::max(0, horizontalExtent - viewport()->width());
    horizontalScrollBar()->setRange(0, range);
    const auto policy = range > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);
}
