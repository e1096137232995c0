// The tip-of-the-day dialog of "&Tips" → "&Show Tip Wizard": short hints on working with Tavrel,
// one at a time.
#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace tavrel::app {

class TipDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit TipDialog(QWidget* parent = nullptr);

  static const QStringList& tips();
  int currentTip() const { return current_; }
  void showTip(int index);  // wraps around at either end

 private:
  QLabel* tip_;
  QLabel* counter_;
  int current_ = 0;
};

}  // namespace tavrel::app
