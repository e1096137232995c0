#include "app/shell/list_picker.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tavrel::app {

ListPicker::ListPicker(const std::vector<Item>& items, int currentCode, const QString& label, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
  setObjectName(QStringLiteral("TF6"));
  setWindowTitle(QStringLiteral("Select"));
  setMinimumSize(360, 300);
  list_->setObjectName(QStringLiteral("LBx"));
  for (const Item& item : items) {
    auto* row = new QListWidgetItem(item.name, list_);
    row->setData(Qt::UserRole, item.code);
    if (item.code == currentCode) list_->setCurrentItem(row);
  }
  if (!list_->currentItem() && list_->count() > 0) list_->setCurrentRow(0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(label, this));
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
}

int ListPicker::chosen() const {
  const QListWidgetItem* item = list_->currentItem();
  return item ? item->data(Qt::UserRole).toInt() : 0;
}

}  // namespace tavrel::app
