#include <QScrollBar>
#include <QtTest>

#include "app/controls/check_list_box.h"

// The damaged list's horizontal range is the extent it is given, never its own measure.
class CheckListBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void extentSetsTheScrollRange() {
        CheckListBox box;
        box.resize(332, 143);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.InsertEntry(0, QString(300, u'x'));  // far wider than the box
        QApplication::processEvents();
        QCOMPARE(box.horizontalScrollBar()->maximum(), 0);
        QVERIFY(!box.horizontalScrollBar()->isVisible());

        box.SetHorizontalExtent(700);
        QApplication::processEvents();
        QCOMPARE(box.horizontalScrollBar()->maximum(), 700 - box.viewport()->width());
        QVERIFY(box.horizontalScrollBar()->isVisible());

        box.InsertEntry(0, QString(600, u'y'));  // a new entry leaves the extent alone
        QApplication::processEvents();
        QCOMPARE(box.horizontalScrollBar()->maximum(), 700 - box.viewport()->width());

        box.SetHorizontalExtent(100);  // fits: no range, no bar
        QApplication::processEvents();
        QCOMPARE(box.horizontalScrollBar()->maximum(), 0);
        QVERIFY(!box.horizontalScrollBar()->isVisible());
    }
};

QTEST_MAIN(CheckListBoxTest)
#include "check_list_box_test.moc"
