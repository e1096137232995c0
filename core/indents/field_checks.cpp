#include "core/indents/field_checks.h"

#include <charconv>

#include "core/store/limit_messages.h"
#include "core/store/lookups.h"

namespace tavrel::indents {

using namespace store;

namespace {

std::optional<int> parseNumber(std::string_view typed) {
  int value = 0;
  const char* end = typed.data() + typed.size();
  auto [last, error] = std::from_chars(typed.data(), end, value);
  if (typed.empty() || error != std::errc() || last != end) return std::nullopt;
  return value;
}

struct Range {
  LabelledField label;
  int low;
  int high;
};

Range rangeOf(IndentField field, const SchoolWeek& week) {
  switch (field) {
    case IndentField::Count:
      return {LabelledField::ANOOFLEC, 0, week.slots()};
    case IndentField::ClusterSize:
      return {LabelledField::AINCLUSOF, 2, 12};
    case IndentField::ClustersPerWeek:
      return {LabelledField::ACLUSWEEK, 1, 9};
    case IndentField::ResourcePerDay:
      return {LabelledField::TMAXLEC, 1, week.periods};
    case IndentField::ResourcePerWeek:
      return {LabelledField::TMAXLECWK, 1, week.slots()};
    case IndentField::ResourceSequence:
      return {LabelledField::TMAXCON, 1, week.periods};
  }
  return {LabelledField::ANOOFLEC, 0, 0};
}

}  // namespace

std::optional<int> checkIndentField(Session& session, IndentField field, std::string_view typed) {
  const Range range = rangeOf(field, schoolWeek(session));
  const std::optional<int> value = parseNumber(typed);
  if (value && *value >= range.low && *value <= range.high) return value;
  RngMsg(session.prompter(), typed, range.label, range.low, range.high);
  return std::nullopt;
}

std::string countFieldText(int count) {
  return count == 0 ? std::string() : std::to_string(count);
}

int checkClassDayLimit(Session& session, LimitKind kind, int serial, std::string_view typed, int oldValue) {
  auto indent = findIndent(session, serial);
  if (!indent) return oldValue;
  Store& store = session.store();
  const LabelledField label =
      kind == LimitKind::Subject ? LabelledField::SOCCURENCE : LabelledField::TOCCURENCE;
  const int code = kind == LimitKind::Subject ? indent->ASUBJECT : indent->ATEACHER;
  auto keep = [&](int value) {
    post_occur(session, kind, indent->ACLASS, code, value);
    return value;
  };

  const std::optional<int> value = parseNumber(typed);
  const int periods = schoolWeek(session).periods;
  if (!value || *value < 1 || *value > periods) {
    RngMsg(session.prompter(), typed, label, 1, typed.empty() ? 12 : periods);
    return keep(oldValue);
  }
  if (kind == LimitKind::Subject && isRegularOnePerDay(*indent) && *value > 1) {
    OnePDayMsg(session.prompter(), typed, label);
    return keep(1);
  }
  const int minimum = CheckCUL(session, kind, LimitOp::Add, *indent).minimum;
  if (*value >= minimum) return keep(*value);
  const std::string itemName =
      kind == LimitKind::Subject ? L_ASUBJECTNM(store, *indent) : L_ATEACHERNM(store, *indent);
  MinMsg(session.prompter(), typed, label, L_ACLASSNM(store, *indent), itemName, minimum);
  return keep(minimum);
}

}  // namespace tavrel::indents
