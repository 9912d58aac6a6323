#include "damaged/save_list.h"

#include <unistd.h>

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/click_sound.h"
#include "app/controls/check_list_box.h"
#include "app/form1.h"
#include "app/title.h"
#include "damaged/list_entries.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"

namespace {

const QString kTextFilter = QStringLiteral("テキストファイル (*.txt)");
const QString kAllFilter = QStringLiteral("全てのファイル (*.*)");

// The name last saved to, proposed by the next save until the program ends.
QString lastSaveName;

// An existing file the user may not write; the save refuses it rather than replace it.
bool ReadOnlyFile(const QString& name) {
    const QByteArray path = QFile::encodeName(name);
    return ::access(path.constData(), F_OK) == 0 && ::access(path.constData(), W_OK) != 0;
}

}  // namespace

QString SaveFileName(const QString& chosen, int filterIndex) {
    const bool hasExtension = QFileInfo(chosen).fileName().contains(QLatin1Char('.'));
    if (filterIndex == kTextFilesFilter && !hasExtension)
        return chosen + QStringLiteral(".txt");
    return chosen;
}

std::string SavedListBytes() {
    const CheckListBox& list = *Form1->CheckBox;
    std::string text;
    for (int row = list.count() - 1; row >= 0; --row) {
        if (list.IsChecked(row))
            text += list.item(row)->text().toStdString() + "\n";
    }
    return pyx::EncodeTextFile(text);
}

void SaveChosenFile(const QString& chosen, int filterIndex) {
    const QString name = SaveFileName(chosen, filterIndex);
    lastSaveName = name;
    QString problem;
    if (ReadOnlyFile(name))
        problem = QStringLiteral("読み取り専用のファイルには保存できません。");
    else if (!pyx::WriteFileAtomically(QFile::encodeName(name).toStdString(), SavedListBytes()))
        problem = QStringLiteral("ファイルに書き込めませんでした。");
    if (!problem.isEmpty())
        QMessageBox::warning(Form1, kTitle, name + QStringLiteral("\n\n") + problem);
}

void TForm1::Erase3Click() {
    PlayClick();
    if (!AnyEntryChecked())
        return;
    QFileDialog dialog(this, QStringLiteral("保存ファイルの選択"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kTextFilter, kAllFilter});
    dialog.selectNameFilter(kTextFilter);
    if (!lastSaveName.isEmpty())
        dialog.selectFile(lastSaveName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const int filterIndex =
        dialog.selectedNameFilter() == kAllFilter ? kAllFilesFilter : kTextFilesFilter;
    SaveChosenFile(dialog.selectedFiles().constFirst(), filterIndex);
}
