#include "check/check_run.h"

#include <sys/stat.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <set>
#include <utility>
#include <vector>

#include "app/click_sound.h"
#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/controls/file_list_box.h"
#include "app/controls/image_button.h"
#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "app/selection_page.h"
#include "archivers/binding_table.h"
#include "check/check_one.h"
#include "check/offered_modes.h"
#include "check/report_damaged.h"
#include "settings/mode_settings.h"

int checkRunning = 0;

namespace {

// Folders entered by the current run, by device and inode: one reached again through a symbolic
// link is not walked twice.
std::set<std::pair<dev_t, ino_t>> walkedFolders;

bool FirstVisit(const QString& folder) {
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return true;
    return walkedFolders.insert({st.st_dev, st.st_ino}).second;
}

// Pumped between files, but at most fifty times a second: pumping after every file repainted the
// lists each time and made a walk over small archives several times slower than the tests
// themselves, while this keeps the window and the stop button as responsive to a person.
QElapsedTimer sincePump;  // invalid at the start of a run, so its first file pumps

void PumpMessages() {
    if (sincePump.isValid() && sincePump.elapsed() < 20)
        return;
    QCoreApplication::processEvents();
    sincePump.restart();
}

void LockSelectionPage(bool locked) {
    TForm1& form = *Form1;
    form.Start1->setEnabled(!locked);
    form.Start3->setVisible(locked);
    if (locked)
        form.Start3->raise();
    form.FileBox->setEnabled(!locked);
    form.FolderBox->setEnabled(!locked);
    form.DriveBox->setEnabled(!locked);
    // Moving or deleting files re-reads FileBox, which the walk steps through by index: a file
    // could be skipped or tested twice, so those two wait for the end of the run.
    form.Erase1->setEnabled(!locked);
    form.Erase2->setEnabled(!locked);
}

}  // namespace

void CheckOneFile(int index) {
    TForm1& form = *Form1;
    const QListWidgetItem* item = form.FileBox->item(index);
    if (!item)
        return;
    pyx::CheckSettings settings;
    settings.modes = CurrentModes();
    settings.updateDate = form.Check6->isChecked();
    settings.makeFolder = form.Melt2->isChecked();
    settings.deleteAfter = form.Melt3->isChecked();
    const QByteArray folder = QFile::encodeName(form.FolderBox->Directory());
    const QByteArray name = QFile::encodeName(item->text());
    const auto outcome = pyx::CheckArchiveFile(folder.toStdString(), name.toStdString(),
                                               pyx::archiverBindings, settings);
    if (outcome.failed) {
        const std::string path = pyx::JoinPath(folder.toStdString(), name.toStdString());
        ReportDamaged(QFile::decodeName(QByteArray::fromStdString(path)), outcome.kind,
                      outcome.resultCode, outcome.extraCode);
    }
}

void WalkFolder(int folderIndex, int lastSibling) {
    TForm1& form = *Form1;
    for (int i = 0; i < form.FileBox->count(); ++i) {
        if (!checkRunning)
            return;
        PumpMessages();
        form.FileBox->SetItemIndex(i);
        CheckOneFile(i);
    }
    if (form.FileBox->count() > 0)
        form.FileBox->SetItemIndex(-1);

    const int count = form.FolderBox->count();
    if (form.Check1->isChecked() && count > folderIndex + 1) {
        // The walk works from a copy: every move of FolderBox rebuilds its items.
        std::vector<QString> subfolderNames;
        for (int j = folderIndex + 1; j < count; ++j) {
            subfolderNames.push_back(form.FolderBox->item(j)->text());
        }
        // True while FolderBox shows a sibling that its own walk left open.
        bool inSibling = false;
        for (std::size_t k = 0; k < subfolderNames.size(); ++k) {
            const bool last = k + 1 == subfolderNames.size();
            const QString& name = subfolderNames[k];
            bool entered = form.FolderBox->SetDirectory(inSibling ? "../" + name : name);
            if (entered) {
                inSibling = false;
                if (!FirstVisit(form.FolderBox->Directory())) {
                    form.FolderBox->SetDirectory(QStringLiteral(".."));
                    entered = false;
                }
            }
            // A folder that cannot be opened (removed meanwhile, no access) is skipped.
            if (!checkRunning)
                return;
            if (entered) {
                WalkFolder(folderIndex + 1, last ? 1 : 0);
                inSibling = !last;
            }
            if (!checkRunning)
                return;
            PumpMessages();
        }
        if (inSibling)
            form.FolderBox->SetDirectory(QStringLiteral(".."));
    }
    if (lastSibling == 1)
        form.FolderBox->SetDirectory(QStringLiteral(".."));
}

void StartCheck(int scope) {
    TForm1& form = *Form1;
    const auto modes = CurrentModes();
    const auto offered = pyx::DropUnofferedModes(modes, pyx::archiverBindings);
    TrackBar* const tracks[] = {nullptr,     form.Track1, form.Track2,
                                form.Track3, form.Track4, form.Track5};
    for (int kind = pyx::kFirstArchiverKind; kind <= pyx::kLastArchiverKind; ++kind) {
        const auto k = static_cast<std::size_t>(kind);
        if (offered[k] != modes[k])
            tracks[kind]->setValue(offered[k]);
    }

    const int remembered = form.FileBox->ItemIndex();
    ApplyModeSettings();
    if (scope == 1)
        form.FileBox->SetItemIndex(remembered);

    checkRunning = 1;
    sincePump.invalidate();
    LockSelectionPage(true);
    if (scope == 1) {
        if (form.FileBox->ItemIndex() != -1)
            CheckOneFile(form.FileBox->ItemIndex());
    } else if (!form.FileBox->Mask().isEmpty()) {
        walkedFolders.clear();
        FirstVisit(form.FolderBox->Directory());
        WalkFolder(form.FolderBox->ItemIndex(), 0);
        walkedFolders.clear();
    }
    LockSelectionPage(false);
    checkRunning = 0;
    lastFolderIndex = form.FolderBox->ItemIndex();
    // Rebuilding FolderBox re-reads FileBox too, so that folders made and files deleted or
    // extracted during the run show; the selection comes back after it.
    form.FolderBox->SetDirectory(form.FolderBox->Directory());
    if (scope == 1)
        form.FileBox->SetItemIndex(remembered);
}

void TForm1::Start1Click() {
    PlayClick();
    StartCheck(0);
}

void TForm1::FileBoxDblClick() {
    StartCheck(1);
}
