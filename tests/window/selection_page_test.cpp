#include <QtTest>

#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/controls/file_list_box.h"
#include "app/form1.h"
#include "app/selection_page.h"

namespace {

QStringList Items(const QListWidget* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->item(i)->text();
    return texts;
}

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

// Tree:  top/ a.lzh  b.LZH  notes.txt  .hidden.lzh
//        top/Zeta/  top/alpha/deep/  top/beta/  top/.secret/
class SelectionPageTest : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir temp;
    QString top;

    // Clicks an item as the user does; the box reports it through FolderBoxClick.
    static void ClickItem(DirectoryListBox* box, int row) {
        const QRect place = box->visualItemRect(box->item(row));
        QVERIFY(!place.isEmpty());
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, place.center());
    }

    void OpenTop(TForm1& form) {
        QVERIFY(form.FolderBox->SetDirectory(top));
        lastFolderIndex = form.FolderBox->ItemIndex();
    }

    int Depth(const QString& path) { return int(path.split(u'/', Qt::SkipEmptyParts).size()); }

  private slots:
    void initTestCase() {
        QVERIFY(temp.isValid());
        top = QDir(temp.path()).canonicalPath() + QStringLiteral("/top");
        for (const char* folder : {"Zeta", "alpha/deep", "beta", ".secret"})
            QVERIFY(QDir().mkpath(top + u'/' + QLatin1String(folder)));
        for (const char* file : {"a.lzh", "b.LZH", "notes.txt", ".hidden.lzh"})
            Touch(top + u'/' + QLatin1String(file));
    }

    void openFolderListsPathThenSortedVisibleSubfolders() {
        TForm1 form;
        OpenTop(form);
        QStringList expected{QStringLiteral("/")};
        expected << top.split(u'/', Qt::SkipEmptyParts);
        const int depth = int(expected.size()) - 1;
        expected << QStringLiteral("alpha") << QStringLiteral("beta") << QStringLiteral("Zeta");
        QCOMPARE(Items(form.FolderBox), expected);
        QCOMPARE(form.FolderBox->ItemIndex(), depth);
        QCOMPARE(QDir::currentPath(), top);
        QCOMPARE(Items(form.FileBox), (QStringList{"a.lzh", "b.LZH"}));  // mask from the modes
    }

    void clickNavigates_data() {
        QTest::addColumn<QString>("start");     // below top
        QTest::addColumn<QString>("clicked");   // the item's text, or "#n" for item n
        QTest::addColumn<QString>("expected");  // below top, or an absolute path
        QTest::newRow("subfolder") << ""
                                   << "alpha"
                                   << "/alpha";
        QTest::newRow("subfolder of subfolder") << "/alpha"
                                                << "deep"
                                                << "/alpha/deep";
        QTest::newRow("parent") << "/alpha/deep"
                                << "alpha"
                                << "/alpha";
        QTest::newRow("grandparent") << "/alpha/deep"
                                     << "top"
                                     << "";
        QTest::newRow("root") << "/alpha"
                              << "#0"
                              << "/";
        QTest::newRow("first level") << "/alpha"
                                     << "#1"
                                     << "=1";
    }

    void clickNavigates() {
        QFETCH(QString, start);
        QFETCH(QString, clicked);
        QFETCH(QString, expected);
        TForm1 form;
        form.show();
        QVERIFY(form.FolderBox->SetDirectory(top + start));
        lastFolderIndex = form.FolderBox->ItemIndex();

        const int row = clicked.startsWith(u'#') ? clicked.mid(1).toInt()
                                                 : int(Items(form.FolderBox).lastIndexOf(clicked));
        QVERIFY(row >= 0);
        ClickItem(form.FolderBox, row);

        QString want = top + expected;
        if (expected == QLatin1String("/"))
            want = QStringLiteral("/");
        else if (expected == QLatin1String("=1"))
            want = u'/' + top.split(u'/', Qt::SkipEmptyParts).first();
        QCOMPARE(form.FolderBox->Directory(), want);
        QCOMPARE(QDir::currentPath(), want);
        QCOMPARE(lastFolderIndex, Depth(want));
        QCOMPARE(form.FolderBox->ItemIndex(), Depth(want));
        QCOMPARE(form.FileBox->Directory(), want);
    }

    void clickOnOpenFolderRereadsFiles() {
        TForm1 form;
        form.show();
        OpenTop(form);
        const int open = form.FolderBox->ItemIndex();
        Touch(top + QStringLiteral("/c.lzh"));
        ClickItem(form.FolderBox, open);
        QCOMPARE(form.FolderBox->Directory(), top);
        QCOMPARE(lastFolderIndex, open);
        QVERIFY(Items(form.FileBox).contains(QStringLiteral("c.lzh")));
        QFile::remove(top + QStringLiteral("/c.lzh"));
    }

    void arrowKeysNavigateAtOnce() {
        TForm1 form;
        form.show();
        QVERIFY(form.FolderBox->SetDirectory(top + QStringLiteral("/alpha")));
        lastFolderIndex = form.FolderBox->ItemIndex();
        form.FolderBox->setFocus();

        QTest::keyClick(form.FolderBox, Qt::Key_Up);
        QCOMPARE(form.FolderBox->Directory(), top);
        QTest::keyClick(form.FolderBox, Qt::Key_Down);
        QCOMPARE(form.FolderBox->Directory(), top + QStringLiteral("/alpha"));
    }

    void relativeDirectories_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare name") << ""
                                   << "beta"
                                   << "/beta";
        QTest::newRow("dot dot") << "/alpha"
                                 << ".."
                                 << "";
        QTest::newRow("sibling") << "/alpha"
                                 << "../Zeta"
                                 << "/Zeta";
    }

    void relativeDirectories() {
        QFETCH(QString, start);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        TForm1 form;
        QVERIFY(form.FolderBox->SetDirectory(top + start));
        QVERIFY(form.FolderBox->SetDirectory(text));
        QCOMPARE(form.FolderBox->Directory(), top + expected);
        QCOMPARE(QDir::currentPath(), top + expected);
    }

    void missingFolderChangesNothing() {
        TForm1 form;
        OpenTop(form);
        const QStringList before = Items(form.FolderBox);
        QVERIFY(!form.FolderBox->SetDirectory(QStringLiteral("gone")));
        QCOMPARE(Items(form.FolderBox), before);
        QCOMPARE(QDir::currentPath(), top);
    }

    void manySubfoldersAreAllListed() {
        const QString many = top + QStringLiteral("/many");
        for (int i = 0; i < 1100; ++i)
            QVERIFY(QDir().mkpath(many + QStringLiteral("/f%1").arg(i, 4, 10, QLatin1Char('0'))));
        TForm1 form;
        QVERIFY(form.FolderBox->SetDirectory(many));
        QCOMPARE(form.FolderBox->count(), Depth(many) + 1 + 1100);
        QCOMPARE(form.FolderBox->item(form.FolderBox->count() - 1)->text(),
                 QStringLiteral("f1099"));
        QVERIFY(QDir(many).removeRecursively());
    }

    void driveThatCannotBeEnteredFallsBack() {
        TForm1 form;
        OpenTop(form);
        const QString drive = form.DriveBox->Drive();
        QCOMPARE(drive, form.FolderBox->Drive());
        lastFolderIndex = -1;

        form.DriveBox->SetDrive(QStringLiteral("/no-such-volume"));

        QCOMPARE(form.DriveBox->Drive(), drive);
        QCOMPARE(form.FolderBox->Directory(), top);
        QCOMPARE(lastFolderIndex, form.FolderBox->ItemIndex());
    }

    void settingTheShownDriveSignalsNothing() {
        TForm1 form;
        QSignalSpy changes(form.DriveBox, &DriveComboBox::changed);
        form.DriveBox->SetDrive(form.DriveBox->Drive());
        QCOMPARE(changes.count(), 0);
    }
};

QTEST_MAIN(SelectionPageTest)
#include "selection_page_test.moc"
