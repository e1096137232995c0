#include "app/ports/message_box_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace tavrel::app {

namespace {

struct SeenBox {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString text;
  QMessageBox::StandardButtons buttons;
};

// Looks at the box once it is up, then presses `press` on it.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton press) {
  QTimer::singleShot(0, [&seen, press] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box);
    seen = {box->icon(), box->text(), box->standardButtons()};
    box->button(press)->click();
  });
}

}  // namespace

class MessageBoxPrompterTest : public QObject {
  Q_OBJECT
 private slots:
  void eachKindShowsItsIconWithOk() {
    const std::pair<MessageKind, QMessageBox::Icon> kinds[] = {
        {MessageKind::Error, QMessageBox::Critical},
        {MessageKind::Information, QMessageBox::Information},
        {MessageKind::Warning, QMessageBox::Warning}};
    MessageBoxPrompter prompter;
    for (const auto& [kind, icon] : kinds) {
      SeenBox seen;
      answerNextBox(seen, QMessageBox::Ok);
      prompter.show(kind, "School: Zenith is active.");
      QCOMPARE(seen.icon, icon);
      QCOMPARE(seen.text, QStringLiteral("School: Zenith is active."));
      QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
  }

  void questionsAreAnsweredWithYesOrNo() {
    MessageBoxPrompter prompter;
    const std::string question = "Ok to reset Instiution?";
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Yes);
    QVERIFY(prompter.ask(MessageKind::Warning, question));
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.text, QString::fromStdString(question));

    answerNextBox(seen, QMessageBox::No);
    QVERIFY(!prompter.ask(MessageKind::Warning, question));
  }
};

}  // namespace tavrel::app

QTEST_MAIN(tavrel::app::MessageBoxPrompterTest)
#include "message_box_prompter_test.moc"
