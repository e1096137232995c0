#include "app/shell/help_window.h"

#include <QComboBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/shell/guarded.h"

namespace tavrel::app {

namespace {

QString fromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

QToolButton* navigatorButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                             const char* hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolTip(QString::fromLatin1(hint));
  button->setAutoRaise(true);
  return button;
}

}  // namespace

HelpWindow::HelpWindow(shell::Application& application, QWidget* parent)
    : QDialog(parent),
      application_(application),
      topicList_(new QComboBox(this)),
      text_(new QTextEdit(this)),
      first_(navigatorButton(this, "NavFirst", QStyle::SP_MediaSkipBackward, "First record")),
      prior_(navigatorButton(this, "NavPrior", QStyle::SP_MediaSeekBackward, "Prior record")),
      next_(navigatorButton(this, "NavNext", QStyle::SP_MediaSeekForward, "Next record")),
      last_(navigatorButton(this, "NavLast", QStyle::SP_MediaSkipForward, "Last record")),
      font_(new QPushButton(QStringLiteral("&Font"), this)),
      close_(new QPushButton(QStringLiteral("&Close"), this)) {
  setObjectName(QStringLiteral("TFHLP"));
  setWindowTitle(QStringLiteral("Help"));
  setModal(true);
  resize(680, 540);

  topicList_->setObjectName(QStringLiteral("CBxTopic"));
  topicList_->setMinimumWidth(320);
  text_->setObjectName(QStringLiteral("WINHMEMO"));
  text_->setAcceptRichText(true);
  font_->setObjectName(QStringLiteral("BFont"));
  close_->setObjectName(QStringLiteral("BClose"));
  for (QPushButton* button : {font_, close_}) button->setAutoDefault(false);

  auto* topicLabel = new QLabel(QStringLiteral("Topic:"), this);
  topicLabel->setBuddy(topicList_);
  auto* top = new QHBoxLayout;
  top->addWidget(topicLabel);
  top->addWidget(topicList_, 1);
  top->addSpacing(12);
  for (QToolButton* button : {first_, prior_, next_, last_}) top->addWidget(button);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(font_);
  bottom->addStretch(1);
  bottom->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(text_, 1);
  layout->addLayout(bottom);

  connect(topicList_, &QComboBox::activated, this, [this](int index) { step(index); });
  connect(first_, &QToolButton::clicked, this, [this] { step(0); });
  connect(prior_, &QToolButton::clicked, this, [this] { step(shown_ - 1); });
  connect(next_, &QToolButton::clicked, this, [this] { step(shown_ + 1); });
  connect(last_, &QToolButton::clicked, this, [this] { step(static_cast<int>(topics_.size()) - 1); });
  connect(font_, &QPushButton::clicked, this, [this] { chooseFont(); });
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

void HelpWindow::showTopic(const std::string& code) {
  topics_ = shell::helpTopics(application_.store());
  topicList_->clear();
  int wanted = topics_.empty() ? -1 : 0;
  for (std::size_t i = 0; i < topics_.size(); ++i) {
    topicList_->addItem(fromUtf8(topics_[i].title));
    if (topics_[i].code == code) wanted = static_cast<int>(i);
  }
  shown_ = -1;
  moveTo(wanted);
}

std::string HelpWindow::shownTopic() const {
  if (shown_ < 0) return {};
  return topics_[static_cast<std::size_t>(shown_)].code;
}

void HelpWindow::moveTo(int index) {
  if (topics_.empty()) {
    text_->clear();
    text_->setReadOnly(true);  // with no topic there is nowhere to keep a text
    showNavigatorState();
    return;
  }
  index = std::clamp(index, 0, static_cast<int>(topics_.size()) - 1);
  keepShownText();
  shown_ = index;
  const shell::HelpTopic& topic = topics_[static_cast<std::size_t>(index)];
  text_->setReadOnly(false);
  const QString shownText = fromUtf8(topic.text);
  if (Qt::mightBeRichText(shownText)) {
    text_->setHtml(shownText);
  } else {
    text_->setPlainText(shownText);
  }
  text_->document()->setModified(false);
  topicList_->setCurrentIndex(index);
  showNavigatorState();
}

void HelpWindow::step(int index) {
  guarded(application_.ports().prompter, [this, index] { moveTo(index); });
}

void HelpWindow::keepShownText() {
  if (shown_ < 0 || !text_->document()->isModified()) return;
  shell::HelpTopic& topic = topics_[static_cast<std::size_t>(shown_)];
  topic.text = text_->toHtml().toStdString();
  shell::saveHelpText(application_.store(), topic.code, topic.text);
  text_->document()->setModified(false);
}

void HelpWindow::showNavigatorState() {
  const int count = static_cast<int>(topics_.size());
  first_->setEnabled(shown_ > 0);
  prior_->setEnabled(shown_ > 0);
  next_->setEnabled(shown_ >= 0 && shown_ < count - 1);
  last_->setEnabled(shown_ >= 0 && shown_ < count - 1);
}

void HelpWindow::chooseFont() {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, text_->currentFont(), this, QStringLiteral("Font"));
  if (chosen) applyFont(font);
}

void HelpWindow::applyFont(const QFont& font) {
  QTextCursor all(text_->document());
  all.select(QTextCursor::Document);
  QTextCharFormat format;
  format.setFont(font);
  all.mergeCharFormat(format);
  text_->document()->setModified(true);
}

void HelpWindow::done(int result) {
  // Released for file work the tables are closed already; there is nowhere to keep the text then.
  if (application_.isOpen()) guarded(application_.ports().prompter, [this] { keepShownText(); });
  QDialog::done(result);
}

}  // namespace tavrel::app
