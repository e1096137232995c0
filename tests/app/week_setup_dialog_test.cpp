#include "app/setup/week_setup_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "tests/app/support/test_application.h"

namespace tavrel::app {

namespace {

constexpr const char* kNotADigit = "\"x\" is not a valid value. Permissible range is 0 to 9.";

template <class Widget>
Widget* control(QWidget& window, const QString& name) {
  auto* found = window.findChild<Widget*>(name);
  if (!found) qWarning("no control %s", qPrintable(name));
  return found;
}

QLineEdit* box(QWidget& window, int day) {
  return control<QLineEdit>(window, QStringLiteral("E%1").arg(day));
}
QRadioButton* dayButton(QWidget& window, int day) {
  return control<QRadioButton>(window, QStringLiteral("RB%1").arg(day));
}
QPushButton* button(QWidget& window, const char* name) {
  return control<QPushButton>(window, QString::fromLatin1(name));
}

}  // namespace

class WeekSetupDialogTest : public QObject {
  Q_OBJECT

 private:
  // A class of a school with a five-day cycle of eight periods, the dialog open and in front.
  std::unique_ptr<WeekSetupDialog> openForClass() {
    data_->addSchool(1, "RIVERSIDE", 508);
    data_->addClass(1, 1, "7A");
    data_->session().setSchool(1);
    data_->session().viewKind = 'C';
    auto dialog = std::make_unique<WeekSetupDialog>(
        data_->application(), [this](const std::string& topic) { helpAskedFor_ = topic; });
    dialog->show();
    if (!QTest::qWaitForWindowActive(dialog.get())) return nullptr;
    return dialog;
  }

  std::unique_ptr<testing::TestApplication> data_;
  std::string helpAskedFor_;

 private slots:
  void init() {
    data_ = std::make_unique<testing::TestApplication>();
    QVERIFY(data_->ready());
    helpAskedFor_.clear();
  }

  void opensWithTheDaysOfTheCycleAndItsHelpText() {
    auto dialog = openForClass();
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), QStringLiteral("TF14"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Week Setup"));
    QCOMPARE(control<QLabel>(*dialog, QStringLiteral("STxItm"))->text(), QStringLiteral("7A"));
    const QStringList names = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};
    for (int day = 1; day <= 9; ++day) {
      const bool inCycle = day <= 5;
      QCOMPARE(dayButton(*dialog, day)->isEnabled(), inCycle);
      QCOMPARE(box(*dialog, day)->isEnabled(), inCycle);
      QCOMPARE(box(*dialog, day)->text(), inCycle ? QStringLiteral("8") : QStringLiteral("0"));
      if (inCycle) QCOMPARE(dayButton(*dialog, day)->text(), names[day - 1]);
    }
    QVERIFY(!button(*dialog, "BPeriods")->isEnabled());
    QVERIFY(!button(*dialog, "BResetSelection")->isEnabled());
    QVERIFY(!control<QLineEdit>(*dialog, QStringLiteral("EPStp"))->isVisible());
    QVERIFY(control<QRadioButton>(*dialog, QStringLiteral("RBTopDn"))->isChecked());
    QVERIFY(button(*dialog, "BSelectAll")->hasFocus());
    const QString help = control<QPlainTextEdit>(*dialog, QStringLiteral("Memo1"))->toPlainText();
    QCOMPARE(help.split(QLatin1Char('\n')).size(), 12);
    QVERIFY(help.startsWith(QStringLiteral("Class or Resource availability can differ from \n")));
    QVERIFY(help.endsWith(QStringLiteral("are ignored in timetable setting.")));

    QTest::keyClick(dialog.get(), Qt::Key_F1);
    QCOMPARE(helpAskedFor_, std::string("F14"));
  }

  void onePeriodsEntryFillsTheSelectedDaysAndRefusedKeysSaySo() {
    auto dialog = openForClass();
    QVERIFY(dialog);
    QTest::mouseClick(dayButton(*dialog, 2), Qt::LeftButton);
    QTest::mouseClick(dayButton(*dialog, 4), Qt::LeftButton);
    QVERIFY(dayButton(*dialog, 2)->isChecked());
    QVERIFY(dayButton(*dialog, 4)->isChecked());
    QVERIFY(!dayButton(*dialog, 3)->isChecked());
    QVERIFY(button(*dialog, "BPeriods")->isEnabled());

    auto* entry = control<QLineEdit>(*dialog, QStringLiteral("EPStp"));
    button(*dialog, "BPeriods")->click();
    QVERIFY(entry->isVisible());
    QVERIFY(control<QLabel>(*dialog, QStringLiteral("STxPStp"))->isVisible());
    QTest::keyClicks(entry, QStringLiteral("12"));
    QCOMPARE(box(*dialog, 2)->text(), QStringLiteral("12"));
    QCOMPARE(box(*dialog, 4)->text(), QStringLiteral("12"));
    QCOMPARE(box(*dialog, 3)->text(), QStringLiteral("8"));
    QVERIFY(!entry->isVisible());  // a count of two keys is complete

    button(*dialog, "BPeriods")->click();
    QTest::keyClicks(entry, QStringLiteral("17"));
    QCOMPARE(data_->prompter.boxes.size(), std::size_t{1});
    QCOMPARE(data_->prompter.boxes[0].kind, MessageKind::Error);
    QCOMPARE(data_->prompter.boxes[0].text,
             std::string("\"7\" is not a valid value. Permissible range is 0 to 9."));
    QCOMPARE(box(*dialog, 2)->text(), QStringLiteral("1"));
    QCOMPARE(box(*dialog, 4)->text(), QStringLiteral("1"));

    // Typing into a day box: entering empties it, and only digits are taken.
    auto* third = box(*dialog, 3);
    third->setFocus();
    QCOMPARE(third->text(), QString());
    QTest::keyClicks(third, QStringLiteral("x6"));
    QCOMPARE(data_->prompter.boxes.back().text, std::string(kNotADigit));
    QCOMPARE(third->text(), QStringLiteral("6"));

    button(*dialog, "BResetSelection")->click();
    QVERIFY(!dayButton(*dialog, 2)->isChecked());
    QVERIFY(!button(*dialog, "BPeriods")->isEnabled());
    button(*dialog, "BSelectAll")->click();
    for (int day = 1; day <= 9; ++day) QCOMPARE(dayButton(*dialog, day)->isChecked(), day <= 5);
  }

  void applyChecksEveryDayAndHandsBackTheCounts() {
    auto dialog = openForClass();
    QVERIFY(dialog);
    auto* first = box(*dialog, 1);
    first->setFocus();
    QTest::keyClicks(first, QStringLiteral("9"));
    button(*dialog, "BApply")->click();
    QVERIFY(dialog->isVisible());
    QCOMPARE(data_->prompter.boxes.back().text,
             std::string("\"9\" is not a valid assignment. Permissible range is 0 to 8 TopDown."));
    QVERIFY(!dialog->result().has_value());

    // Counting from the bottom needs a school of twelve periods a day.
    control<QRadioButton>(*dialog, QStringLiteral("RBtmUp"))->click();
    button(*dialog, "BApply")->click();
    QCOMPARE(data_->prompter.boxes.back().text,
             std::string("\"BottomUp\" is not a valid assignment. Permissible range is 0 to 8 TopDown."));

    control<QRadioButton>(*dialog, QStringLiteral("RBTopDn"))->click();
    box(*dialog, 3)->setFocus();  // emptied on entering, and left empty
    first->setFocus();
    QTest::keyClicks(first, QStringLiteral("7"));
    button(*dialog, "BApply")->click();  // an emptied box counts as no periods
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result()->counts, (std::array<int, 9>{7, 8, 0, 8, 8, 0, 0, 0, 0}));
    QVERIFY(dialog->result()->direction == setup::Direction::TopDown);
    QCOMPARE(data_->prompter.boxes.size(), std::size_t{2});
  }

  void aSchoolCountsFromTheBottomAndCancelHandsBackNothing() {
    data_->addSchool(1, "RIVERSIDE", 506, "GULF");
    data_->session().setSchool(1);
    data_->session().viewKind = 'L';
    WeekSetupDialog dialog(data_->application(), {});

    QTimer::singleShot(0, &dialog, [&dialog] {
      QCOMPARE(control<QLabel>(dialog, QStringLiteral("STxItm"))->text(), QStringLiteral("RIVERSIDE"));
      QCOMPARE(dayButton(dialog, 1)->text(), QStringLiteral("Saturday"));
      QCOMPARE(box(dialog, 1)->text(), QStringLiteral("6"));
      button(dialog, "BSelectAll")->click();
      control<QRadioButton>(dialog, QStringLiteral("RBtmUp"))->click();
      button(dialog, "BApply")->click();
    });
    const std::optional<setup::WeekSetupResult> applied = dialog.run();
    QVERIFY(applied.has_value());
    QVERIFY(applied->direction == setup::Direction::BottomUp);
    QCOMPARE(applied->counts, (std::array<int, 9>{6, 6, 6, 6, 6, 0, 0, 0, 0}));
    // Closing starts the next opening afresh: no day selected, TopDown.
    QVERIFY(!dayButton(dialog, 1)->isChecked());
    QVERIFY(control<QRadioButton>(dialog, QStringLiteral("RBTopDn"))->isChecked());

    QTimer::singleShot(0, &dialog, [&dialog] { button(dialog, "BCancel")->click(); });
    QVERIFY(!dialog.run().has_value());
    QVERIFY(data_->prompter.boxes.empty());
  }
};

}  // namespace tavrel::app

QTEST_MAIN(tavrel::app::WeekSetupDialogTest)
#include "week_setup_dialog_test.moc"
