#include "app/ports/progress_panel.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

namespace tavrel::app {

namespace {
QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

ProgressPanel::ProgressPanel(QWidget* parent)
    : frame_(new QFrame(parent)), label_(new QLabel(frame_)), bar_(new QProgressBar(frame_)) {
  frame_->setObjectName(QStringLiteral("ProgressPanel"));
  frame_->setFrameShape(QFrame::StyledPanel);
  label_->setObjectName(QStringLiteral("ProgressText"));
  label_->setMinimumWidth(260);
  bar_->setObjectName(QStringLiteral("PB"));
  bar_->setTextVisible(true);
  auto* layout = new QHBoxLayout(frame_);
  layout->addWidget(label_, 1);
  layout->addWidget(bar_, 2);
  frame_->setVisible(false);
}

QWidget* ProgressPanel::widget() const {
  return frame_;
}
QString ProgressPanel::caption() const {
  return label_->text();
}
int ProgressPanel::value() const {
  return bar_->value();
}
int ProgressPanel::maximum() const {
  return bar_->maximum();
}

void ProgressPanel::show(std::string_view text, int maximum) {
  cancelRequested_ = false;
  label_->setText(fromUtf8(text));
  // A maximum of 0 means the amount of work is not known yet: the bar then shows that it is busy.
  bar_->setRange(0, maximum > 0 ? maximum : 0);
  bar_->setValue(0);
  frame_->setVisible(true);
  paintNow();
}

void ProgressPanel::step(int count) {
  if (bar_->maximum() > 0) bar_->setValue(std::min(bar_->value() + count, bar_->maximum()));
  paintNow();
}

void ProgressPanel::text(std::string_view text) {
  label_->setText(fromUtf8(text));
  paintNow();
}

bool ProgressPanel::pump() {
  QCoreApplication::processEvents();
  return cancelRequested_;
}

void ProgressPanel::hide() {
  frame_->setVisible(false);
}

// Most long work never hands control to the event loop, so the panel paints itself at once.
void ProgressPanel::paintNow() {
  if (frame_->isVisible()) frame_->repaint();
}

}  // namespace tavrel::app
