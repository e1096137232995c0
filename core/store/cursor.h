// A list over one table as the windows walk it: a chosen index, an optional range on an index
// prefix, a record filter, and a current record. The order of the list is read when the cursor
// is refreshed (a flush); the current record itself is always read fresh from the table.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/store/table.h"

namespace tavrel::store {

template <class Row>
class Cursor {
 public:
  using Filter = std::function<bool(const Row&)>;

  Cursor(Table<Row>& table, int index) : table_(table), index_(index) {}

  int index() const { return index_; }
  const Key& range() const { return range_; }

  // Switches the order; the current record stays current.
  void setIndex(int index) {
    auto keep = bookmark();
    index_ = index;
    reload();
    if (keep) gotoBookmark(*keep);
  }

  // Restricts the list to the records whose leading index fields equal the prefix.
  void setRange(int index, Key prefix) {
    index_ = index;
    range_ = std::move(prefix);
    reload();
    first();
  }

  void setFilter(Filter filter) {
    filter_ = std::move(filter);
    refresh();
  }

  // Re-reads the list; the current record stays current when it still passes, else the first.
  void refresh() {
    auto keep = bookmark();
    reload();
    if (!keep || !gotoBookmark(*keep)) first();
  }

  bool empty() const { return rowids_.empty(); }
  std::size_t size() const { return rowids_.size(); }
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }

  void first() { moveTo(0); }
  void last() { moveTo(static_cast<std::ptrdiff_t>(rowids_.size()) - 1); }
  void next() {
    if (position_ + 1 >= static_cast<std::ptrdiff_t>(rowids_.size())) {
      eof_ = true;
      return;
    }
    moveTo(position_ + 1);
  }
  void prior() {
    if (position_ <= 0) {
      bof_ = true;
      return;
    }
    moveTo(position_ - 1);
  }

  std::optional<Row> current() const {
    if (position_ < 0 || position_ >= static_cast<std::ptrdiff_t>(rowids_.size())) return std::nullopt;
    return table_.get(rowids_[static_cast<std::size_t>(position_)]);
  }

  std::optional<std::int64_t> bookmark() const {
    if (position_ < 0 || position_ >= static_cast<std::ptrdiff_t>(rowids_.size())) return std::nullopt;
    return rowids_[static_cast<std::size_t>(position_)];
  }

  // False when the record is no longer in the list; the position is then unchanged.
  bool gotoBookmark(std::int64_t rowid) {
    auto it = std::find(rowids_.begin(), rowids_.end(), rowid);
    if (it == rowids_.end()) return false;
    moveTo(it - rowids_.begin());
    return true;
  }

  // Positions on the first record (in list order) whose full index key equals `key`.
  bool locate(const Key& key) {
    auto found = table_.find(index_, key);
    return found && gotoBookmark(found->rowid);
  }

  // The rows of the list in order, read now.
  std::vector<Row> rows() const {
    std::vector<Row> result;
    for (std::int64_t rowid : rowids_) {
      if (auto row = table_.get(rowid)) result.push_back(std::move(*row));
    }
    return result;
  }

 private:
  void reload() {
    rowids_.clear();
    table_.forEach(index_, range_, [&](const Row& row) {
      if (!filter_ || filter_(row)) rowids_.push_back(row.rowid);
    });
    position_ = rowids_.empty() ? -1 : 0;
    eof_ = bof_ = rowids_.empty();
  }

  void moveTo(std::ptrdiff_t position) {
    if (rowids_.empty()) {
      position_ = -1;
      eof_ = bof_ = true;
      return;
    }
    position_ = std::clamp<std::ptrdiff_t>(position, 0, static_cast<std::ptrdiff_t>(rowids_.size()) - 1);
    eof_ = bof_ = false;
  }

  Table<Row>& table_;
  int index_;
  Key range_;
  Filter filter_;
  std::vector<std::int64_t> rowids_;
  std::ptrdiff_t position_ = -1;
  bool eof_ = true;
  bool bof_ = true;
};

}  // namespace tavrel::store
