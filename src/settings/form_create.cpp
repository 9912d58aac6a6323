#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/form1.h"
#include "app/hint_pause.h"
#include "app/selection_page.h"
#include "app/window_placement.h"
#include "archivers/dll_information_page.h"
#include "settings/mode_settings.h"
#include "settings/settings_glue.h"

namespace {

// A window whose title bar lies entirely off every screen (a monitor was removed since) could
// never be dragged back.
bool TitleBarOnSomeScreen(int x, int y) {
    const QRect titleBar(x + 2, y + 2, 340, 22);
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(titleBar))
            return true;
    }
    return false;
}

}  // namespace

// Every step runs whatever the settings file holds: the reader only ever leaves defaults in place.
void TForm1::FormCreate() {
    // 1. The centred default, and the folder box's own: the folder the program started in.
    const QPoint centre = CentredWindowPosition();
    windowX = centre.x();
    windowY = centre.y();
    if (FolderBox->Directory().isEmpty() && !FolderBox->SetDirectory(QDir::currentPath()))
        FolderBox->SetDirectory(QDir::homePath());
    DriveBox->SetDrive(FolderBox->Drive());

    // 2. The settings file.
    const bool settingsFileFound = ReadSettingsFile();

    // 3. to 6.
    ShowDllInformation();
    ApplyModeSettings();
    SetHintPauseZero();
    lastFolderIndex = FolderBox->ItemIndex();

    // 7. The saved position only when it is to be remembered and can be reached.
    if (!Check2->isChecked() || !settingsFileFound || !TitleBarOnSomeScreen(windowX, windowY)) {
        windowX = centre.x();
        windowY = centre.y();
    }

    // 8. The tray icon, shown only while the window is hidden.
    SetUpTrayIcon();
}
