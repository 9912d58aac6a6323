// The start-up actions on the real form: the command line, the automatic start and the start
// hidden in the tray, with a binding table of recording fakes counting the checks.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/form1.h"
#include "app/selection_page.h"
#include "app/startup_actions.h"
#include "fake_archivers.h"
#include "settings/settings_glue.h"

namespace {

// Whether the window was out of sight at each check.
QList<bool> hiddenAtCheck;

void RecordVisibility() {
    hiddenAtCheck << (!Form1->isVisible() || Form1->isMinimized());
}

}  // namespace

class StartupActionsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(root.isValid());
        // open is the folder restored at start; other and "with blank" may be named after /s.
        for (const char* file : {"open/x.lzh", "other/y.zip", "with blank/z.cab"}) {
            QVERIFY(QDir().mkpath(QFileInfo(root.filePath(file)).path()));
            QFile f(root.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        SetSettingsFileLocationForTests(root.filePath("Pyxidane.ini").toStdString());
    }
    void init() {
        fake::BindFakeArchivers();
        fake::onCheck = &RecordVisibility;
        hiddenAtCheck.clear();
        startupPending = 1;
        launchDirectory = root.path();
        form = std::make_unique<TForm1>();
        QVERIFY(form->FolderBox->SetDirectory(root.filePath("open")));
        lastFolderIndex = form->FolderBox->ItemIndex();
    }
    void cleanup() { form.reset(); }

    void commandLine_data() {
        QTest::addColumn<bool>("autoStart");  // 起動後にチェック開始
        QTest::addColumn<QStringList>("parameters");
        QTest::addColumn<QString>("checked");  // the one file checked, empty when none

        const QString other = root.filePath("other");
        const QString blank = root.filePath("with blank");
        for (const bool on : {false, true}) {
            const char* tail = on ? ", auto start" : "";
            auto row = [&](const char* name) -> QTestData& {
                return QTest::addRow("%s%s", name, tail) << on;
            };
            row("none") << QStringList{} << (on ? "open/x.lzh" : "");
            row("/s") << QStringList{"/s"} << "open/x.lzh";
            row("/s folder") << QStringList{"/s", other} << "other/y.zip";
            row("/s folder with a blank") << QStringList{"/s", blank} << "with blank/z.cab";
            // Relative to where the program was started, not to the folder restored since.
            row("/s relative folder") << QStringList{"/s", "other"} << "other/y.zip";
            row("/s missing folder") << QStringList{"/s", root.filePath("gone")} << "";
            row("/s a file") << QStringList{"/s", root.filePath("open/x.lzh")} << "";
            row("/s and two more")
                << QStringList{"/s", root.filePath("with"), "blank"} << (on ? "open/x.lzh" : "");
            row("/S") << QStringList{"/S", other} << (on ? "open/x.lzh" : "");
            row("folder first") << QStringList{other, "/s"} << (on ? "open/x.lzh" : "");
        }
    }
    void commandLine() {
        QFETCH(QStringList, parameters);
        QFETCH(bool, autoStart);
        QFETCH(QString, checked);
        form->Check3->setChecked(autoStart);

        AppFirstIdle(parameters);
        AppFirstIdle(parameters);  // once per run

        const QStringList expected =
            checked.isEmpty() ? QStringList{} : QStringList{root.filePath(checked)};
        QCOMPARE(fake::checkedPaths, expected);
        QCOMPARE(startupPending, 0);
        // A folder named on the command line is the open folder afterwards, recorded as such.
        const QString open =
            checked.isEmpty() ? root.filePath("open") : QFileInfo(root.filePath(checked)).path();
        QCOMPARE(form->FolderBox->Directory(), open);
        QCOMPARE(lastFolderIndex, form->FolderBox->ItemIndex());
        QCOMPARE(form->DriveBox->Drive(), form->FolderBox->Drive());
    }

    // Installed by the first showing: hidden first (minimised where there is no tray), then one
    // check; later showings start nothing.
    void firstShowingHidesThenChecksOnce() {
        form->Check3->setChecked(true);
        form->Check4->setChecked(true);
        form->show();
        QTRY_COMPARE(fake::checkedPaths.size(), 1);
        QCOMPARE(hiddenAtCheck, QList<bool>{true});
        form->RestoreFromTray();
        form->hide();
        form->show();
        QTest::qWait(50);
        QCOMPARE(fake::checkedPaths.size(), 1);
    }

    void withoutOptionsNothingHappens() {
        form->show();
        QTRY_COMPARE(startupPending, 0);
        QVERIFY(fake::checkedPaths.isEmpty());
        QVERIFY(form->isVisible());
        QVERIFY(!form->isMinimized());
    }

  private:
    QTemporaryDir root;
    std::unique_ptr<TForm1> form;
};

QTEST_MAIN(StartupActionsTest)
#include "startup_actions_test.moc"
