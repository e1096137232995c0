#include "app/setup/week_setup_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/shell/guarded.h"
#include "core/store/day_words.h"

namespace tavrel::app {

namespace {

// The twelve lines of the dialog's note, broken where the note breaks them.
// clang-format off
const char* const kNote[] = {
    "Class or Resource availability can differ from ",
    "School availability but can not exceed  the",
    "School's maximum period count among days.",
    "Say, a School has a set up of 6 days with",
    "9 periods every day from Monday to Friday.",
    "And 5  periods on Saturday. In this case, the",
    "individual Class or Resource availability can ",
    "be altered to have a maximum of 9 periods ",
    "on any day including Saturday. So, provide",
    "adequately large School settings. Excess",
    "periods provided to Classes or Resources ",
    "are ignored in timetable setting.",
};
// clang-format on

QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

QPushButton* button(QWidget* parent, const char* caption, const char* name) {
  auto* shown = new QPushButton(QString::fromLatin1(caption), parent);
  shown->setObjectName(QString::fromLatin1(name));
  shown->setAutoDefault(false);
  return shown;
}

// The key a person typed, as text; empty for keys that type nothing (Tab, arrows, Backspace).
QString typedText(const QKeyEvent& key) {
  const QString text = key.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return {};
  return text;
}

}  // namespace

WeekSetupDialog::WeekSetupDialog(shell::Application& application, ShowHelp showHelp, QWidget* parent)
    : QDialog(parent),
      application_(application),
      showHelp_(std::move(showHelp)),
      form_('L', 912),
      item_(new QLabel(this)),
      periodsCaption_(new QLabel(QStringLiteral("Periods"), this)),
      periodsEntry_(new QLineEdit(this)),
      topDown_(new QRadioButton(QStringLiteral("TopDown"), this)),
      bottomUp_(new QRadioButton(QStringLiteral("BottomUp"), this)),
      selectAll_(button(this, "Select&All", "BSelectAll")),
      periods_(button(this, "&Periods", "BPeriods")),
      resetSelection_(button(this, "Reset&Selection", "BResetSelection")),
      apply_(button(this, "App&ly", "BApply")),
      cancel_(button(this, "&Cancel", "BCancel")),
      note_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("TF14"));
  setWindowTitle(QStringLiteral("Week Setup"));
  setModal(true);

  item_->setObjectName(QStringLiteral("STxItm"));
  QFont itemFont = item_->font();
  itemFont.setBold(true);
  item_->setFont(itemFont);

  auto* daysBox = new QGroupBox(QStringLiteral("Days"), this);
  auto* daysLayout = new QGridLayout(daysBox);
  for (int day = 1; day <= 9; ++day) {
    const std::size_t i = static_cast<std::size_t>(day - 1);
    auto* choose = new QRadioButton(daysBox);
    choose->setObjectName(QStringLiteral("RB%1").arg(day));
    choose->setAutoExclusive(false);  // any set of days can be selected together
    connect(choose, &QRadioButton::clicked, this, [this, day] {
      form_.selectDay(day);
      showForm();
    });
    auto* box = new QLineEdit(daysBox);
    box->setObjectName(QStringLiteral("E%1").arg(day));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    box->setAlignment(Qt::AlignRight);
    // Typed digits reach the box through the form only: no paste, no context menu.
    box->setReadOnly(true);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setFocusPolicy(Qt::StrongFocus);
    box->installEventFilter(this);
    dayButtons_[i] = choose;
    dayBoxes_[i] = box;
    daysLayout->addWidget(choose, day - 1, 0);
    daysLayout->addWidget(box, day - 1, 1);
  }
  daysLayout->setColumnStretch(0, 1);

  periodsCaption_->setObjectName(QStringLiteral("STxPStp"));
  periodsEntry_->setObjectName(QStringLiteral("EPStp"));
  periodsEntry_->setMaxLength(2);
  periodsEntry_->setFixedWidth(dayBoxes_[0]->width());
  periodsEntry_->setReadOnly(true);
  periodsEntry_->setContextMenuPolicy(Qt::NoContextMenu);
  periodsEntry_->installEventFilter(this);
  periodsCaption_->setBuddy(periodsEntry_);
  auto* periodsRow = new QHBoxLayout;
  periodsRow->addWidget(periodsCaption_);
  periodsRow->addWidget(periodsEntry_);
  periodsRow->addStretch(1);

  auto* directionBox = new QGroupBox(QStringLiteral("Apply Availability"), this);
  topDown_->setObjectName(QStringLiteral("RBTopDn"));
  bottomUp_->setObjectName(QStringLiteral("RBtmUp"));
  auto* directionLayout = new QHBoxLayout(directionBox);
  directionLayout->addWidget(topDown_);
  directionLayout->addWidget(bottomUp_);
  connect(topDown_, &QRadioButton::toggled, this,
          [this](bool on) { form_.direction = on ? setup::Direction::TopDown : setup::Direction::BottomUp; });

  note_->setObjectName(QStringLiteral("Memo1"));
  note_->setReadOnly(true);
  note_->setFocusPolicy(Qt::NoFocus);
  note_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QStringList noteLines;
  for (const char* line : kNote) noteLines << QString::fromLatin1(line);
  note_->setPlainText(noteLines.join(QLatin1Char('\n')));
  note_->setMinimumWidth(note_->fontMetrics().horizontalAdvance(QString::fromLatin1(kNote[1])) + 40);
  note_->setMinimumHeight(note_->fontMetrics().lineSpacing() * 12 + 16);

  auto* left = new QVBoxLayout;
  left->addWidget(daysBox);
  left->addLayout(periodsRow);
  left->addWidget(directionBox);
  auto* middle = new QHBoxLayout;
  middle->addLayout(left);
  middle->addWidget(note_, 1);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* shown : {selectAll_, periods_, resetSelection_}) buttons->addWidget(shown);
  buttons->addStretch(1);
  buttons->addWidget(apply_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(item_);
  layout->addLayout(middle, 1);
  layout->addLayout(buttons);

  connect(selectAll_, &QPushButton::clicked, this, [this] {
    form_.selectAll();
    showForm();
  });
  connect(resetSelection_, &QPushButton::clicked, this, [this] {
    form_.resetSelection();
    showForm();
  });
  connect(periods_, &QPushButton::clicked, this, [this] { startPeriodsEntry(); });
  connect(apply_, &QPushButton::clicked, this, [this] { apply(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  addHelpKey(*this, "F14", showHelp_);
}

std::optional<setup::WeekSetupResult> WeekSetupDialog::run() {
  exec();
  return result_;
}

// ---- Opening ---------------------------------------------------------------------------------

void WeekSetupDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  guarded(application_.ports().prompter, [this] { prepareToShow(); });
}

void WeekSetupDialog::prepareToShow() {
  result_.reset();
  store::Session& session = application_.session();
  const std::optional<store::TSchl> school = session.school();
  const int swrkdays = school ? school->SWRKDAYS : 912;
  form_ = setup::WeekSetupForm(session.viewKind, swrkdays);
  item_->setText(itemName());
  const std::vector<std::string> dayNames =
      school ? store::Fill_DayList(school->SWRKDAYS, school->SREGN) : std::vector<std::string>(9);
  for (std::size_t i = 0; i < dayButtons_.size(); ++i) dayButtons_[i]->setText(fromUtf8(dayNames[i]));
  periodsEntry_->clear();
  showForm();
  selectAll_->setFocus();
}

QString WeekSetupDialog::itemName() const {
  store::Session& session = application_.session();
  switch (session.viewKind) {
    case 'C':
      if (auto cls = session.classes().current()) return fromUtf8(cls->CLSNAME);
      return {};
    case 'T':
      if (auto resource = session.resources().current()) return fromUtf8(resource->TCHNAME);
      return {};
    default:
      if (auto school = session.school()) return fromUtf8(school->SNAME);
      return {};
  }
}

void WeekSetupDialog::showForm() {
  for (int day = 1; day <= 9; ++day) {
    const std::size_t i = static_cast<std::size_t>(day - 1);
    dayButtons_[i]->setChecked(form_.daySelected(day));
    dayButtons_[i]->setEnabled(form_.dayEnabled(day));
    dayBoxes_[i]->setText(fromUtf8(form_.box(day)));
    dayBoxes_[i]->setEnabled(form_.dayEnabled(day));
  }
  periods_->setEnabled(form_.periodsEnabled());
  resetSelection_->setEnabled(form_.resetEnabled());
  periodsCaption_->setVisible(form_.periodsEntryVisible());
  periodsEntry_->setVisible(form_.periodsEntryVisible());
  const QSignalBlocker quiet(topDown_);
  topDown_->setChecked(form_.direction == setup::Direction::TopDown);
  bottomUp_->setChecked(form_.direction == setup::Direction::BottomUp);
}

// ---- Commands --------------------------------------------------------------------------------

void WeekSetupDialog::startPeriodsEntry() {
  form_.startPeriodsEntry();
  periodsEntry_->clear();
  showForm();
  if (form_.periodsEntryVisible()) periodsEntry_->setFocus();
}

bool WeekSetupDialog::typeKey(int day, const QString& key) {
  const std::string typed = key.toStdString();
  // A key is one character; only a plain ASCII one can be a digit.
  const bool ascii = typed.size() == 1;
  Status taken = !ascii     ? Status(Error{setup::invalidKeyMessage(typed)})
                 : day == 0 ? form_.typeInPeriodsEntry(typed[0])
                            : form_.typeInBox(day, typed[0]);
  if (!taken) {
    application_.ports().prompter.error(taken.error());
    return false;
  }
  if (day == 0) periodsEntry_->setText(periodsEntry_->text() + key);
  showForm();
  return true;
}

void WeekSetupDialog::apply() {
  Result<setup::WeekSetupResult> applied = form_.apply();
  if (!applied) {
    application_.ports().prompter.error(applied.error());
    return;
  }
  result_ = *applied;
  accept();
}

void WeekSetupDialog::done(int result) {
  form_.close();
  showForm();
  QDialog::done(result);
}

bool WeekSetupDialog::eventFilter(QObject* watched, QEvent* event) {
  int day = -1;
  if (watched == periodsEntry_) day = 0;
  for (int d = 1; d <= 9; ++d) {
    if (watched == dayBoxes_[static_cast<std::size_t>(d - 1)]) day = d;
  }
  if (day < 0) return QDialog::eventFilter(watched, event);

  switch (event->type()) {
    case QEvent::FocusIn:
      // Coming back from a message box is not entering the box again: it would empty it.
      if (day > 0 && static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason) {
        form_.enterBox(day);
        showForm();
      }
      break;
    case QEvent::FocusOut:
      // A message box taking the focus for a moment is not the person leaving the entry.
      if (day == 0 && static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason) {
        form_.leavePeriodsEntry();
        showForm();
      }
      break;
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      const QString typed = typedText(*key);
      if (!typed.isEmpty()) {
        typeKey(day, typed);
        return true;
      }
      // The boxes change only through typed digits; entering a box is how it is cleared.
      if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) return true;
      break;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tavrel::app
