#include "damaged/move_delete.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <algorithm>
#include <filesystem>

#include "app/click_sound.h"
#include "app/controls/check_list_box.h"
#include "app/controls/file_list_box.h"
#include "app/form1.h"
#include "app/title.h"
#include "check/damaged_entry.h"
#include "damaged/list_entries.h"
#include "platform/file_move.h"
#include "platform/trash.h"

namespace {

// Entry texts are UTF-8 once out of Qt, the same bytes as the file names on disk.
std::string RowPath(const CheckListBox& list, int row) {
    return pyx::EntryPath(list.item(row)->text().toStdString());
}

constexpr int kStepsPerFile = 100;

}  // namespace

std::vector<std::string> CheckedFiles() {
    const CheckListBox& list = *Form1->CheckBox;
    std::vector<std::string> files;
    for (int row = 0; row < list.count(); ++row) {
        if (!list.IsChecked(row))
            continue;
        const std::string path = RowPath(list, row);
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            continue;
        if (std::find(files.begin(), files.end(), path) == files.end())
            files.push_back(path);
    }
    return files;
}

std::vector<int> RowsLeavingList(const CheckListBox& list, const std::set<std::string>& filesLeft) {
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row) {
        if (list.IsChecked(row) && !filesLeft.contains(RowPath(list, row)))
            rows.push_back(row);
    }
    return rows;
}

void MoveOrDeleteChecked(int operation) {
    if (!AnyEntryChecked())
        return;
    TForm1& form = *Form1;
    const bool move = operation == kMoveOperation;
    const std::vector<std::string> files = CheckedFiles();
    const std::string folder = form.Folder->text().toStdString();

    const int steps = static_cast<int>(files.size()) * kStepsPerFile;
    QProgressDialog progress(move ? QStringLiteral("ファイルを移動しています…")
                                  : QStringLiteral("ファイルを削除しています…"),
                             QStringLiteral("キャンセル"), 0, steps, &form);
    progress.setWindowTitle(move ? QStringLiteral("ファイルの移動")
                                 : QStringLiteral("ファイルの削除"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);

    std::set<std::string> filesLeft;
    QStringList failures;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        const int base = static_cast<int>(i) * kStepsPerFile;
        if (progress.wasCanceled()) {
            filesLeft.insert(file);
            continue;
        }
        progress.setLabelText(QString::fromStdString(file));
        progress.setValue(base);
        bool done = false;
        bool stoppedByUser = false;
        std::string error;
        if (move) {
            const auto copied = [&](std::uint64_t part, std::uint64_t total) {
                const auto share = total == 0 ? 0 : part * kStepsPerFile / total;
                progress.setValue(base + static_cast<int>(share));
                stoppedByUser = progress.wasCanceled();
                return !stoppedByUser;
            };
            const pyx::MoveResult result = pyx::MoveFileInto(file, folder, copied);
            done = result.moved;
            error = result.error;
        } else {
            const pyx::TrashResult result = pyx::MoveToTrash(file);
            done = result.trashed;
            error = result.error;
        }
        if (done)
            continue;
        filesLeft.insert(file);
        // A copy the user cancelled is no failure to report; the file is whole where it was.
        if (!stoppedByUser)
            failures << QString::fromStdString(file) + QStringLiteral("\n    ") +
                            QString::fromStdString(error);
    }
    progress.close();

    if (!failures.isEmpty()) {
        const QString heading = move ? QStringLiteral("次のファイルを移動できませんでした。")
                                     : QStringLiteral("次のファイルを削除できませんでした。");
        QMessageBox::warning(&form, kTitle,
                             heading + QStringLiteral("\n\n") + failures.join(QLatin1Char('\n')));
    }
    RemoveEntries(RowsLeavingList(*form.CheckBox, filesLeft));
    form.FileBox->Update();
}

void TForm1::Erase1Click() {
    PlayClick();
    const QString folder = Folder->text();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        MoveOrDeleteChecked(kMoveOperation);
}

void TForm1::Erase2Click() {
    PlayClick();
    MoveOrDeleteChecked(kDeleteOperation);
}
