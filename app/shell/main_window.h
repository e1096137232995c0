// The main window ("TFM"): menu bar, speed buttons, the user-guide pane, the progress panel and
// the status bar. Every command starts here; the window shows the state of the data and calls the
// core for every rule.
//
// Activation. The core's activation (backup rotation, reopening, per-school repair) runs when the
// window is first shown and whenever it becomes the window in front again: after a message box or
// a dialog of the program closes. The window learns of those closings itself (every box goes
// through its prompter, every dialog through `runModal`) instead of listening to focus events,
// which differ between window systems. Two guards keep it finite: a box shown by the activation
// itself does not ask for another activation, and a box shown during a command only asks for one
// after the command has finished, so the data are never reloaded under a running command.
#pragma once

#include <QDir>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/ports/observed_prompter.h"
#include "app/ports/progress_panel.h"
#include "app/shell/help_key.h"
#include "app/shell/not_available.h"
#include "core/ports/clock.h"
#include "core/shell/application.h"
#include "core/shell/command_state.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QStackedWidget;
class QTextEdit;
class QToolBar;

namespace tavrel::app {

class AvailabilityWindow;
class HelpWindow;
class HintSwitch;
class InstitutionView;
class UserGuidePane;

class MainWindow final : public QMainWindow {
  Q_OBJECT
 public:
  // The commands of the menu bar and the speed buttons, named by what they open or do.
  enum class Command {
    InstitutionView,
    SchoolView,
    ClassView,
    ResourceView,
    SubjectView,
    ClassAvailability,
    ResourceAvailability,
    AllocateAll,
    AllocateSelect,
    Reports,
    InterSchool,
    Proxy,
    Defaults,
    Backup,
    RestoreBackup,
    Zip,
    Unzip,
    OpenSchool,
    ResetInstitution,
    LoadSample,
    LoadLive,
    Exit,
    About,
    TipWizard
  };
  static constexpr const char* kNotAvailable = ::tavrel::app::kNotAvailable;

  // `programFolder` holds Data/ and Samples/; `prompter` shows every message of the program.
  MainWindow(const QDir& programFolder, Prompter& prompter, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Program start on the live data set. False, after telling the person why, when it fails.
  bool start();

  shell::Application& application() { return *application_; }
  ProgressPanel& progressPanel() { return progressPanel_; }
  UserGuidePane* userGuide() const { return guide_; }
  QLabel* statusPanel() const { return statusPanel_; }
  InstitutionView* institutionView() const;  // none before its first use
  AvailabilityWindow* availabilityWindow() const;  // none before its first use
  HelpWindow* helpWindow() const;

  // How every window opens the help window on its topic (F1).
  ShowHelp helpOpener();

 public slots:
  void activate();
  void refresh();
  void openSchool();
  void loadSample();
  void loadLive();
  void showAbout();
  void showTips();
  void openInstitutionView();
  // "&Class Availability / Timetable" ("C") and "&Resource Availability / Timetable" ("T").
  void openAvailability(char viewKind);
  void resetInstitution();
  void showHelp(const std::string& topicCode);

 signals:
  void activated();  // an activation has finished

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct CommandAction {
    Command command;
    QAction* action;
  };

  void buildMenus();
  void buildSpeedButtons();
  void buildCentralArea();
  QAction* addCommand(QWidget* where, const QString& caption, const QString& name, Command command);
  QAction* addSpeedButton(const QString& hint, const QString& name, int picture, Command command);

  void run(Command command);
  template <class Work>
  void reportFailure(Work work);
  template <class Work>
  void runCommand(Work work);
  int runModal(QDialog& dialog);
  int runOverFront(QDialog& dialog);
  void windowOfProgramClosed();
  void queueActivation();
  void releaseWorkWindows();
  void showInstitutionView(bool resumeCheck);
  AvailabilityWindow& makeAvailabilityWindow();
  bool chooseItemOfView(char viewKind);
  void showAvailabilityWindow();
  void showSchoolAvailability();
  void actOnPendingWindow(store::Session& session);

  void switchDataSet(store::DataSet dataSet);
  void showHintSettingOfDataSet();
  void applyCommandState(const shell::CommandState& state);
  bool isAllowed(Command command, const shell::CommandState& state) const;
  static bool isAvailable(Command command);

  QDir programFolder_;
  Prompter& prompter_;
  ObservedPrompter observedPrompter_;  // what the core and this window show boxes through
  ProgressPanel progressPanel_;
  SystemClock clock_;
  std::unique_ptr<shell::Application> application_;

  HintSwitch* hintSwitch_;
  UserGuidePane* guide_ = nullptr;
  QTextEdit* pleaseWait_ = nullptr;
  QStackedWidget* centralStack_ = nullptr;
  QLabel* statusPanel_ = nullptr;
  QToolBar* speedButtons_ = nullptr;
  QMenu* indentMenu_ = nullptr;
  QMenu* availabilityMenu_ = nullptr;
  QMenu* allocateMenu_ = nullptr;
  std::vector<CommandAction> commands_;

  // Work windows are made on first use and kept until the data are released for file work.
  QPointer<InstitutionView> institutionView_;
  QPointer<AvailabilityWindow> availability_;
  QPointer<HelpWindow> help_;

  bool shownOnce_ = false;
  bool activating_ = false;
  bool commandRunning_ = false;
  bool activationWanted_ = false;
  bool activationQueued_ = false;
};

}  // namespace tavrel::app
