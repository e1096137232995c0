#include "app/shell/help_key.h"

#include <QShortcut>
#include <QWidget>

namespace tavrel::app {

void addHelpKey(QWidget& window, std::string topicCode, ShowHelp showHelp) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
  key->setObjectName(QStringLiteral("HelpKey"));
  key->setContext(Qt::WindowShortcut);
  QObject::connect(key, &QShortcut::activated, &window,
                   [topic = std::move(topicCode), show = std::move(showHelp)] {
                     if (show) show(topic);
                   });
}

}  // namespace tavrel::app
