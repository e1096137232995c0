#include "core/indents/one_per_day_breakup.h"

#include "core/indents/indent_creation.h"

namespace tavrel::indents {

using namespace store;

std::string breakUpQuestion(int count, int days) {
  const std::string d = std::to_string(days);
  return std::to_string(count) + " is not a valid value for " +
         " Count/Wk since the requirement is one per day and the max number of days in" +
         " a week cycle are " + d + ". You therefore need to enter " + d + " or less for Count/Wk." +
         " Tavrel can automatically break up this indent into smaller" + " indents with " + d +
         " or less.Select Yes to proceed with the break up.";
}

std::vector<int> breakUpOnePerDay(Session& session, int serial) {
  std::vector<int> copies;
  auto found = findIndent(session, serial);
  if (!found) return copies;
  TAlloc indent = *found;
  const int days = schoolWeek(session).days;
  const int count = indent.ANOOFLEC;
  if (count <= days) return copies;
  const int remainder = count % days;
  const int copyCount = remainder >= 1 ? count / days : count / days - 1;

  Store& store = session.store();
  Transaction tx(store);
  indent.ANOOFLEC = days;
  store.table<TAlloc>().update(indent);
  // The copies must be the same indent in everything but their count, whichever window view the
  // break-up was asked from: they are made as from the class view of the indent's own class.
  const DuplicateOptions same{.cls = true,
                              .resource = true,
                              .subject = true,
                              .count = true,
                              .constraint = hasConstraint(indent),
                              .recessPermissible = true};
  for (int i = 0; i < copyCount; ++i) {
    copies.push_back(AppndTAlloc(session, {'C', indent.ACLASS}, IndentKind::Regular, same, indent));
  }
  if (remainder >= 1 && !copies.empty()) {
    if (auto last = findIndent(session, copies.back())) {
      last->ANOOFLEC = remainder;
      store.table<TAlloc>().update(*last);
    }
  }
  tx.commit();
  session.flush(kFlushIndents);
  return copies;
}

}  // namespace tavrel::indents
