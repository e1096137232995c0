#include "app/setup/institution_view.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/setup/school_grid_model.h"
#include "app/shell/busy_cursor.h"
#include "app/shell/guarded.h"
#include "app/shell/not_available.h"
#include "app/shell/pictures.h"
#include "app/shell/school_picker.h"
#include "core/setup/school_grid.h"
#include "core/store/day_words.h"
#include "core/store/week_frame.h"

namespace tavrel::app {

using setup::SchoolCommands;

namespace {

constexpr int kRecessBoxes = 11;
constexpr int kNameWidth = 50;

const char* const kNote[] = {
    "A Timetabling Week Cycle for a School may be of upto 9 days. And can have upto",
    "12 periods per day. You can however alter the number of days and the availability",
    "setup of periods. The default, if you do not make any edits, is 9 days with",
    "12 periods per day.",
};

QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

// Names and remarks are kept in upper case, as the person types them.
void keepUpperCase(QLineEdit* edit) {
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    const QString upper = fromUtf8(setup::upperCase(text.toStdString()));
    if (upper == text) return;
    const int cursor = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(cursor);
  });
}

QString periodList(const std::vector<int>& periods) {
  QStringList numbers;
  for (int period : periods) numbers << QString::number(period);
  return numbers.join(QStringLiteral(", "));
}

QToolButton* barButton(QWidget* parent, const char* name, int pictureNumber) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIconSize(QSize(32, 32));
  button->setAutoRaise(true);
  if (pictureNumber > 0) button->setIcon(picture(pictureNumber));
  return button;
}

}  // namespace

InstitutionView::InstitutionView(shell::Application& application, ShowHelp showHelp, QWidget* parent)
    : QDialog(parent),
      application_(application),
      showHelp_(std::move(showHelp)),
      model_(new SchoolGridModel(this)),
      progress_(this),
      rowsProgress_(this) {
  setObjectName(QStringLiteral("TF13"));
  setModal(true);
  resize(860, 650);

  buildButtonBar();

  institutionName_ = new QLineEdit(this);
  institutionName_->setObjectName(QStringLiteral("DBEdit1"));
  institutionName_->setMaxLength(kNameWidth);
  keepUpperCase(institutionName_);
  connect(institutionName_, &QLineEdit::editingFinished, this,
          [this] { guarded(prompter(), [this] { postInstitutionName(); }); });
  auto* nameRow = new QHBoxLayout;
  auto* institutionLabel = new QLabel(QStringLiteral("&Institution:"), this);
  institutionLabel->setBuddy(institutionName_);
  nameRow->addWidget(institutionLabel);
  nameRow->addWidget(institutionName_, 1);

  grid_ = new QListView(this);
  grid_->setObjectName(QStringLiteral("DGSec"));
  grid_->setModel(model_);
  grid_->setIconSize(QSize(32, 32));
  grid_->setSpacing(2);
  grid_->setUniformItemSizes(true);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  grid_->setMinimumWidth(250);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& now) { guarded(prompter(), [this, now] { chooseRow(now.row()); }); });
  buildGridMenu();
  connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& where) {
    guarded(prompter(), [this, where] {
      const QModelIndex index = grid_->indexAt(where);
      if (index.isValid() && index.row() != currentRow()) {
        grid_->setCurrentIndex(index);
      } else {
        chooseRow(currentRow());  // the enabling follows what the school has now
      }
    });
    gridMenu_->popup(grid_->viewport()->mapToGlobal(where));
  });
  auto* gridBox = new QGroupBox(QStringLiteral("Schools"), this);
  auto* gridLayout = new QVBoxLayout(gridBox);
  gridLayout->addWidget(grid_);

  auto* middle = new QHBoxLayout;
  middle->addWidget(gridBox, 2);
  middle->addWidget(buildDetailsPanel(), 3);

  note_ = new QPlainTextEdit(this);
  note_->setObjectName(QStringLiteral("Memo1"));
  note_->setReadOnly(true);
  note_->setLineWrapMode(QPlainTextEdit::NoWrap);
  note_->setFocusPolicy(Qt::NoFocus);
  QStringList noteLines;
  for (const char* line : kNote) noteLines << QString::fromLatin1(line);
  note_->setPlainText(noteLines.join(QLatin1Char('\n')));
  note_->setFixedHeight(note_->fontMetrics().lineSpacing() * 4 + 16);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buttonBar_);
  layout->addLayout(nameRow);
  layout->addLayout(middle, 1);
  layout->addWidget(note_);
  layout->addWidget(progress_.widget());

  auto* topMenuKey = new QShortcut(QKeySequence(Qt::Key_F2), this);
  connect(topMenuKey, &QShortcut::activated, this, [this] { topMenu_->popup(mapToGlobal(QPoint(0, 0))); });
  addHelpKey(*this, "F13", showHelp_);
  connect(qApp, &QApplication::focusChanged, this, &InstitutionView::focusMoved);
}

InstitutionView::~InstitutionView() {
  // Widgets deleted with this window move the focus; by then this window must not hear of it.
  disconnect(qApp, nullptr, this, nullptr);
}

// ---- Building the window ---------------------------------------------------------------------

void InstitutionView::buildButtonBar() {
  buttonBar_ = new QWidget(this);
  buttonBar_->setObjectName(QStringLiteral("ButtonBar"));
  buttonBar_->setContextMenuPolicy(Qt::CustomContextMenu);

  addSchoolButton_ = barButton(buttonBar_, "SBSec", kPictureAddSchool);
  addSchoolButton_->setToolTip(QStringLiteral("Double Click here to add School"));
  addSchoolButton_->installEventFilter(this);

  listSelect_ = new QAction(picture(kPictureListSelect), QStringLiteral("School List S&elect"), this);
  listSelect_->setObjectName(QStringLiteral("actionSchoolListSelect"));
  listSelect_->setShortcut(QKeySequence(Qt::Key_F5));
  listSelect_->setToolTip(QStringLiteral("School List Select (F5)"));
  connect(listSelect_, &QAction::triggered, this, [this] { selectFromList(); });
  addAction(listSelect_);  // F5 works without the menu

  // The school view is not in this version: the button still closes this window with the request,
  // and the main window has nothing to open for it. The tooltip says so.
  schoolView_ = new QAction(picture(kPictureSchoolView), QStringLiteral("&School View"), this);
  schoolView_->setObjectName(QStringLiteral("actionSchoolView"));
  schoolView_->setToolTip(QStringLiteral("School View\n") + QString::fromLatin1(kNotAvailable));
  connect(schoolView_, &QAction::triggered, this, [this] { openSchoolView(); });

  close_ = new QAction(picture(kPictureExit), QStringLiteral("C&lose"), this);
  close_->setObjectName(QStringLiteral("actionClose"));
  close_->setToolTip(QStringLiteral("Close"));
  connect(close_, &QAction::triggered, this, &QDialog::reject);

  QToolButton* listButton = barButton(buttonBar_, "SBLstSelct", 0);
  listButton->setDefaultAction(listSelect_);
  QToolButton* viewButton = barButton(buttonBar_, "SBSVw", 0);
  viewButton->setDefaultAction(schoolView_);
  QToolButton* closeButton = barButton(buttonBar_, "SBCls", 0);
  closeButton->setDefaultAction(close_);

  auto* layout = new QHBoxLayout(buttonBar_);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QToolButton* button : {addSchoolButton_, listButton, viewButton, closeButton}) {
    layout->addWidget(button);
  }
  layout->addStretch(1);

  topMenu_ = new QMenu(this);
  topMenu_->setObjectName(QStringLiteral("PMTop"));
  topMenu_->addAction(listSelect_);
  topMenu_->addAction(schoolView_);
  topMenu_->addAction(close_);
  connect(buttonBar_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& where) { topMenu_->popup(buttonBar_->mapToGlobal(where)); });
}

void InstitutionView::buildGridMenu() {
  gridMenu_ = new QMenu(this);
  gridMenu_->setObjectName(QStringLiteral("PMGrd"));
  gridMenu_->setToolTipsVisible(true);  // the commands not available yet say so
  gridHeader_ = gridMenu_->addAction(QString());
  gridHeader_->setObjectName(QStringLiteral("actionHeader"));
  gridHeader_->setEnabled(false);

  struct Item {
    const char* caption;
    const char* name;
    bool SchoolCommands::*allowed;
    bool available;  // whether this version carries the command
  };
  // The indent, timetable and availability commands on a whole school and the statistics
  // windows come with their own parts of the program; until then they stay disabled.
  const std::vector<std::vector<Item>> groups = {
      {{"Undo &Timetable Allocations", "actionUndoAllocations", &SchoolCommands::undoAllocations, false}},
      {{"Ma&ke All Passive Indents Active", "actionMakePassiveActive", &SchoolCommands::makePassiveActive,
        false},
       {"Mak&e All Active Indents Passive", "actionMakeActivePassive", &SchoolCommands::makeActivePassive,
        false}},
      {{"Delete &Passive Allocation Indents", "actionDeletePassive", &SchoolCommands::deletePassive, false},
       {"Delete &Active Allocation Indents", "actionDeleteActive", &SchoolCommands::deleteActive, false},
       {"Delete A&ll Allocation Indents", "actionDeleteAll", &SchoolCommands::deleteAll, false}},
      {{"&Delete School", "actionDeleteSchool", &SchoolCommands::deleteSchool, true}},
      {{"Apply School Availability to All C&lasses", "actionApplyToClasses", &SchoolCommands::applyToClasses,
        false},
       {"Apply School Availability to All Res&ources", "actionApplyToResources",
        &SchoolCommands::applyToResources, false},
       {"Apply School A&vailability to All Classes and Resources", "actionApplyToBoth",
        &SchoolCommands::applyToBoth, false}},
      {{"&Class Statistics", "actionClassStatistics", &SchoolCommands::classStatistics, false},
       {"&Resource Statistics", "actionResourceStatistics", &SchoolCommands::resourceStatistics, false},
       {"&Subject Statistics", "actionSubjectStatistics", &SchoolCommands::subjectStatistics, false},
       {"School Stat&istics", "actionSchoolStatistics", &SchoolCommands::schoolStatistics, false}},
      {{"Statistics &Diagnostics/ Repair", "actionDiagnostics", &SchoolCommands::diagnostics, false}},
  };
  for (const auto& group : groups) {
    gridMenu_->addSeparator();
    for (const Item& item : group) {
      QAction* action = gridMenu_->addAction(QString::fromLatin1(item.caption));
      action->setObjectName(QString::fromLatin1(item.name));
      if (!item.available) action->setToolTip(QString::fromLatin1(kNotAvailable));
      gridCommands_.push_back({action, item.allowed, item.available});
    }
  }
  gridMenu_->addSeparator();
  // Context help of single controls comes with the full help set.
  QAction* whatsThis = gridMenu_->addAction(QStringLiteral("What's this?"));
  whatsThis->setObjectName(QStringLiteral("actionWhatsThis"));
  whatsThis->setToolTip(QString::fromLatin1(kNotAvailable));
  whatsThis->setEnabled(false);

  for (const GridCommand& command : gridCommands_) {
    if (command.allowed == &SchoolCommands::deleteSchool) {
      connect(command.action, &QAction::triggered, this, [this] { deleteChosenSchool(); });
    }
  }
}

QWidget* InstitutionView::buildDetailsPanel() {
  panel_ = new QGroupBox(QStringLiteral("School Details"), this);
  panel_->setObjectName(QStringLiteral("Panel1"));

  name_ = new QLineEdit(panel_);
  name_->setObjectName(QStringLiteral("Edit2"));
  name_->setMaxLength(kNameWidth);
  keepUpperCase(name_);

  remark_ = new QLineEdit(panel_);
  remark_->setObjectName(QStringLiteral("DBEdit3"));
  remark_->setMaxLength(kNameWidth);
  keepUpperCase(remark_);

  weekSetup_ = new QComboBox(panel_);
  weekSetup_->setObjectName(QStringLiteral("CBxWkStp"));
  weekSetup_->addItems({QStringLiteral("STANDARD"), QStringLiteral("GULF")});
  connect(weekSetup_, &QComboBox::activated, this,
          [this](int index) { guarded(prompter(), [this, index] { weekSetupChosen(index); }); });

  dayCount_ = new QComboBox(panel_);
  dayCount_->setObjectName(QStringLiteral("WCyclCBx"));
  dayCount_->setEditable(true);  // a typed count is checked when the panel is left
  dayCount_->setInsertPolicy(QComboBox::NoInsert);
  for (int day = 1; day <= 9; ++day) dayCount_->addItem(QString::number(day));

  days_ = new QListWidget(panel_);
  days_->setObjectName(QStringLiteral("LBxWk"));
  days_->setSelectionMode(QAbstractItemView::NoSelection);
  days_->setFocusPolicy(Qt::NoFocus);

  recess_ = new QListWidget(panel_);
  recess_->setObjectName(QStringLiteral("CLBxRec"));
  recess_->setSelectionMode(QAbstractItemView::NoSelection);
  for (int period = 1; period <= kRecessBoxes; ++period) {
    auto* box = new QListWidgetItem(QString::number(period), recess_);
    box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    box->setCheckState(Qt::Unchecked);
  }

  availabilitySetup_ = new QPushButton(QStringLiteral("Availability Setup"), panel_);
  availabilitySetup_->setObjectName(QStringLiteral("BPWkStpElps"));
  availabilitySetup_->setAutoDefault(false);
  connect(availabilitySetup_, &QPushButton::clicked, this, [this] { availabilitySetup(); });

  auto label = [this](const char* text, QWidget* buddy) {
    auto* shown = new QLabel(QString::fromLatin1(text), panel_);
    shown->setBuddy(buddy);
    return shown;
  };
  auto* form = new QGridLayout;
  form->addWidget(label("School &Name:", name_), 0, 0);
  form->addWidget(name_, 0, 1, 1, 3);
  form->addWidget(label("&Remark:", remark_), 1, 0);
  form->addWidget(remark_, 1, 1, 1, 3);
  form->addWidget(label("&Week Setup:", weekSetup_), 2, 0);
  form->addWidget(weekSetup_, 2, 1);
  form->addWidget(label("No. of &days in Timetabling Week Cycle:", dayCount_), 3, 0, 1, 3);
  form->addWidget(dayCount_, 3, 3);
  form->setColumnStretch(1, 1);

  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel(QStringLiteral("Days:"), panel_), 0, 0);
  lists->addWidget(label("Re&cess after period(s):", recess_), 0, 1);
  lists->addWidget(days_, 1, 0);
  lists->addWidget(recess_, 1, 1);

  auto* layout = new QVBoxLayout(panel_);
  layout->addLayout(form);
  layout->addLayout(lists, 1);
  layout->addWidget(availabilitySetup_, 0, Qt::AlignLeft);
  panel_->setVisible(false);
  return panel_;
}

// ---- Opening ---------------------------------------------------------------------------------

void InstitutionView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;  // back from being minimised: nothing to read again
  guarded(prompter(), [this] { prepareToShow(); });
}

void InstitutionView::prepareToShow() {
  session().pendingWindow = 'N';
  editing_ = false;
  editingRow_ = -1;
  const std::string institution = store().institution().INSTITUTION;
  setWindowTitle(fromUtf8(institution) + QStringLiteral("- Institution View"));
  institutionName_->setText(fromUtf8(institution));

  schoolView_->setEnabled(false);
  enableGridCommands({});
  gridHeader_->setText(QString());

  panel_->setVisible(false);
  model_->load(store());
  {
    const QSignalBlocker quiet(grid_->selectionModel());
    grid_->selectionModel()->clear();
  }
  listSelect_->setEnabled(model_->grid().listSelectEnabled());
  institutionName_->setFocus();
}

// ---- Choosing a school -----------------------------------------------------------------------

int InstitutionView::currentRow() const {
  const QModelIndex current = grid_->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void InstitutionView::chooseRow(int row) {
  if (editing_ && row != editingRow_) {
    // The details of the school being edited were not accepted: the grid stays on it.
    const QSignalBlocker quiet(grid_->selectionModel());
    grid_->setCurrentIndex(model_->index(editingRow_));
    return;
  }
  session().viewKind = 'L';
  std::optional<store::TSchl> school;
  if (auto code = model_->grid().schoolAt(row)) {
    school = store().table<store::TSchl>().find(store::TSchl::SCLCODE, {*code});
  }
  if (!school) {
    enableGridCommands({});
    panel_->setVisible(false);
    gridHeader_->setText(QStringLiteral("Applies to All Schools:"));
    schoolView_->setEnabled(false);
    return;
  }
  gridHeader_->setText(QStringLiteral("Applies to ") + fromUtf8(school->SNAME));
  enableGridCommands(setup::schoolCommands(store(), school->SCHOOLCODE));
  showDetails(*school);
  session().setSchool(school->SCHOOLCODE);
  baseline_ = setup::detailsBaseline(*school);
  schoolView_->setEnabled(true);
  // Chosen while the focus is in the panel (a new school, a school picked from the list): the
  // person is editing this school's details from now on.
  if (!editing_ && panel_->isAncestorOf(QApplication::focusWidget())) enterDetails();
}

void InstitutionView::showDetails(const store::TSchl& school) {
  {
    const QSignalBlocker quiet(weekSetup_);
    weekSetup_->setCurrentIndex(weekSetup_->findText(fromUtf8(school.SREGN)));
  }
  name_->setText(fromUtf8(school.SNAME));
  remark_->setText(fromUtf8(school.SREMARK));
  dayCount_->setCurrentText(QString::number(store::daysInCycle(school.SWRKDAYS)));
  showDays(school);
  const std::array<bool, 11> ticks = setup::recessTicks(school.SRECESS);
  for (int box = 0; box < kRecessBoxes; ++box) {
    recess_->item(box)->setCheckState(ticks[static_cast<std::size_t>(box)] ? Qt::Checked : Qt::Unchecked);
  }
  panel_->setVisible(true);
}

void InstitutionView::showDays(const store::TSchl& school) {
  days_->clear();
  for (const std::string& day : store::Fill_DayList(school.SWRKDAYS, school.SREGN)) days_->addItem(fromUtf8(day));
}

void InstitutionView::enableGridCommands(const SchoolCommands& allowed) {
  for (const GridCommand& command : gridCommands_) {
    const bool yes = allowed.*(command.allowed);
    // What the school allows is kept apart from what this version offers, so both can be seen.
    command.action->setProperty("allowed", yes);
    command.action->setEnabled(yes && command.available);
  }
}

// ---- The details panel -----------------------------------------------------------------------

void InstitutionView::focusMoved(QWidget* old, QWidget* now) {
  // Only moves inside this window count: a message box taking the focus and giving it back is
  // not the person leaving the panel.
  if (leaving_ || !now || now->window() != this) return;
  const bool wasInPanel = old && old->window() == this && panel_->isAncestorOf(old);
  const bool inPanel = panel_->isAncestorOf(now);
  guarded(prompter(), [&] {
    if (inPanel && !editing_) enterDetails();
    if (!inPanel && wasInPanel && editing_) {
      leaveDetails();
      return;
    }
    // The values each check compares with are those a box had when the person entered it.
    if (!inPanel || !editing_) return;
    if (now == name_) baseline_.name = name_->text().toStdString();
    if (now == weekSetup_) baseline_.weekSetup = weekSetup_->currentText().toStdString();
    if (dayCount_->isAncestorOf(now) || now == dayCount_) {
      baseline_.dayCountText = dayCount_->currentText().toStdString();
    }
  });
}

void InstitutionView::enterDetails() {
  const int row = currentRow();
  auto school = session().school();
  if (row < 0 || !school || model_->grid().schoolAt(row) != school->SCHOOLCODE) return;
  baseline_ = setup::detailsBaseline(*school);
  model_->markEditing(row);
  editingRow_ = row;
  editing_ = true;
}

bool InstitutionView::leaveDetails() {
  setup::SchoolDetails details;
  details.name = name_->text().toStdString();
  details.remark = remark_->text().toStdString();
  details.dayCountText = dayCount_->currentText().toStdString();
  details.recess = recessTicks();

  setup::DetailsActions actions;
  actions.availabilitySetup = [this] { availabilitySetup(); };
  actions.applyAvailabilityToAll = [this] {
    prompter().info(
        "Applying the School availability to its Classes and Resources is not available yet in this "
        "version.");
  };
  leaving_ = true;
  setup::DetailsFollowUp outcome;
  try {
    outcome = setup::leaveDetails(session(), details, baseline_, actions);
  } catch (...) {
    leaving_ = false;
    throw;
  }
  leaving_ = false;

  if (outcome.refused) {
    if (!outcome.restoredDayCount.empty()) {
      dayCount_->setCurrentText(fromUtf8(outcome.restoredDayCount));
      dayCount_->setFocus();
    } else {
      name_->setText(fromUtf8(outcome.restoredName));
      name_->setFocus();
    }
    return false;
  }
  model_->unmark(editingRow_);
  editing_ = false;
  editingRow_ = -1;
  model_->refreshNames(store());
  reportRecessNotKept(details.recess);
  if (auto school = session().school()) {
    showDetails(*school);
    gridHeader_->setText(QStringLiteral("Applies to ") + fromUtf8(school->SNAME));
  }
  return true;
}

bool InstitutionView::postPendingDetails() {
  return !editing_ || leaveDetails();
}

void InstitutionView::reportRecessNotKept(const std::array<bool, 11>& ticks) {
  const setup::RecessText kept = setup::recessText(ticks);
  if (kept.dropped.empty()) return;
  prompter().info("No room to keep the recess after period(s) " + periodList(kept.dropped).toStdString() +
                  ": the school record holds " + std::to_string(kept.text.size()) +
                  " characters of recess positions and they are full.");
}

std::array<bool, 11> InstitutionView::recessTicks() const {
  std::array<bool, 11> ticks{};
  for (int box = 0; box < kRecessBoxes; ++box) {
    ticks[static_cast<std::size_t>(box)] = recess_->item(box)->checkState() == Qt::Checked;
  }
  return ticks;
}

void InstitutionView::weekSetupChosen(int index) {
  auto school = session().school();
  const std::string chosen = weekSetup_->itemText(index).toStdString();
  if (!school || school->SREGN == chosen) return;
  setup::changeWeekSetup(session(), chosen);
  if (auto changed = session().school()) showDays(*changed);
}

void InstitutionView::postInstitutionName() {
  const std::string typed = institutionName_->text().toStdString();
  if (typed == store().institution().INSTITUTION) return;
  setup::setInstitutionName(store(), typed);
  setWindowTitle(fromUtf8(store().institution().INSTITUTION) + QStringLiteral("- Institution View"));
}

// ---- Commands --------------------------------------------------------------------------------

void InstitutionView::addSchool() {
  guarded(prompter(), [this] {
    if (!postPendingDetails()) return;
    std::optional<int> code = setup::createSchool(session());
    if (!code) return;  // the core said why
    const int row = model_->grid().firstEmpty().value_or(0);
    model_->place(store(), row, *code);
    listSelect_->setEnabled(model_->grid().listSelectEnabled());
    const bool sameRow = currentRow() == row;
    grid_->setCurrentIndex(model_->index(row));
    if (sameRow) chooseRow(row);
    // The person types over the default name straight away: that is entering the details.
    name_->setFocus();
    name_->selectAll();
    if (!editing_) enterDetails();
  });
}

void InstitutionView::availabilitySetup() {
  if (!openAvailability_ || !session().school()) return;
  guarded(prompter(), [this] {
    bool prepared = false;
    {
      BusyCursor busy;
      prepared = setup::prepareAvailabilitySetup(session(), rowsProgress_, dayCount_->currentText().toStdString());
    }
    if (!prepared) {
      // A day count that is not one of the list's was refused: the one remembered comes back.
      if (dayCount_->findText(dayCount_->currentText()) < 0) {
        dayCount_->setCurrentText(fromUtf8(baseline_.dayCountText));
        dayCount_->setFocus();
      }
      return;
    }
    if (auto school = session().school()) showDays(*school);
    session().viewKind = 'L';
    openAvailability_();
    // Asked for from this very view, the institution view is open already.
    if (session().pendingWindow == 'I') session().pendingWindow = 'N';
    setup::availabilitySetupFinished(session());
    baseline_.availabilitySetupDone = true;
    if (auto school = session().school()) showDays(*school);
  });
}

void InstitutionView::selectFromList() {
  if (!listSelect_->isEnabled()) return;
  guarded(prompter(), [this] {
    if (!postPendingDetails()) return;
    std::vector<SchoolPicker::School> schools;
    for (const store::TSchl& school : store().table<store::TSchl>().range(store::TSchl::primary)) {
      schools.push_back({school.SCHOOLCODE, fromUtf8(school.SNAME)});
    }
    SchoolPicker picker(schools, session().schoolCode(), this);
    if (picker.exec() != QDialog::Accepted || picker.chosenSchool() == 0) return;
    const int code = picker.chosenSchool();
    session().setSchool(code);
    const std::optional<int> row = model_->grid().rowOf(code);
    if (!row) return;
    if (*row == currentRow()) {
      chooseRow(*row);
    } else {
      grid_->setCurrentIndex(model_->index(*row));
    }
  });
}

void InstitutionView::openSchoolView() {
  if (!schoolView_->isEnabled()) return;
  done(QDialog::Accepted);
  if (!isVisible()) session().pendingWindow = 'C';
}

void InstitutionView::deleteChosenSchool() {
  guarded(prompter(), [this] {
    const int row = currentRow();
    const int code = row >= 0 ? model_->grid().schoolAt(row).value_or(0) : 0;
    bool deleted = false;
    {
      BusyCursor busy;
      struct HideBar {
        ProgressPanel& bar;
        ~HideBar() { bar.hide(); }
      } hideBar{progress_};
      deleted = setup::deleteSchool(session(), progress_, code);
    }
    if (!deleted) return;
    editing_ = false;
    editingRow_ = -1;
    model_->closeGap(store(), row);
    listSelect_->setEnabled(model_->grid().listSelectEnabled());
    chooseRow(row);
  });
}

// ---- Closing ---------------------------------------------------------------------------------

void InstitutionView::done(int result) {
  bool refused = false;
  guarded(prompter(), [&] {
    if (!postPendingDetails()) {
      refused = true;
      return;
    }
    postInstitutionName();
    BusyCursor busy;
    setup::makeMissingAvailabilityRows(session(), rowsProgress_);
  });
  if (refused) return;  // the details say why; the person is back in the panel
  QDialog::done(result);
}

bool InstitutionView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == addSchoolButton_ && event->type() == QEvent::MouseButtonDblClick) {
    addSchool();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tavrel::app
