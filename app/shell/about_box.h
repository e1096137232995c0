// The About box: shown as the splash screen while the program starts, and from "Ab&out".
#pragma once

#include <QDialog>

namespace tavrel::app {

class AboutBox final : public QDialog {
  Q_OBJECT
 public:
  enum class Use { Splash, Dialog };
  explicit AboutBox(Use use, QWidget* parent = nullptr);
};

}  // namespace tavrel::app
