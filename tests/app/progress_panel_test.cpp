#include "app/ports/progress_panel.h"

#include <QTest>
#include <QWidget>

namespace tavrel::app {

class ProgressPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void showsStepsAndHides() {
    QWidget window;
    ProgressPanel panel(&window);
    window.show();
    QVERIFY(!panel.widget()->isVisible());
    panel.show("Loading Sample...", 20);
    QVERIFY(panel.widget()->isVisible());
    QCOMPARE(panel.caption(), QStringLiteral("Loading Sample..."));
    panel.step(3);
    QCOMPARE(panel.value(), 3);
    panel.text("Backing up Data...");
    QCOMPARE(panel.caption(), QStringLiteral("Backing up Data..."));
    panel.hide();
    QVERIFY(!panel.widget()->isVisible());
  }

  void aStopRequestLastsUntilTheNextWork() {
    QWidget window;
    ProgressPanel panel(&window);
    panel.show("Restoring Data...", 5);
    QVERIFY(!panel.pump());
    panel.requestCancel();
    QVERIFY(panel.pump());
    panel.show("Restoring Data...", 5);
    QVERIFY(!panel.pump());
  }
};

}  // namespace tavrel::app

QTEST_MAIN(tavrel::app::ProgressPanelTest)
#include "progress_panel_test.moc"
