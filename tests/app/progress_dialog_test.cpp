#include "app/ports/progress_dialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace tavrel::app {

class ProgressDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void showsTheWorkAndItsSteps() {
    ProgressDialog progress;
    progress.show("Creating timetable rows...", 3);
    ProgressWindow& window = progress.window();
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Progress..."));
    QCOMPARE(window.label()->text(), QStringLiteral("Creating timetable rows..."));
    progress.step();
    progress.step();
    QCOMPARE(window.bar()->value(), 2);
    QCOMPARE(window.bar()->maximum(), 3);
    QVERIFY(!progress.pump());
    progress.hide();
    QVERIFY(!window.isVisible());
  }

  void cancelAsksToStopOnce() {
    ProgressDialog progress;
    progress.show("Deleting...", 10);
    QPushButton* cancel = progress.window().cancelButton();
    QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));
    // Busy over the dialog, but the one button that still does something looks clickable.
    QCOMPARE(progress.window().cursor().shape(), Qt::BusyCursor);
    QCOMPARE(cancel->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(progress.pump());
    QVERIFY(!cancel->isEnabled());

    // The next piece of work starts without the old request.
    progress.show("Deleting...", 10);
    QVERIFY(!progress.pump());
    QVERIFY(cancel->isEnabled());
  }

  void closingTheDialogAsksToStop() {
    ProgressDialog progress;
    progress.show("Deleting...", 10);
    progress.window().close();
    QVERIFY(progress.pump());
  }
};

}  // namespace tavrel::app

QTEST_MAIN(tavrel::app::ProgressDialogTest)
#include "progress_dialog_test.moc"
