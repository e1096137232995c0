// The list from which "&Open School" picks the school to work on: every school by name, the
// current one selected.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QListWidget;

namespace tavrel::app {

class SchoolPicker final : public QDialog {
  Q_OBJECT
 public:
  struct School {
    int code;
    QString name;
  };
  SchoolPicker(const std::vector<School>& schools, int currentCode, QWidget* parent = nullptr);

  QListWidget* list() const { return list_; }
  int chosenSchool() const;  // 0 when nothing is selected

 private:
  QListWidget* list_;
};

}  // namespace tavrel::app
