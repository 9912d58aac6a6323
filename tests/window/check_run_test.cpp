// The check run on the real form, with a binding table of recording fakes.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include "app/controls/check_list_box.h"
#include "app/controls/directory_list_box.h"
#include "app/controls/file_list_box.h"
#include "app/controls/image_button.h"
#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "app/selection_page.h"
#include "app/stop_and_quit.h"
#include "archivers/binding_table.h"
#include "check/check_run.h"
#include "check/report_damaged.h"

namespace {

QStringList calls;           // "<kind>:<entry point>:<argument>" in call order
int stopAfterChecks = -1;    // posts a stop request after this many checks
int checksWhenStopped = -1;  // how many checks had run when the stop request was handled
int damagedAnswer = 1;       // checkArchive's answer for names holding "bad"
std::uint16_t zipVersion = 100;

QString Rel(const char* path) {
    return QString::fromUtf8(path).section(QDir::separator(), -2);
}

template <int Kind>
struct Fake {
    static int Check(const char* path, int mode) {
        calls << QString("%1:check:%2:%3").arg(Kind).arg(Rel(path)).arg(mode);
        // A check that takes a while, as a real one does, so that the run pumps events after it.
        if (stopAfterChecks > 0)
            QThread::msleep(25);
        if (stopAfterChecks > 0 && --stopAfterChecks == 0) {
            QTimer::singleShot(0, [] {
                checksWhenStopped = static_cast<int>(calls.size());
                StopOrQuit();
            });
        }
        return QString(path).contains("bad") ? damagedAnswer : 1;
    }
    static int Command(void*, const char* line, char*, std::uint32_t) {
        calls << QString("%1:command:%2").arg(Kind).arg(line);
        return 0x800C;
    }
    static std::uint16_t Version() { return Kind == pyx::KindZip ? zipVersion : 100; }
    static pyx::ArchiveHandle Open(void*, const char*, std::uint32_t) { return nullptr; }
    static int Close(pyx::ArchiveHandle) { return 0; }
    static int First(pyx::ArchiveHandle, const char*, void*) { return -1; }
    static int Next(pyx::ArchiveHandle, void*) { return -1; }
    static std::uint16_t Stamp(pyx::ArchiveHandle) { return 0; }
    static pyx::ArchiverBinding Binding() {
        static const char name[] = "fake";
        return {name, &Check, &Command, &Version, &Open, &Close, &First, &Next, &Stamp, &Stamp};
    }
};

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("x");
}

}  // namespace

class CheckRunTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        pyx::archiverBindings[1] = Fake<1>::Binding();
        pyx::archiverBindings[2] = Fake<2>::Binding();
        pyx::archiverBindings[3] = Fake<3>::Binding();
        pyx::archiverBindings[4] = Fake<4>::Binding();
        pyx::archiverBindings[5] = Fake<5>::Binding();
        calls.clear();
        stopAfterChecks = -1;
        checksWhenStopped = -1;
        damagedAnswer = 1;
        zipVersion = 100;
        // data holds x.lzh and the subfolders a (holding a1) and b, the example of a walk.
        QVERIFY(tree.isValid());
        for (const char* f : {"data/x.lzh", "data/a/y.zip", "data/a/a1/z.arj", "data/b/w.cab",
                              "data/b/bad.lzh", "data/.hidden/h.lzh", "data/note.txt"}) {
            Touch(tree.filePath(f));
        }
        form = new TForm1;
        QVERIFY(form->FolderBox->SetDirectory(tree.filePath("data")));
        lastFolderIndex = form->FolderBox->ItemIndex();
    }
    void cleanup() {
        delete form;
        form = nullptr;
        QDir(tree.path()).removeRecursively();
    }

    void walkOrderFilesFirstThenSubfoldersDepthFirst() {
        StartCheck(0);
        const QStringList expected = {"1:check:data/x.lzh:1", "2:check:a/y.zip:1",
                                      "3:check:a1/z.arj:1", "1:check:b/bad.lzh:1",
                                      "4:check:b/w.cab:1"};
        QCOMPARE(calls, expected);
        // The walk ends where it began, with the page unlocked.
        QCOMPARE(form->FolderBox->Directory(), tree.filePath("data"));
        QCOMPARE(lastFolderIndex, form->FolderBox->ItemIndex());
        QCOMPARE(checkRunning, 0);
        QVERIFY(form->Start1->isEnabled());
        QVERIFY(form->FolderBox->isEnabled());
        QVERIFY(form->Start3->isHidden());
        QVERIFY(form->Erase1->isEnabled());
    }

    void moveAndDeleteWaitForTheEndOfTheRun() {
        bool lockedDuringRun = false;
        stopAfterChecks = 1;  // look at the page from inside the run's pump
        QTimer::singleShot(0, [&] {
            lockedDuringRun = !form->Erase1->isEnabled() && !form->Erase2->isEnabled() &&
                              form->Erase3->isEnabled() && !form->Start1->isEnabled();
        });
        StartCheck(0);
        QVERIFY(lockedDuringRun);
        QVERIFY(form->Erase1->isEnabled() && form->Erase2->isEnabled());
    }

    void subfoldersOnlyWhenTicked() {
        form->Check1->setChecked(false);
        StartCheck(0);
        QCOMPARE(calls, QStringList{"1:check:data/x.lzh:1"});
    }

    void damagedArchiveGoesToTheTopTicked() {
        damagedAnswer = 0;
        StartCheck(0);
        QCOMPARE(form->CheckBox->count(), 1);
        QCOMPARE(form->CheckBox->item(0)->text(), tree.filePath("data/b/bad.lzh"));
        QVERIFY(form->CheckBox->IsChecked(0));
        QCOMPARE(form->CheckBox->HorizontalExtent(), widestEntryWidth + 18);
    }

    void stopEndsTheWalkAfterAtMostOneMoreFile() {
        stopAfterChecks = 2;
        StartCheck(0);
        QCOMPARE(checksWhenStopped, 2);
        QCOMPARE(calls.size(), 3);
        QCOMPARE(checkRunning, 0);
        QVERIFY(form->Start1->isEnabled());
        // z.arj was the last file of a1, which then climbed back to a, where the stop is seen.
        QCOMPARE(form->FolderBox->Directory(), tree.filePath("data/a"));
    }

    void singleFileCheckKeepsTheSelection() {
        form->FolderBox->SetDirectory(tree.filePath("data/b"));
        form->FileBox->SetItemIndex(1);
        StartCheck(1);
        QCOMPARE(calls, QStringList{"4:check:b/w.cab:1"});
        QCOMPARE(form->FileBox->ItemIndex(), 1);
    }

    void modesAndWhatTheyCall_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("call");
        QTest::newRow("simple") << 1 << "1:check:data/x.lzh:0";
        QTest::newRow("normal") << 2 << "1:check:data/x.lzh:1";
        QTest::newRow("strict") << 3 << "1:check:data/x.lzh:2";
        QTest::newRow("probe") << 4 << " t \"%1/data/x.lzh\"";
    }
    void modesAndWhatTheyCall() {
        QFETCH(int, mode);
        QFETCH(QString, call);
        form->Check1->setChecked(false);
        form->Track1->setValue(mode);
        StartCheck(0);
        if (mode == 4)
            call = "1:command:" + call.arg(tree.path());
        QCOMPARE(calls, QStringList{call});
        if (mode == 4) {
            QCOMPARE(
                form->CheckBox->item(0)->text(),
                tree.filePath("data/x.lzh") + " \"格納ファイルのチェックサムが合っていません\"");
        }
    }

    void runDropsTheModesItDoesNotOffer() {
        zipVersion = 99;
        form->Track2->setValue(3);
        form->Track4->setValue(4);
        form->Track5->setValue(4);
        form->Track1->setValue(4);
        StartCheck(0);
        QCOMPARE(form->Track2->value(), 0);
        QCOMPARE(form->Track4->value(), 0);
        QCOMPARE(form->Track5->value(), 0);
        QCOMPARE(form->Track1->value(), 4);
        QVERIFY(!form->FileBox->Mask().contains("zip"));
    }

    void everyKindOffChecksNothing() {
        for (TrackBar* t : {form->Track1, form->Track2, form->Track3, form->Track4, form->Track5}) {
            t->setValue(0);
        }
        StartCheck(0);
        QVERIFY(calls.isEmpty());
        QVERIFY(form->Start1->isEnabled());
    }

    void linkLoopIsWalkedOnce() {
        QVERIFY(QFile::link(tree.filePath("data"), tree.filePath("data/a/loop")));
        StartCheck(0);
        QCOMPARE(calls.size(), 5);
        QCOMPARE(form->FolderBox->Directory(), tree.filePath("data"));
    }

  private:
    QTemporaryDir tree;
    TForm1* form = nullptr;
};

QTEST_MAIN(CheckRunTest)
#include "check_run_test.moc"
