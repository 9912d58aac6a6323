#include <QtTest>

#include "app/controls/image_button.h"
#include "app/form1.h"
#include "app/title_bar.h"
#include "archiver_marker.h"
#include "check/check_run.h"

class TitleBarTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        MarkArchiversBound();
        checkRunning = 0;
        titleDragging = 0;
    }

    void hitRanges_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("pressX");
        QTest::addColumn<int>("releaseX");
        QTest::addColumn<int>("running");
        QTest::addColumn<bool>("drags");
        QTest::addColumn<bool>("hides");
        QTest::addColumn<bool>("quits");
        QTest::addColumn<bool>("stops");
        //                          button            press release run drag   hide   quit   stop
        QTest::newRow("title drag")
            << Qt::LeftButton << 100 << 100 << 0 << true << false << false << false;
        QTest::newRow("last drag x")
            << Qt::LeftButton << 289 << 289 << 0 << true << true << false << false;
        QTest::newRow("minimise") << Qt::LeftButton << 300 << 300 << 0 << false << true << false
                                  << false;
        QTest::newRow("minimise low edge")
            << Qt::LeftButton << 300 << 288 << 0 << false << false << false << false;
        QTest::newRow("minimise high edge")
            << Qt::LeftButton << 300 << 310 << 0 << false << false << false << false;
        QTest::newRow("cross quits")
            << Qt::LeftButton << 320 << 320 << 0 << false << false << true << false;
        QTest::newRow("cross low edge")
            << Qt::LeftButton << 320 << 313 << 0 << false << false << false << false;
        QTest::newRow("cross high edge")
            << Qt::LeftButton << 320 << 335 << 0 << false << false << false << false;
        QTest::newRow("cross stops run")
            << Qt::LeftButton << 320 << 320 << 1 << false << false << false << true;
        QTest::newRow("release counts")
            << Qt::LeftButton << 100 << 320 << 0 << true << false << true << false;
        QTest::newRow("right press")
            << Qt::RightButton << 100 << 100 << 0 << false << false << false << false;
        QTest::newRow("right on cross")
            << Qt::RightButton << 320 << 320 << 0 << false << false << false << false;
    }

    void hitRanges() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, pressX);
        QFETCH(int, releaseX);
        QFETCH(int, running);
        QFETCH(bool, drags);
        QFETCH(bool, hides);
        QFETCH(bool, quits);
        QFETCH(bool, stops);

        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        checkRunning = running;

        QTest::mousePress(form.TitleBar, button, {}, QPoint(pressX, 11));
        QCOMPARE(titleDragging == 1, drags);
        QTest::mouseRelease(form.TitleBar, button, {}, QPoint(releaseX, 11));
        QCOMPARE(titleDragging, 0);

        // Offscreen there is no tray, so hiding minimises.
        QCOMPARE(form.isMinimized() || !form.isVisible(), hides);
        QCOMPARE(ArchiversReleased(), quits);
        QCOMPARE(checkRunning, running == 1 && !stops ? 1 : 0);
    }

    void dragMovesTheWindowWithThePointer() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(200, 150);
        const QPoint start = form.pos();

        QTest::mousePress(form.TitleBar, Qt::LeftButton, {}, QPoint(100, 10));
        QTest::mouseMove(form.TitleBar, QPoint(130, 14));
        QCOMPARE(form.pos(), start + QPoint(30, 4));
        QTest::mouseRelease(form.TitleBar, Qt::LeftButton, {}, QPoint(130, 14));
        QTest::mouseMove(form.TitleBar, QPoint(150, 20));  // no drag after the release
        QCOMPARE(form.pos(), start + QPoint(30, 4));
    }
};

QTEST_MAIN(TitleBarTest)
#include "title_bar_test.moc"
