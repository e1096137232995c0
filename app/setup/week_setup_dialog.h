// The "Week Setup" dialog (`TF14`): the available periods of every day of one school, class or
// resource in one step, counted from the top of the day or from its bottom. The dialog changes
// no table; "App&ly" hands the nine counts and the direction back to the availability window,
// which writes them. Every rule of the dialog is the core's `WeekSetupForm`; this window shows
// the form and passes the person's clicks and keys to it.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "app/shell/help_key.h"
#include "core/setup/week_setup.h"
#include "core/shell/application.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tavrel::app {

class WeekSetupDialog final : public QDialog {
  Q_OBJECT
 public:
  WeekSetupDialog(shell::Application& application, ShowHelp showHelp, QWidget* parent = nullptr);

  // Opens for the session's current item (view kind "L", "C" or "T"); the counts and the
  // direction when "App&ly" closed it, nothing when it was cancelled.
  std::optional<setup::WeekSetupResult> run();
  const std::optional<setup::WeekSetupResult>& result() const { return result_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void prepareToShow();  // every time the dialog is shown
  void showForm();
  void apply();
  void startPeriodsEntry();
  bool typeKey(int day, const QString& key);  // day 0: the "Periods" entry
  QString itemName() const;

  shell::Application& application_;
  ShowHelp showHelp_;
  setup::WeekSetupForm form_;
  std::optional<setup::WeekSetupResult> result_;

  QLabel* item_;
  std::array<QRadioButton*, 9> dayButtons_{};
  std::array<QLineEdit*, 9> dayBoxes_{};
  QLabel* periodsCaption_;
  QLineEdit* periodsEntry_;
  QRadioButton* topDown_;
  QRadioButton* bottomUp_;
  QPushButton* selectAll_;
  QPushButton* periods_;
  QPushButton* resetSelection_;
  QPushButton* apply_;
  QPushButton* cancel_;
  QPlainTextEdit* note_;
};

}  // namespace tavrel::app
