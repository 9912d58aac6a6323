// Times the window's own check run on a folder, offscreen: the form is made as at start-up, the
// folder opened, every kind set to DEPTH (1 simple .. 4 probe), and StartCheck(0) timed.
//   window_walk FOLDER DEPTH       prints the seconds and the number of damaged entries
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <cstdio>

#include "app/controls/check_list_box.h"
#include "app/controls/directory_list_box.h"
#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "archivers/binding_table.h"
#include "check/check_run.h"
#include "platform/time_zone.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_walk FOLDER DEPTH\n");
        return 2;
    }
    pyx::CacheLocalTimeZone();
    pyx::BindArchivers();
    QApplication app(argc, argv);
    TForm1 form;
    form.show();
    if (!form.FolderBox->SetDirectory(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }
    const int depth = std::atoi(argv[2]);
    for (TrackBar* t : {form.Track1, form.Track2, form.Track3, form.Track4, form.Track5}) {
        t->setValue(depth);
    }
    form.Check1->setChecked(true);
    QElapsedTimer timer;
    timer.start();
    StartCheck(0);
    std::printf("%.3f s, %d damaged\n", static_cast<double>(timer.nsecsElapsed()) / 1e9,
                form.CheckBox->count());
    return 0;
}
