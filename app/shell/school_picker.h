// The list from which "&Open School" and the institution view pick a school: every school by
// name, the current one selected.
#pragma once

#include "app/shell/list_picker.h"

namespace tavrel::app {

class SchoolPicker final : public ListPicker {
  Q_OBJECT
 public:
  using School = Item;
  SchoolPicker(const std::vector<School>& schools, int currentCode, QWidget* parent = nullptr)
      : ListPicker(schools, currentCode, QStringLiteral("Schools:"), parent) {
    setObjectName(QStringLiteral("SchoolPicker"));
  }

  int chosenSchool() const { return chosen(); }  // 0 when nothing is selected
};

}  // namespace tavrel::app
