#include "app/setup/school_grid_model.h"

#include "app/shell/pictures.h"

namespace tavrel::app {

using setup::SchoolGrid;
using setup::SlotState;

namespace {

int pictureOf(SlotState state) {
  switch (state) {
    case SlotState::Empty:
      return kPictureEmptySlot;
    case SlotState::School:
      return kPictureSchoolSlot;
    case SlotState::Editing:
      return kPictureSchoolSlotEditing;
  }
  return kPictureEmptySlot;
}

}  // namespace

SchoolGridModel::SchoolGridModel(QObject* parent) : QAbstractListModel(parent) {
  for (SlotState state : {SlotState::Empty, SlotState::School, SlotState::Editing}) {
    pictures_[static_cast<std::size_t>(state)] = picture(pictureOf(state));
  }
}

void SchoolGridModel::load(store::Store& store) {
  grid_.load(store);
  refreshNames(store);
}

void SchoolGridModel::place(store::Store& store, int row, int schoolCode) {
  grid_.place(row, schoolCode);
  refreshNames(store);
}

void SchoolGridModel::markEditing(int row) {
  grid_.markEditing(row);
  slotsChanged();
}

void SchoolGridModel::unmark(int row) {
  grid_.unmark(row);
  slotsChanged();
}

void SchoolGridModel::closeGap(store::Store& store, int row) {
  grid_.closeGap(row);
  refreshNames(store);
}

void SchoolGridModel::refreshNames(store::Store& store) {
  for (int row = 0; row < SchoolGrid::kSlots; ++row) {
    QString& name = names_[static_cast<std::size_t>(row)];
    name.clear();
    if (auto code = grid_.schoolAt(row)) {
      if (auto school = store.table<store::TSchl>().find(store::TSchl::SCLCODE, {*code})) {
        name = QString::fromStdString(school->SNAME);
      }
    }
  }
  slotsChanged();
}

void SchoolGridModel::slotsChanged() {
  emit dataChanged(index(0), index(SchoolGrid::kSlots - 1));
}

int SchoolGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : SchoolGrid::kSlots;
}

QVariant SchoolGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= SchoolGrid::kSlots) return {};
  switch (role) {
    case Qt::DisplayRole:
      return names_[static_cast<std::size_t>(index.row())];
    case Qt::DecorationRole:
      return pictures_[static_cast<std::size_t>(grid_.slot(index.row()).state)];
    default:
      return {};
  }
}

}  // namespace tavrel::app
