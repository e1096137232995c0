// Hints (tool tips) on or off for the whole program at once, as "Show Hint on Mouse Move" asks:
// an event filter on the application that swallows tool-tip events while hints are off.
#pragma once

#include <QObject>

namespace tavrel::app {

class HintSwitch final : public QObject {
  Q_OBJECT
 public:
  explicit HintSwitch(QObject* parent = nullptr);
  ~HintSwitch() override;

  bool hintsShown() const { return shown_; }
  void setHintsShown(bool shown) { shown_ = shown; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool shown_ = true;
};

}  // namespace tavrel::app
