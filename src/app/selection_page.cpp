#include "app/selection_page.h"

#include <QMessageBox>

#include "app/click_sound.h"
#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/controls/file_list_box.h"
#include "app/form1.h"
#include "app/title.h"

int lastFolderIndex = 0;

void TForm1::FolderBoxClick() {
    PlayClick();
    const int index = FolderBox->ItemIndex();
    if (index < 0)
        return;  // a control-click took the selection away; nothing was chosen
    if (index == lastFolderIndex) {
        FileBox->Update();  // the open folder itself: show files created since
        return;
    }
    QString path;
    if (index > lastFolderIndex) {
        path = FolderBox->item(index)->text();
    } else {
        // Item 0 is "/" already, so item 1 follows it without a separator.
        for (int i = 0; i <= index; ++i) {
            if (i > 1)
                path += u'/';
            path += FolderBox->item(i)->text();
        }
    }
    if (!FolderBox->SetDirectory(path)) {
        // Removed or closed meanwhile: say so, and show the open folder again as it is now.
        QMessageBox::warning(this, kTitle, QStringLiteral("フォルダを開けません: ") + path);
        FolderBox->SetDirectory(FolderBox->Directory());
        return;
    }
    lastFolderIndex = FolderBox->ItemIndex();
}

void TForm1::DriveBoxChange() {
    if (!FolderBox->SetDrive(DriveBox->Drive())) {
        // A volume that cannot be entered: back to the folder's own, which runs this handler
        // once more, nested, and finds the boxes in step.
        DriveBox->SetDrive(FolderBox->Drive());
    }
    lastFolderIndex = FolderBox->ItemIndex();
    PlayClick();
}
