#pragma once

#include <QListWidget>

// A list whose every entry carries a check mark. Its horizontal scroll range is set from outside,
// as a pixel extent of the contents, not measured from the entries.
class CheckListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit CheckListBox(QWidget* parent = nullptr);

    // Adds an unticked entry at `row`.
    void InsertEntry(int row, const QString& text);
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);

    // The contents are `extent` pixels wide: the scroll range becomes extent − viewport width,
    // none when the extent fits.
    void SetHorizontalExtent(int extent);
    int HorizontalExtent() const { return horizontalExtent; }

  protected:
    void updateGeometries() override;

  private:
    void ApplyExtent();
    int horizontalExtent = 0;
};
