#include "app/form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QShowEvent>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/controls/file_list_box.h"
#include "app/controls/image_button.h"
#include "app/controls/track_bar.h"
#include "app/pictures.h"
#include "app/startup_actions.h"
#include "app/title.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    Form1 = this;
    setWindowTitle(kTitle);
    setWindowIcon(AppIcon());
    setFixedSize(344, 247);
    QFont face;
    face.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    face.setPixelSize(13);
    setFont(face);

    CreateControls();
    FormCreate();
    ConnectHandlers();
}

TForm1::~TForm1() {
    if (Form1 == this)
        Form1 = nullptr;
}

// Handlers are connected after the creation steps, which set the controls without them.
void TForm1::ConnectHandlers() {
    connect(TitleBar, &ImageButton::mousePressed, this, &TForm1::TitleBarMouseDown);
    connect(TitleBar, &ImageButton::mouseMoved, this, &TForm1::TitleBarMouseMove);
    connect(TitleBar, &ImageButton::mouseReleased, this, &TForm1::TitleBarMouseUp);
    connect(Banner1, &ImageButton::clicked, this, &TForm1::Banner1Click);
    connect(Banner2, &ImageButton::clicked, this, &TForm1::Banner2Click);
    connect(FolderBox, &DirectoryListBox::boxClicked, this, &TForm1::FolderBoxClick);
    connect(DriveBox, &DriveComboBox::changed, this, &TForm1::DriveBoxChange);
    connect(Start1, &ImageButton::clicked, this, &TForm1::Start1Click);
    connect(FileBox, &FileListBox::dblClick, this, &TForm1::FileBoxDblClick);
    connect(Start2, &ImageButton::clicked, this, &TForm1::Start2Click);
    connect(Start3, &ImageButton::clicked, this, &TForm1::Start3Click);
    connect(Melt1, &QCheckBox::toggled, this, &TForm1::Melt1Click);
    connect(Check5, &QCheckBox::toggled, this, &TForm1::Check5Click);
    connect(Track1, &TrackBar::valueChanged, this, &TForm1::Track1Change);
    connect(Track2, &TrackBar::valueChanged, this, &TForm1::Track2Change);
    connect(Track3, &TrackBar::valueChanged, this, &TForm1::Track3Change);
    connect(Track4, &TrackBar::valueChanged, this, &TForm1::Track4Change);
    connect(Track5, &TrackBar::valueChanged, this, &TForm1::Track5Change);
    connect(Erase1, &ImageButton::clicked, this, &TForm1::Erase1Click);
    connect(Erase2, &ImageButton::clicked, this, &TForm1::Erase2Click);
    connect(Erase3, &ImageButton::clicked, this, &TForm1::Erase3Click);
    connect(Erase4, &ImageButton::clicked, this, &TForm1::Erase4Click);
    connect(Reference, &ImageButton::clicked, this, &TForm1::ReferenceClick);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    FormShow();
    // The first idle moment after the first showing.
    if (!firstIdleInstalled) {
        firstIdleInstalled = true;
        QTimer::singleShot(0, this, [] { AppFirstIdle(QCoreApplication::arguments().mid(1)); });
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose(event);
}
