// The institution view (`TF13`): the institution's name, the grid of its nine school slots and,
// for the school chosen in the grid, the details panel (name, remark, week setup, days of the
// week cycle, recess positions). Schools are created here by a double click on the add-school
// button and deleted from the grid's popup menu.
//
// The details panel is edited like one record: entering it marks the school's slot as being
// edited and remembers the values the checks compare with; leaving it (the focus moves elsewhere
// in this window, another school is chosen or made, or the window closes) stores the details
// through the core, which refuses an empty or duplicate name and a bad day count. A refusal keeps
// the person in the panel, so nothing typed is dropped on the way out.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "app/ports/progress_dialog.h"
#include "app/ports/progress_panel.h"
#include "app/shell/help_key.h"
#include "core/setup/schools.h"
#include "core/shell/application.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace tavrel::app {

class SchoolGridModel;

class InstitutionView final : public QDialog {
  Q_OBJECT
 public:
  InstitutionView(shell::Application& application, ShowHelp showHelp, QWidget* parent = nullptr);
  ~InstitutionView() override;

  // How "Availability Setup" shows the school's own week: the availability window, kept by the
  // main window, opened over this one. The view waits until it is closed.
  void setAvailabilityOpener(std::function<void()> open) { openAvailability_ = std::move(open); }

  // The commands of the window, as its buttons, keys and menus run them.
  void addSchool();           // double click on `SBSec`
  void availabilitySetup();   // "Availability Setup"
  void selectFromList();      // "School List S&elect", F5
  void openSchoolView();      // "&School View"
  void deleteChosenSchool();  // "&Delete School"

  QListView* grid() const { return grid_; }
  SchoolGridModel* gridModel() const { return model_; }
  QMenu* gridMenu() const { return gridMenu_; }
  QGroupBox* detailsPanel() const { return panel_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct GridCommand {
    QAction* action;
    bool setup::SchoolCommands::*allowed;
    bool available;
  };

  void buildButtonBar();
  void buildGridMenu();
  QWidget* buildDetailsPanel();

  store::Session& session() { return application_.session(); }
  store::Store& store() { return application_.store(); }
  Prompter& prompter() { return application_.ports().prompter; }
  int currentRow() const;

  void prepareToShow();  // every time the window is shown
  void chooseRow(int row);
  void showDetails(const store::TSchl& school);
  void showDays(const store::TSchl& school);
  void enableGridCommands(const setup::SchoolCommands& allowed);
  void focusMoved(QWidget* old, QWidget* now);
  void enterDetails();
  bool leaveDetails();
  bool postPendingDetails();
  void postInstitutionName();
  void weekSetupChosen(int index);
  void reportRecessNotKept(const std::array<bool, 11>& ticks);
  std::array<bool, 11> recessTicks() const;

  shell::Application& application_;
  ShowHelp showHelp_;
  std::function<void()> openAvailability_;

  SchoolGridModel* model_;
  QListView* grid_ = nullptr;
  QLineEdit* institutionName_ = nullptr;
  QGroupBox* panel_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* remark_ = nullptr;
  QComboBox* weekSetup_ = nullptr;
  QListWidget* days_ = nullptr;
  QListWidget* recess_ = nullptr;
  QComboBox* dayCount_ = nullptr;
  QPushButton* availabilitySetup_ = nullptr;
  QPlainTextEdit* note_ = nullptr;

  QWidget* buttonBar_ = nullptr;
  QToolButton* addSchoolButton_ = nullptr;
  QAction* listSelect_ = nullptr;
  QAction* schoolView_ = nullptr;
  QAction* close_ = nullptr;
  QMenu* topMenu_ = nullptr;
  QMenu* gridMenu_ = nullptr;
  QAction* gridHeader_ = nullptr;
  std::vector<GridCommand> gridCommands_;

  ProgressPanel progress_;       // the window's own bar, for deleting a school
  ProgressDialog rowsProgress_;  // "Progress...", for making timetable rows

  // The details panel being edited: the school's slot, and the values on entry.
  bool editing_ = false;
  int editingRow_ = -1;
  bool leaving_ = false;
  setup::DetailsBaseline baseline_;
};

}  // namespace tavrel::app
