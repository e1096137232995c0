// Any stored constraint text, in any week, must either be refused or derive values the engine can
// trust: ranges inside the week, lists ascending and inside their ranges, fitting their fields, room
// for the cluster, and a text that derives the same values again. The window's model must hold to
// the same on every text it is opened on.
//
// Input: two bytes of week frame (`SWRKDAYS`, any value), one of week setup, one of cluster size,
// then the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/setup/constraint_derivation.h"
#include "core/setup/constraint_editor.h"
#include "core/store/encoded_lists.h"

namespace {

using tavrel::setup::ConstraintEditor;
using tavrel::setup::ConstraintValues;
using tavrel::setup::ConstraintWeek;

void require(bool holds) {
  if (!holds) __builtin_trap();
}

std::string encoded(const std::vector<int>& members) {
  std::string list;
  for (int member : members) list += "," + std::to_string(member);
  return list.size() > 25 ? list.substr(0, 25) : list;
}

std::vector<int> checkedList(const std::string& list, int first, int last) {
  require(list.size() <= 25);
  const std::vector<int> members = tavrel::store::listMembers(list);
  require(!members.empty());
  require(encoded(members) == list);  // ascending, distinct, written in the stored form
  require(members.front() >= first && members.back() <= last);
  return members;
}

bool hasRun(const std::vector<int>& members, int length) {
  for (int start : members) {
    int run = 1;
    while (run < length && std::find(members.begin(), members.end(), start + run) != members.end()) ++run;
    if (run >= length) return true;
  }
  return false;
}

void checkValues(const ConstraintValues& values, const ConstraintWeek& week, int clusterSize) {
  require(week.days >= 1 && week.days <= 9 && week.periods >= 1 && week.periods <= 12);
  require(values.text.size() <= 254);
  require(1 <= values.firstDay && values.firstDay <= values.lastDay && values.lastDay <= week.days);
  require(1 <= values.firstPeriod && values.firstPeriod <= values.lastPeriod &&
          values.lastPeriod <= week.periods);
  checkedList(values.dayList, values.firstDay, values.lastDay);
  const std::vector<int> periods = checkedList(values.periodList, values.firstPeriod, values.lastPeriod);
  require(periods.front() == values.firstPeriod && periods.back() == values.lastPeriod);
  if (clusterSize >= 2 && values.text.find("(PERIOD") != std::string::npos)
    require(hasRun(periods, clusterSize));

  const auto again = tavrel::setup::deriveConstraint(values.text, week, clusterSize);
  require(again.ok() && again.value() == values);
}

void checkEditor(ConstraintEditor& editor, const ConstraintWeek& week, int clusterSize) {
  const bool accepted = editor.accept().ok();
  require(accepted == editor.closed() && accepted == editor.outcome().has_value());
  if (accepted) checkValues(*editor.outcome(), week, clusterSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const int swrkdays = static_cast<std::int16_t>(data[0] | (data[1] << 8));
  const std::string_view sregn = data[2] % 3 == 0 ? "STANDARD" : data[2] % 3 == 1 ? "GULF" : "OTHER";
  const int clusterSize = data[3] == 0xFF ? 2147483647 : static_cast<std::int8_t>(data[3]) % 16;
  const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
  const ConstraintWeek week = tavrel::setup::constraintWeek(swrkdays, sregn);

  const auto derived = tavrel::setup::deriveConstraint(text, week, clusterSize);
  if (derived.ok())
    checkValues(derived.value(), week, clusterSize);
  else
    require(!derived.error().empty());

  ConstraintEditor opened(text, clusterSize, week);
  checkEditor(opened, week, clusterSize);

  // Every stored line, opened for editing and accepted again, through the value chooser.
  for (int line = 0; line < static_cast<int>(opened.conditionLines().size()); ++line) {
    ConstraintEditor editor(text, clusterSize, week);
    editor.selectLine(line);
    require(editor.edit());
    if (editor.openValueChooser().ok()) require(editor.valueChooser() != nullptr);
    if (editor.closeFromValue().ok()) {
      require(editor.closed());
      checkValues(*editor.outcome(), week, clusterSize);
    }
    if (!editor.closed()) {
      editor.cancelValue();
      if (editor.acceptCondition().ok()) checkEditor(editor, week, clusterSize);
    }
  }
  return 0;
}
