#pragma once

#include <QListWidget>
#include <QString>

class FileListBox;

// The folder list of the selection page. Item 0 is the root "/", items 1 to n the names down to
// the open folder (n is its depth, and its item is the selected one), then the open folder's
// subfolders in the core's name order, hidden ones left out. Opening a folder makes it the
// process's current directory and refills the linked file list.
class DirectoryListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit DirectoryListBox(QWidget* parent = nullptr);

    // The file list that follows every folder this box opens.
    void SetFileList(FileListBox* fileBox);

    const QString& Directory() const { return directory; }
    // Opens a folder. A relative text ("name", "../name", "..") is taken from the folder shown.
    // False, with nothing changed, when the folder cannot be listed or entered.
    bool SetDirectory(const QString& folder);

    // The root path of the volume that holds the open folder.
    QString Drive() const;
    // Opens the root of another volume; nothing happens when the open folder already lies on it.
    bool SetDrive(const QString& root);

    // The selected row, -1 when none is selected.
    int ItemIndex() const;

  signals:
    // Every mouse click on an item, also on the selected one, and every selection change made
    // with the keyboard.
    void boxClicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString directory;
    FileListBox* fileList = nullptr;
};
