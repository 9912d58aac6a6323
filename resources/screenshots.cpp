// Saves a picture of each page of the form: screenshots OUTPUT_FOLDER
// Run it offscreen (QT_QPA_PLATFORM=offscreen); it shows a small sample folder of its own.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app/controls/check_list_box.h"
#include "app/controls/directory_list_box.h"
#include "app/form1.h"
#include "settings/mode_settings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();

    QTemporaryDir root;
    const QString sample = root.path() + QStringLiteral("/archives");
    for (const char* folder : {"2003", "2004", "misc", "pictures"})
        QDir().mkpath(sample + u'/' + QLatin1String(folder));
    for (const char* file : {"backup.lzh", "docs.zip", "fonts.cab", "music.rar", "old.arj",
                             "readme.txt", "setup.exe", "tools.lzh"}) {
        QFile touch(sample + u'/' + QLatin1String(file));
        if (!touch.open(QIODevice::WriteOnly))
            return 1;
    }

    TForm1 form;
    form.FolderBox->SetDirectory(sample);
    form.CheckBox->InsertEntry(
        0, sample + QStringLiteral("/old.arj \"アーカイブファイルではありません\""));
    form.CheckBox->InsertEntry(
        0,
        sample + QStringLiteral("/2004/photos.lzh \"格納ファイルのチェックサムが合っていません\""));
    form.CheckBox->SetChecked(1, true);
    const QFontMetrics metrics(form.font());
    form.CheckBox->SetHorizontalExtent(metrics.horizontalAdvance(form.CheckBox->item(0)->text()) +
                                       18);
    form.show();

    const char* names[] = {"selection", "damaged", "settings", "information"};
    for (int page = 0; page < 4; ++page) {
        form.PageControl->setCurrentIndex(page);
        QApplication::processEvents();
        const QString file =
            output + QStringLiteral("/screenshot-%1.png").arg(QLatin1String(names[page]));
        if (!form.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
