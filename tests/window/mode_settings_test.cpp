#include <QCheckBox>
#include <QLabel>
#include <QtTest>

#include "app/controls/directory_list_box.h"
#include "app/controls/file_list_box.h"
#include "app/controls/track_bar.h"
#include "app/form1.h"
#include "settings/mode_settings.h"

namespace {

QList<TrackBar*> Tracks(const TForm1& form) {
    return {form.Track1, form.Track2, form.Track3, form.Track4, form.Track5};
}

QList<QLabel*> Labels(const TForm1& form) {
    return {form.Mode1, form.Mode2, form.Mode3, form.Mode4, form.Mode5};
}

QStringList Items(const QListWidget* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->item(i)->text();
    return texts;
}

}  // namespace

class ModeSettingsTest : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir temp;

  private slots:
    void initTestCase() {
        QVERIFY(temp.isValid());
        for (const char* file : {"a.lzh", "b.ZIP", "c.arj", "d.cab", "e.rar", "f.exe", "g.txt"}) {
            QFile touch(temp.path() + u'/' + QLatin1String(file));
            QVERIFY(touch.open(QIODevice::WriteOnly));
        }
    }

    void startsAtNormal() {
        TForm1 form;
        QCOMPARE(CurrentModes(), (std::array<int, 6>{0, 2, 2, 2, 2, 2}));
        for (QLabel* label : Labels(form))
            QCOMPARE(label->text(), QStringLiteral("通常モード"));
        QCOMPARE(form.FileBox->Mask(), QStringLiteral("*.lzh;*.zip;*.arj;*.cab;*.rar;"));
    }

    // Positions set from code run the change handlers: modes, labels, mask and listing follow.
    void maskFollowsModes_data() {
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<bool>("sfx");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("all, with exe")
            << QList<int>{2, 2, 2, 2, 2} << true << "*.lzh;*.zip;*.arj;*.cab;*.rar;*.exe;"
            << QStringList{"a.lzh", "b.ZIP", "c.arj", "d.cab", "e.rar", "f.exe"};
        QTest::newRow("cab off keeps order")
            << QList<int>{1, 3, 4, 0, 2} << false << "*.lzh;*.zip;*.arj;*.rar;"
            << QStringList{"a.lzh", "b.ZIP", "c.arj", "e.rar"};
        QTest::newRow("only rar, with exe")
            << QList<int>{0, 0, 0, 0, 4} << true << "*.rar;*.exe;" << QStringList{"e.rar", "f.exe"};
        QTest::newRow("all off, exe adds nothing")
            << QList<int>{0, 0, 0, 0, 0} << true << "" << QStringList{};
    }

    void maskFollowsModes() {
        QFETCH(QList<int>, positions);
        QFETCH(bool, sfx);
        QFETCH(QString, mask);
        QFETCH(QStringList, files);
        TForm1 form;
        QVERIFY(form.FolderBox->SetDirectory(temp.path()));
        form.FileBox->SetItemIndex(0);

        form.Check5->setChecked(sfx);
        for (int kind = 0; kind < 5; ++kind)
            Tracks(form)[kind]->setValue(positions[kind]);

        const auto modes = CurrentModes();
        for (int kind = 0; kind < 5; ++kind) {
            QCOMPARE(modes[std::size_t(kind + 1)], positions[kind]);
            QCOMPARE(Labels(form)[kind]->text(),
                     QString::fromUtf8(modeLabels[std::size_t(positions[kind])]));
        }
        QCOMPARE(form.FileBox->Mask(), mask);
        QCOMPARE(Items(form.FileBox), files);
        QCOMPARE(form.FileBox->ItemIndex(), -1);
    }

    // Ticking Melt1 opens the fifth step; unticking it brings every bar at 5 back to 4 with
    // one change, and leaves the two options' ticks as they were.
    void extractModeWidensAndNarrowsTheScale_data() {
        QTest::addColumn<QList<int>>("positions");  // set while Melt1 is ticked
        QTest::addColumn<QList<int>>("after");      // once Melt1 is unticked
        QTest::addColumn<QList<int>>("changes");    // change signals of each bar on unticking
        QTest::newRow("some at extract")
            << QList<int>{5, 2, 5, 0, 4} << QList<int>{4, 2, 4, 0, 4} << QList<int>{1, 0, 1, 0, 0};
        QTest::newRow("none at extract")
            << QList<int>{1, 2, 3, 4, 0} << QList<int>{1, 2, 3, 4, 0} << QList<int>{0, 0, 0, 0, 0};
    }

    void extractModeWidensAndNarrowsTheScale() {
        QFETCH(QList<int>, positions);
        QFETCH(QList<int>, after);
        QFETCH(QList<int>, changes);
        TForm1 form;
        form.Melt3->setChecked(true);  // a tick made while enabled, kept while disabled

        form.Melt1->setChecked(true);
        QVERIFY(form.Melt2->isEnabled() && form.Melt3->isEnabled());
        for (int kind = 0; kind < 5; ++kind) {
            QCOMPARE(Tracks(form)[kind]->maximum(), 5);
            Tracks(form)[kind]->setValue(positions[kind]);
        }
        QCOMPARE(CurrentModes()[1], positions[0]);

        QList<QSharedPointer<QSignalSpy>> spies;
        for (TrackBar* track : Tracks(form))
            spies << QSharedPointer<QSignalSpy>::create(track, &TrackBar::valueChanged);
        form.Melt1->setChecked(false);

        for (int kind = 0; kind < 5; ++kind) {
            QCOMPARE(Tracks(form)[kind]->maximum(), 4);
            QCOMPARE(Tracks(form)[kind]->value(), after[kind]);
            QCOMPARE(spies[kind]->count(), changes[kind]);
            QCOMPARE(CurrentModes()[std::size_t(kind + 1)], after[kind]);
        }
        QVERIFY(!form.Melt2->isEnabled() && !form.Melt3->isEnabled());
        QVERIFY(form.Melt2->isChecked());
        QVERIFY(form.Melt3->isChecked());
        QCOMPARE(form.Mode1->text(), QString::fromUtf8(modeLabels[std::size_t(after[0])]));
    }
};

QTEST_MAIN(ModeSettingsTest)
#include "mode_settings_test.moc"
