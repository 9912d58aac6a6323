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
#include "fake_archivers.h"

namespace {

int stopAfterChecks = -1;    // posts a stop request after this many checks
int checksWhenStopped = -1;  // how many checks had run when the stop request was handled
int damagedAnswer = 1;       // checkArchive's answer for names holding "bad"

void OnCheck() {
    // A check that takes a while, as a real one does, so that the run pumps events after it.
    if (stopAfterChecks > 0)
        QThread::msleep(25);
    if (stopAfterChecks > 0 && --stopAfterChecks == 0) {
        QTimer::singleShot(0, [] {
            checksWhenStopped = static_cast<int>(fake::calls.size());
            StopOrQuit();
        });
    }
}

// The calls made, with each checked path shortened to its folder and name ("data/x.lzh").
QStringList Calls() {
    QStringList shortened;
    for (const QString& call : fake::calls) {
        QStringList parts = call.split(u':');
        if (parts.size() == 4 && parts[1] == QStringLiteral("check"))
            parts[2] = parts[2].section(u'/', -2);
        shortened << parts.join(u':');
    }
    return shortened;
}

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
        fake::BindFakeArchivers();
        fake::onCheck = &OnCheck;
        fake::checkAnswer = [](const char* path) {
            return QString::fromUtf8(path).contains(QStringLiteral("bad")) ? damagedAnswer : 1;
        };
        fake::commandAnswer = 0x800C;
        stopAfterChecks = -1;
        checksWhenStopped = -1;
        damagedAnswer = 1;
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
        QCOMPARE(Calls(), expected);
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
        QCOMPARE(Calls(), QStringList{"1:check:data/x.lzh:1"});
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
        QCOMPARE(Calls().size(), 3);
        QCOMPARE(checkRunning, 0);
        QVERIFY(form->Start1->isEnabled());
        // z.arj was the last file of a1, which then climbed back to a, where the stop is seen.
        QCOMPARE(form->FolderBox->Directory(), tree.filePath("data/a"));
    }

    void singleFileCheckKeepsTheSelection() {
        form->FolderBox->SetDirectory(tree.filePath("data/b"));
        form->FileBox->SetItemIndex(1);
        StartCheck(1);
        QCOMPARE(Calls(), QStringList{"4:check:b/w.cab:1"});
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
        QCOMPARE(Calls(), QStringList{call});
        if (mode == 4) {
            QCOMPARE(
                form->CheckBox->item(0)->text(),
                tree.filePath("data/x.lzh") + " \"格納ファイルのチェックサムが合っていません\"");
        }
    }

    void runDropsTheModesItDoesNotOffer() {
        fake::zipVersion = 99;
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
        QVERIFY(Calls().isEmpty());
        QVERIFY(form->Start1->isEnabled());
    }

    void linkLoopIsWalkedOnce() {
        QVERIFY(QFile::link(tree.filePath("data"), tree.filePath("data/a/loop")));
        StartCheck(0);
        QCOMPARE(Calls().size(), 5);
        QCOMPARE(form->FolderBox->Directory(), tree.filePath("data"));
    }

  private:
    QTemporaryDir tree;
    TForm1* form = nullptr;
};

QTEST_MAIN(CheckRunTest)
#include "check_run_test.moc"
