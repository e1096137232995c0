#include "app/grid/availability_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "app/grid/timetable_grid_view.h"
#include "app/shell/list_picker.h"
#include "app/shell/not_available.h"
#include "core/grid/grid_frame.h"
#include "core/grid/grid_navigation.h"
#include "tests/app/support/test_application.h"
#include "tests/support/school_fixture.h"

namespace tavrel::app {

using grid::GridKind;
using grid::LabelLine;
using grid::LabelPosition;

namespace {

// A school of 6 days of 8 periods: 7A has Maths with MS OSEI as one block of three (Tuesday,
// periods 3 to 5) and Art with MR KIM on Monday period 1 and Thursday period 2.
struct GridData {
  explicit GridData(testing::TestApplication& data, int swrkdays = 608)
      : f(data.store(), data.session(), {.swrkdays = swrkdays}) {
    c7a = f.addClass("7A");
    c7b = f.addClass("7B");
    osei = f.addResource("MS OSEI");
    kim = f.addResource("MR KIM");
    maths = f.addSubject("Maths");
    art = f.addSubject("Art");
    block = f.addIndent({.cls = c7a, .resource = osei, .subject = maths, .periods = 3, .clusterOf = 3});
    f.place(block, 2, 3);
    single = f.addIndent({.cls = c7a, .resource = kim, .subject = art, .periods = 2});
    f.place(single, 1, 1);
    f.place(single, 4, 2);
    for (int code : {store::kFlushClasses, store::kFlushResources, store::kFlushSubjects}) f.session().flush(code);
  }

  testing::SchoolFixture f;
  int c7a = 0, c7b = 0, osei = 0, kim = 0, maths = 0, art = 0, block = 0, single = 0;
};

QAction* command(QWidget& window, const char* name) {
  auto* found = window.findChild<QAction*>(QString::fromLatin1(name));
  if (!found) qWarning("no action %s", name);
  return found;
}

void click(AvailabilityWindow& window, const LabelPosition& label) {
  TimetableGridView* view = window.gridView();
  QTest::mouseClick(view, Qt::LeftButton, {}, view->labelRect(label).center());
}

// A right click on a label, as the window system reports it.
void rightClick(AvailabilityWindow& window, const LabelPosition& label) {
  TimetableGridView* view = window.gridView();
  const QPoint at = view->labelRect(label).center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->mapToGlobal(at));
  QApplication::sendEvent(view, &event);
}

QString found(AvailabilityWindow& window) {
  auto* top = window.findChild<QStackedWidget*>();
  return top && top->currentWidget() != window.toolBar() ? window.foundLabel()->text() : QString();
}

QAction* itemNamed(QMenu* menu, const QString& text) {
  for (QAction* item : menu->actions()) {
    if (item->text() == text) return item;
  }
  qWarning("no item %s", qPrintable(text));
  return nullptr;
}

}  // namespace

class AvailabilityWindowTest : public QObject {
  Q_OBJECT

 private:
  // The window on the week of an owner of the view kind, shown and in front.
  std::unique_ptr<AvailabilityWindow> open(char viewKind, std::optional<grid::GridOwner> owner = {}) {
    data_->session().viewKind = viewKind;
    if (owner && !grid::selectOwner(data_->session(), *owner)) return nullptr;
    auto window = std::make_unique<AvailabilityWindow>(
        data_->application(), [this](const std::string& topic) { helpAskedFor_ = topic; });
    window->show();
    if (!QTest::qWaitForWindowActive(window.get())) return nullptr;
    return window;
  }

  std::unique_ptr<testing::TestApplication> data_;
  std::unique_ptr<GridData> school_;
  std::string helpAskedFor_;

 private slots:
  void init() {
    data_ = std::make_unique<testing::TestApplication>();
    QVERIFY(data_->ready());
    school_ = std::make_unique<GridData>(*data_);
    helpAskedFor_.clear();
  }

  void cleanup() {
    school_.reset();
    data_.reset();
  }

  void aClassWeekShowsItsLessonsInTheSchoolsFrame() {
    data_->session().pendingWindow = 'E';
    auto window = open('C', grid::GridOwner{GridKind::Class, school_->c7a});
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("TF5"));
    QCOMPARE(data_->session().pendingWindow, 'N');
    QCOMPARE(window->windowTitle(), QStringLiteral("SCHOOL1 - Class Availability/Timetable (All)"));
    QCOMPARE(window->gridView()->dayColumns(), 6);
    QCOMPARE(window->gridView()->periodRows(), 8);
    QVERIFY(window->width() >= 101 * 6 + 38);
    QVERIFY(window->height() >= 40 * 8 + 84);

    const grid::TimetableGrid& grid = window->model()->grid();
    QCOMPARE(grid.at(2, 4).upper, std::string("Maths"));
    QCOMPARE(grid.at(2, 4).lower, std::string("MS OSEI"));
    QCOMPARE(grid.at(1, 1).upper, std::string("Art"));
    QCOMPARE(grid.at(1, 2).upper, std::string("Available"));

    // Commands that need a selection, and the week setup of a grid with lessons, wait.
    for (const char* name : {"actionShowSelected", "actionMakeAvailable", "actionMakeNotAvailable",
                             "actionWeekSetup", "actionEdit", "actionStatistics"}) {
      QVERIFY2(!command(*window, name)->isEnabled(), name);
    }
    for (const char* name : {"actionListSelect", "actionToggle", "actionShowFree", "actionShowPartner",
                             "actionShowSubject", "actionInstitutionView", "actionNext"}) {
      QVERIFY2(command(*window, name)->isEnabled(), name);
    }
    QCOMPARE(command(*window, "actionToggle")->text(), QStringLiteral("Resource Availa&bility"));
    QCOMPARE(command(*window, "actionToggle")->toolTip(), QStringLiteral("Toggle"));
    QCOMPARE(command(*window, "actionShowPartner")->toolTip(), QStringLiteral("Show Resource"));
    QVERIFY(command(*window, "actionEdit")->toolTip().endsWith(QString::fromLatin1(kNotAvailable)));
    QVERIFY(data_->prompter.boxes.empty());  // six days: the toolbar shows whole

    QTest::keyClick(window.get(), Qt::Key_F1);
    QCOMPARE(helpAskedFor_, std::string("F5"));
  }

  void showCommandsCountInTheFoundPanelUntilOk() {
    auto window = open('C', grid::GridOwner{GridKind::Class, school_->c7a});
    QVERIFY(window);
    click(*window, {2, 4, LabelLine::Upper});
    QCOMPARE(window->model()->SelectedText(), std::string("Maths"));
    QCOMPARE(command(*window, "actionEdit")->text(), QStringLiteral("&Edit Maths"));
    QCOMPARE(command(*window, "actionStatistics")->text(), QStringLiteral("Maths &Statistics"));

    command(*window, "actionShowSelected")->trigger();
    QCOMPARE(found(*window), QStringLiteral("    3 Found"));
    QVERIFY(window->model()->highlight()->lit(2, 5));
    QVERIFY(!window->toolBar()->isVisible());
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("BOk")), Qt::LeftButton);
    QCOMPARE(found(*window), QString());
    QVERIFY(window->toolBar()->isVisible());

    command(*window, "actionShowFree")->trigger();
    QCOMPARE(found(*window), QStringLiteral("    43 Found"));  // 48 periods, 5 taken
    command(*window, "actionShowNotAvailable")->trigger();
    QCOMPARE(found(*window), QStringLiteral("    0 Found"));

    // The drop lists hold what occurs in the grid, by name.
    command(*window, "actionShowSubject")->trigger();
    QMenu* subjects = window->subjectList();
    QTRY_VERIFY(subjects->isVisible());
    QCOMPARE(subjects->actions().size(), 2);
    QCOMPARE(subjects->actions()[0]->text(), QStringLiteral("Art"));
    itemNamed(subjects, QStringLiteral("Art"))->trigger();
    subjects->close();
    QCOMPARE(found(*window), QStringLiteral("    2 Found"));
    command(*window, "actionShowPartner")->trigger();
    QTRY_VERIFY(window->partnerList()->isVisible());
    itemNamed(window->partnerList(), QStringLiteral("MS OSEI"))->trigger();
    window->partnerList()->close();
    QCOMPARE(found(*window), QStringLiteral("    3 Found"));

    // Selecting another label takes the highlight away; the cell's menu names its text.
    click(*window, {1, 1, LabelLine::Lower});
    QCOMPARE(found(*window), QString());
    rightClick(*window, {1, 1, LabelLine::Lower});
    QMenu* cell = window->cellMenu();
    QTRY_VERIFY(cell->isVisible());
    QCOMPARE(cell->actions()[0]->text(), QStringLiteral("&Edit MR KIM"));
    QVERIFY(!cell->actions()[0]->isEnabled());
    QCOMPARE(cell->actions()[1]->text(), QStringLiteral("Show &Periods MR KIM"));
    cell->actions()[1]->trigger();
    cell->close();
    QCOMPARE(found(*window), QStringLiteral("    2 Found"));

    // An "Available" label names nothing: the cell's commands are off.
    rightClick(*window, {1, 2, LabelLine::Upper});
    QTRY_VERIFY(cell->isVisible());
    QCOMPARE(window->model()->SelectedText(), std::string("Available"));
    QCOMPARE(cell->actions()[1]->text(), QStringLiteral("Show &Periods Available"));
    QVERIFY(!cell->actions()[1]->isEnabled());
    cell->close();
    QVERIFY(data_->prompter.boxes.empty());
  }

  void makingABlockNotAvailableErasesItAfterTheQuestion() {
    auto window = open('C', grid::GridOwner{GridKind::Class, school_->c7a});
    QVERIFY(window);
    testing::SchoolFixture& f = school_->f;
    const int total = f.classRecord(school_->c7a).CLSTOTLEC;

    click(*window, {2, 4, LabelLine::Lower});
    data_->prompter.answers = {false};
    command(*window, "actionMakeNotAvailable")->trigger();
    QCOMPARE(data_->prompter.boxes.size(), std::size_t{1});
    QCOMPARE(data_->prompter.boxes[0].kind, MessageKind::Warning);
    QCOMPARE(data_->prompter.boxes[0].text, std::string(grid::kEraseForNotAvailable));
    QCOMPARE(f.indent(school_->block).ANOLECALL, 3);  // declined: nothing changed

    data_->prompter.answers = {true};
    command(*window, "actionMakeNotAvailable")->trigger();
    QCOMPARE(data_->prompter.boxes.size(), std::size_t{2});
    // The whole block goes, from the class and from the resource; the class's cells are closed.
    QCOMPARE(f.indent(school_->block).ANOLECALL, 0);
    for (int period : {3, 4, 5}) {
      QCOMPARE(f.cell('C', school_->c7a, 2, period).TSUBJECT, 0);
      QCOMPARE(f.cell('T', school_->osei, 2, period).TSUBJECT, 999);
      QCOMPARE(window->model()->grid().at(2, period).upper, std::string("N.A."));
    }
    QCOMPARE(f.classRecord(school_->c7a).CLSTOTLEC, total - 3);
    QCOMPARE(window->model()->SelectedText(), std::string("N.A."));

    command(*window, "actionShowNotAvailable")->trigger();
    QCOMPARE(found(*window), QStringLiteral("    3 Found"));
    command(*window, "actionMakeAvailable")->trigger();  // any command takes the highlight away
    QCOMPARE(found(*window), QString());
    QCOMPARE(f.cell('C', school_->c7a, 2, 4).TSUBJECT, 999);
    QCOMPARE(f.classRecord(school_->c7a).CLSTOTLEC, total - 2);
    QCOMPARE(data_->prompter.boxes.size(), std::size_t{2});
    QVERIFY(!command(*window, "actionWeekSetup")->isEnabled());  // Art is still there
  }

  void theResourceGridMarksAPartTimeResourceAndSteps() {
    auto window = open('C', grid::GridOwner{GridKind::Class, school_->c7a});
    QVERIFY(window);
    command(*window, "actionToggle")->trigger();
    QCOMPARE(window->windowTitle(), QStringLiteral("SCHOOL1 - Resource Availability/Timetable (All)"));
    QCOMPARE(data_->session().viewKind, 'T');
    QCOMPARE(command(*window, "actionToggle")->text(), QStringLiteral("Class Availa&bility"));
    QCOMPARE(command(*window, "actionShowPartner")->toolTip(), QStringLiteral("Show Class"));

    // The resource list is in name order: MR KIM, then MS OSEI.
    command(*window, "actionFirst")->trigger();
    QCOMPARE(window->model()->owner().code, school_->kim);
    command(*window, "actionNext")->trigger();
    QCOMPARE(window->model()->owner().code, school_->osei);
    QCOMPARE(window->model()->grid().at(2, 3).lower, std::string("7A"));

    testing::SchoolFixture& f = school_->f;
    QCOMPARE(f.resourceRecord(school_->osei).TPARTTIME, std::string("N"));
    click(*window, {3, 1, LabelLine::Upper});
    command(*window, "actionMakeNotAvailable")->trigger();
    QCOMPARE(f.cell('T', school_->osei, 3, 1).TSUBJECT, 0);
    QCOMPARE(f.resourceRecord(school_->osei).TPARTTIME, std::string("Y"));
    QVERIFY(data_->prompter.boxes.empty());  // a free cell changes without a question
  }

  void listSelectPicksAnotherClassByName() {
    auto window = open('C', grid::GridOwner{GridKind::Class, school_->c7a});
    QVERIFY(window);
    QStringList listed;
    QTimer::singleShot(0, window.get(), [&listed] {
      auto* picker = qobject_cast<ListPicker*>(QApplication::activeModalWidget());
      QVERIFY(picker);
      for (int row = 0; row < picker->list()->count(); ++row) listed << picker->list()->item(row)->text();
      QCOMPARE(picker->list()->currentItem()->text(), QStringLiteral("7A"));
      picker->list()->setCurrentRow(1);
      picker->accept();
    });
    QTest::keyClick(window.get(), Qt::Key_F5);
    QCOMPARE(listed, (QStringList{"7A", "7B"}));
    QCOMPARE(window->model()->owner().code, school_->c7b);
    QCOMPARE(data_->session().classes().current()->CLSNAME, std::string("7B"));
    QVERIFY(command(*window, "actionWeekSetup")->isEnabled());  // 7B has no lesson
  }

  void aViewCommandClosesTheWindowAndLeavesItsRequest() {
    auto window = open('T', grid::GridOwner{GridKind::Resource, school_->kim});
    QVERIFY(window);
    click(*window, {4, 2, LabelLine::Lower});  // 7A's Art
    command(*window, "actionClassView")->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(data_->session().pendingWindow, 'V');
    QCOMPARE(data_->session().viewKind, 'C');
    QCOMPARE(data_->session().classes().current()->CLSCODE, school_->c7a);

    window->show();  // opened again: the request is taken
    QCOMPARE(data_->session().pendingWindow, 'N');
    command(*window, "actionInstitutionView")->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(data_->session().pendingWindow, 'I');
  }

  void theSchoolsWeekSetupShapesItsOwnAvailability() {
    auto window = open('L');
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("SCHOOL1 - School Availability"));
    QCOMPARE(window->gridView()->dayColumns(), 9);
    QCOMPARE(window->gridView()->periodRows(), 12);
    // 950 × 567, or as wide as the test screen allows while every day still shows in full.
    QCOMPARE(window->height(), 567);
    QVERIFY(window->width() >= std::min(950, window->screen()->availableGeometry().width()));
    QVERIFY(!command(*window, "actionListSelect")->isEnabled());
    QVERIFY(!command(*window, "actionToggle")->isEnabled());
    QVERIFY(!command(*window, "actionNext")->isEnabled());
    QVERIFY(command(*window, "actionWeekSetup")->isEnabled());

    QString shownDialog;
    QTimer::singleShot(0, window.get(), [&shownDialog] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      shownDialog = dialog->objectName();
      // Monday, through the dialog's "Periods" entry: 6 periods from the top of the day.
      dialog->findChild<QAbstractButton*>(QStringLiteral("RB1"))->click();
      dialog->findChild<QPushButton*>(QStringLiteral("BPeriods"))->click();
      QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("EPStp")), QStringLiteral("6"));
      dialog->findChild<QPushButton*>(QStringLiteral("BApply"))->click();
      if (dialog->isVisible()) dialog->reject();  // refused: the test fails below, it does not hang
    });
    command(*window, "actionWeekSetup")->trigger();
    QCOMPARE(shownDialog, QStringLiteral("TF14"));

    testing::SchoolFixture& f = school_->f;
    for (int period = 1; period <= 12; ++period) {
      QCOMPARE(f.cell('L', 1, 1, period).TSUBJECT, period <= 6 ? 999 : 0);
      QCOMPARE(f.cell('L', 1, 2, period).TSUBJECT, period <= 8 ? 999 : 0);
    }
    QCOMPARE(data_->session().school()->STOTLEC, 6 + 5 * 8);
    QCOMPARE(window->model()->grid().at(1, 7).upper, std::string("N.A."));
    QVERIFY(data_->prompter.boxes.empty());
  }

  void aShortWeekSaysTheToolbarIsCutOff() {
    school_.reset();
    data_ = std::make_unique<testing::TestApplication>();
    QVERIFY(data_->ready());
    school_ = std::make_unique<GridData>(*data_, 508);
    auto window = open('C', grid::GridOwner{GridKind::Class, school_->c7a});
    QVERIFY(window);
    QTRY_COMPARE(data_->prompter.boxes.size(), std::size_t{1});
    QCOMPARE(data_->prompter.boxes[0].kind, MessageKind::Information);
    QCOMPARE(data_->prompter.boxes[0].text, std::string(grid::kToolbarTruncated));
    QCOMPARE(window->gridView()->dayColumns(), 5);
    QCOMPARE(window->size(), QSize(101 * 5 + 38, 40 * 8 + 84));  // the grid still shows every name

    // Opened again at the same width: said once. F2 reaches every command.
    window->hide();
    window->show();
    QTest::qWait(20);
    QCOMPARE(data_->prompter.boxes.size(), std::size_t{1});
    QTest::keyClick(window.get(), Qt::Key_F2);
    QTRY_VERIFY(window->topMenu()->isVisible());
    QVERIFY(window->topMenu()->actions().contains(command(*window, "actionMakeNotAvailable")));
    QCOMPARE(command(*window, "actionShowSelected")->text(), QStringLiteral("S&how Selected Periods"));
    window->topMenu()->close();
  }
};

}  // namespace tavrel::app

QTEST_MAIN(tavrel::app::AvailabilityWindowTest)
#include "availability_window_test.moc"
