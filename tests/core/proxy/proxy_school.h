// The school of the proxy tests: classes 1A and 1B, the absent resource ADAMS, the substitutes
// BAKER and CLARK, and a group resource LAB TEAM of ADAMS and DAVIS. Indents are added and placed
// by each test; the run's ports are a still clock and a progress display that can answer Stop.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/audit.h"
#include "core/proxy/cell_table.h"
#include "core/proxy/proxy_run.h"
#include "tests/core/engine/engine_school.h"
#include "tests/core/engine/run_ports.h"

namespace tavrel::testing {

struct ProxySchool {
  EngineSchool s;
  int x = 0, y = 0;  // classes 1A, 1B
  int adams = 0, baker = 0, clark = 0, davis = 0, team = 0;
  int maths = 0, art = 0;
  FakeClock clock;
  RunProgress progress;

  ProxySchool() {
    store::Transaction tx(s.f.store());
    x = s.f.addClass("1A");
    y = s.f.addClass("1B");
    adams = s.f.addResource("ADAMS");
    baker = s.f.addResource("BAKER");
    clark = s.f.addResource("CLARK");
    davis = s.f.addResource("DAVIS");
    team = s.f.addResource("LAB TEAM", {adams, davis});
    maths = s.f.addSubject("Maths");
    art = s.f.addSubject("Art");
    tx.commit();
    for (int code : {store::kFlushClasses, store::kFlushResources, store::kFlushSubjects})
      s.f.session().flush(code);
  }

  store::Store& store() { return s.f.store(); }
  store::Session& session() { return s.f.session(); }
  ScriptedPrompter& prompter() { return s.f.prompter(); }
  engine::EnginePorts ports() { return {s.f.prompter(), progress, clock}; }

  struct Cell {
    int day;
    int period;
  };
  // An active indent placed at the cells given (a cluster's block starts at each cell).
  int lesson(EngineSchool::Spec spec, const std::vector<Cell>& at) {
    const int serial = s.indent(spec);
    for (const Cell& cell : at) s.f.place(serial, cell.day, cell.period);
    return serial;
  }

  proxy::CellTable table(proxy::ItemKind kind, int item, proxy::Operation operation = proxy::Operation::Proxy,
                         const proxy::CellSelection& selection = {}) {
    return proxy::CellTable::build(store(), s.f.school(), operation, kind, item, selection);
  }

  proxy::ProxyOutcome run(const proxy::CellTable& cells, const std::vector<int>& substitutes,
                          proxy::ProxyOptions options = {}) {
    if (!options.seed) options.seed = 7;
    return proxy::runProxy(session(), ports(), cells, substitutes, options);
  }

  // The school's timetable passes every hard rule and every counter agrees.
  ::testing::AssertionResult auditPasses() {
    const engine::AuditReport report = s.audit();
    if (report.passed()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    for (const std::string& text : report.texts()) failure << "\n  " << text;
    return failure;
  }

  store::TTtbl resourceCell(int resource, int day, int period) {
    return s.f.cell('T', resource, day, period);
  }
  store::TTtbl classCell(int cls, int day, int period) { return s.f.cell('C', cls, day, period); }
  bool indentExists(int serial) {
    return store().table<store::TAlloc>().find(store::TAlloc::primary, {s.f.school(), serial}).has_value();
  }
  int lastSerial() { return s.f.session().school()->SALLSERIAL; }
  std::vector<store::TProxy> proxyRecords() {
    return store().table<store::TProxy>().range(store::TProxy::primary);
  }
};

// Names the rows of a parameterised test after their `name` member.
struct CaseName {
  template <class Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& row) const {
    return row.param.name;
  }
};

}  // namespace tavrel::testing
