// The help window ("Help", `TFHLP`): the help texts of the windows, one topic at a time. The topic
// list names every window by title; a navigator steps through them in that order. The text is
// rich text the person may edit, and "&Font" sets one font for all of it: whatever is shown is
// kept in the table when another topic is chosen or the window closes.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/shell/application.h"
#include "core/shell/help_topics.h"

class QComboBox;
class QFont;
class QPushButton;
class QTextEdit;
class QToolButton;

namespace tavrel::app {

class HelpWindow final : public QDialog {
  Q_OBJECT
 public:
  explicit HelpWindow(shell::Application& application, QWidget* parent = nullptr);

  // Reads the topics afresh and shows the one of the window code; the first topic when the table
  // has none of that code.
  void showTopic(const std::string& code);
  std::string shownTopic() const;

  // "&Font" with the font already chosen.
  void applyFont(const QFont& font);

  QComboBox* topicList() const { return topicList_; }
  QTextEdit* text() const { return text_; }

 protected:
  void done(int result) override;

 private:
  void step(int index);  // a command of the topic list or the navigator
  void moveTo(int index);
  void keepShownText();
  void chooseFont();
  void showNavigatorState();

  shell::Application& application_;
  std::vector<shell::HelpTopic> topics_;
  int shown_ = -1;

  QComboBox* topicList_;
  QTextEdit* text_;
  QToolButton* first_;
  QToolButton* prior_;
  QToolButton* next_;
  QToolButton* last_;
  QPushButton* font_;
  QPushButton* close_;
};

}  // namespace tavrel::app
