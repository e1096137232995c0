#include "app/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <exception>

#include "app/grid/availability_window.h"
#include "app/ports/progress_dialog.h"
#include "app/setup/institution_view.h"
#include "app/shell/about_box.h"
#include "app/shell/busy_cursor.h"
#include "app/shell/help_window.h"
#include "app/shell/hint_switch.h"
#include "app/shell/pictures.h"
#include "app/shell/school_picker.h"
#include "app/shell/tip_dialog.h"
#include "app/shell/user_guide_pane.h"
#include "core/grid/grid_navigation.h"
#include "core/shell/help_topics.h"
#include "core/shell/hint_setting.h"
#include "core/shell/institution_reset.h"

namespace tavrel::app {

using shell::CommandState;
using store::DataSet;

namespace {

QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

MainWindow::MainWindow(const QDir& programFolder, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent),
      programFolder_(programFolder),
      prompter_(prompter),
      observedPrompter_(prompter, [this] { windowOfProgramClosed(); }),
      progressPanel_(this),
      application_(std::make_unique<shell::Application>(
          store::ProgramFolders{programFolder.absolutePath().toStdString()},
          shell::Ports{observedPrompter_, progressPanel_, clock_})),
      hintSwitch_(new HintSwitch(this)) {
  setObjectName(QStringLiteral("TFM"));
  setWindowIcon(picture(kPictureSchoolView));
  buildMenus();
  buildSpeedButtons();
  buildCentralArea();
  application_->setReleaseHandler([this] { releaseWorkWindows(); });
  addHelpKey(*this, std::string(shell::kMainWindowTopic), helpOpener());
  resize(1024, 768);
}

MainWindow::~MainWindow() {
  // The application releases its data on destruction; by then this window is half gone.
  application_->setReleaseHandler({});
}

// ---- Building the window ---------------------------------------------------------------------

QAction* MainWindow::addCommand(QWidget* where, const QString& caption, const QString& name,
                                Command command) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  if (!isAvailable(command)) action->setToolTip(QString::fromLatin1(kNotAvailable));
  connect(action, &QAction::triggered, this, [this, command] { run(command); });
  where->addAction(action);
  commands_.push_back({command, action});
  return action;
}

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  auto addMenu = [](QWidget* where, const QString& caption) {
    QMenu* menu = qobject_cast<QMenuBar*>(where) ? static_cast<QMenuBar*>(where)->addMenu(caption)
                                                 : static_cast<QMenu*>(where)->addMenu(caption);
    menu->setToolTipsVisible(true);  // the items not available yet say so
    return menu;
  };

  QMenu* file = addMenu(bar, QStringLiteral("&File"));
  QMenu* newMenu = addMenu(file, QStringLiteral("&New"));
  addCommand(newMenu, QStringLiteral("&School"), QStringLiteral("actionNewSchool"), Command::InstitutionView);
  addCommand(newMenu, QStringLiteral("&Class"), QStringLiteral("actionNewClass"), Command::SchoolView);
  addCommand(newMenu, QStringLiteral("&Resource"), QStringLiteral("actionNewResource"), Command::SchoolView);
  addCommand(newMenu, QStringLiteral("S&ubject"), QStringLiteral("actionNewSubject"), Command::SchoolView);
  indentMenu_ = addMenu(newMenu, QStringLiteral("&Period/Allocation Indent"));
  addCommand(indentMenu_, QStringLiteral("&Class View"), QStringLiteral("actionNewIndentClass"),
             Command::ClassView);
  addCommand(indentMenu_, QStringLiteral("&Resource View"), QStringLiteral("actionNewIndentResource"),
             Command::ResourceView);
  addCommand(indentMenu_, QStringLiteral("&Subject View"), QStringLiteral("actionNewIndentSubject"),
             Command::SubjectView);
  addCommand(file, QStringLiteral("&Open School"), QStringLiteral("actionOpenSchool"), Command::OpenSchool);
  addCommand(file, QStringLiteral("&Reset Institution"), QStringLiteral("actionResetInstitution"),
             Command::ResetInstitution);
  file->addSeparator();
  addCommand(file, QStringLiteral("Load &Sample"), QStringLiteral("actionLoadSample"), Command::LoadSample);
  addCommand(file, QStringLiteral("Load &Live"), QStringLiteral("actionLoadLive"), Command::LoadLive);
  file->addSeparator();
  addCommand(file, QStringLiteral("E&xit"), QStringLiteral("actionExit"), Command::Exit);

  QMenu* view = addMenu(bar, QStringLiteral("&View"));
  addCommand(view, QStringLiteral("&Institution  View"), QStringLiteral("actionInstitutionView"),
             Command::InstitutionView);
  addCommand(view, QStringLiteral("Sc&hool View"), QStringLiteral("actionSchoolView"), Command::SchoolView);
  addCommand(view, QStringLiteral("&Class View"), QStringLiteral("actionClassView"), Command::ClassView);
  addCommand(view, QStringLiteral("&Resource View"), QStringLiteral("actionResourceView"),
             Command::ResourceView);
  addCommand(view, QStringLiteral("&Subject View"), QStringLiteral("actionSubjectView"),
             Command::SubjectView);

  availabilityMenu_ = addMenu(bar, QStringLiteral("&Availability"));
  addCommand(availabilityMenu_, QStringLiteral("&Class Availability / Timetable"),
             QStringLiteral("actionClassAvailability"), Command::ClassAvailability);
  addCommand(availabilityMenu_, QStringLiteral("&Resource Availability / Timetable"),
             QStringLiteral("actionResourceAvailability"), Command::ResourceAvailability);

  allocateMenu_ = addMenu(bar, QStringLiteral("&A&llocate"));
  addCommand(allocateMenu_, QStringLiteral("Allocate &All"), QStringLiteral("actionAllocateAll"),
             Command::AllocateAll);
  addCommand(allocateMenu_, QStringLiteral("Allocate &Select"), QStringLiteral("actionAllocateSelect"),
             Command::AllocateSelect);

  addCommand(bar, QStringLiteral("&Reports"), QStringLiteral("actionReports"), Command::Reports);
  addCommand(bar, QStringLiteral("&InterSchool"), QStringLiteral("actionInterSchool"), Command::InterSchool);
  addCommand(bar, QStringLiteral("Pro&xy"), QStringLiteral("actionProxy"), Command::Proxy);
  addCommand(bar, QStringLiteral("&Defaults"), QStringLiteral("actionDefaults"), Command::Defaults);

  QMenu* tools = addMenu(bar, QStringLiteral("T&ools"));
  addCommand(tools, QStringLiteral("&Backup"), QStringLiteral("actionBackup"), Command::Backup);
  addCommand(tools, QStringLiteral("&Restore Backup"), QStringLiteral("actionRestoreBackup"),
             Command::RestoreBackup);
  addCommand(tools, QStringLiteral("&Zip"), QStringLiteral("actionZip"), Command::Zip);
  addCommand(tools, QStringLiteral("&Unzip"), QStringLiteral("actionUnzip"), Command::Unzip);

  addCommand(bar, QStringLiteral("Ab&out"), QStringLiteral("actionAbout"), Command::About);

  QMenu* tips = addMenu(bar, QStringLiteral("&Tips"));
  addCommand(tips, QStringLiteral("&Show Tip Wizard"), QStringLiteral("actionTipWizard"), Command::TipWizard);

  QMenu* help = addMenu(bar, QStringLiteral("&Help"));
  QAction* pressF1 = help->addAction(QStringLiteral("Press F1 to obtain help in a window"));
  pressF1->setObjectName(QStringLiteral("actionHelpText"));
  pressF1->setEnabled(false);  // a reminder, not a command
}

QAction* MainWindow::addSpeedButton(const QString& hint, const QString& name, int pictureNumber,
                                    Command command) {
  auto* action = new QAction(picture(pictureNumber), hint, this);
  action->setObjectName(name);
  action->setToolTip(isAvailable(command) ? hint
                                          : hint + QLatin1Char('\n') + QString::fromLatin1(kNotAvailable));
  connect(action, &QAction::triggered, this, [this, command] { run(command); });
  speedButtons_->addAction(action);
  commands_.push_back({command, action});
  return action;
}

void MainWindow::buildSpeedButtons() {
  speedButtons_ = addToolBar(QStringLiteral("Speed buttons"));
  speedButtons_->setObjectName(QStringLiteral("SpeedButtons"));
  speedButtons_->setMovable(false);
  speedButtons_->setFloatable(false);
  speedButtons_->setIconSize(QSize(32, 32));
  speedButtons_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  speedButtons_->toggleViewAction()->setVisible(false);

  addSpeedButton(QStringLiteral("Institution View"), QStringLiteral("SBInstitution"), kPictureInstitutionView,
                 Command::InstitutionView);
  addSpeedButton(QStringLiteral("School View"), QStringLiteral("SBSchool"), kPictureSchoolView,
                 Command::SchoolView);
  addSpeedButton(QStringLiteral("Class View"), QStringLiteral("SBClass"), kPictureClassView,
                 Command::ClassView);
  addSpeedButton(QStringLiteral("Resource View"), QStringLiteral("SBResource"), kPictureResourceView,
                 Command::ResourceView);
  addSpeedButton(QStringLiteral("Subject View"), QStringLiteral("SBSubject"), kPictureSubjectView,
                 Command::SubjectView);
  speedButtons_->addSeparator();
  addSpeedButton(QStringLiteral("Class Availability / Timetable"), QStringLiteral("SBClassAvailability"),
                 kPictureClassAvailability, Command::ClassAvailability);
  addSpeedButton(QStringLiteral("Resource Availability / Timetable"),
                 QStringLiteral("SBResourceAvailability"), kPictureResourceAvailability,
                 Command::ResourceAvailability);
  speedButtons_->addSeparator();
  addSpeedButton(QStringLiteral("Allocate All"), QStringLiteral("SBAllocateAll"), kPictureAllocateAll,
                 Command::AllocateAll);
  addSpeedButton(QStringLiteral("Reports (including Timetable)"), QStringLiteral("SBReports"),
                 kPictureReports, Command::Reports);
  addSpeedButton(QStringLiteral("InterSchool"), QStringLiteral("SBInterSchool"), kPictureInterSchool,
                 Command::InterSchool);
  addSpeedButton(QStringLiteral("Exit"), QStringLiteral("SBExit"), kPictureExit, Command::Exit);
  speedButtons_->addSeparator();
  addSpeedButton(QStringLiteral("Allocate Select"), QStringLiteral("SBAllocateSelect"),
                 kPictureAllocateSelect, Command::AllocateSelect);
  addSpeedButton(QStringLiteral("Proxy"), QStringLiteral("SBProxy"), kPictureProxy, Command::Proxy);
}

void MainWindow::buildCentralArea() {
  auto* central = new QWidget(this);
  guide_ = new UserGuidePane(programFolder_, central);
  connect(guide_->hintBox(), &QCheckBox::toggled, hintSwitch_, &HintSwitch::setHintsShown);

  // Stands in for the guide while the activation works, so nobody reads a guide that cannot be used.
  pleaseWait_ = new QTextEdit(central);
  pleaseWait_->setObjectName(QStringLiteral("MemoWait"));
  pleaseWait_->setReadOnly(true);
  QFont waitFont = pleaseWait_->font();
  waitFont.setPointSize(10);
  pleaseWait_->setFont(waitFont);
  pleaseWait_->setPlainText(QStringLiteral("Please wait..."));

  centralStack_ = new QStackedWidget(central);
  centralStack_->addWidget(guide_);
  centralStack_->addWidget(pleaseWait_);

  auto* layout = new QVBoxLayout(central);
  layout->addWidget(centralStack_, 1);
  layout->addWidget(progressPanel_.widget());
  setCentralWidget(central);

  statusPanel_ = new QLabel(this);
  statusPanel_->setObjectName(QStringLiteral("StatusPanel"));
  statusBar()->addWidget(statusPanel_, 1);
}

// ---- Start and activation --------------------------------------------------------------------

bool MainWindow::start() {
  Status started = application_->start();
  if (!started) {
    prompter_.error(started.error());
    return false;
  }
  // The help texts live with the live data; a new data folder starts with our short ones.
  reportFailure([this] { shell::seedHelpTopics(application_->store()); });
  showHintSettingOfDataSet();
  refresh();
  return true;
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  activationWanted_ = true;
  queueActivation();
}

void MainWindow::windowOfProgramClosed() {
  // A box of the activation itself closing is not a return to the main window: asking for another
  // activation here is how a failing activation would repeat for ever.
  if (activating_) return;
  activationWanted_ = true;
  if (!commandRunning_) queueActivation();
}

void MainWindow::queueActivation() {
  if (activationQueued_) return;
  activationQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    activationQueued_ = false;
    // With a work window still open the main window is not in front; its closing asks again.
    if (!activationWanted_ || activating_ || commandRunning_ || QApplication::activeModalWidget()) return;
    activate();
  });
}

void MainWindow::activate() {
  if (activating_) return;
  if (commandRunning_) {
    activationWanted_ = true;  // never reload the data under a running command; it asks when done
    return;
  }
  activating_ = true;
  activationWanted_ = false;
  {
    BusyCursor busy;
    menuBar()->setEnabled(false);
    speedButtons_->setEnabled(false);
    centralStack_->setCurrentWidget(pleaseWait_);
    pleaseWait_->repaint();
    reportFailure([this] {
      Status status = application_->activate();
      if (!status) observedPrompter_.error(status.error());
    });
    centralStack_->setCurrentWidget(guide_);
    menuBar()->setEnabled(true);
    speedButtons_->setEnabled(true);
    reportFailure([this] { refresh(); });
  }
  activating_ = false;
  emit activated();
}

// ---- Commands --------------------------------------------------------------------------------

template <class Work>
void MainWindow::reportFailure(Work work) {
  // A failure of the table engine ends the command with its own message; the program goes on.
  try {
    work();
  } catch (const std::exception& failure) {
    observedPrompter_.error(failure.what());
  }
}

template <class Work>
void MainWindow::runCommand(Work work) {
  // Long work hands control to the event loop; a second command clicked meanwhile must wait.
  if (activating_ || commandRunning_) return;
  commandRunning_ = true;
  reportFailure(work);
  commandRunning_ = false;
  if (activationWanted_) queueActivation();
}

void MainWindow::run(Command command) {
  switch (command) {
    case Command::InstitutionView:
      openInstitutionView();
      break;
    case Command::ClassAvailability:
      openAvailability('C');
      break;
    case Command::ResourceAvailability:
      openAvailability('T');
      break;
    case Command::ResetInstitution:
      resetInstitution();
      break;
    case Command::OpenSchool:
      openSchool();
      break;
    case Command::LoadSample:
      loadSample();
      break;
    case Command::LoadLive:
      loadLive();
      break;
    case Command::Exit:
      close();
      break;
    case Command::About:
      showAbout();
      break;
    case Command::TipWizard:
      showTips();
      break;
    default:
      break;  // the windows of the other commands are not in this version: their items stay disabled
  }
}

int MainWindow::runModal(QDialog& dialog) {
  int result = dialog.exec();
  windowOfProgramClosed();
  return result;
}

void MainWindow::openSchool() {
  runCommand([this] {
    store::Session& session = application_->session();
    if (application_->rsumechk()) {
      session.pendingWindow = 'X';
      refresh();
      return;
    }
    std::vector<SchoolPicker::School> schools;
    for (const store::TSchl& school :
         application_->store().table<store::TSchl>().range(store::TSchl::primary)) {
      schools.push_back({school.SCHOOLCODE, fromUtf8(school.SNAME)});
    }
    SchoolPicker picker(schools, session.schoolCode(), this);
    int chosen = runModal(picker) == QDialog::Accepted ? picker.chosenSchool() : 0;
    if (chosen == 0) chosen = session.schoolCode();
    // The caption names the new school before the announcement is read.
    session.setSchool(chosen);
    refresh();
    application_->openSchool(chosen);
  });
}

void MainWindow::loadSample() {
  switchDataSet(DataSet::Sample);
}
void MainWindow::loadLive() {
  switchDataSet(DataSet::Live);
}

void MainWindow::switchDataSet(DataSet dataSet) {
  runCommand([this, dataSet] {
    BusyCursor busy;
    Status loaded = application_->loadDataSet(dataSet);
    if (!loaded) observedPrompter_.error(loaded.error());
    showHintSettingOfDataSet();
    refresh();
  });
}

void MainWindow::showAbout() {
  runCommand([this] {
    AboutBox about(AboutBox::Use::Dialog, this);
    runModal(about);
  });
}

void MainWindow::showTips() {
  runCommand([this] {
    TipDialog tips(this);
    runModal(tips);
  });
}

void MainWindow::openInstitutionView() {
  showInstitutionView(true);
}

void MainWindow::showInstitutionView(bool resumeCheck) {
  runCommand([this, resumeCheck] {
    if (resumeCheck && application_->rsumechk()) {
      application_->session().pendingWindow = 'X';
      refresh();
      return;
    }
    if (!institutionView_) {
      institutionView_ = new InstitutionView(*application_, helpOpener(), this);
      institutionView_->setAvailabilityOpener([this] { showSchoolAvailability(); });
    }
    runModal(*institutionView_);
    refresh();
  });
}

void MainWindow::resetInstitution() {
  runCommand([this] {
    shell::resetInstitution(*application_);
    refresh();
  });
}

InstitutionView* MainWindow::institutionView() const {
  return institutionView_;
}

// ---- The availability window -----------------------------------------------------------------

void MainWindow::openAvailability(char viewKind) {
  runCommand([this, viewKind] {
    store::Session& session = application_->session();
    session.viewKind = viewKind;
    if (application_->rsumechk()) {
      session.pendingWindow = 'X';
      refresh();
      return;
    }
    // A window that asked for this one has made its item current already.
    if (session.pendingWindow == 'N' && !chooseItemOfView(viewKind)) {
      refresh();
      return;
    }
    runModal(makeAvailabilityWindow());
    refresh();
  });
}

AvailabilityWindow& MainWindow::makeAvailabilityWindow() {
  if (!availability_) availability_ = new AvailabilityWindow(*application_, helpOpener(), this);
  return *availability_;
}

bool MainWindow::chooseItemOfView(char viewKind) {
  store::Session& session = application_->session();
  const bool classes = viewKind == 'C';
  std::vector<ListPicker::Item> items;
  if (classes) {
    for (const store::TClas& row : session.classes().rows()) items.push_back({row.CLSCODE, fromUtf8(row.CLSNAME)});
  } else {
    for (const store::TTeac& row : session.resources().rows()) items.push_back({row.TCHCODE, fromUtf8(row.TCHNAME)});
  }
  if (items.empty()) return false;
  const grid::GridKind kind = classes ? grid::GridKind::Class : grid::GridKind::Resource;
  if (items.size() == 1) return grid::selectOwner(session, {kind, items.front().code});
  const std::optional<grid::GridOwner> current = grid::currentOwner(session);
  ListPicker picker(items, current ? current->code : 0, classes ? QStringLiteral("Class :") : QStringLiteral("Resource :"),
                    this);
  if (runModal(picker) != QDialog::Accepted || picker.chosen() == 0) return false;
  return grid::selectOwner(session, {kind, picker.chosen()});
}

void MainWindow::showAvailabilityWindow() {
  runCommand([this] {
    runModal(makeAvailabilityWindow());
    refresh();
  });
}

void MainWindow::showSchoolAvailability() {
  // Asked for by the institution view, which waits for it: the school's own week, over that view.
  if (!application_->isOpen()) return;
  application_->session().viewKind = 'L';
  runOverFront(makeAvailabilityWindow());
}

AvailabilityWindow* MainWindow::availabilityWindow() const {
  return availability_;
}

HelpWindow* MainWindow::helpWindow() const {
  return help_;
}

ShowHelp MainWindow::helpOpener() {
  return [this](const std::string& topicCode) { showHelp(topicCode); };
}

void MainWindow::showHelp(const std::string& topicCode) {
  if (!application_->isOpen() || (help_ && help_->isVisible())) return;
  if (!help_) help_ = new HelpWindow(*application_, this);
  reportFailure([this, &topicCode] { help_->showTopic(topicCode); });
  runOverFront(*help_);
}

int MainWindow::runOverFront(QDialog& dialog) {
  // Asked for from a work window, a window belongs to it while shown so that it comes up in front
  // of it; afterwards it goes back to the main window, which keeps it.
  QPointer<QDialog> shown(&dialog);
  QWidget* over = QApplication::activeModalWidget();
  if (over && over != shown) shown->setParent(over, shown->windowFlags());
  const int result = runModal(*shown);
  if (shown && shown->parentWidget() != this) shown->setParent(this, shown->windowFlags());
  return result;
}

void MainWindow::releaseWorkWindows() {
  // The tables are about to close under every window that shows them. Work windows are created
  // again on next use; the progress dialog stays, it reports the very work that releases them.
  for (QDialog* dialog : findChildren<QDialog*>()) {
    if (dialog->isVisible() && !qobject_cast<ProgressWindow*>(dialog)) dialog->reject();
  }
  if (institutionView_) institutionView_->deleteLater();
  institutionView_ = nullptr;
  if (availability_) availability_->deleteLater();
  availability_ = nullptr;
}

// ---- Refresh ---------------------------------------------------------------------------------

void MainWindow::refresh() {
  CommandState state;
  if (application_->isOpen()) {
    store::Session& session = application_->session();
    if (session.pendingWindow != 'N') {
      shell::syncInstitutionLimits(application_->store(), session);
      actOnPendingWindow(session);
    }
    state = shell::refreshCommands(application_->store(), session);
  } else {
    state.institutionView = false;  // nothing can be opened while the tables are closed
  }
  setWindowTitle(fromUtf8(shell::mainWindowCaption(*application_)));
  statusPanel_->setText(fromUtf8(shell::statusBarText(application_->dataSet())));
  applyCommandState(state);
}

void MainWindow::actOnPendingWindow(store::Session& session) {
  switch (session.pendingWindow) {
    case 'I':
      // Opened once the command in hand has finished; the window sets the code back to "N" when
      // it is shown, so a second request queued meanwhile finds nothing to do.
      QTimer::singleShot(0, this, [this] {
        if (application_->isOpen() && application_->session().pendingWindow == 'I')
          showInstitutionView(false);
      });
      break;
    case 'A':
    case 'T':
      // The asking window made the item of the view kind current.
      QTimer::singleShot(0, this, [this] {
        if (!application_->isOpen()) return;
        const char pending = application_->session().pendingWindow;
        if (pending == 'A' || pending == 'T') showAvailabilityWindow();
      });
      break;
    default:
      // The school view, the indent views and the allocation window are not in this version:
      // their requests are dropped, and the commands refreshed as after any closed window.
      session.pendingWindow = 'N';
      break;
  }
}

bool MainWindow::isAvailable(Command command) {
  switch (command) {
    case Command::InstitutionView:
    case Command::ClassAvailability:
    case Command::ResourceAvailability:
    case Command::ResetInstitution:
    case Command::OpenSchool:
    case Command::LoadSample:
    case Command::LoadLive:
    case Command::Exit:
    case Command::About:
    case Command::TipWizard:
      return true;
    default:
      return false;
  }
}

bool MainWindow::isAllowed(Command command, const CommandState& state) const {
  switch (command) {
    case Command::InstitutionView:
      return state.institutionView;
    case Command::SchoolView:
      return state.schoolView;
    case Command::ClassView:
    case Command::ClassAvailability:
      return state.classView;
    case Command::ResourceView:
    case Command::ResourceAvailability:
      return state.resourceView;
    case Command::SubjectView:
      return state.subjectView;
    case Command::AllocateAll:
    case Command::AllocateSelect:
    case Command::Proxy:
      return state.allocate;
    case Command::Reports:
      return state.reports;
    case Command::InterSchool:
      return state.interSchool;
    case Command::OpenSchool:
      return state.openSchool;
    case Command::ResetInstitution:
      return state.resetInstitution;
    case Command::LoadSample:
      return application_->dataSet() == DataSet::Live;
    case Command::LoadLive:
      return application_->dataSet() == DataSet::Sample;
    case Command::Defaults:
    case Command::Backup:
    case Command::RestoreBackup:
    case Command::Zip:
    case Command::Unzip:
    case Command::Exit:
    case Command::About:
    case Command::TipWizard:
      return true;
  }
  return false;
}

void MainWindow::applyCommandState(const CommandState& state) {
  for (const CommandAction& item : commands_) {
    const bool allowed = isAllowed(item.command, state);
    // What the data allow is kept apart from what this version offers, so both can be seen.
    item.action->setProperty("allowed", allowed);
    item.action->setEnabled(allowed && isAvailable(item.command));
  }
  indentMenu_->menuAction()->setEnabled(state.reports);
  availabilityMenu_->menuAction()->setEnabled(state.availability);
  allocateMenu_->menuAction()->setEnabled(state.allocate);
}

// ---- Hints and closing -----------------------------------------------------------------------

void MainWindow::showHintSettingOfDataSet() {
  if (!application_->isOpen()) return;
  bool shown = shell::hintsShown(application_->store().institution());
  guide_->hintBox()->setChecked(shown);
  hintSwitch_->setHintsShown(shown);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (application_->isOpen()) {
    try {
      shell::storeHintSetting(application_->store(), guide_->hintBox()->isChecked());
    } catch (const std::exception& failure) {
      prompter_.error(failure.what());
    }
  }
  event->accept();
}

}  // namespace tavrel::app
