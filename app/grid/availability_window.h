// The "Availability" window (`TF5`): one week of a class, a resource or the school as a grid of
// days by periods, with the toolbar of its commands. Every rule is the core's `AvailabilityGrid`;
// this window draws it, passes the person's clicks on and shows what comes back. Questions and
// messages go through the session's prompter.
//
// The toolbar gives way to the "Found" panel while a Show command's highlight is up; "O&k",
// selecting a label or any command takes it away. A view command closes the window and leaves its
// request (the pending-window code) for the main window. F2 shows the toolbar's commands as a
// popup menu, which is how a narrow window (a week of fewer than 6 days) reaches the commands its
// toolbar cannot show.
#pragma once

#include <QDialog>
#include <QPointer>
#include <optional>
#include <vector>

#include "app/shell/help_key.h"
#include "core/grid/availability_grid.h"
#include "core/shell/application.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolBar;

namespace tavrel::app {

class TimetableGridView;
class WeekSetupDialog;

class AvailabilityWindow final : public QDialog {
  Q_OBJECT
 public:
  AvailabilityWindow(shell::Application& application, ShowHelp showHelp, QWidget* parent = nullptr);
  ~AvailabilityWindow() override;

  // What the next opening is to show besides the owner's week (the indent window's placed indent).
  void setOpening(const grid::GridOpening& opening) { opening_ = opening; }

  // The commands, as the toolbar, the popup menus and the keys run them.
  void selectLabel(const grid::LabelPosition& label);
  void listSelect();  // F5
  void toggle();
  void showSelected();
  void showFree();
  void showNotAvailable();
  void showPartner(int partnerCode);
  void showSubject(int subjectCode);
  void ok();
  void makeAvailable();
  void makeNotAvailable();
  void weekSetup();
  void requestView(grid::ViewRequest request);
  void step(store::Step step);

  const grid::AvailabilityGrid* model() const { return model_ ? &*model_ : nullptr; }
  TimetableGridView* gridView() const { return gridView_; }
  QToolBar* toolBar() const { return toolBar_; }
  QLabel* foundLabel() const { return found_; }
  QMenu* topMenu() const { return topMenu_; }
  QMenu* partnerList() const { return partnerList_; }
  QMenu* subjectList() const { return subjectList_; }
  QMenu* cellMenu() const { return cellMenu_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct ViewCommand {
    grid::ViewRequest request;
    QAction* action;
  };

  QAction* addCommand(const char* hint, const char* caption, const char* name, int picture);
  void buildToolBar();
  void buildFoundPanel();
  void buildMenus();
  void connectCommands();

  store::Session& session() { return application_.session(); }
  Prompter& prompter() { return application_.ports().prompter; }
  template <class Work>
  void command(Work work);

  void prepareToShow();
  void placeWindow();
  void showModel();
  void enableCommands();
  void fillList(QMenu* list, const std::vector<grid::ListedItem>& items, bool subjects);
  void popUpList(QMenu* list, QAction* command);
  void showCellMenu(const grid::LabelPosition& label, const QPoint& where);

  shell::Application& application_;
  ShowHelp showHelp_;
  grid::GridOpening opening_;
  std::optional<grid::AvailabilityGrid> model_;
  int placedWidth_ = 0;  // the width the window had when the week was last fitted

  QStackedWidget* top_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QWidget* foundPanel_ = nullptr;
  QLabel* found_ = nullptr;
  QPushButton* ok_ = nullptr;
  TimetableGridView* gridView_ = nullptr;
  QPointer<WeekSetupDialog> weekSetup_;

  QAction* listSelect_ = nullptr;
  QAction* toggle_ = nullptr;
  QAction* showSelected_ = nullptr;
  QAction* showFree_ = nullptr;
  QAction* showNotAvailable_ = nullptr;
  QAction* showPartner_ = nullptr;
  QAction* showSubject_ = nullptr;
  QAction* makeAvailable_ = nullptr;
  QAction* makeNotAvailable_ = nullptr;
  QAction* weekSetupCommand_ = nullptr;
  std::vector<ViewCommand> viewCommands_;
  QAction* edit_ = nullptr;
  QAction* statistics_ = nullptr;
  std::vector<QAction*> navigator_;
  QAction* close_ = nullptr;

  QMenu* topMenu_ = nullptr;
  QMenu* partnerList_ = nullptr;
  QMenu* subjectList_ = nullptr;
  QMenu* cellMenu_ = nullptr;
};

}  // namespace tavrel::app
