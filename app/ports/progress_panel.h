// The main window's progress panel: a text and a bar, shown while the data are backed up,
// reloaded or reset. It is a Progress port that owns a widget rather than being one, because
// QWidget's own show() and hide() would clash with the port's.
#pragma once

#include <QString>

#include "core/ports/progress.h"

class QFrame;
class QLabel;
class QProgressBar;
class QWidget;

namespace tavrel::app {

class ProgressPanel final : public Progress {
 public:
  explicit ProgressPanel(QWidget* parent);

  QWidget* widget() const;
  QString caption() const;  // the text shown now
  int value() const;
  int maximum() const;

  // Stop requests come from the window that owns the panel (a Stop button, closing the window).
  void requestCancel() { cancelRequested_ = true; }

  void show(std::string_view text, int maximum) override;
  void step(int count = 1) override;
  void text(std::string_view text) override;
  bool pump() override;
  void hide() override;

 private:
  void paintNow();

  QFrame* frame_;  // owned by the parent widget, like every widget of a window
  QLabel* label_;
  QProgressBar* bar_;
  bool cancelRequested_ = false;
};

}  // namespace tavrel::app
