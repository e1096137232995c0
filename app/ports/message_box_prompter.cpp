#include "app/ports/message_box_prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace tavrel::app {

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error:
      return QMessageBox::Critical;
    case MessageKind::Information:
      return QMessageBox::Information;
    case MessageKind::Warning:
      return QMessageBox::Warning;
  }
  return QMessageBox::NoIcon;
}

QString titleOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error:
      return QStringLiteral("Error");
    case MessageKind::Information:
      return QStringLiteral("Information");
    case MessageKind::Warning:
      return QStringLiteral("Warning");
  }
  return {};
}

// Boxes are often shown in the middle of long work that set the busy cursor; the person must
// still see an ordinary pointer over the buttons.
class NormalCursor {
 public:
  NormalCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~NormalCursor() { QApplication::restoreOverrideCursor(); }
  NormalCursor(const NormalCursor&) = delete;
  NormalCursor& operator=(const NormalCursor&) = delete;
};

int runBox(MessageKind kind, std::string_view text, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton) {
  NormalCursor cursor;
  QMessageBox box(iconOf(kind), titleOf(kind),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), buttons,
                  QApplication::activeWindow());
  box.setDefaultButton(defaultButton);
  return box.exec();
}

}  // namespace

void MessageBoxPrompter::show(MessageKind kind, std::string_view text) {
  runBox(kind, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxPrompter::ask(MessageKind kind, std::string_view text) {
  return runBox(kind, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void MessageBoxPrompter::beep() {
  QApplication::beep();
}

}  // namespace tavrel::app
