#include "core/engine/allocation_assistance.h"

#include <gtest/gtest.h>

#include "core/engine/allocation_run.h"
#include "tests/core/engine/engine_school.h"
#include "tests/core/engine/run_ports.h"

namespace tavrel::engine {
namespace {

using namespace store;

// One class, one resource, and indents whose findings come from a real attempt in table mode with
// the diagnosis on.
struct AssistedSchool {
  testing::EngineSchool s;
  int c1 = 0, r1 = 0, maths = 0;
  testing::FakeClock clock;
  SilentProgress progress;

  AssistedSchool() {
    Transaction tx(s.f.store());
    c1 = s.f.addClass("1A");
    r1 = s.f.addResource("ADAMS");
    maths = s.f.addSubject("Maths");
    tx.commit();
  }

  Diagnosis attempt(int serial) {
    return allocateIndent(s.f.session(), EnginePorts{s.f.prompter(), progress, clock}, serial,
                          {.seed = 1, .clusterPermission = s.f.session().ClusterPermission, .diagnose = true})
        .diagnosis;
  }

  std::vector<std::string> values(const Assistance& a) {
    std::vector<std::string> result;
    for (const AssistanceRow& row : a.rows) result.push_back(row.value);
    return result;
  }
  std::vector<AssistanceLine> enabled(const Assistance& a) {
    std::vector<AssistanceLine> result;
    for (const AssistanceRow& row : a.rows)
      if (row.enabled) result.push_back(row.line);
    return result;
  }
  void expectAuditPasses() {
    const AuditReport audit = s.audit(AuditSwitches::of(s.f.store().institution()));
    EXPECT_TRUE(audit.passed()) << ::testing::PrintToString(audit.texts());
  }
};

// With only a continuity finding only its box is enabled, and "Allocate &Select" on it changes
// nothing but `TMAXCON`; the indent then fits.
TEST(AllocationAssistance, OnlyTheContinuityFindingIsOffered) {
  AssistedSchool a;
  a.s.editInstitution([](TInst& i) { i.ITSQUL = true; });
  a.s.editResource(a.r1, [](TTeac& r) { r.TMAXCON = 1; });
  const int serial = a.s.indent({.cls = a.c1,
                                 .resource = a.r1,
                                 .subject = a.maths,
                                 .periods = 2,
                                 .days = ",1",
                                 .periodList = ",1,2",
                                 .subjectPerDay = 2,
                                 .resourcePerDay = 2});
  a.s.f.session().ClusterPermission = true;  // the adjacency rule out of the way
  const Diagnosis found = a.attempt(serial);
  EXPECT_EQ(found.NeedContinuity, 2);
  const Assistance assistance = assistanceFor(a.s.f.session(), serial, found);
  ASSERT_EQ(assistance.rows.size(), 6u);
  EXPECT_EQ(assistance.rows[0].caption, "For 1A per day upper limit of Maths");
  EXPECT_EQ(assistance.rows[1].caption, "For 1A per day upper limit of ADAMS");
  EXPECT_EQ(assistance.rows[2].caption, "Per day upper limit of ADAMS");
  EXPECT_EQ(assistance.rows[3].caption, "Sequence Continuity upper limit of ADAMS");
  EXPECT_EQ(assistance.rows[4].caption, "Recess");
  EXPECT_EQ(assistance.rows[5].caption, "Apply Cluster Permission for Regular indents");
  EXPECT_EQ(a.values(assistance), (std::vector<std::string>{"No Change", "No Change", "No Change", "2",
                                                            "Not Applicable", "No Change"}));
  EXPECT_EQ(a.enabled(assistance), std::vector<AssistanceLine>{AssistanceLine::Continuity});
  EXPECT_EQ(assistance.note, "");

  const TTeac before = a.s.f.resourceRecord(a.r1);
  a.s.f.prompter().expectMessage(MessageKind::Information, "Select at least one upper limit to update.");
  EXPECT_FALSE(allocateSelected(a.s.f.session(), serial, found, {AssistanceLine::Recess}));
  EXPECT_EQ(a.s.f.resourceRecord(a.r1).TMAXCON, 1);
  EXPECT_TRUE(allocateSelected(a.s.f.session(), serial, found, {AssistanceLine::Continuity}));
  const TTeac after = a.s.f.resourceRecord(a.r1);
  EXPECT_EQ(after.TMAXCON, 2);
  EXPECT_EQ(after.TMAXLEC, before.TMAXLEC);
  EXPECT_EQ(a.s.f.indent(serial).ARECESS, "Y");
  EXPECT_EQ(a.attempt(serial).anyFinding(), false);
  EXPECT_EQ(a.s.f.indent(serial).ANOLECALL, 2);
  a.expectAuditPasses();
}

// "Allocate &Auto" with a subject finding of 2 for a regular one-per-day indent raises the subject
// limit to 2 and lets the indent take two periods a day.
TEST(AllocationAssistance, AutoRaisesTheSubjectLimitAndEndsOnePerDay) {
  AssistedSchool a;
  const int serial = a.s.indent({.cls = a.c1,
                                 .resource = a.r1,
                                 .subject = a.maths,
                                 .periods = 2,
                                 .days = ",1",
                                 .periodList = ",1,3",
                                 .onePerDay = true,
                                 .resourcePerDay = 2});
  const Diagnosis found = a.attempt(serial);
  EXPECT_EQ(found.NeedSubjectDay, 2);
  EXPECT_EQ(a.s.f.indent(serial).ANOLECALL, 1);
  const Assistance assistance = assistanceFor(a.s.f.session(), serial, found);
  EXPECT_EQ(assistance.rows[0].value, "2");
  EXPECT_EQ(a.enabled(assistance), std::vector<AssistanceLine>{AssistanceLine::SubjectPerDay});
  allocateAuto(a.s.f.session(), serial, found);
  EXPECT_EQ(a.s.f.store().table<TSOcc>().find(TSOcc::primary, {1, a.c1, a.maths})->SOCCURENCE, 2);
  EXPECT_EQ(a.s.f.indent(serial).ARECESS, "Y");
  a.attempt(serial);
  EXPECT_EQ(a.s.f.indent(serial).ANOLECALL, 2);
  a.expectAuditPasses();
}

// The recess and adjacency lines of a cluster indent; the limits whose switches are off read
// "Not Applied"; a constrained indent carries the note; "Allocate &Auto" permits the recess.
TEST(AllocationAssistance, RecessOfAClusterAndSwitchesOff) {
  AssistedSchool a;
  a.s.editSchool([](TSchl& s) { s.SRECESS = ",1"; });
  a.s.editInstitution([](TInst& i) {
    i.ISUL_CLASS = false;
    i.ITUL_CLASS = false;
  });
  const int serial = a.s.indent({.cls = a.c1,
                                 .resource = a.r1,
                                 .subject = a.maths,
                                 .periods = 2,
                                 .clusterOf = 2,
                                 .periodList = ",1,2",
                                 .onePerDay = true});
  a.s.editIndent(serial, [](TAlloc& i) { i.AQUERY = "(Day in [MONDAY])"; });
  const Diagnosis found = a.attempt(serial);
  EXPECT_TRUE(found.RecessBlocked);
  const Assistance assistance = assistanceFor(a.s.f.session(), serial, found);
  EXPECT_EQ(a.values(assistance), (std::vector<std::string>{"Not Applied", "Not Applied", "No Change",
                                                            "Not Applied", "Permissible", "Not Applicable"}));
  EXPECT_EQ(a.enabled(assistance), std::vector<AssistanceLine>{AssistanceLine::Recess});
  EXPECT_EQ(assistance.note,
            "Changing the constraint may also lead to allocation without taking above changes.");
  allocateAuto(a.s.f.session(), serial, found);
  EXPECT_EQ(a.s.f.indent(serial).ARECESS, "Y");
  EXPECT_FALSE(a.s.f.session().ClusterPermission);
  a.attempt(serial);
  EXPECT_EQ(a.s.f.indent(serial).ANOLECALL, 2);
  a.expectAuditPasses();
}

}  // namespace
}  // namespace tavrel::engine
