#include "core/indents/subject_variants.h"

#include <cctype>
#include <map>

#include "core/setup/subjects.h"
#include "core/store/lookups.h"
#include "core/util/text.h"

namespace tavrel::indents {

using namespace store;

namespace {

constexpr int kNameWidth = 25;
constexpr int kMostVariants = 9;
// 999 marks a free cell in the timetable; a subject with that code could not be told from none.
constexpr int kFreeCellCode = 999;

std::string marker(int number) {
  return "(*" + std::to_string(number) + ")";
}

bool variantInUseByClass(Store& store, int school, const TAlloc& indent, int subject) {
  for (const TAlloc& other : activeIndentsOf(store, school, OwnerKind::Class, indent.ACLASS)) {
    if (other.ASERIALNO != indent.ASERIALNO && other.ASUBJECT == subject) return true;
  }
  return false;
}

int createSubject(Store& store, const std::string& name) {
  TInst inst = store.institution();
  int code = inst.ISUBJECT + 1;
  if (code == kFreeCellCode) ++code;
  TSubj subject{.SUBNAME = name, .SUBCODE = code};
  store.table<TSubj>().insert(subject);
  inst.ISUBJECT = code;
  store.saveInstitution(inst);
  return code;
}

template <class Row, class Field>
void addTo(Store& store, const Key& key, Row fresh, Field Row::*field, int n) {
  auto& table = store.table<Row>();
  if (auto row = table.find(Row::primary, key)) {
    (*row).*field += n;
    table.update(*row);
  } else if (n != 0) {
    fresh.*field = n;
    table.insert(fresh);
  }
}

// The periods an indent already has in the timetable carry its subject in every cell, in the
// subject's total and in the class's per-day count of the subject. They follow the indent to its
// new subject, so the per-day limit of 1 on the variant sees them.
void moveRecordedPeriods(Store& store, const TAlloc& indent, int from, int to) {
  const int school = indent.ASCHOOL;
  std::map<int, int> classPeriodsByDay;
  int classPeriods = 0;
  for (TTtbl cell : store.table<TTtbl>().range(TTtbl::TIMESERL, {school, indent.ASERIALNO})) {
    if (cell.TSUBJECT != from) continue;
    cell.TSUBJECT = to;
    store.table<TTtbl>().update(cell);
    if (cell.TTYPE == "C" && cell.TCLASS == indent.ACLASS) {
      ++classPeriods;
      ++classPeriodsByDay[cell.TDAY];
    }
  }
  if (classPeriods == 0) return;
  addTo(store, {school, from}, TSctl{.SCTSCHOOL = school, .SCTCODE = from}, &TSctl::SCTTOTALL, -classPeriods);
  addTo(store, {school, to}, TSctl{.SCTSCHOOL = school, .SCTCODE = to}, &TSctl::SCTTOTALL, classPeriods);
  for (const auto& [day, n] : classPeriodsByDay) {
    addTo(store, {school, indent.ACLASS, from, day},
          TSDAll{.SDSCHOOL = school, .SDCLASS = indent.ACLASS, .SDSUBJECT = from, .SDDAYNO = day},
          &TSDAll::SDALLOC, -n);
    TSDAll fresh{
        .SDSCHOOL = school, .SDCLASS = indent.ACLASS, .SDSUBJECT = to, .SDDAYNO = day, .SDOCCURN = n};
    addTo(store, {school, indent.ACLASS, to, day}, fresh, &TSDAll::SDALLOC, n);
  }
}

std::string thisIndentText(const std::string& from, const std::string& to, const std::string& base) {
  return "Subject name for this indent is being changed from " + from + " to " + to + "." +
         " This is to enable " + " allocation of one per day. As and when you print the timetable " +
         " this will be printed " + base + " and not " + to + ".";
}

std::string otherIndentText(const std::string& from, const std::string& to, const std::string& base) {
  return "An indent already exists where one per day " + from + " occurence is required." +
         "Subject name for that indent is being changed from " + from + " to " + to + "." +
         " This is to enable " + " allocation of one per day. As and when you print the timetable, " +
         " this will be printed " + base + " and not " + to + ".";
}

}  // namespace

VariantName splitVariantName(const std::string& name) {
  const std::size_t n = name.size();
  if (n >= 4 && name[n - 4] == '(' && name[n - 3] == '*' && name[n - 2] >= '1' && name[n - 2] <= '9' &&
      name[n - 1] == ')') {
    return {name.substr(0, n - 4), name[n - 2] - '0'};
  }
  return {name, 0};
}

std::string variantName(const std::string& base, int number) {
  const std::string mark = marker(number);
  return text::cutToWidth(base, kNameWidth - text::characterCount(mark)) + mark;
}

bool IndRevProc_subj(Session& session, int serial, VariantFor mode, Interaction interaction) {
  Store& store = session.store();
  const int school = session.schoolCode();
  auto found = findIndent(session, serial);
  if (!found) return false;
  TAlloc indent = *found;
  const std::string oldName = subjectName(store, indent.ASUBJECT);
  const VariantName split = splitVariantName(oldName);
  const std::string base = text::cutToWidth(split.base, kNameWidth - text::characterCount(marker(1)));

  std::string newName;
  std::optional<int> existing;
  for (int number = split.number + 1;; ++number) {
    if (number > kMostVariants) {
      if (interaction == Interaction::Interactive) {
        session.prompter().info("12 one per day subject items already exist for " + base + "." +
                                "Cannot create more since there are" +
                                "only a maximum of 12 periods per day.");
      }
      return false;
    }
    newName = variantName(base, number);
    auto subject = store.table<TSubj>().find(TSubj::primary, {newName});
    if (!subject) break;
    if (!variantInUseByClass(store, school, indent, subject->SUBCODE)) {
      existing = subject->SUBCODE;
      break;
    }
  }

  if (interaction == Interaction::Interactive) {
    session.prompter().info(mode == VariantFor::ThisIndent ? thisIndentText(oldName, newName, base)
                                                           : otherIndentText(oldName, newName, base));
  }

  Transaction tx(store);
  const int variant = existing ? *existing : createSubject(store, newName);
  setup::ensureSubjectLink(store, school, variant);
  const int oldSubject = indent.ASUBJECT;
  indent.ASUBJECT = variant;
  store.table<TAlloc>().update(indent);
  if (mode == VariantFor::OtherIndent && isActive(indent)) {
    addTo(store, {school, oldSubject}, TSctl{.SCTSCHOOL = school, .SCTCODE = oldSubject}, &TSctl::SCTREQLEC,
          -indent.ANOOFLEC);
    addTo(store, {school, variant}, TSctl{.SCTSCHOOL = school, .SCTCODE = variant}, &TSctl::SCTREQLEC,
          indent.ANOOFLEC);
    moveRecordedPeriods(store, indent, oldSubject, variant);
  }
  setClassLimit(store, school, LimitKind::Subject, indent.ACLASS, variant, 1);
  tx.commit();
  for (int code :
       {kFlushSubjects, kFlushSchoolSubjects, kFlushInstitution, kFlushIndents, kFlushSubjectLimits}) {
    session.flush(code);
  }
  return true;
}

}  // namespace tavrel::indents
