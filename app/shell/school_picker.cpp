#include "app/shell/school_picker.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tavrel::app {

SchoolPicker::SchoolPicker(const std::vector<School>& schools, int currentCode, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
  setObjectName(QStringLiteral("SchoolPicker"));
  setWindowTitle(QStringLiteral("Select"));
  setMinimumSize(360, 300);
  list_->setObjectName(QStringLiteral("LBx"));
  for (const School& school : schools) {
    auto* item = new QListWidgetItem(school.name, list_);
    item->setData(Qt::UserRole, school.code);
    if (school.code == currentCode) list_->setCurrentItem(item);
  }
  if (!list_->currentItem() && list_->count() > 0) list_->setCurrentRow(0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Schools:"), this));
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
}

int SchoolPicker::chosenSchool() const {
  const QListWidgetItem* item = list_->currentItem();
  return item ? item->data(Qt::UserRole).toInt() : 0;
}

}  // namespace tavrel::app
