#include "app/controls/drive_combo_box.h"

#include <QSignalBlocker>
#include <QStorageInfo>

#include "platform/folder_listing.h"

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
    ReadVolumes();
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit changed(); });
}

void DriveComboBox::SetDrive(const QString& root) {
    int index = findText(root);
    if (index < 0) {
        const QSignalBlocker blocker(this);  // adding an item must not look like a change
        addItem(root);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

void DriveComboBox::ReadVolumes() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        return pyx::NameLess(a.toStdString(), b.toStdString());
    });
    const QString shown = currentText();
    if (!shown.isEmpty() && !roots.contains(shown))
        roots << shown;  // the drive shown stays until another is chosen

    const QSignalBlocker blocker(this);
    clear();
    addItems(roots);
    setCurrentIndex(shown.isEmpty() ? 0 : findText(shown));
}

void DriveComboBox::showPopup() {
    ReadVolumes();
    QComboBox::showPopup();
}
