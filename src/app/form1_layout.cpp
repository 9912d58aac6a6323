// Where every control of the form sits, with its caption and hint. Sizes are pixels and are not
// scaled for the screen's density.
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "app/banners.h"
#include "app/controls/check_list_box.h"
#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/controls/file_list_box.h"
#include "app/controls/image_button.h"
#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "app/pictures.h"
#include "app/title.h"

namespace {

ImageButton* MakeButton(QWidget* parent, const QRect& place, const QString& caption, QColor tint,
                        const QString& hint = {}) {
    auto* button = new ImageButton(parent);
    button->setGeometry(place);
    button->SetPicture(ButtonPicture(caption, tint, place.width(), place.height()));
    button->setToolTip(hint);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const QRect& place, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(place);
    return label;
}

QCheckBox* MakeCheck(QWidget* parent, const QRect& place, const QString& caption, bool ticked) {
    auto* check = new QCheckBox(caption, parent);
    check->setGeometry(place);
    check->setChecked(ticked);
    return check;
}

// One kind's group on the settings page: the track bar and the label naming its value.
QGroupBox* MakeModeGroup(QWidget* parent, QPoint at, const QString& caption, TrackBar*& track,
                         QLabel*& mode) {
    auto* group = new QGroupBox(caption, parent);
    group->setGeometry(QRect(at, QSize(110, 66)));
    track = new TrackBar(group);
    track->setGeometry(10, 17, 90, 29);
    mode = MakeLabel(group, QRect(15, 48, 81, 13), QStringLiteral("通常モード"));
    mode->setAlignment(Qt::AlignCenter);
    return group;
}

const QColor kGo(0x2f, 0x9a, 0x4a);
const QColor kQuit(0x4a, 0x6f, 0xa5);
const QColor kStop(0xd2, 0x6a, 0x1e);
const QColor kDanger(0xc0, 0x3b, 0x32);
const QColor kNeutral(0x6b, 0x72, 0x80);

}  // namespace

void TForm1::CreateControls() {
    Panel = new QFrame(this);
    Panel->setGeometry(0, 0, 344, 247);
    Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel->setLineWidth(1);

    TitleBar = new ImageButton(Panel);
    TitleBar->setGeometry(2, 2, 340, 22);
    TitleBar->SetPicture(TitleBarPicture(kTitle));

    PageControl = new QTabWidget(Panel);
    PageControl->setGeometry(2, 25, 340, 220);
    PageControl->setTabPosition(QTabWidget::South);
    Sheet1 = new QWidget;
    Sheet2 = new QWidget;
    Sheet3 = new QWidget;
    Sheet4 = new QWidget;
    PageControl->addTab(Sheet1, QStringLiteral("選択"));
    PageControl->addTab(Sheet2, QStringLiteral("破損"));
    PageControl->addTab(Sheet3, QStringLiteral("設定"));
    PageControl->addTab(Sheet4, QStringLiteral("情報"));

    // Selection page.
    FolderBox = new DirectoryListBox(Sheet1);
    FolderBox->setGeometry(0, 0, 164, 164);
    DriveBox = new DriveComboBox(Sheet1);
    DriveBox->setGeometry(0, 168, 164, 19);
    FileBox = new FileListBox(Sheet1);
    FileBox->setGeometry(168, 0, 164, 164);
    FolderBox->SetFileList(FileBox);
    Start1 = MakeButton(Sheet1, {184, 167, 62, 24}, QStringLiteral("開始"), kGo);
    Start2 = MakeButton(Sheet1, {254, 167, 62, 24}, QStringLiteral("終了"), kQuit);
    Start3 = MakeButton(Sheet1, {254, 167, 62, 24}, QStringLiteral("中断"), kStop);
    Start3->raise();
    Start3->hide();

    // Damaged page.
    CheckBox = new CheckListBox(Sheet2);
    CheckBox->setGeometry(0, 0, 332, 143);
    Label = MakeLabel(Sheet2, {8, 148, 40, 15}, QStringLiteral("移動先"));
    Reference = MakeButton(Sheet2, {52, 146, 46, 18}, QStringLiteral("参照"), kNeutral,
                           QStringLiteral("移動先フォルダの選択"));
    Folder = new QLineEdit(QDir::homePath() + QStringLiteral("/Pyxidane"), Sheet2);
    Folder->setGeometry(104, 148, 225, 15);
    Folder->setReadOnly(true);
    Folder->setFrame(false);
    Folder->setFocusPolicy(Qt::NoFocus);
    Folder->setTextMargins(0, 0, 0, 0);
    Folder->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; padding: 0; }"));
    Erase1 = MakeButton(Sheet2, {66, 167, 62, 24}, QStringLiteral("移動"), kQuit,
                        QStringLiteral("選択ファイルの移動"));
    Erase2 = MakeButton(Sheet2, {130, 167, 62, 24}, QStringLiteral("削除"), kDanger,
                        QStringLiteral("選択ファイルの削除"));
    Erase3 = MakeButton(Sheet2, {200, 167, 62, 24}, QStringLiteral("保存"), kGo,
                        QStringLiteral("選択ファイルをファイルに保存"));
    Erase4 = MakeButton(Sheet2, {264, 167, 62, 24}, QStringLiteral("消去"), kNeutral,
                        QStringLiteral("選択ファイルをリストから消去"));

    // Settings page.
    Group1 = MakeModeGroup(Sheet3, {0, 0}, QStringLiteral("LZH書庫"), Track1, Mode1);
    Group2 = MakeModeGroup(Sheet3, {111, 0}, QStringLiteral("ZIP書庫"), Track2, Mode2);
    Group3 = MakeModeGroup(Sheet3, {222, 0}, QStringLiteral("ARJ書庫"), Track3, Mode3);
    Group4 = MakeModeGroup(Sheet3, {0, 70}, QStringLiteral("CAB書庫"), Track4, Mode4);
    Group5 = MakeModeGroup(Sheet3, {111, 70}, QStringLiteral("RAR書庫"), Track5, Mode5);
    Group6 = new QGroupBox(QStringLiteral("解凍モード"), Sheet3);
    Group6->setGeometry(222, 70, 110, 66);
    Melt1 = MakeCheck(Group6, {8, 14, 97, 17}, QStringLiteral("使用する"), false);
    Melt2 = MakeCheck(Group6, {8, 30, 97, 17}, QStringLiteral("フォルダ作成"), true);
    Melt3 = MakeCheck(Group6, {8, 46, 97, 17}, QStringLiteral("ファイル削除"), false);
    Melt2->setEnabled(false);
    Melt3->setEnabled(false);
    Check5 = MakeCheck(Sheet3, {8, 140, 153, 17}, QStringLiteral("自己解凍書庫のチェック"), false);
    Check6 = MakeCheck(Sheet3, {168, 140, 153, 17}, QStringLiteral("書庫の日付けを変更"), false);
    Check1 = MakeCheck(Sheet3, {8, 158, 153, 17}, QStringLiteral("サブフォルダの検索"), true);
    Check3 = MakeCheck(Sheet3, {168, 158, 153, 17}, QStringLiteral("起動後にチェック開始"), false);
    Check2 = MakeCheck(Sheet3, {8, 174, 153, 17}, QStringLiteral("表示位置を記憶"), true);
    Check4 = MakeCheck(Sheet3, {168, 174, 153, 17}, QStringLiteral("起動後に最小化"), false);

    // Information page.
    Info1 = new QGroupBox(QStringLiteral("Pyxidane情報"), Sheet4);
    Info1->setGeometry(0, 0, 164, 185);
    Version = new QLabel(Info1);
    Version->setGeometry(10, 18, 142, 160);
    Version->setPixmap(AboutPicture(QStringLiteral("Version 0.40")));
    Info2 = new QGroupBox(QStringLiteral("DLL情報"), Sheet4);
    Info2->setGeometry(168, 0, 164, 185);
    Dll1 = MakeLabel(Info2, {20, 20, 140, 15}, QStringLiteral("UNLHA32.DLL : "));
    Dll2 = MakeLabel(Info2, {20, 36, 140, 15}, QStringLiteral("UNZIP32.DLL : "));
    Dll3 = MakeLabel(Info2, {20, 52, 140, 15}, QStringLiteral("UNARJ32J.DLL : "));
    Dll4 = MakeLabel(Info2, {20, 68, 140, 15}, QStringLiteral("CAB32.DLL : "));
    Dll5 = MakeLabel(Info2, {20, 84, 140, 15}, QStringLiteral("UNRAR32.DLL : "));
    Dll6 = MakeLabel(Info2, {20, 100, 140, 15}, QStringLiteral("UNRAR.DLL : "));
    Banner1 = MakeButton(Info2, {40, 116, 88, 31}, {}, {}, kArchiversAddress);
    Banner1->SetPicture(BannerPicture(QStringLiteral("Pyxidane"), QStringLiteral("archivers"),
                                      QColor(0x3c, 0x8d, 0x5a)));
    Banner2 = MakeButton(Info2, {40, 149, 88, 31}, {}, {}, kHomeAddress);
    Banner2->SetPicture(BannerPicture(QStringLiteral("Pyxidane"), QStringLiteral("home page"),
                                      QColor(0x3a, 0x64, 0xa8)));
}
