// Moving and deleting the files of ticked damaged-list entries, and choosing the destination,
// on the real form with temporary folders.
#include <sys/stat.h>

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "app/controls/check_list_box.h"
#include "app/controls/file_list_box.h"
#include "app/controls/image_button.h"
#include "app/form1.h"
#include "app/title.h"
#include "check/report_damaged.h"
#include "damaged/move_delete.h"
#include "modal_watcher.h"

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool SameFileSystem(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev;
}

}  // namespace

class MoveDeleteTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        form = new TForm1;
        widestEntryWidth = 0;
        source.emplace();
        destination.emplace();
        QVERIFY(source->isValid() && destination->isValid());
        form->Folder->setText(destination->path());
        form->FileBox->SetDirectory(source->path());
    }
    void cleanup() {
        delete form;
        form = nullptr;
    }

    // Adds an entry at the top, ticked or not.
    void Add(const QString& entry, bool ticked = true) {
        AddDamagedEntry(entry);
        form->CheckBox->SetChecked(0, ticked);
    }
    QString Src(const QString& name) const { return source->filePath(name); }
    QString Dst(const QString& name) const { return destination->filePath(name); }
    QStringList Entries() const {
        QStringList texts;
        for (int row = 0; row < form->CheckBox->count(); ++row)
            texts << form->CheckBox->item(row)->text();
        return texts;
    }
    QStringList FileBoxNames() const {
        QStringList names;
        for (int row = 0; row < form->FileBox->count(); ++row)
            names << form->FileBox->item(row)->text();
        return names;
    }

    void moveReplacesSameNamedFile() {
        Write(Src("a.lzh"), "damaged");
        Write(Src("kept.lzh"), "kept");
        Write(Dst("a.lzh"), "older");
        form->FileBox->Update();
        Add(Src("kept.lzh"), false);
        Add(Src("a.lzh") + " \"アーカイブファイルではありません\"");
        ModalWatcher watcher;
        QTest::mouseClick(form->Erase1, Qt::LeftButton);
        QCOMPARE(ReadAll(Dst("a.lzh")), QByteArray("damaged"));
        QVERIFY(!QFile::exists(Src("a.lzh")));
        QCOMPARE(Entries(), QStringList{Src("kept.lzh")});
        QCOMPARE(form->CheckBox->HorizontalExtent(), EntryWidth(Src("kept.lzh")) + 18);
        QCOMPARE(FileBoxNames(), QStringList{"kept.lzh"});
        QVERIFY(watcher.seen.isEmpty());
    }

    void moveToAnotherFileSystem() {
        if (!QFileInfo(QStringLiteral("/dev/shm")).isDir())
            QSKIP("this machine has no /dev/shm, so no second file system to move to");
        QTemporaryDir shm(QStringLiteral("/dev/shm/pyx-move-XXXXXX"));
        QVERIFY(shm.isValid());
        if (SameFileSystem(shm.path(), source->path()))
            QSKIP("/dev/shm is on the same file system as the temporary folder here");
        QByteArray bytes(3 << 20, 'x');  // several copy blocks
        bytes[12345] = 'y';
        Write(Src("big.zip"), bytes);
        Add(Src("big.zip"));
        form->Folder->setText(shm.path());
        QTest::mouseClick(form->Erase1, Qt::LeftButton);
        QCOMPARE(ReadAll(shm.filePath("big.zip")), bytes);
        QVERIFY(!QFile::exists(Src("big.zip")));
        QVERIFY(QDir(shm.path())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .size() == 1);
        QVERIFY(Entries().isEmpty());
        QCOMPARE(form->CheckBox->HorizontalExtent(), 18);
    }

    void vanishedSourceLeavesTheList() {
        Add(Src("gone.lzh") + " \"\"");
        ModalWatcher watcher;
        QTest::mouseClick(form->Erase1, Qt::LeftButton);
        QVERIFY(Entries().isEmpty());
        QVERIFY(QDir(destination->path()).isEmpty());
        QVERIFY(watcher.seen.isEmpty());
    }

    // Each ticked entry's file once, top to bottom; a folder or a missing file is no file.
    void filesOfTheTickedEntries() {
        Write(Src("one.lzh"), "1");
        Write(Src("two.lzh"), "2");
        Write(Src("three.lzh"), "3");
        QVERIFY(QDir(source->path()).mkdir("folder.lzh"));
        Add(Src("one.lzh"));
        Add(Src("folder.lzh"));
        Add(Src("three.lzh"), false);
        Add(Src("two.lzh") + " \"reason\"");
        Add(Src("one.lzh") + " \"reason\" \"ファイルが削除できません\"");
        const std::vector<std::string> expected = {Src("one.lzh").toStdString(),
                                                   Src("two.lzh").toStdString()};
        QCOMPARE(CheckedFiles(), expected);
        QTest::mouseClick(form->Erase1, Qt::LeftButton);
        QCOMPARE(ReadAll(Dst("one.lzh")), QByteArray("1"));
        QCOMPARE(ReadAll(Dst("two.lzh")), QByteArray("2"));
        QCOMPARE(Entries(), QStringList{Src("three.lzh")});
    }

    // A file that could not be moved is still damaged and still there: its entry stays, ticked,
    // and the user is told which file and why.
    void fileThatCannotBeMovedStays() {
        Write(Src("blocked.lzh"), "b");
        Write(Src("free.lzh"), "f");
        QVERIFY(QDir(destination->path()).mkdir("blocked.lzh"));
        Add(Src("free.lzh"));
        Add(Src("blocked.lzh") + " \"reason\"");
        Add(Src("blocked.lzh"));
        ModalWatcher watcher;
        QTest::mouseClick(form->Erase1, Qt::LeftButton);
        QCOMPARE(Entries(), (QStringList{Src("blocked.lzh"), Src("blocked.lzh") + " \"reason\""}));
        QVERIFY(form->CheckBox->IsChecked(0) && form->CheckBox->IsChecked(1));
        QCOMPARE(ReadAll(Src("blocked.lzh")), QByteArray("b"));
        QCOMPARE(ReadAll(Dst("free.lzh")), QByteArray("f"));
        QCOMPARE(watcher.seen.size(), 1);
        QVERIFY(watcher.seen[0].startsWith(kTitle + "|"));
        QVERIFY(watcher.seen[0].contains(Src("blocked.lzh")));
        QCOMPARE(FileBoxNames(), QStringList{"blocked.lzh"});
    }

    void moveWithoutDestinationFolderDoesNothing_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing") << "missing";
        QTest::newRow("a file") << "file";
        QTest::newRow("empty") << "";
    }
    void moveWithoutDestinationFolderDoesNothing() {
        QFETCH(QString, folder);
        Write(Src("a.lzh"), "a");
        Write(Dst("file"), "f");
        Add(Src("a.lzh"));
        form->Folder->setText(folder.isEmpty() ? folder : Dst(folder));
        form->CheckBox->SetHorizontalExtent(999);
        ModalWatcher watcher;
        QTest::mouseClick(form->Erase1, Qt::LeftButton);
        QTest::qWait(30);
        QVERIFY(QFile::exists(Src("a.lzh")));
        QCOMPARE(Entries(), QStringList{Src("a.lzh")});
        QCOMPARE(form->CheckBox->HorizontalExtent(), 999);
        QVERIFY(watcher.seen.isEmpty());
    }

    void deleteGoesToTheTrashWithoutAsking() {
        Write(Src("bad.cab"), "c");
        Write(Src("kept.cab"), "k");
        form->FileBox->Update();
        Add(Src("kept.cab"), false);
        Add(Src("bad.cab") + " \"その他のエラー\"");
        ModalWatcher watcher;
        QTest::mouseClick(form->Erase2, Qt::LeftButton);
        const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + "/Trash";
        QVERIFY(!trash.startsWith("/Trash"));
        QCOMPARE(ReadAll(trash + "/files/bad.cab"), QByteArray("c"));
        const QByteArray info = ReadAll(trash + "/info/bad.cab.trashinfo");
        QVERIFY2(info.startsWith("[Trash Info]\nPath=" + QFile::encodeName(Src("bad.cab"))),
                 info.constData());
        QVERIFY(!QFile::exists(Src("bad.cab")));
        QCOMPARE(Entries(), QStringList{Src("kept.cab")});
        QCOMPARE(FileBoxNames(), QStringList{"kept.cab"});
        QVERIFY(watcher.seen.isEmpty());
    }

    void nothingTickedMovesNothing() {
        Write(Src("a.lzh"), "a");
        Add(Src("a.lzh"), false);
        form->FileBox->clear();  // a re-read would fill it again
        QTest::mouseClick(form->Erase2, Qt::LeftButton);
        QVERIFY(QFile::exists(Src("a.lzh")));
        QCOMPARE(Entries(), QStringList{Src("a.lzh")});
        QCOMPARE(form->FileBox->count(), 0);
    }

    void destinationFolderChooser() {
        QVERIFY(form->Folder->isReadOnly());
        const QString before = form->Folder->text();
        bool choose = false;
        ModalWatcher watcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
            QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
            if (!choose) {
                dialog->reject();
                return;
            }
            // The folder shown is the one chosen; naming it as a file too would race with the
            // dialog's own folder loading.
            dialog->setDirectory(source->path());
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, with its checks
        });
        QTest::mouseClick(form->Reference, Qt::LeftButton);
        QCOMPARE(form->Folder->text(), before);
        choose = true;
        QTest::mouseClick(form->Reference, Qt::LeftButton);
        QCOMPARE(form->Folder->text(), source->path());
        QCOMPARE(watcher.seen, QStringList(2, "移動先フォルダの選択"));
    }

  private:
    std::optional<QTemporaryDir> source;
    std::optional<QTemporaryDir> destination;
    TForm1* form = nullptr;
};

QTEST_MAIN(MoveDeleteTest)
#include "move_delete_test.moc"
