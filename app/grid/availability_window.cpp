#include "app/grid/availability_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/grid/timetable_grid_view.h"
#include "app/setup/week_setup_dialog.h"
#include "app/shell/guarded.h"
#include "app/shell/list_picker.h"
#include "app/shell/not_available.h"
#include "app/shell/pictures.h"
#include "core/grid/grid_frame.h"
#include "core/store/day_words.h"

namespace tavrel::app {

using grid::ViewRequest;
using store::Step;

namespace {

QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

// A caption without its access-key marks, as a hint shows it.
QString withoutAccessKey(QString caption) {
  return caption.remove(QLatin1Char('&'));
}

QString notAvailableHint(const QString& hint) {
  return hint + QLatin1Char('\n') + QString::fromLatin1(kNotAvailable);
}

}  // namespace

AvailabilityWindow::AvailabilityWindow(shell::Application& application, ShowHelp showHelp, QWidget* parent)
    : QDialog(parent), application_(application), showHelp_(std::move(showHelp)) {
  setObjectName(QStringLiteral("TF5"));
  setModal(true);
  setSizeGripEnabled(true);

  buildToolBar();
  buildFoundPanel();
  top_ = new QStackedWidget(this);
  top_->addWidget(toolBar_);
  top_->addWidget(foundPanel_);
  // A week of few days makes a narrow window: the toolbar then shows what fits and offers the rest
  // behind its extension button (and F2), instead of widening the window.
  toolBar_->setMinimumWidth(toolBar_->iconSize().width() * 4);
  top_->setMinimumWidth(toolBar_->minimumWidth());
  top_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  top_->setFixedHeight(std::max(toolBar_->sizeHint().height(), foundPanel_->sizeHint().height()));

  gridView_ = new TimetableGridView(this);
  connect(gridView_, &TimetableGridView::labelClicked, this,
          [this](const grid::LabelPosition& label) { selectLabel(label); });
  connect(gridView_, &TimetableGridView::labelMenuRequested, this,
          [this](const grid::LabelPosition& label, const QPoint& where) { showCellMenu(label, where); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addWidget(top_);
  layout->addWidget(gridView_, 1);

  buildMenus();
  connectCommands();
  addHelpKey(*this, "F5", showHelp_);
}

AvailabilityWindow::~AvailabilityWindow() = default;

// ---- Building the window ---------------------------------------------------------------------

QAction* AvailabilityWindow::addCommand(const char* hint, const char* caption, const char* name, int pictureNumber) {
  auto* action = new QAction(QString::fromLatin1(caption), this);
  action->setObjectName(QString::fromLatin1(name));
  action->setToolTip(QString::fromLatin1(hint));
  if (pictureNumber > 0) action->setIcon(picture(pictureNumber));
  toolBar_->addAction(action);
  return action;
}

void AvailabilityWindow::buildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  toolBar_->setIconSize(QSize(24, 24));
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);

  listSelect_ = addCommand("List Select (F5)", "List Select", "actionListSelect", kPictureListSelect);
  listSelect_->setShortcut(QKeySequence(Qt::Key_F5));
  listSelect_->setShortcutContext(Qt::WindowShortcut);
  addAction(listSelect_);  // F5 works while the toolbar cannot show the button
  toggle_ = addCommand("Toggle", "Resource Availa&bility", "actionToggle", kPictureToggle);
  toolBar_->addSeparator();
  showSelected_ = addCommand("Show Selected", "S&how Selected Periods", "actionShowSelected", kPictureShowSelected);
  showFree_ = addCommand("Show Available", "Show &Free Periods", "actionShowFree", kPictureShowFree);
  showNotAvailable_ = addCommand("Show Not Available", "Show &Not Available Periods", "actionShowNotAvailable",
                                 kPictureShowNotAvailable);
  showPartner_ = addCommand("Show Resource", "Show Resource", "actionShowPartner", kPictureShowPartner);
  showSubject_ = addCommand("Show Subject", "Show Subject", "actionShowSubject", kPictureShowSubject);
  toolBar_->addSeparator();
  makeAvailable_ = addCommand("Make Available", "&Make Free", "actionMakeAvailable", kPictureMakeAvailable);
  makeNotAvailable_ =
      addCommand("Make Not Available", "Ma&ke Not Available", "actionMakeNotAvailable", kPictureMakeNotAvailable);
  weekSetupCommand_ = addCommand("Week Setup", "Week Setup", "actionWeekSetup", kPictureWeekSetup);
  toolBar_->addSeparator();

  // The views named here come with their own parts of the program; until then the request is left
  // for the main window all the same, which has nothing to open for it, and the hint says so.
  struct View {
    ViewRequest request;
    const char* caption;
    const char* name;
    int picture;
    bool available;
  };
  const View views[] = {
      {ViewRequest::Class, "Class View", "actionClassView", kPictureClassView, false},
      {ViewRequest::Resource, "Resource View", "actionResourceView", kPictureResourceView, false},
      {ViewRequest::Subject, "Subject View", "actionSubjectView", kPictureSubjectView, false},
      {ViewRequest::School, "School View", "actionSchoolView", kPictureSchoolView, false},
      {ViewRequest::Institution, "Institution View", "actionInstitutionView", kPictureInstitutionView, true},
  };
  for (const View& view : views) {
    QAction* action = addCommand(view.caption, view.caption, view.name, view.picture);
    if (!view.available) action->setToolTip(notAvailableHint(action->toolTip()));
    viewCommands_.push_back({view.request, action});
  }
  toolBar_->addSeparator();

  // Editing items and their statistics belong to windows of their own, not in this version.
  edit_ = addCommand("E&dit Main", "E&dit Main", "actionEdit", kPictureEdit);
  statistics_ = addCommand("S&tatistics Main", "S&tatistics Main", "actionStatistics", kPictureStatistics);
  toolBar_->addSeparator();

  struct Move {
    Step step;
    const char* hint;
    const char* name;
    QStyle::StandardPixmap icon;
  };
  const Move moves[] = {
      {Step::First, "First", "actionFirst", QStyle::SP_MediaSkipBackward},
      {Step::Prior, "Prior", "actionPrior", QStyle::SP_MediaSeekBackward},
      {Step::Next, "Next", "actionNext", QStyle::SP_MediaSeekForward},
      {Step::Last, "Last", "actionLast", QStyle::SP_MediaSkipForward},
  };
  for (const Move& move : moves) {
    QAction* action = addCommand(move.hint, move.hint, move.name, 0);
    action->setIcon(style()->standardIcon(move.icon));
    connect(action, &QAction::triggered, this, [this, step = move.step] { this->step(step); });
    navigator_.push_back(action);
  }
  toolBar_->addSeparator();
  close_ = addCommand("Close", "Close", "actionClose", kPictureExit);
}

void AvailabilityWindow::buildFoundPanel() {
  foundPanel_ = new QWidget(this);
  foundPanel_->setObjectName(QStringLiteral("PnlFound"));
  found_ = new QLabel(foundPanel_);
  found_->setObjectName(QStringLiteral("STxtFound"));
  found_->setTextFormat(Qt::PlainText);  // the four leading blanks are part of the text
  QFont bold = found_->font();
  bold.setBold(true);
  found_->setFont(bold);
  ok_ = new QPushButton(QStringLiteral("O&k"), foundPanel_);
  ok_->setObjectName(QStringLiteral("BOk"));
  ok_->setAutoDefault(false);
  auto* layout = new QHBoxLayout(foundPanel_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(found_);
  layout->addWidget(ok_);
  layout->addStretch(1);
}

void AvailabilityWindow::buildMenus() {
  topMenu_ = new QMenu(this);
  topMenu_->setObjectName(QStringLiteral("PMTop"));
  topMenu_->setToolTipsVisible(true);
  for (QAction* action : toolBar_->actions()) {
    if (action->isSeparator()) {
      topMenu_->addSeparator();
    } else if (std::find(navigator_.begin(), navigator_.end(), action) == navigator_.end()) {
      topMenu_->addAction(action);
    }
  }
  auto* topMenuKey = new QShortcut(QKeySequence(Qt::Key_F2), this);
  connect(topMenuKey, &QShortcut::activated, this, [this] { topMenu_->popup(mapToGlobal(QPoint(0, 0))); });

  partnerList_ = new QMenu(this);
  partnerList_->setObjectName(QStringLiteral("PMPartners"));
  subjectList_ = new QMenu(this);
  subjectList_->setObjectName(QStringLiteral("PMSubjects"));
  cellMenu_ = new QMenu(this);
  cellMenu_->setObjectName(QStringLiteral("PMCell"));
  cellMenu_->setToolTipsVisible(true);
}

void AvailabilityWindow::connectCommands() {
  connect(listSelect_, &QAction::triggered, this, [this] { listSelect(); });
  connect(toggle_, &QAction::triggered, this, [this] { toggle(); });
  connect(showSelected_, &QAction::triggered, this, [this] { showSelected(); });
  connect(showFree_, &QAction::triggered, this, [this] { showFree(); });
  connect(showNotAvailable_, &QAction::triggered, this, [this] { showNotAvailable(); });
  connect(showPartner_, &QAction::triggered, this, [this] { popUpList(partnerList_, showPartner_); });
  connect(showSubject_, &QAction::triggered, this, [this] { popUpList(subjectList_, showSubject_); });
  connect(makeAvailable_, &QAction::triggered, this, [this] { makeAvailable(); });
  connect(makeNotAvailable_, &QAction::triggered, this, [this] { makeNotAvailable(); });
  connect(weekSetupCommand_, &QAction::triggered, this, [this] { weekSetup(); });
  for (const ViewCommand& view : viewCommands_) {
    connect(view.action, &QAction::triggered, this, [this, request = view.request] { requestView(request); });
  }
  connect(close_, &QAction::triggered, this, &QDialog::reject);
  connect(ok_, &QPushButton::clicked, this, [this] { ok(); });
}

// ---- Opening ---------------------------------------------------------------------------------

void AvailabilityWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;  // back from being minimised: nothing to read again
  guarded(prompter(), [this] { prepareToShow(); });
}

void AvailabilityWindow::prepareToShow() {
  model_.reset();
  model_.emplace(session(), opening_);
  opening_ = {};
  showModel();  // first: the grid's size follows the week it shows
  placeWindow();
  gridView_->setFocus();
}

void AvailabilityWindow::placeWindow() {
  const std::optional<store::TSchl> school = session().school();
  const int swrkdays = school ? school->SWRKDAYS : 912;
  const grid::GridKind kind = model_->hasOwner()
                                  ? model_->owner().kind
                                  : grid::gridKindOfView(session().viewKind).value_or(grid::GridKind::Class);
  const grid::WindowGeometry frame = grid::gridWindowGeometry(swrkdays, kind);
  const bool noticeDue = grid::toolbarNoticeDue(swrkdays, kind, placedWidth_);
  placedWidth_ = frame.width;

  // The sizes are those of a 1024 × 768 screen; the window never gets smaller than its grid needs
  // to show every name, and never larger than the screen.
  const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
  layout()->activate();
  const QSize size = QSize(frame.width, frame.height).expandedTo(minimumSizeHint()).boundedTo(screenArea.size());
  resize(size);
  const int left = std::clamp(screenArea.left() + frame.left, screenArea.left(),
                              std::max(screenArea.left(), screenArea.right() - size.width()));
  const int top = std::clamp(screenArea.top() + frame.top, screenArea.top(),
                             std::max(screenArea.top(), screenArea.bottom() - size.height()));
  move(left, top);

  if (noticeDue) {
    // Told once the window is up, so that the person sees what the notice is about.
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) prompter().info(grid::kToolbarTruncated);
    });
  }
}

// ---- Showing the model -----------------------------------------------------------------------

template <class Work>
void AvailabilityWindow::command(Work work) {
  if (!model_) return;
  guarded(prompter(), work);
  showModel();
}

void AvailabilityWindow::showModel() {
  if (!model_) return;
  setWindowTitle(fromUtf8(model_->caption()));
  QStringList dayNames;
  if (const std::optional<store::TSchl> school = session().school()) {
    for (const std::string& day : store::Fill_DayList(school->SWRKDAYS, school->SREGN)) dayNames << fromUtf8(day);
  }
  gridView_->show(model_->hasOwner() ? &model_->grid() : nullptr, dayNames, model_->selected(),
                  model_->highlight());
  if (model_->highlight()) {
    found_->setText(fromUtf8(model_->foundText()));
    top_->setCurrentWidget(foundPanel_);
  } else {
    top_->setCurrentWidget(toolBar_);
  }
  enableCommands();
}

void AvailabilityWindow::enableCommands() {
  const bool owned = model_ && model_->hasOwner();
  const grid::GridKind kind = owned ? model_->owner().kind : grid::GridKind::School;
  const bool itemGrid = owned && kind != grid::GridKind::School;
  const bool selected = owned && model_->selected().has_value();

  const bool listed =
      itemGrid && !(kind == grid::GridKind::Class ? session().classes().empty() : session().resources().empty());
  listSelect_->setEnabled(listed);
  toggle_->setText(fromUtf8(grid::toggleCaption(kind)));
  toggle_->setEnabled(itemGrid && grid::toggleEnabled(session(), kind));
  showSelected_->setEnabled(selected);
  showFree_->setEnabled(owned);
  showNotAvailable_->setEnabled(owned);
  const QString partnerCaption = fromUtf8(grid::showPartnerCaption(kind));
  showPartner_->setText(partnerCaption);
  showPartner_->setToolTip(partnerCaption);
  showPartner_->setEnabled(owned && !grid::partnersInGrid(model_->grid()).empty());
  showSubject_->setEnabled(owned && !grid::subjectsInGrid(model_->grid()).empty());
  makeAvailable_->setEnabled(selected);
  makeNotAvailable_->setEnabled(selected);
  weekSetupCommand_->setEnabled(owned && model_->weekSetupEnabled());
  for (const ViewCommand& view : viewCommands_) {
    view.action->setEnabled(owned && grid::viewRequestEnabled(session(), view.request));
  }
  const grid::NamedItem item = model_ ? model_->selectedItem() : grid::NamedItem{};
  const QString editCaption = fromUtf8(grid::editCaption(item));
  const QString statisticsCaption = fromUtf8(grid::statisticsCaption(item));
  edit_->setText(editCaption);
  edit_->setToolTip(notAvailableHint(withoutAccessKey(editCaption)));
  edit_->setEnabled(false);
  statistics_->setText(statisticsCaption);
  statistics_->setToolTip(notAvailableHint(withoutAccessKey(statisticsCaption)));
  statistics_->setEnabled(false);
  for (QAction* move : navigator_) move->setEnabled(itemGrid && grid::navigatorEnabled(kind));
}

// ---- Commands --------------------------------------------------------------------------------

void AvailabilityWindow::selectLabel(const grid::LabelPosition& label) {
  command([&] { model_->select(label); });
}

void AvailabilityWindow::listSelect() {
  if (!listSelect_->isEnabled()) return;
  command([this] {
    const bool classes = model_->owner().kind == grid::GridKind::Class;
    std::vector<ListPicker::Item> items;
    if (classes) {
      for (const store::TClas& row : session().classes().rows()) items.push_back({row.CLSCODE, fromUtf8(row.CLSNAME)});
    } else {
      for (const store::TTeac& row : session().resources().rows())
        items.push_back({row.TCHCODE, fromUtf8(row.TCHNAME)});
    }
    ListPicker picker(items, model_->owner().code,
                      classes ? QStringLiteral("Class :") : QStringLiteral("Resource :"), this);
    if (picker.exec() != QDialog::Accepted || picker.chosen() == 0) return;
    model_->listSelect(picker.chosen());
  });
}

void AvailabilityWindow::toggle() {
  if (!toggle_->isEnabled()) return;
  command([this] { model_->toggle(); });
}

void AvailabilityWindow::showSelected() {
  command([this] { model_->showSelected(); });
}

void AvailabilityWindow::showFree() {
  command([this] { model_->showFree(); });
}

void AvailabilityWindow::showNotAvailable() {
  command([this] { model_->showNotAvailable(); });
}

void AvailabilityWindow::showPartner(int partnerCode) {
  command([this, partnerCode] { model_->showPartner(partnerCode); });
}

void AvailabilityWindow::showSubject(int subjectCode) {
  command([this, subjectCode] { model_->showSubject(subjectCode); });
}

void AvailabilityWindow::ok() {
  command([this] { model_->ok(); });
}

void AvailabilityWindow::makeAvailable() {
  command([this] { model_->makeAvailable(); });
}

void AvailabilityWindow::makeNotAvailable() {
  command([this] { model_->makeNotAvailable(); });
}

void AvailabilityWindow::weekSetup() {
  if (!model_ || !model_->weekSetupEnabled()) return;
  command([this] {
    model_->ok();
    if (!weekSetup_) weekSetup_ = new WeekSetupDialog(application_, showHelp_, this);
    if (const std::optional<setup::WeekSetupResult> pattern = weekSetup_->run()) model_->applyWeekSetup(*pattern);
  });
}

void AvailabilityWindow::requestView(ViewRequest request) {
  bool leaving = false;
  command([&] { leaving = model_->requestView(request); });
  if (leaving) accept();
}

void AvailabilityWindow::step(Step step) {
  command([this, step] { model_->step(step); });
}

// ---- Drop lists and the cell's menu ----------------------------------------------------------

void AvailabilityWindow::fillList(QMenu* list, const std::vector<grid::ListedItem>& items, bool subjects) {
  list->clear();
  for (const grid::ListedItem& item : items) {
    QAction* choice = list->addAction(fromUtf8(item.name));
    choice->setData(item.code);
    connect(choice, &QAction::triggered, this, [this, code = item.code, subjects] {
      if (subjects) {
        showSubject(code);
      } else {
        showPartner(code);
      }
    });
  }
}

void AvailabilityWindow::popUpList(QMenu* list, QAction* commandAction) {
  if (!model_ || !model_->hasOwner()) return;
  const bool subjects = list == subjectList_;
  fillList(list, subjects ? grid::subjectsInGrid(model_->grid()) : grid::partnersInGrid(model_->grid()), subjects);
  if (list->isEmpty()) return;
  QWidget* button = toolBar_->widgetForAction(commandAction);
  const QPoint where = button && button->isVisible() ? button->mapToGlobal(QPoint(0, button->height()))
                                                     : mapToGlobal(QPoint(0, top_->height()));
  list->popup(where);
}

void AvailabilityWindow::showCellMenu(const grid::LabelPosition& label, const QPoint& where) {
  if (!model_ || !model_->hasOwner()) return;
  const grid::ContextMenu captions = grid::contextMenu(model_->grid(), label);
  cellMenu_->clear();
  QAction* edit = cellMenu_->addAction(fromUtf8(captions.edit));
  edit->setObjectName(QStringLiteral("actionCellEdit"));
  edit->setToolTip(QString::fromLatin1(kNotAvailable));
  edit->setEnabled(false);
  QAction* periods = cellMenu_->addAction(fromUtf8(captions.showPeriods));
  periods->setObjectName(QStringLiteral("actionCellShowPeriods"));
  periods->setEnabled(captions.enabled);
  connect(periods, &QAction::triggered, this, [this] { showSelected(); });
  QAction* statistics = cellMenu_->addAction(fromUtf8(captions.statistics));
  statistics->setObjectName(QStringLiteral("actionCellStatistics"));
  statistics->setToolTip(QString::fromLatin1(kNotAvailable));
  statistics->setEnabled(false);
  cellMenu_->popup(where);
}

}  // namespace tavrel::app
