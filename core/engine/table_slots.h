// Table mode: the slot interface over the tables themselves, for "Allocate Select", the
// allocation of one indent from the indent window and the proxy window. Every change is written
// to its record at once, inside the caller's transaction; the records read are kept, so a cell or
// counter is read once per operation (every write goes through this object, so what is kept is
// what the tables hold).
//
// The differences from the working set that the slot interface names: a cell without a row reads
// `kNoRow`; a class without a per-day limit record for the subject (resource) is not limited; a
// per-day count record that is missing reads 0 and is created when a period is placed.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "core/engine/slots.h"
#include "core/store/store.h"

namespace tavrel::engine {

class TableSlots {
 public:
  static constexpr SlotMode kMode = SlotMode::Tables;

  TableSlots(store::Store& store, int school);

  int classPartner(int cls, int day, int period);
  int resourcePartner(int resource, int day, int period);
  SlotContent classCell(int cls, int day, int period);
  SlotContent resourceCell(int resource, int day, int period);
  int subjectDayCount(const IndentInHand& indent, int day);
  int resourceClassDayCount(const IndentInHand& indent, int day);
  int resourceDayCount(int resource, int day);
  std::string_view subjectName(int code);
  int indentAllocated(int serial);
  std::optional<store::TAlloc> indent(int serial);
  IndentInHand prepare(const store::TAPara& para);

  void setClassCell(int cls, int day, int period, const SlotContent& content, const CellRanges& ranges);
  void setResourceCell(int resource, int day, int period, const SlotContent& content,
                       const CellRanges& ranges);
  void addSubjectDay(const IndentInHand& indent, int day, int n);
  void addResourceClassDay(const IndentInHand& indent, int day, int n);
  void addResourceDay(int resource, int day, int n);
  void addIndentAllocated(int serial, int n);
  void addTotals(const IndentInHand& indent, int n);  // `CTTotUpdt`

 private:
  using Rows = std::array<std::optional<store::TTtbl>, kSlotsPerOwner>;
  Rows& rowsOf(char kind, int owner);
  std::optional<store::TTtbl>& rowAt(char kind, int owner, int day, int period);
  void setCell(char kind, int owner, int day, int period, const SlotContent& content,
               const CellRanges& ranges);
  std::vector<int> members(char kind, int group);

  store::Store& store_;
  int school_;
  std::map<std::pair<char, int>, Rows> rows_;
  std::map<std::tuple<int, int, int>, std::optional<store::TSDAll>> subjectDays_;
  std::map<std::tuple<int, int, int>, std::optional<store::TTDAll>> resourceClassDays_;
  std::map<std::pair<int, int>, std::optional<store::TTDMAll>> resourceDays_;
  std::map<int, std::string> subjectNames_;
};

}  // namespace tavrel::engine
