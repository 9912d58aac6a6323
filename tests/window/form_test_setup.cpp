// Linked into every window test: as the application starts, the built-in engines are bound (as
// the program does before its form exists) and the settings file goes to the test's private
// home, never beside the test program. A test that needs fakes or its own file sets them later.
#include <QCoreApplication>
#include <QDir>

#include "archivers/binding_table.h"
#include "settings/settings_glue.h"

namespace {

void PrepareFormTests() {
    pyx::BindArchivers();
    SetSettingsFileLocationForTests(QDir::home().filePath("Pyxidane.ini").toStdString());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(PrepareFormTests)
