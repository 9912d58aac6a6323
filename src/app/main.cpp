#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "app/form1.h"
#include "app/startup_actions.h"
#include "app/title.h"
#include "archivers/binding_table.h"
#include "platform/instance_lock.h"
#include "platform/time_zone.h"

int main(int argc, char** argv) {
    pyx::CacheLocalTimeZone();
    pyx::BindArchivers();

    // Held until main returns; a second instance leaves before it shows anything.
    const pyx::InstanceLock lock(pyx::LockFolder(), "Pyxidane");
    if (lock.GetState() == pyx::InstanceLock::State::HeldElsewhere)
        return 1;
    if (lock.GetState() == pyx::InstanceLock::State::Unavailable)
        std::fprintf(stderr, "pyxidane: no single-instance lock: %s\n", lock.Error().c_str());

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(kTitle);
    QApplication::setQuitOnLastWindowClosed(false);  // hidden in the tray is still running
    try {
        launchDirectory = QDir::currentPath();
        TForm1 form;
        form.show();
        QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, kTitle, QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
