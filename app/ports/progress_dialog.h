// The "Progress..." dialog of long data routines (creating the timetable rows of new items,
// cascading deletions): a text, a bar and "&Cancel". The pointer is busy over the dialog but
// normal over the button, so the one thing the person can do is visibly clickable. Cancel and
// closing the dialog both ask the routine to stop; the routine notices at its next pump().
#pragma once

#include <QDialog>
#include <QPointer>

#include "core/ports/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tavrel::app {

class ProgressWindow final : public QDialog {
  Q_OBJECT
 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  QLabel* label() const { return label_; }
  QProgressBar* bar() const { return bar_; }
  QPushButton* cancelButton() const { return cancel_; }

  bool cancelRequested() const { return cancelRequested_; }
  void startWork();  // clears the request and enables Cancel again

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape

 private:
  void requestCancel();

  QLabel* label_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  bool cancelRequested_ = false;
};

// The dialog as a Progress port (the dialog's own show() and hide() would clash with the port's).
class ProgressDialog final : public Progress {
 public:
  explicit ProgressDialog(QWidget* parent = nullptr);
  ~ProgressDialog() override;

  ProgressWindow& window() { return *window_; }

  void show(std::string_view text, int maximum) override;
  void step(int count = 1) override;
  void text(std::string_view text) override;
  bool pump() override;
  void hide() override;

 private:
  QPointer<ProgressWindow> window_;  // goes with the port, or earlier with its parent window
};

}  // namespace tavrel::app
