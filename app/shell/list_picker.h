// The list from which a window picks one item by name ("Select"): schools for "&Open School",
// classes or resources for the availability window. The current item comes up selected; a
// double click or "OK" confirms the choice.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QListWidget;

namespace tavrel::app {

class ListPicker : public QDialog {
  Q_OBJECT
 public:
  struct Item {
    int code;
    QString name;
  };
  ListPicker(const std::vector<Item>& items, int currentCode, const QString& label, QWidget* parent = nullptr);

  QListWidget* list() const { return list_; }
  int chosen() const;  // 0 when nothing is selected

 private:
  QListWidget* list_;
};

}  // namespace tavrel::app
