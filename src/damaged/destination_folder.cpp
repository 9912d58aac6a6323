#include "damaged/destination_folder.h"

#include <QFileDialog>
#include <QLineEdit>

#include "app/click_sound.h"
#include "app/form1.h"

QString ChooseFolder(QWidget* owner) {
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("移動先フォルダの選択"),
                                             QString(), QFileDialog::ShowDirsOnly);
}

// Folder is read-only; this is the one way the user changes it.
void TForm1::ReferenceClick() {
    PlayClick();
    const QString chosen = ChooseFolder(this);
    if (!chosen.isEmpty())
        Folder->setText(chosen);
}
