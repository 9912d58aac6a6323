// The settings file on the real form: what a quit writes comes back at the next start, and what
// a start cannot read leaves the form's defaults and every creation step in place.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/controls/check_list_box.h"
#include "app/controls/directory_list_box.h"
#include "app/controls/drive_combo_box.h"
#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "app/selection_page.h"
#include "app/stop_and_quit.h"
#include "app/window_placement.h"
#include "check/check_run.h"
#include "check/report_damaged.h"
#include "fake_archivers.h"
#include "platform/cp932.h"
#include "settings/mode_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_glue.h"

namespace {

std::array<QCheckBox*, 9> Options(const TForm1& f) {
    return {f.Melt1, f.Melt2, f.Melt3, f.Check1, f.Check2, f.Check3, f.Check4, f.Check5, f.Check6};
}

std::array<TrackBar*, 5> Tracks(const TForm1& f) {
    return {f.Track1, f.Track2, f.Track3, f.Track4, f.Track5};
}

QPoint Centre() {
    return CentredWindowPosition();
}

}  // namespace

class SettingsGlueTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(root.isValid());
        QVERIFY(QDir().mkpath(root.filePath("saved")));
    }
    // Each test in a folder of its own, which is the current one: the folder box's default.
    void init() {
        dir = std::make_unique<QDir>(root.filePath(QString::number(++run)));
        QVERIFY(dir->mkpath("."));
        QVERIFY(QDir::setCurrent(dir->path()));
        settingsFile = dir->filePath("config/Pyxidane.ini").toStdString();
        SetSettingsFileLocationForTests(settingsFile);
        fake::BindFakeArchivers();
        checkRunning = 0;
    }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void everySavedItemComesBackAfterQuitAndRestart_data() {
        QTest::addColumn<QList<bool>>("options");  // Melt1 .. Check6
        QTest::addColumn<QList<int>>("modes");
        QTest::addColumn<int>("entries");
        QTest::newRow("extract on, position kept, three entries")
            << QList<bool>{true, false, true, false, true, true, false, true, true}
            << QList<int>{5, 0, 3, 1, 4} << 3;
        QTest::newRow("extract off, position not kept, empty list")
            << QList<bool>{false, true, false, true, false, false, true, false, false}
            << QList<int>{4, 1, 0, 3, 2} << 0;
    }
    void everySavedItemComesBackAfterQuitAndRestart() {
        QFETCH(QList<bool>, options);
        QFETCH(QList<int>, modes);
        QFETCH(int, entries);
        // Two blanks and a tab in a row must survive; 〜 does not survive a CP932 round trip.
        const QString folder = dir->filePath("open  two\tblanks");
        QVERIFY(QDir().mkpath(folder));
        const QString move = QStringLiteral("/移動先/波〜ダッシュ");
        QStringList list;
        for (const char* entry :
             {"a.lzh \"書庫が壊れています\"", "b 〜.zip", "c  d.cab \"x\" \"y\""})
            list << dir->filePath(QString::fromUtf8(entry));
        list = list.mid(0, entries);

        Start();
        for (std::size_t i = 0; i < 9; ++i)
            Options(*form)[i]->setChecked(options[static_cast<qsizetype>(i)]);
        for (std::size_t i = 0; i < 5; ++i)
            Tracks(*form)[i]->setValue(modes[static_cast<qsizetype>(i)]);
        QVERIFY(form->FolderBox->SetDirectory(folder));
        form->Folder->setText(move);
        form->move(31, 47);
        for (qsizetype i = list.size() - 1; i >= 0; --i)
            AddDamagedEntry(list[i]);
        if (!list.isEmpty())
            form->CheckBox->SetChecked(1, false);  // whether ticked is not saved
        QuitAndRestart();

        const bool extract = options[0];
        const bool remember = options[4];
        QCOMPARE(form->FolderBox->Directory(), folder);
        QCOMPARE(form->DriveBox->Drive(), form->FolderBox->Drive());
        QCOMPARE(lastFolderIndex, form->FolderBox->ItemIndex());
        QCOMPARE(form->Folder->text(), move);
        QCOMPARE(QPoint(windowX, windowY), remember ? QPoint(31, 47) : Centre());
        for (std::size_t i = 0; i < 9; ++i)
            QCOMPARE(Options(*form)[i]->isChecked(), options[static_cast<qsizetype>(i)]);
        QCOMPARE(form->Melt2->isEnabled(), extract);
        QCOMPARE(form->Melt3->isEnabled(), extract);
        for (std::size_t i = 0; i < 5; ++i) {
            QCOMPARE(Tracks(*form)[i]->maximum(), extract ? 5 : 4);
            QCOMPARE(Tracks(*form)[i]->value(), modes[static_cast<qsizetype>(i)]);
        }
        QCOMPARE((QList<int>{LzhMode, ZipMode, ArjMode, CabMode, RarMode}), modes);
        QCOMPARE(form->Mode1->text(), QString::fromUtf8(modeLabels[std::size_t(modes[0])]));

        QCOMPARE(form->CheckBox->count(), int(list.size()));
        int widest = 0;
        for (int row = 0; row < form->CheckBox->count(); ++row) {
            QCOMPARE(form->CheckBox->item(row)->text(), list[row]);
            QVERIFY(form->CheckBox->IsChecked(row));
            widest = std::max(widest, EntryWidth(list[row]));
        }
        QCOMPARE(widestEntryWidth, widest);
        QCOMPARE(form->CheckBox->HorizontalExtent(), widest + 18);
    }

    // The position is written whether or not it is to be remembered.
    void quitWritesThePositionEvenWhenNotRemembered() {
        Start();
        form->Check2->setChecked(false);
        form->move(-120, 33);
        QuitAndRestart();
        const auto data = pyx::LoadSettingsFile(settingsFile);
        QVERIFY(data);
        QCOMPARE(data->x.value_or(0), -120);
        QCOMPARE(data->y.value_or(0), 33);
        QCOMPARE(QPoint(windowX, windowY), Centre());
    }

    void stopDuringARunWritesNothing() {
        Start();
        checkRunning = 1;
        StopOrQuit();
        QCOMPARE(checkRunning, 0);
        QVERIFY(!std::filesystem::exists(settingsFile));
    }

    void positionDecision_data() {
        const QRect s = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<bool>("kept");
        QTest::newRow("on the screen") << s.topLeft() + QPoint(10, 10) << true;
        QTest::newRow("partly off to the left") << QPoint(s.left() - 300, s.top() + 10) << true;
        QTest::newRow("title bar partly above") << QPoint(s.left() + 10, s.top() - 20) << true;
        QTest::newRow("off to the right") << QPoint(s.right() + 1, s.top() + 10) << false;
        QTest::newRow("title bar just above") << QPoint(s.left() + 10, s.top() - 24) << false;
        QTest::newRow("below") << QPoint(s.left() + 10, s.bottom() + 1) << false;
        QTest::newRow("far away") << QPoint(-30000, 30000) << false;
    }
    void positionDecision() {
        QFETCH(QPoint, saved);
        QFETCH(bool, kept);
        pyx::SettingsState state;
        state.x = saved.x();
        state.y = saved.y();
        QVERIFY(pyx::SaveSettingsFile(settingsFile, state));
        Start();
        QCOMPARE(QPoint(windowX, windowY), kept ? saved : Centre());
    }

    // What a start cannot read keeps its default; every creation step still runs.
    void unreadableFilesKeepTheDefaults_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("folderRead");
        QTest::addColumn<QString>("move");  // empty: the default
        QTest::addColumn<bool>("positionRead");
        QTest::addColumn<int>("lzhMode");
        QTest::addColumn<int>("entries");

        const std::string valid = ValidText("saved");
        auto replaced = [&](std::string_view from, std::string_view to) {
            std::string text = ValidText("saved");
            text.replace(text.find(from), from.size(), to);
            return Bytes(text);
        };
        QTest::newRow("as written") << Bytes(valid) << true << "/移動" << true << 3 << 1;
        QTest::newRow("another version")
            << replaced("Version 0.40", "Version 0.39") << false << "" << false << 2 << 0;
        QTest::newRow("saved folder gone")
            << Bytes(ValidText("gone")) << false << "/移動" << true << 3 << 1;
        QTest::newRow("x no integer")
            << replaced("  40  //X", "  4O  //X") << true << "/移動" << false << 3 << 1;
        QTest::newRow("no [Move]")
            << Bytes(valid.substr(0, valid.find("[Move]"))) << false << "" << false << 2 << 0;
        QTest::newRow("empty") << QByteArray() << false << "" << false << 2 << 0;
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char(i * 151 % 256);
        QTest::newRow("binary") << binary << false << "" << false << 2 << 0;
    }
    void unreadableFilesKeepTheDefaults() {
        QFETCH(QByteArray, file);
        QFETCH(bool, folderRead);
        QFETCH(QString, move);
        QFETCH(bool, positionRead);
        QFETCH(int, lzhMode);
        QFETCH(int, entries);
        WriteFile(file);
        const QString defaultMove = QDir::homePath() + "/Pyxidane";

        Start();
        QCOMPARE(form->FolderBox->Directory(), folderRead ? root.filePath("saved") : dir->path());
        QCOMPARE(form->Folder->text(), move.isEmpty() ? defaultMove : move);
        QCOMPARE(QPoint(windowX, windowY), positionRead ? QPoint(40, 50) : Centre());
        QCOMPARE(form->Track1->value(), lzhMode);
        QCOMPARE(form->CheckBox->count(), entries);
        // The steps after the reader.
        QCOMPARE(LzhMode, lzhMode);
        QCOMPARE(form->Mode1->text(), QString::fromUtf8(modeLabels[std::size_t(lzhMode)]));
        QCOMPARE(form->Dll1->text(), QStringLiteral("UNLHA32.DLL : 1.00"));
        QCOMPARE(lastFolderIndex, form->FolderBox->ItemIndex());
        const auto* tray = form->findChild<QSystemTrayIcon*>();
        QVERIFY(tray);
        QCOMPARE(tray->toolTip(), QStringLiteral("Pyxidane Version 0.40"));
    }

    // The bars clamp a saved mode to their range, which the extract option has set by then.
    void savedModesAreClampedByTheBars_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("extract");
        QTest::addColumn<int>("mode");
        QTest::newRow("5 without extract") << "5" << false << 4;
        QTest::newRow("5 with extract") << "5" << true << 5;
        QTest::newRow("9 with extract") << "9" << true << 5;
        QTest::newRow("minus") << "-" << false << 0;
        QTest::newRow("kanji, bytes from 128 up") << "解" << true << 0;
    }
    void savedModesAreClampedByTheBars() {
        QFETCH(QString, word);
        QFETCH(bool, extract);
        QFETCH(int, mode);
        pyx::SettingsState state;
        state.options[pyx::Option::Melt1] = extract;
        std::string text = pyx::ComposeSettingsFile(state);
        const std::string line = "2  //LZH書庫";
        text.replace(text.find(line), 1, word.toStdString());
        WriteFile(Bytes(text));
        Start();
        QCOMPARE(form->Track1->value(), mode);
        QCOMPARE(LzhMode, mode);
        QCOMPARE(form->Track2->value(), 2);
    }

    // A kind whose engine is missing is switched off for the run, whatever the file says, and the
    // next quit writes it as 0.
    void missingKindIsSwitchedOffAndSavedAsOff() {
        pyx::SettingsState state;
        state.modes = {3, 3, 3, 3, 3};
        QVERIFY(pyx::SaveSettingsFile(settingsFile, state));
        pyx::archiverBindings[pyx::KindZip] = {};
        pyx::archiverBindings[pyx::KindRar] = {};
        Start();
        QCOMPARE(form->Dll1->text(), QStringLiteral("UNLHA32.DLL : 1.00"));
        QCOMPARE(form->Dll2->text(), QStringLiteral("UNZIP32.DLL : なし"));
        QCOMPARE(form->Dll5->text(), QStringLiteral("UNRAR32.DLL : なし"));
        QCOMPARE(form->Dll6->text(), QStringLiteral("UNRAR.DLL : なし"));
        QCOMPARE((QList<int>{LzhMode, ZipMode, ArjMode, CabMode, RarMode}),
                 (QList<int>{3, 0, 3, 3, 0}));
        QVERIFY(form->Track1->isEnabled());
        QVERIFY(!form->Track2->isEnabled());
        QVERIFY(!form->Track5->isEnabled());
        QCOMPARE(form->Track2->value(), 0);
        QCOMPARE(form->Mode2->text(), QStringLiteral("チェックしない"));

        QuitAndRestart();
        const auto data = pyx::LoadSettingsFile(settingsFile);
        QVERIFY(data);
        QCOMPARE(data->savedModes[0].value_or(-1), 3);
        QCOMPARE(data->savedModes[1].value_or(-1), 0);
        QCOMPARE(data->savedModes[4].value_or(-1), 0);
        // Its engine is back now, and the kind stays off until the user moves its bar.
        QVERIFY(form->Track2->isEnabled());
        QCOMPARE(ZipMode, 0);
    }

  private:
    void Start() {
        form.reset();
        widestEntryWidth = 0;
        form = std::make_unique<TForm1>();
    }
    // The way out through the quit button, then a new start with the engines bound again.
    void QuitAndRestart() {
        StopOrQuit();
        form.reset();
        fake::BindFakeArchivers();
        QVERIFY(QDir::setCurrent(dir->path()));
        Start();
    }
    void WriteFile(const QByteArray& bytes) {
        QVERIFY(QDir().mkpath(QString::fromStdString(settingsFile.parent_path().string())));
        QFile f(QString::fromStdString(settingsFile.string()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    static QByteArray Bytes(const std::string& text) {
        return QByteArray::fromStdString(pyx::EncodeTextFile(text));
    }
    // A file as a quit writes it: the open folder `name` (saved exists, gone does not), move
    // "/移動", position 40, 50, LZH mode 3, one entry.
    std::string ValidText(const QString& name) const {
        pyx::SettingsState state;
        state.openFolder = root.filePath(name).toStdString();
        state.moveFolder = "/移動";
        state.x = 40;
        state.y = 50;
        state.modes[0] = 3;
        state.listEntries = {root.filePath("x.lzh").toStdString()};
        return pyx::ComposeSettingsFile(state);
    }

    QTemporaryDir root;
    int run = 0;
    std::unique_ptr<QDir> dir;
    std::filesystem::path settingsFile;
    std::unique_ptr<TForm1> form;
};

QTEST_MAIN(SettingsGlueTest)
#include "settings_glue_test.moc"
