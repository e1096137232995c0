#include "core/store/per_day_limits.h"

#include <algorithm>

#include "core/store/week_frame.h"

namespace tavrel::store {

namespace {

int cycleDays(const std::optional<TSchl>& school) {
  int days = school ? daysInCycle(school->SWRKDAYS) : 0;
  return days >= 1 && days <= 9 ? days : 9;
}

}  // namespace

PerDayMinimum CheckCUL(Session& session, LimitKind kind, LimitOp op, const TAlloc& indent) {
  const int school = session.schoolCode();
  int total = 0;
  int largestCluster = 0;
  PerDayMinimum result;
  session.store().table<TAlloc>().forEach(
      TAlloc::ALLOCLAS, {school, "Y", indent.ACLASS}, [&](const TAlloc& other) {
        bool same = kind == LimitKind::Subject ? other.ASUBJECT == indent.ASUBJECT
                                               : other.ATEACHER == indent.ATEACHER;
        if (!same) return;
        if (op == LimitOp::Delete && other.ASERIALNO == indent.ASERIALNO) return;
        total += other.ANOOFLEC;
        if (other.AINCLUSOF > 1) largestCluster = std::max(largestCluster, other.AINCLUSOF);
        if (kind == LimitKind::Subject && op == LimitOp::Add && other.ASERIALNO != indent.ASERIALNO &&
            other.AINCLUSOF <= 1 && other.ARECESS == "N" && !result.onePerDaySerial) {
          result.onePerDaySerial = other.ASERIALNO;
        }
      });
  const int days = cycleDays(session.school());
  result.minimum = std::max(largestCluster, (total + days - 1) / days);
  return result;
}

void storePerDayLimit(Store& store, LimitKind kind, int school, int classCode, int code, int value) {
  if (kind == LimitKind::Subject) {
    auto& limits = store.table<TSOcc>();
    if (auto row = limits.find(TSOcc::primary, {school, classCode, code})) {
      row->SOCCURENCE = value;
      limits.update(*row);
    } else {
      TSOcc added{.SOSCHOOL = school, .SOCLASS = classCode, .SOSUBJECT = code, .SOCCURENCE = value};
      limits.insert(added);
    }
  } else {
    auto& limits = store.table<TTOcc>();
    if (auto row = limits.find(TTOcc::primary, {school, classCode, code})) {
      row->TOCCURENCE = value;
      limits.update(*row);
    } else {
      TTOcc added{.TOSCHOOL = school, .TOCLASS = classCode, .TOTEACHER = code, .TOCCURENCE = value};
      limits.insert(added);
    }
  }
}

void post_occur(Session& session, LimitKind kind, int classCode, int code, int value) {
  Store& store = session.store();
  Transaction tx(store);
  storePerDayLimit(store, kind, session.schoolCode(), classCode, code, value);
  tx.commit();
  session.flush(kind == LimitKind::Subject ? kFlushSubjectLimits : kFlushResourceLimits);
}

}  // namespace tavrel::store
