#pragma once

#include <QComboBox>
#include <QString>

// The drive choice of the selection page: the mounted volumes that are ready, shown by their root
// path. Signals `changed` whenever the drive shown changes, whether the user picked it or the
// program set it, and never when the drive set is the one already shown.
class DriveComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    QString Drive() const { return currentText(); }
    // Shows the volume with this root path, adding it to the list when it is not there.
    void SetDrive(const QString& root);

  signals:
    void changed();

  protected:
    void showPopup() override;  // volumes come and go: the list is read again on opening

  private:
    void ReadVolumes();
};
