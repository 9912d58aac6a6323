// Removing and saving the ticked entries of the damaged list, on the real form.
#include <unistd.h>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>

#include "app/controls/check_list_box.h"
#include "app/controls/image_button.h"
#include "app/form1.h"
#include "app/title.h"
#include "check/report_damaged.h"
#include "damaged/list_entries.h"
#include "damaged/save_list.h"
#include "modal_watcher.h"
#include "platform/cp932.h"

namespace {

const QString kA = QStringLiteral("/data/a.lzh \"アーカイブファイルではありません\"");
const QString kB = QStringLiteral("/data/b.zip");
const QString kC = QStringLiteral("/data/c.rar \"\"");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}  // namespace

class DamagedListTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        form = new TForm1;
        widestEntryWidth = 0;
        folder.emplace();
        QVERIFY(folder->isValid());
        dir.setPath(folder->path());
    }
    void cleanup() {
        delete form;
        form = nullptr;
    }

    // Entries A (top), B, C (bottom) with `ticks` ("AC": A and C ticked).
    void Fill(const QString& ticks) {
        for (const QString& entry : {kC, kB, kA})
            AddDamagedEntry(entry);
        for (int row = 0; row < 3; ++row)
            form->CheckBox->SetChecked(row, ticks.contains(QChar('A' + row)));
    }
    QStringList Entries() const {
        QStringList texts;
        for (int row = 0; row < form->CheckBox->count(); ++row)
            texts << form->CheckBox->item(row)->text() +
                         (form->CheckBox->IsChecked(row) ? "+" : "");
        return texts;
    }

    void removeAndExtent_data() {
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<QStringList>("left");
        // A is the widest entry.
        QTest::newRow("widest") << "A" << QStringList{kB, kC};
        QTest::newRow("narrower") << "BC" << QStringList{kA};
        QTest::newRow("all") << "ABC" << QStringList{};
    }
    void removeAndExtent() {
        QFETCH(QString, ticks);
        QFETCH(QStringList, left);
        Fill(ticks);
        QVERIFY(EntryWidth(kA) > EntryWidth(kB) && EntryWidth(kA) > EntryWidth(kC));
        QTest::mouseClick(form->Erase4, Qt::LeftButton);
        QCOMPARE(Entries(), left);
        int widest = 0;
        for (const QString& entry : left)
            widest = std::max(widest, EntryWidth(entry));
        QCOMPARE(widestEntryWidth, widest);
        QCOMPARE(form->CheckBox->HorizontalExtent(), widest + 18);
    }

    void nothingTickedChangesNothing() {
        Fill("");
        form->CheckBox->SetHorizontalExtent(999);
        ModalWatcher watcher;
        QVERIFY(!AnyEntryChecked());
        QTest::mouseClick(form->Erase4, Qt::LeftButton);
        QTest::mouseClick(form->Erase3, Qt::LeftButton);
        QTest::qWait(50);
        QCOMPARE(Entries(), (QStringList{kA, kB, kC}));
        QCOMPARE(form->CheckBox->HorizontalExtent(), 999);
        QVERIFY(watcher.seen.isEmpty());
    }

    void savesTickedFromTheBottomUpInCp932() {
        Fill("AC");
        const QString name = dir.filePath("list.txt");
        SaveChosenFile(name, kTextFilesFilter);
        const std::string expected = *pyx::Utf8ToCp932((kC + "\r\n" + kA + "\r\n").toStdString());
        QCOMPARE(ReadAll(name), QByteArray::fromStdString(expected));
        QVERIFY(!ReadAll(name).startsWith("\xEF\xBB\xBF"));
        QCOMPARE(Entries(), (QStringList{kA + "+", kB, kC + "+"}));

        // Saving again replaces the file rather than adding to it.
        form->CheckBox->SetChecked(0, false);
        SaveChosenFile(name, kTextFilesFilter);
        QCOMPARE(ReadAll(name),
                 QByteArray::fromStdString(*pyx::Utf8ToCp932((kC + "\r\n").toStdString())));
    }

    void textCp932CannotKeepIsSavedAsUtf8WithMark() {
        const QString wave = QStringLiteral("/data/〜.lzh");
        AddDamagedEntry(wave);
        const QString name = dir.filePath("wave.txt");
        SaveChosenFile(name, kTextFilesFilter);
        QCOMPARE(ReadAll(name), "\xEF\xBB\xBF" + wave.toUtf8() + "\r\n");
    }

    void txtRule_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("text, no extension") << "list" << kTextFilesFilter << "list.txt";
        QTest::newRow("text, extension") << "list.log" << kTextFilesFilter << "list.log";
        QTest::newRow("all, no extension") << "list" << kAllFilesFilter << "list";
        QTest::newRow("dot in the folder only") << "d.d/list" << kTextFilesFilter << "d.d/list.txt";
    }
    void txtRule() {
        QFETCH(QString, chosen);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QVERIFY(dir.mkpath("d.d"));
        AddDamagedEntry(kB);
        SaveChosenFile(dir.filePath(chosen), filter);
        // Nothing else was written.
        QCOMPARE(dir.entryList(QDir::Files).size() +
                     QDir(dir.filePath("d.d")).entryList(QDir::Files).size(),
                 1);
        QCOMPARE(ReadAll(dir.filePath(written)), QByteArray("/data/b.zip\r\n"));
    }

    void failedSaveTellsTheUserAndChangesNothing() {
        Fill("AC");
        ModalWatcher watcher;
        const QString name = dir.filePath("missing/list.txt");
        SaveChosenFile(name, kTextFilesFilter);
        QCOMPARE(watcher.seen.size(), 1);
        QVERIFY(watcher.seen[0].startsWith(kTitle + '|' + name));
        QCOMPARE(Entries(), (QStringList{kA + "+", kB, kC + "+"}));
        QVERIFY(!QFile::exists(dir.filePath("missing")));
    }

    void readOnlyFileIsRefused() {
        if (::geteuid() == 0)
            QSKIP("the superuser may write any file, so nothing is read-only to this test");
        Fill("A");
        const QString name = dir.filePath("kept.txt");
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("mine");
        f.close();
        QVERIFY(f.setPermissions(QFileDevice::ReadOwner));
        ModalWatcher watcher;
        SaveChosenFile(name, kTextFilesFilter);
        QCOMPARE(watcher.seen.size(), 1);
        QCOMPARE(ReadAll(name), QByteArray("mine"));
    }

    // The dialog itself: its title and filters, the name it proposes, the filter that decides
    // the ".txt", and a cancel that changes nothing.
    void saveDialog() {
        Fill("B");
        QStringList proposed;
        QString answerName;
        QString answerFilter;
        ModalWatcher watcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->nameFilters(),
                     (QStringList{"テキストファイル (*.txt)", "全てのファイル (*.*)"}));
            QCOMPARE(dialog->selectedNameFilter(), QString("テキストファイル (*.txt)"));
            QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
            QVERIFY(dialog->defaultSuffix().isEmpty());
            proposed << dialog->selectedFiles().value(0);
            if (answerName.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectNameFilter(answerFilter);
            dialog->selectFile(answerName);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, with its checks
        });

        answerName = dir.filePath("first");
        answerFilter = "テキストファイル (*.txt)";
        QTest::mouseClick(form->Erase3, Qt::LeftButton);
        QCOMPARE(ReadAll(dir.filePath("first.txt")), QByteArray("/data/b.zip\r\n"));

        answerName = dir.filePath("second");
        answerFilter = "全てのファイル (*.*)";
        QTest::mouseClick(form->Erase3, Qt::LeftButton);
        QVERIFY(QFile::exists(dir.filePath("second")));

        answerName.clear();
        QTest::mouseClick(form->Erase3, Qt::LeftButton);
        QTest::mouseClick(form->Erase3, Qt::LeftButton);

        QCOMPARE(watcher.seen, QStringList(4, "保存ファイルの選択"));
        QCOMPARE(proposed.size(), 4);
        QCOMPARE(proposed[1], dir.filePath("first.txt"));
        QCOMPARE(proposed[2], dir.filePath("second"));
        QCOMPARE(proposed[3], dir.filePath("second"));
        QCOMPARE(dir.entryList(QDir::Files).size(), 2);
    }

  private:
    std::optional<QTemporaryDir> folder;  // a fresh one per test
    QDir dir;
    TForm1* form = nullptr;
};

QTEST_MAIN(DamagedListTest)
#include "damaged_list_test.moc"
