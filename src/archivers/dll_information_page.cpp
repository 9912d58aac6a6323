#include "archivers/dll_information_page.h"

#include <QLabel>
#include <QMessageBox>
#include <array>
#include <string>

#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "app/title.h"
#include "archivers/binding_table.h"
#include "archivers/dll_information.h"
#include "settings/mode_settings.h"

namespace {

// Where the provisioning would put UNRAR.DLL. This platform never registers a WinRAR, so nothing
// is ever extracted there; the system's library folder is the nearest counterpart.
const std::string kSystemDir = "/usr/lib";

// The system's host, except that the restart request is a window of ours.
class WindowProvisioningHost : public pyx::ProvisioningHost {
  public:
    std::string WinRarFolder() override { return system.WinRarFolder(); }
    bool FileExists(const std::string& path) override { return system.FileExists(path); }
    void StartProgram(const std::string& program, const std::string& parameters) override {
        system.StartProgram(program, parameters);
    }
    void ShowRestartMessage(const std::string& text) override {
        QMessageBox box(QMessageBox::NoIcon, kTitle, QString::fromStdString(text), QMessageBox::Ok);
        box.exec();
    }

  private:
    pyx::ProvisioningHost& system = pyx::SystemProvisioningHost();
};

}  // namespace

void ShowDllInformation() {
    TForm1& form = *Form1;
    WindowProvisioningHost host;
    const pyx::DllInformation info =
        pyx::ComputeDllInformation(pyx::archiverBindings, host, kSystemDir);

    const std::array<QLabel*, 6> labels = {form.Dll1, form.Dll2, form.Dll3,
                                           form.Dll4, form.Dll5, form.Dll6};
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i]->setText(QString::fromStdString(info.lines[i]));

    // By kind, Lzh 1 to Rar 5.
    const std::array<TrackBar*, 6> tracks = {nullptr,     form.Track1, form.Track2,
                                             form.Track3, form.Track4, form.Track5};
    const std::array<int*, 6> modes = {nullptr, &LzhMode, &ZipMode, &ArjMode, &CabMode, &RarMode};
    for (std::size_t kind = pyx::KindLzh; kind <= pyx::KindRar; ++kind) {
        if (!info.switchOff[kind])
            continue;
        tracks[kind]->setValue(0);
        *modes[kind] = 0;
        tracks[kind]->setEnabled(false);
    }
}
