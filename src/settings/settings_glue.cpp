#include "settings/settings_glue.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <array>

#include "app/controls/check_list_box.h"
#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "app/window_placement.h"
#include "check/report_damaged.h"
#include "settings/mode_settings.h"
#include "settings/settings_file.h"

namespace {

std::filesystem::path locationForTests;

// In the file's order (pyx::Option).
std::array<QCheckBox*, pyx::Option::count> OptionBoxes(const TForm1& form) {
    return {form.Melt1,  form.Melt2,  form.Melt3,  form.Check1, form.Check2,
            form.Check3, form.Check4, form.Check5, form.Check6};
}

std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The form's handlers are connected only after FormCreate, so the ones that setting a control
// runs are called here by hand.
void ApplySettings(const pyx::SettingsData& data) {
    TForm1& form = *Form1;

    if (data.openFolder) {
        const QString folder = FromUtf8(*data.openFolder);
        if (QFileInfo(folder).isDir() && form.FolderBox->SetDirectory(folder)) {
            const QString drive = form.FolderBox->Drive();
            if (form.DriveBox->Drive() != drive) {
                form.DriveBox->SetDrive(drive);
                form.DriveBoxChange();
            }
        }
    }
    if (data.moveFolder)
        form.Folder->setText(FromUtf8(*data.moveFolder));
    // Half a position is no saved position: the window then keeps its centred default.
    if (data.x && data.y) {
        windowX = *data.x;
        windowY = *data.y;
    }

    const auto boxes = OptionBoxes(form);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const pyx::SavedTick tick = data.options[i];
        if (tick == pyx::SavedTick::Keep)
            continue;
        const bool checked = tick == pyx::SavedTick::Tick;
        if (boxes[i]->isChecked() == checked)
            continue;
        boxes[i]->setChecked(checked);
        if (i == pyx::Option::Melt1)
            form.Melt1Click();
        else if (i == pyx::Option::Check5)
            form.Check5Click();
    }

    // After the options: the bars' range (0 to 4, or 5 with Melt1) clamps the saved values.
    const std::array<TrackBar*, pyx::kModeCount> tracks = {form.Track1, form.Track2, form.Track3,
                                                           form.Track4, form.Track5};
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (data.savedModes[i])
            tracks[i]->setValue(*data.savedModes[i]);
    }
    ApplyModeSettings();  // what each bar's change handler runs

    // The file holds the list's last entry first; each goes to the top.
    for (const std::string& entry : data.entriesInFileOrder)
        AddDamagedEntry(FromUtf8(entry));
    form.CheckBox->SetHorizontalExtent(widestEntryWidth + 18);
}

}  // namespace

std::filesystem::path SettingsFileLocation() {
    if (!locationForTests.empty())
        return locationForTests;
    return pyx::SettingsFilePath(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

void SetSettingsFileLocationForTests(const std::filesystem::path& file) {
    locationForTests = file;
}

bool ReadSettingsFile() {
    const std::optional<pyx::SettingsData> data = pyx::LoadSettingsFile(SettingsFileLocation());
    if (!data)
        return false;
    if (data->versionOk)
        ApplySettings(*data);
    return true;
}

void WriteSettingsFile() {
    const TForm1& form = *Form1;
    pyx::SettingsState state;
    state.openFolder = ToUtf8(form.FolderBox->Directory());
    state.moveFolder = ToUtf8(form.Folder->text());
    state.x = form.x();
    state.y = form.y();
    state.modes = {LzhMode, ZipMode, ArjMode, CabMode, RarMode};
    const auto boxes = OptionBoxes(form);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        state.options[i] = boxes[i]->isChecked();
    for (int row = 0; row < form.CheckBox->count(); ++row)
        state.listEntries.push_back(ToUtf8(form.CheckBox->item(row)->text()));
    // Silent by design when it fails: the program is on its way out, and the old file survives.
    pyx::SaveSettingsFile(SettingsFileLocation(), state);
}
