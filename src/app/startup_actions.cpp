#include "app/startup_actions.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>

#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/form1.h"
#include "app/selection_page.h"
#include "check/check_run.h"

int startupPending = 1;
QString launchDirectory;

namespace {

// Opens a folder as the selection page would: FolderBox, then DriveBox (whose change handler runs
// when the drive differs), then lastFolderIndex. False, with nothing changed, when it is no folder
// or cannot be entered.
bool OpenFolder(const QString& given) {
    TForm1& form = *Form1;
    // A relative folder names one in the directory the program was started from; by now the
    // current directory follows the folder list.
    const QString base = launchDirectory.isEmpty() ? QDir::currentPath() : launchDirectory;
    const QString folder = QDir(base).absoluteFilePath(given);
    if (!QFileInfo(folder).isDir() || !form.FolderBox->SetDirectory(folder))
        return false;
    form.DriveBox->SetDrive(form.FolderBox->Drive());
    lastFolderIndex = form.FolderBox->ItemIndex();
    return true;
}

}  // namespace

void AppFirstIdle(const QStringList& parameters) {
    if (startupPending != 1)
        return;
    // Cleared before the check, which pumps events: nothing in them may run the actions again.
    startupPending = 0;
    TForm1& form = *Form1;

    if (form.Check4->isChecked())
        form.HideToTray();

    // Case-sensitive; "/s" with two or more further parameters is ignored.
    const bool commandLine =
        !parameters.isEmpty() && parameters[0] == QStringLiteral("/s") && parameters.size() < 3;
    if (commandLine) {
        if (parameters.size() == 1 || OpenFolder(parameters[1]))
            StartCheck(0);
    } else if (form.Check3->isChecked()) {
        StartCheck(0);
    }
}
