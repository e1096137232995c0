// The school grid of the institution view (`DGSec`) as a list model: each of the nine slots shows
// the picture of its state and the name of its school. The slots themselves follow the core's
// `SchoolGrid`; this model only lends them to a view.
#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QString>
#include <array>

#include "core/setup/school_grid.h"
#include "core/store/store.h"

namespace tavrel::app {

class SchoolGridModel final : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit SchoolGridModel(QObject* parent = nullptr);

  const setup::SchoolGrid& grid() const { return grid_; }

  // Changes of the slots; each re-reads the school names the grid shows.
  void load(store::Store& store);
  void place(store::Store& store, int row, int schoolCode);
  void markEditing(int row);
  void unmark(int row);
  void closeGap(store::Store& store, int row);
  void refreshNames(store::Store& store);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  void slotsChanged();

  setup::SchoolGrid grid_;
  std::array<QString, setup::SchoolGrid::kSlots> names_;
  std::array<QIcon, 3> pictures_;  // by slot state
};

}  // namespace tavrel::app
