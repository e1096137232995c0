// Schools for the engine's tests: a SchoolFixture whose active indents look as activation leaves
// them for the engine: the default constraint of the school's week (or the one given), a priority
// letter, and per-day limits that the indent can meet (a cluster needs its block size on one day).
#pragma once

#include <algorithm>
#include <functional>
#include <string>

#include "core/engine/audit.h"
#include "core/store/default_constraint.h"
#include "tests/support/school_fixture.h"

namespace tavrel::testing {

class EngineSchool {
 public:
  EngineSchool() : EngineSchool(SchoolFixture::Options{}) {}
  explicit EngineSchool(SchoolFixture::Options options) : f(options), swrkdays_(options.swrkdays) {}

  SchoolFixture f;

  struct Spec {
    int cls = 0;
    int resource = 0;
    int subject = 0;
    int periods = 0;
    int clusterOf = 0;
    bool active = true;
    std::string priority;  // empty: "S" for a cluster, "Z" otherwise
    std::string days;      // constraint day list; empty: the whole week
    std::string periodList;
    bool onePerDay = false;  // regular: "One per Day"; cluster: no recess inside a block
    int subjectPerDay = 0;   // 0: what the indent needs (its block size, or 1 when one per day)
    int resourcePerDay = 0;
  };

  int indent(const Spec& spec) {
    const int serial = f.addIndent({.cls = spec.cls,
                                    .resource = spec.resource,
                                    .subject = spec.subject,
                                    .periods = spec.periods,
                                    .clusterOf = spec.clusterOf,
                                    .active = spec.active});
    store::Transaction tx(f.store());
    store::TAlloc row = f.indent(serial);
    store::AsgnDefault(row, store::qry_init(swrkdays_));
    if (!spec.days.empty()) row.ALISTDAY = spec.days;
    if (!spec.periodList.empty()) row.ALISTLEC = spec.periodList;
    if (!spec.priority.empty()) row.APRIORITY = spec.priority;
    row.ARECESS.assign(1, spec.onePerDay ? 'N' : 'Y');
    f.store().table<store::TAlloc>().update(row);
    if (spec.active) {
      // As activation leaves them: at least the block size, and the periods spread over the week.
      const int days = std::max(1, swrkdays_ / 100);
      const int block = spec.clusterOf >= 2 ? spec.clusterOf : 1;
      const int needed = spec.onePerDay && block == 1 ? 1 : std::max(block, (spec.periods + days - 1) / days);
      raiseSubjectLimit(spec.cls, spec.subject, spec.subjectPerDay ? spec.subjectPerDay : needed,
                        spec.subjectPerDay);
      raiseResourceClassLimit(spec.cls, spec.resource, spec.resourcePerDay ? spec.resourcePerDay : needed,
                              spec.resourcePerDay);
    }
    tx.commit();
    return serial;
  }

  void setSubjectLimit(int cls, int subject, int limit) {
    store::Transaction tx(f.store());
    raiseSubjectLimit(cls, subject, limit, true);
    tx.commit();
  }
  void setResourceClassLimit(int cls, int resource, int limit) {
    store::Transaction tx(f.store());
    raiseResourceClassLimit(cls, resource, limit, true);
    tx.commit();
  }

  engine::AuditReport audit(const engine::AuditSwitches& switches = {}) {
    return engine::check(f.store(), f.school(), switches);
  }

  // Changes one record in its own transaction.
  template <class Row>
  void edit(Row row, const std::function<void(Row&)>& change) {
    store::Transaction tx(f.store());
    change(row);
    f.store().table<Row>().update(row);
    tx.commit();
  }

  void editCell(char kind, int owner, int day, int period, const std::function<void(store::TTtbl&)>& change) {
    edit(f.cell(kind, owner, day, period), change);
  }
  void editIndent(int serial, const std::function<void(store::TAlloc&)>& change) {
    edit(f.indent(serial), change);
  }
  void editResource(int code, const std::function<void(store::TTeac&)>& change) {
    edit(f.resourceRecord(code), change);
  }
  void editSchool(const std::function<void(store::TSchl&)>& change) { edit(*f.session().school(), change); }
  void editInstitution(const std::function<void(store::TInst&)>& change) {
    store::Transaction tx(f.store());
    store::TInst inst = f.store().institution();
    change(inst);
    f.store().saveInstitution(inst);
    tx.commit();
  }

 private:
  void raiseSubjectLimit(int cls, int subject, int limit, bool exactly) {
    auto& table = f.store().table<store::TSOcc>();
    store::TSOcc row = table.find(store::TSOcc::primary, {1, cls, subject})
                           .value_or(store::TSOcc{.SOSCHOOL = 1, .SOCLASS = cls, .SOSUBJECT = subject});
    row.SOCCURENCE = exactly ? limit : std::max(row.SOCCURENCE, limit);
    if (row.rowid) {
      table.update(row);
    } else {
      table.insert(row);
    }
  }

  void raiseResourceClassLimit(int cls, int resource, int limit, bool exactly) {
    auto& table = f.store().table<store::TTOcc>();
    store::TTOcc row = table.find(store::TTOcc::primary, {1, cls, resource})
                           .value_or(store::TTOcc{.TOSCHOOL = 1, .TOCLASS = cls, .TOTEACHER = resource});
    row.TOCCURENCE = exactly ? limit : std::max(row.TOCCURENCE, limit);
    if (row.rowid) {
      table.update(row);
    } else {
      table.insert(row);
    }
  }

  int swrkdays_;
};

}  // namespace tavrel::testing
