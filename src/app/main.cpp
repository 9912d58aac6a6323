#include <QApplication>

#include "app/form1.h"
#include "archivers/binding_table.h"

int main(int argc, char** argv) {
    pyx::BindArchivers();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Pyxidane Version 0.40");
    TForm1 form;
    Form1 = &form;
    form.show();
    const int code = QApplication::exec();
    Form1 = nullptr;
    return code;
}
