#include "app/shell/hint_switch.h"

#include <QCoreApplication>
#include <QEvent>

namespace tavrel::app {

HintSwitch::HintSwitch(QObject* parent) : QObject(parent) {
  if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

HintSwitch::~HintSwitch() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool HintSwitch::eventFilter(QObject* watched, QEvent* event) {
  if (!shown_ && event->type() == QEvent::ToolTip) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace tavrel::app
