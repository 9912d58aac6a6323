#pragma once

#include <QListWidget>
#include <QString>

// The file list of the selection page: the regular, non-hidden files of one folder that match
// the mask, in the core's name order (the same rules as the headless checker's listing).
class FileListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit FileListBox(QWidget* parent = nullptr);

    // "*.lzh;*.zip;" and so on; "*.*" lists every file, "" none. Takes effect at the next read.
    void SetMask(const QString& newMask) { mask = newMask; }
    const QString& Mask() const { return mask; }

    // Shows the files of `folder` (an absolute path).
    void SetDirectory(const QString& folder);
    const QString& Directory() const { return directory; }

    // Reads the folder again; the selection is emptied.
    void Update();

    // The selected row, -1 when none is selected.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The selected file's full path, "" when none is selected.
    QString FileName() const;

  signals:
    void dblClick();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QString mask = QStringLiteral("*.*");
    QString directory;
};
