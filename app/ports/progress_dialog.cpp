#include "app/ports/progress_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tavrel::app {

namespace {
QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent),
      label_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(this)) {
  setObjectName(QStringLiteral("Progress"));
  setWindowTitle(QStringLiteral("Progress..."));
  // Modal for as long as it is shown, so nothing else is clicked while the routine runs.
  setWindowModality(Qt::ApplicationModal);
  setCursor(Qt::BusyCursor);
  label_->setObjectName(QStringLiteral("STxt"));
  label_->setMinimumWidth(320);
  bar_->setObjectName(QStringLiteral("PB"));
  cancel_->setObjectName(QStringLiteral("BCancel"));
  cancel_->setText(QStringLiteral("&Cancel"));
  cancel_->setCursor(Qt::ArrowCursor);
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::requestCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
}

void ProgressWindow::startWork() {
  cancelRequested_ = false;
  cancel_->setEnabled(true);
}

void ProgressWindow::requestCancel() {
  cancelRequested_ = true;
  cancel_->setEnabled(false);  // one request is enough; the routine stops after the item in hand
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  requestCancel();
  QDialog::closeEvent(event);
}

void ProgressWindow::reject() {
  requestCancel();
  QDialog::reject();
}

ProgressDialog::ProgressDialog(QWidget* parent) : window_(new ProgressWindow(parent)) {}

ProgressDialog::~ProgressDialog() {
  delete window_.data();
}

void ProgressDialog::show(std::string_view text, int maximum) {
  window_->startWork();
  window_->label()->setText(fromUtf8(text));
  window_->bar()->setRange(0, std::max(maximum, 0));
  window_->bar()->setValue(0);
  window_->show();
  window_->raise();
  QCoreApplication::processEvents();
}

void ProgressDialog::step(int count) {
  QProgressBar* bar = window_->bar();
  if (bar->maximum() > 0) bar->setValue(std::min(bar->value() + count, bar->maximum()));
}

void ProgressDialog::text(std::string_view text) {
  window_->label()->setText(fromUtf8(text));
}

bool ProgressDialog::pump() {
  QCoreApplication::processEvents();
  return window_->cancelRequested();
}

void ProgressDialog::hide() {
  window_->hide();
}

}  // namespace tavrel::app
