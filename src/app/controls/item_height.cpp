#include "app/controls/item_height.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>

namespace {

class FixedHeightDelegate : public QStyledItemDelegate {
  public:
    FixedHeightDelegate(int height, QObject* parent)
        : QStyledItemDelegate(parent), rowHeight(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight};
    }

  private:
    int rowHeight;
};

}  // namespace

void SetItemHeight(QAbstractItemView* view, int height) {
    view->setItemDelegate(new FixedHeightDelegate(height, view));
}
