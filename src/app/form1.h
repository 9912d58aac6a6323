#pragma once

#include <QWidget>

class CheckListBox;
class DriveComboBox;
class FileListBox;
class DirectoryListBox;
class ImageButton;
class QCheckBox;
class QCloseEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QShowEvent;
class QSystemTrayIcon;
class QTabWidget;
class TrackBar;

// The one main form: a frameless 344 × 247 window with a painted title bar over four pages.
// Its constructor makes it the global Form1 before the creation steps run, since those steps
// (ApplyModeSettings and the like) work on Form1.
class TForm1 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Frame.
    QFrame* Panel;
    ImageButton* TitleBar;
    QTabWidget* PageControl;
    QWidget* Sheet1;
    QWidget* Sheet2;
    QWidget* Sheet3;
    QWidget* Sheet4;

    // Selection page.
    DirectoryListBox* FolderBox;
    DriveComboBox* DriveBox;
    FileListBox* FileBox;
    ImageButton* Start1;
    ImageButton* Start2;
    ImageButton* Start3;

    // Damaged page.
    CheckListBox* CheckBox;
    ImageButton* Erase1;
    ImageButton* Erase2;
    ImageButton* Erase3;
    ImageButton* Erase4;
    QLabel* Label;
    ImageButton* Reference;
    QLineEdit* Folder;

    // Settings page.
    QGroupBox* Group1;
    QGroupBox* Group2;
    QGroupBox* Group3;
    QGroupBox* Group4;
    QGroupBox* Group5;
    QGroupBox* Group6;
    TrackBar* Track1;
    TrackBar* Track2;
    TrackBar* Track3;
    TrackBar* Track4;
    TrackBar* Track5;
    QLabel* Mode1;
    QLabel* Mode2;
    QLabel* Mode3;
    QLabel* Mode4;
    QLabel* Mode5;
    QCheckBox* Melt1;
    QCheckBox* Melt2;
    QCheckBox* Melt3;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QCheckBox* Check4;
    QCheckBox* Check5;
    QCheckBox* Check6;

    // Information page.
    QGroupBox* Info1;
    QLabel* Version;
    QGroupBox* Info2;
    QLabel* Dll1;
    QLabel* Dll2;
    QLabel* Dll3;
    QLabel* Dll4;
    QLabel* Dll5;
    QLabel* Dll6;
    ImageButton* Banner1;
    ImageButton* Banner2;

    // Shown only while the window is hidden (or never, where the desktop has no tray).
    QSystemTrayIcon* TrayIcon;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormClose(QCloseEvent* event);
    void TitleBarMouseDown(Qt::MouseButton button, int x, int y);
    void TitleBarMouseMove(int x, int y);
    void TitleBarMouseUp(Qt::MouseButton button, int x, int y);
    void Banner1Click();
    void Banner2Click();
    void FolderBoxClick();
    void DriveBoxChange();
    void Start1Click();
    void FileBoxDblClick();
    void Start2Click();
    void Start3Click();
    void Melt1Click();
    void Check5Click();
    void Track1Change();
    void Track2Change();
    void Track3Change();
    void Track4Change();
    void Track5Change();
    void Erase1Click();
    void Erase2Click();
    void Erase3Click();
    void Erase4Click();
    void ReferenceClick();

    // Adds the tray icon and hides the window; where there is no tray, minimises instead so the
    // window can always come back.
    void HideToTray();
    // Removes the tray icon and shows the window in front.
    void RestoreFromTray();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();  // form1_layout.cpp
    void ConnectHandlers();
    void SetUpTrayIcon();
    bool firstIdleInstalled = false;
};

extern TForm1* Form1;
