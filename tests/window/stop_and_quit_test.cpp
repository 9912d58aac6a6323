#include <QtTest>

#include "app/controls/image_button.h"
#include "app/form1.h"
#include "archiver_marker.h"
#include "check/check_run.h"

// Every control that ends something: during a run it only stops the run; otherwise it
// releases the archivers and ends the loop. The form itself never closes.
class StopAndQuitTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { MarkArchiversBound(); }

    void stopOrQuit_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("running");
        // Start2 only while idle and Start3 only during a run: each covers the other's place.
        QTest::newRow("Start2 quits") << QStringLiteral("Start2") << 0;
        QTest::newRow("Start3 stops") << QStringLiteral("Start3") << 1;
        QTest::newRow("close request quits") << QStringLiteral("close request") << 0;
        QTest::newRow("close request stops") << QStringLiteral("close request") << 1;
    }

    void stopOrQuit() {
        QFETCH(QString, control);
        QFETCH(int, running);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Start3->setVisible(running == 1);
        checkRunning = running;

        if (control == QLatin1String("close request")) {
            form.close();
        } else {
            ImageButton* button = control == QLatin1String("Start2") ? form.Start2 : form.Start3;
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        }

        QCOMPARE(checkRunning, 0);
        QCOMPARE(ArchiversReleased(), running == 0);
        QVERIFY(form.isVisible());
    }

    void stopButtonCoversQuitButton() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.Start3->isHidden());
        QCOMPARE(form.Start3->geometry(), form.Start2->geometry());
        form.Start3->show();
        QCOMPARE(form.Sheet1->childAt(form.Start2->geometry().center()), form.Start3);
    }
};

QTEST_MAIN(StopAndQuitTest)
#include "stop_and_quit_test.moc"
