#include "settings/mode_settings.h"

#include <QCheckBox>
#include <QLabel>

#include "app/controls/file_list_box.h"
#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "settings/file_mask.h"

int LzhMode = 2;
int ZipMode = 2;
int ArjMode = 2;
int CabMode = 2;
int RarMode = 2;

const std::array<const char*, 6> modeLabels = {
    "チェックしない", "簡易モード", "通常モード", "厳密モード", "究明モード", "解凍モード",
};

namespace {

QString ModeLabel(int mode) {
    return QString::fromUtf8(modeLabels.at(static_cast<std::size_t>(mode)));
}

}  // namespace

void ApplyModeSettings() {
    TForm1& form = *Form1;
    LzhMode = form.Track1->value();
    ZipMode = form.Track2->value();
    ArjMode = form.Track3->value();
    CabMode = form.Track4->value();
    RarMode = form.Track5->value();

    form.Mode1->setText(ModeLabel(LzhMode));
    form.Mode2->setText(ModeLabel(ZipMode));
    form.Mode3->setText(ModeLabel(ArjMode));
    form.Mode4->setText(ModeLabel(CabMode));
    form.Mode5->setText(ModeLabel(RarMode));

    const std::string mask = pyx::BuildFileMask(CurrentModes(), form.Check5->isChecked());
    form.FileBox->SetMask(QString::fromStdString(mask));
    form.FileBox->Update();
}

std::array<int, 6> CurrentModes() {
    return {0, LzhMode, ZipMode, ArjMode, CabMode, RarMode};
}

void TForm1::Melt1Click() {
    const bool extract = Melt1->isChecked();
    // Lowering a maximum moves a bar at 5 to 4, which runs its change handler by itself.
    for (TrackBar* track : {Track1, Track2, Track3, Track4, Track5})
        track->setMaximum(extract ? 5 : 4);
    Melt2->setEnabled(extract);
    Melt3->setEnabled(extract);
    ApplyModeSettings();
}

void TForm1::Check5Click() {
    ApplyModeSettings();
}

void TForm1::Track1Change() {
    ApplyModeSettings();
}

void TForm1::Track2Change() {
    ApplyModeSettings();
}

void TForm1::Track3Change() {
    ApplyModeSettings();
}

void TForm1::Track4Change() {
    ApplyModeSettings();
}

void TForm1::Track5Change() {
    ApplyModeSettings();
}
