#include "app/shell/help_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "app/shell/main_window.h"
#include "core/shell/help_topics.h"
#include "tests/app/support/test_application.h"

namespace tavrel::app {

namespace {

QStringList listedTopics(const HelpWindow& help) {
  QStringList titles;
  for (int i = 0; i < help.topicList()->count(); ++i) titles << help.topicList()->itemText(i);
  return titles;
}

QToolButton* navigator(const HelpWindow& help, const char* name) {
  return help.findChild<QToolButton*>(QString::fromLatin1(name));
}

std::string storedText(store::Store& store, const char* code) {
  auto topic = shell::findHelpTopic(store, code);
  return topic ? topic->text : std::string();
}

// The shipped topics as the topic list orders them, by title.
std::vector<shell::HelpTopic> shippedByTitle() {
  std::vector<shell::HelpTopic> topics = shell::shippedHelpTopics();
  std::sort(topics.begin(), topics.end(),
            [](const shell::HelpTopic& a, const shell::HelpTopic& b) { return a.title < b.title; });
  return topics;
}

QStringList shippedTitles() {
  QStringList titles;
  for (const shell::HelpTopic& topic : shippedByTitle()) titles << QString::fromStdString(topic.title);
  return titles;
}

// The topic listed right after the one of `code`.
std::string codeAfter(const std::string& code) {
  const std::vector<shell::HelpTopic> topics = shippedByTitle();
  for (std::size_t i = 0; i + 1 < topics.size(); ++i) {
    if (topics[i].code == code) return topics[i + 1].code;
  }
  return {};
}

}  // namespace

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void f1InTheMainWindowOpensTheHelpOnTheMainMenuTopic() {
    QTemporaryDir folder;
    testing::AnsweringPrompter prompter;
    MainWindow window(QDir(folder.path()), prompter);
    QVERIFY(window.start());
    QSignalSpy activated(&window, &MainWindow::activated);
    window.show();
    QVERIFY(activated.wait());
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QString caption;
    QString shownTopic;
    QStringList topics;
    QTimer::singleShot(0, &window, [&] {
      auto* help = qobject_cast<HelpWindow*>(QApplication::activeModalWidget());
      QVERIFY(help);
      caption = help->windowTitle();
      shownTopic = help->topicList()->currentText();
      topics = listedTopics(*help);
      help->findChild<QPushButton*>(QStringLiteral("BClose"))->click();
    });
    QTest::keyClick(&window, Qt::Key_F1);

    QCOMPARE(caption, QStringLiteral("Help"));
    QCOMPARE(window.helpWindow()->objectName(), QStringLiteral("TFHLP"));
    QCOMPARE(shownTopic, QStringLiteral("Main Menu"));
    // The texts shipped for the windows, listed by title.
    QCOMPARE(topics, shippedTitles());
    QVERIFY(prompter.boxes.empty());
  }

  void theNavigatorStepsByTitleAndAnEditedTextIsKept() {
    testing::TestApplication data;
    QVERIFY(data.ready());
    QCOMPARE(shell::seedHelpTopics(data.store()), static_cast<int>(shell::shippedHelpTopics().size()));
    // The first topic by title, and the one after it.
    const shell::HelpTopic first = shippedByTitle().front();
    const std::string next = codeAfter(first.code);
    const std::string nextBefore = storedText(data.store(), next.c_str());

    HelpWindow help(data.application());
    help.showTopic(first.code);
    help.show();
    QCOMPARE(help.topicList()->currentText(), QString::fromStdString(first.title));
    QVERIFY(!navigator(help, "NavFirst")->isEnabled());
    QVERIFY(!navigator(help, "NavPrior")->isEnabled());
    QVERIFY(navigator(help, "NavLast")->isEnabled());

    help.text()->moveCursor(QTextCursor::End);
    QTest::keyClicks(help.text(), QStringLiteral(" Grid pictures: a pencil marks the school being edited."));
    navigator(help, "NavNext")->click();
    QCOMPARE(help.shownTopic(), next);
    QVERIFY(storedText(data.store(), first.code.c_str()).find("a pencil marks the school being edited.") !=
            std::string::npos);
    // Only the text that was edited is written.
    QCOMPARE(storedText(data.store(), next.c_str()), nextBefore);

    navigator(help, "NavLast")->click();
    QCOMPARE(help.topicList()->currentText(), shippedTitles().last());
    QVERIFY(!navigator(help, "NavNext")->isEnabled());
    QVERIFY(!navigator(help, "NavLast")->isEnabled());
    navigator(help, "NavFirst")->click();
    QCOMPARE(help.shownTopic(), first.code);
    QVERIFY(help.text()->toPlainText().contains(QStringLiteral("a pencil marks the school being edited.")));

    // Choosing a title keeps the shown text too, and so does closing.
    help.text()->moveCursor(QTextCursor::End);
    QTest::keyClicks(help.text(), QStringLiteral(" F5 picks a school."));
    const int weekSetup = static_cast<int>(shippedTitles().indexOf(QStringLiteral("Week Setup")));
    help.topicList()->setCurrentIndex(weekSetup);
    emit help.topicList()->activated(weekSetup);
    QCOMPARE(help.shownTopic(), std::string("F14"));
    QVERIFY(storedText(data.store(), first.code.c_str()).find("F5 picks a school.") != std::string::npos);
    help.text()->moveCursor(QTextCursor::End);
    QTest::keyClicks(help.text(), QStringLiteral(" Apply checks every day."));
    help.findChild<QPushButton*>(QStringLiteral("BClose"))->click();
    QVERIFY(!help.isVisible());
    QVERIFY(storedText(data.store(), "F14").find("Apply checks every day.") != std::string::npos);
    QVERIFY(data.prompter.boxes.empty());
  }

  void theChosenFontGoesToTheWholeTextAndIsKept() {
    testing::TestApplication data;
    QVERIFY(data.ready());
    shell::seedHelpTopics(data.store());
    HelpWindow help(data.application());
    help.showTopic("F14");
    help.show();

    QTimer::singleShot(0, &help, [] {
      auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      QFont chosen = dialog->currentFont();
      chosen.setPointSize(17);
      chosen.setItalic(true);
      dialog->setCurrentFont(chosen);
      dialog->accept();
    });
    help.findChild<QPushButton*>(QStringLiteral("BFont"))->click();

    // Every paragraph, the bold heading included, now carries the chosen size.
    QTextCursor start(help.text()->document());
    QCOMPARE(start.charFormat().font().pointSize(), 17);
    QTextCursor end(help.text()->document());
    end.movePosition(QTextCursor::End);
    QCOMPARE(end.charFormat().font().pointSize(), 17);
    QVERIFY(end.charFormat().font().italic());

    help.close();
    const std::string kept = storedText(data.store(), "F14");
    QVERIFY(kept.find("font-size:17pt") != std::string::npos);
    QVERIFY(kept.find("font-style:italic") != std::string::npos);
  }
};

}  // namespace tavrel::app

QTEST_MAIN(tavrel::app::HelpWindowTest)
#include "help_window_test.moc"
