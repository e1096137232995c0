#include "core/engine/audit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "tests/core/engine/engine_school.h"

namespace tavrel::engine {
namespace {

using namespace store;

// Two classes and their group, a third class; two resources and their group, a fourth resource.
// Every indent placed by hand as the engine places it, so the school passes until a case breaks it.
struct AuditedSchool {
  testing::EngineSchool s;
  int c1, c2, pair, c3, r1, r2, team, r3, maths, art;
  int pairTeam, c1Art, c3Maths, c3Block, c3Extra, c2Art;

  AuditedSchool() {
    auto& f = s.f;
    Transaction tx(f.store());  // one durable commit for the whole school
    c1 = f.addClass("1A");
    c2 = f.addClass("1B");
    pair = f.addClass("1AB", {c1, c2});
    c3 = f.addClass("2A");
    r1 = f.addResource("ADAMS");
    r2 = f.addResource("BAKER");
    team = f.addResource("TEAM", {r1, r2});
    r3 = f.addResource("CLARK");
    maths = f.addSubject("Maths");
    art = f.addSubject("Art");
    pairTeam = s.indent({.cls = pair, .resource = team, .subject = maths, .periods = 2});
    c1Art = s.indent({.cls = c1, .resource = r3, .subject = art, .periods = 2});
    c3Maths = s.indent({.cls = c3, .resource = r1, .subject = maths, .periods = 2});
    c3Block = s.indent({.cls = c3, .resource = r3, .subject = art, .periods = 2, .clusterOf = 2});
    c3Extra = s.indent({.cls = c3, .resource = r3, .subject = art, .periods = 2});
    c2Art = s.indent({.cls = c2, .resource = r3, .subject = art, .periods = 1});
    f.place(pairTeam, 1, 1);
    f.place(pairTeam, 2, 1);
    f.place(c1Art, 1, 2);
    f.place(c1Art, 2, 3);
    f.place(c3Maths, 2, 2);
    f.place(c3Maths, 3, 1);
    f.place(c3Block, 4, 1);
    f.place(c3Extra, 5, 1);
    f.place(c2Art, 3, 1);
    tx.commit();
  }

  void allocateCell(char kind, int owner, int day, int period, int partner, int subject, int serial) {
    s.editCell(kind, owner, day, period, [&](TTtbl& cell) {
      (kind == 'C' ? cell.TTEACHER : cell.TCLASS) = partner;
      cell.TSUBJECT = subject;
      cell.TSERIAL = serial;
    });
  }
};

constexpr AuditSwitches kAllSwitches{true, true, true, true};

TEST(Audit, PassesATimetableThatKeepsEveryRule) {
  AuditedSchool school;
  AuditReport report = school.s.audit(kAllSwitches);
  EXPECT_TRUE(report.passed()) << ::testing::PrintToString(report.texts());
}

struct BrokenCase {
  const char* name;
  std::function<void(AuditedSchool&)> breakIt;
  AuditRule rule;
  const char* text;
};

class AuditFinds : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(AuditFinds, TheBrokenRuleInPlainWords) {
  AuditedSchool school;
  GetParam().breakIt(school);
  AuditReport report = school.s.audit(kAllSwitches);
  const std::vector<std::string> texts = report.texts();
  auto found = std::find_if(report.violations.begin(), report.violations.end(), [&](const Violation& v) {
    return v.rule == GetParam().rule && v.text == GetParam().text;
  });
  EXPECT_NE(found, report.violations.end()) << ::testing::PrintToString(texts);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRule, AuditFinds,
    ::testing::Values(
        BrokenCase{"ClassInTwoPlaces",
                   [](AuditedSchool& a) { a.allocateCell('T', a.r2, 3, 1, a.c3, a.art, a.c3Extra); },
                   AuditRule::DoubleBooking,
                   "Class 2A (4) is in two places at once on day 3, period 1: indent 5 (2A, CLARK, Art) and "
                   "indent 3 (2A, ADAMS, Maths)."},
        BrokenCase{
            "ResourceInTwoPlaces",
            [](AuditedSchool& a) { a.allocateCell('C', a.c3, 1, 2, a.r3, a.art, a.c3Extra); },
            AuditRule::DoubleBooking,
            "Resource CLARK (4) is in two places at once on day 1, period 2: indent 5 (2A, CLARK, Art) "
            "and indent 2 (1A, CLARK, Art)."},
        BrokenCase{"GroupMemberInTwoPlaces",
                   [](AuditedSchool& a) { a.allocateCell('T', a.r3, 1, 1, a.c2, a.art, a.c2Art); },
                   AuditRule::DoubleBooking,
                   "Class 1B (2) is in two places at once on day 1, period 1: indent 6 (1B, CLARK, Art) and "
                   "indent 1 (1AB, TEAM, Maths)."},
        BrokenCase{
            "MemberCopyMissing", [](AuditedSchool& a) { a.allocateCell('C', a.c2, 2, 1, 999, 999, 0); },
            AuditRule::MirrorMismatch,
            "The period of indent 1 (1AB, TEAM, Maths) on day 2, period 1 is missing from the timetable "
            "of class 1B (2), which is free there."},
        BrokenCase{
            "MirrorNamesAnotherClass",
            [](AuditedSchool& a) { a.s.editCell('T', a.r1, 2, 2, [&](TTtbl& c) { c.TCLASS = a.c1; }); },
            AuditRule::MirrorMismatch,
            "The cell of resource ADAMS (1) on day 2, period 2 holds indent 3 (2A, ADAMS, Maths) but "
            "names class 1A (1) instead of class 2A (4)."},
        BrokenCase{"SchoolNotAvailable",
                   [](AuditedSchool& a) {
                     a.s.editCell('L', 1, 2, 3, [](TTtbl& c) { c.TCLASS = c.TTEACHER = c.TSUBJECT = 0; });
                   },
                   AuditRule::NotAvailable,
                   "The period of indent 2 (1A, CLARK, Art) on day 2, period 3 lies where the school is not "
                   "available."},
        BrokenCase{
            "OutsideTheConstraint",
            [](AuditedSchool& a) { a.s.editIndent(a.c1Art, [](TAlloc& i) { i.ALISTDAY = ",2,3,4,5"; }); },
            AuditRule::Constraint,
            "The period of indent 2 (1A, CLARK, Art) on day 1, period 2 lies outside its constraint "
            "(days \",2,3,4,5\", periods \",1,2,3,4,5,6,7,8,9,10,11,\")."},
        BrokenCase{
            "BrokenClusterBlock",
            [](AuditedSchool& a) {
              a.s.editCell('C', a.c3, 4, 2, [](TTtbl& c) { c.TCLUSLECNO = 1; });
              a.s.editCell('T', a.r3, 4, 2, [](TTtbl& c) { c.TCLUSLECNO = 1; });
            },
            AuditRule::ClusterBlock,
            "The cluster block of indent 4 (2A, CLARK, Art) on day 4, period 1 is not a whole block of 2 "
            "consecutive periods."},
        BrokenCase{"BlockOverARecess",
                   [](AuditedSchool& a) {
                     a.s.editSchool([](TSchl& s) { s.SRECESS = ",1"; });
                     a.s.editIndent(a.c3Block, [](TAlloc& i) { i.ARECESS = "N"; });
                   },
                   AuditRule::Recess,
                   "The cluster block of indent 4 (2A, CLARK, Art) on day 4, period 1 spans a recess."},
        BrokenCase{"MorePeriodsThanAsked",
                   [](AuditedSchool& a) { a.s.editIndent(a.c3Maths, [](TAlloc& i) { i.ANOOFLEC = 1; }); },
                   AuditRule::OverAllocated, "Indent 3 (2A, ADAMS, Maths) holds 2 periods but asks for 1."},
        BrokenCase{"SubjectPerDayLimit", [](AuditedSchool& a) { a.s.setSubjectLimit(a.c3, a.art, 1); },
                   AuditRule::SubjectPerDay,
                   "Class 2A (4) has 2 periods of Art on day 4, above its per-day limit of 1."},
        BrokenCase{
            "ResourcePerClassDayLimit", [](AuditedSchool& a) { a.s.setResourceClassLimit(a.c3, a.r3, 1); },
            AuditRule::ResourcePerClassDay,
            "Class 2A (4) has 2 periods with resource CLARK (4) on day 4, above its per-day limit of 1."},
        BrokenCase{"ResourcePerDayLimit",
                   [](AuditedSchool& a) { a.s.editResource(a.r3, [](TTeac& r) { r.TMAXLEC = 1; }); },
                   AuditRule::ResourcePerDay,
                   "Resource CLARK (4) has 2 periods on day 4, above its per-day limit of 1."},
        BrokenCase{
            "ContinuityLimit",
            [](AuditedSchool& a) { a.s.editResource(a.r3, [](TTeac& r) { r.TMAXCON = 1; }); },
            AuditRule::Continuity,
            "Resource CLARK (4) has 2 consecutive periods on day 4 from period 1, above its continuity "
            "limit of 1."},
        BrokenCase{"AllocatedCountDrifted",
                   [](AuditedSchool& a) { a.s.editIndent(a.c1Art, [](TAlloc& i) { i.ANOLECALL = 1; }); },
                   AuditRule::Counter, "indent 2: ANOLECALL is 1, counted 2."},
        BrokenCase{
            "CellOfNoIndent", [](AuditedSchool& a) { a.allocateCell('C', a.c3, 9, 1, a.r3, a.art, 99); },
            AuditRule::StrayCell,
            "The cell of class 2A (4) on day 9, period 1 is allocated to serial 99, which is no indent of "
            "the school."}),
    [](const ::testing::TestParamInfo<BrokenCase>& param) { return std::string(param.param.name); });

TEST(Audit, JudgesTheLimitsOnlyWhenTheirSwitchesWereOn) {
  AuditedSchool school;
  school.s.setSubjectLimit(school.c3, school.art, 1);
  school.s.setResourceClassLimit(school.c3, school.r3, 1);
  school.s.editResource(school.r3, [](TTeac& r) {
    r.TMAXLEC = 1;
    r.TMAXCON = 1;
  });
  EXPECT_TRUE(school.s.audit(AuditSwitches{false, false, false, false}).passed());
  AuditReport report = school.s.audit(kAllSwitches);
  EXPECT_EQ(report.count(AuditRule::SubjectPerDay), 1);
  EXPECT_EQ(report.count(AuditRule::ResourcePerClassDay), 1);
  EXPECT_EQ(report.count(AuditRule::ResourcePerDay), 1);
  EXPECT_EQ(report.count(AuditRule::Continuity), 1);
}

}  // namespace
}  // namespace tavrel::engine
