#include "core/setup/item_grid.h"

#include <algorithm>

namespace tavrel::setup {

using namespace store;

namespace {

// A passive indent of an item with a code from 1 to the highest issued: with it, the "Passive
// Present" choice has something to show.
bool passiveIndentUpTo(Store& store, int school, int index, int highestCode) {
  bool found = false;
  store.table<TAlloc>().forEach(index, {school, "N"}, [&](const TAlloc& indent) {
    const int code = index == TAlloc::ALLOCLAS   ? indent.ACLASS
                     : index == TAlloc::ALLOTEAC ? indent.ATEACHER
                                                 : indent.ASUBJECT;
    if (code >= 1 && code <= highestCode) found = true;
  });
  return found;
}

bool hasPassiveIndent(Store& store, int school, int index, int code) {
  return store.table<TAlloc>().count(index, {school, "N", code}) > 0;
}

}  // namespace

char viewKindOf(GridKind kind) {
  switch (kind) {
    case GridKind::Class:
      return 'C';
    case GridKind::Resource:
      return 'T';
    case GridKind::Subject:
      return 'S';
  }
  return 'C';
}

int classCellState(bool group) {
  return group ? kGroupItem : kSimpleItem;
}

int resourceCellState(bool group, bool partTime) {
  if (group) return kGroupItem;
  return partTime ? kPartTimeResource : kSimpleItem;
}

void ItemGrid::load(Session& session) {
  Store& store = session.store();
  const int school = session.schoolCode();
  const TSchl record = session.school().value_or(TSchl{});
  const StatusChoice status = session.choice(viewKindOf(kind_)).status;
  const bool passiveOnly = status == StatusChoice::PassivePresent;
  cells_.clear();
  bool indented = false;

  switch (kind_) {
    case GridKind::Class:
      store.table<TClas>().forEach(TClas::CLASCODE, {school}, [&](const TClas& row) {
        indented = indented || row.CLSREQLEC > 0;
        if (!session.classPasses(row)) return;
        if (passiveOnly && !hasPassiveIndent(store, school, TAlloc::ALLOCLAS, row.CLSCODE)) return;
        cells_.push_back({classCellState(row.CLSOPTION == "Y"), row.CLSCODE});
      });
      filterShown_ = passiveIndentUpTo(store, school, TAlloc::ALLOCLAS, record.STOTCLS);
      break;
    case GridKind::Resource:
      store.table<TTeac>().forEach(TTeac::TEACCODE, {school}, [&](const TTeac& row) {
        indented = indented || row.TCHREQLEC > 0;
        if (!session.resourcePasses(row)) return;
        if (passiveOnly && !hasPassiveIndent(store, school, TAlloc::ALLOTEAC, row.TCHCODE)) return;
        cells_.push_back({resourceCellState(row.TCHOPTION == "Y", row.TPARTTIME == "Y"), row.TCHCODE});
      });
      filterShown_ = passiveIndentUpTo(store, school, TAlloc::ALLOTEAC, record.STOTTCH);
      break;
    case GridKind::Subject:
      store.table<TSubj>().forEach(TSubj::SUBJCODE, {}, [&](const TSubj& row) {
        auto link = store.table<TSctl>().find(TSctl::primary, {school, row.SUBCODE});
        indented = indented || (link && link->SCTREQLEC > 0);
        if (session.subjectPasses(row)) cells_.push_back({kSimpleItem, row.SUBCODE});
      });
      filterShown_ = passiveIndentUpTo(store, school, TAlloc::ALLOSUBJ, store.institution().ISUBJECT);
      break;
  }
  filterShown_ = filterShown_ || indented || status != StatusChoice::All;
}

std::string ItemGrid::filterText(Session& session) const {
  const ListChoice& choice = session.choice(viewKindOf(kind_));
  const bool measured = choice.status == StatusChoice::Allocated || choice.status == StatusChoice::Incomplete;
  return statusCaption(choice.status) + (measured && filterShown_ ? basisCaption(choice.basis) : "");
}

int ItemGrid::columns() const {
  return std::max(kLeastColumns, (items() + kRows - 1) / kRows + 1);
}

GridCell ItemGrid::cell(int index) const {
  if (index < 0 || index >= items()) return {};
  return cells_[static_cast<std::size_t>(index)];
}

std::optional<int> ItemGrid::codeAt(int index) const {
  GridCell found = cell(index);
  if (found.empty()) return std::nullopt;
  return found.code;
}

std::optional<int> ItemGrid::indexOf(int code) const {
  auto found = std::find_if(cells_.begin(), cells_.end(), [code](const GridCell& c) { return c.code == code; });
  if (found == cells_.end()) return std::nullopt;
  return static_cast<int>(found - cells_.begin());
}

int ItemGrid::place(int code, int state) {
  cells_.push_back({state, code});
  return items() - 1;
}

void ItemGrid::closeGap(int index) {
  if (index < 0 || index >= items()) return;
  cells_.erase(cells_.begin() + index);
}

void ItemGrid::markEditing(int index) {
  if (index < 0 || index >= items()) return;
  GridCell& marked = cells_[static_cast<std::size_t>(index)];
  if (marked.state < kEditingMark) marked.state += kEditingMark;
}

void ItemGrid::unmark(int index) {
  if (index < 0 || index >= items()) return;
  GridCell& marked = cells_[static_cast<std::size_t>(index)];
  if (marked.state >= kEditingMark) marked.state -= kEditingMark;
}

void ItemGrid::redrawResource(int index, bool group, bool partTime) {
  if (kind_ != GridKind::Resource || index < 0 || index >= items()) return;
  GridCell& drawn = cells_[static_cast<std::size_t>(index)];
  const int mark = drawn.state >= kEditingMark ? kEditingMark : 0;
  drawn.state = resourceCellState(group, partTime) + mark;
}

}  // namespace tavrel::setup
