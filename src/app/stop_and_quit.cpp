#include "app/stop_and_quit.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "app/click_sound.h"
#include "app/form1.h"
#include "archivers/binding_table.h"
#include "check/check_run.h"
#include "settings/settings_glue.h"

void StopOrQuit() {
    if (checkRunning == 1) {
        checkRunning = 0;  // the run sees it at its next test and ends in order
        return;
    }
    pyx::ReleaseArchivers();
    WriteSettingsFile();
    // exit, not quit: Qt's quit first asks every window to close, and the form answers a close
    // request by calling this function.
    QCoreApplication::exit(0);
}

void TForm1::Start2Click() {
    PlayClick();
    StopOrQuit();
}

void TForm1::Start3Click() {
    PlayClick();
    StopOrQuit();
}

// The form never closes by itself: the only way out is StopOrQuit ending the loop.
void TForm1::FormClose(QCloseEvent* event) {
    event->ignore();
    StopOrQuit();
}
