#include "core/exchange/import_school.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "core/engine/audit.h"
#include "core/exchange/export_school.h"
#include "core/store/lookups.h"
#include "tests/support/recording_progress.h"
#include "tests/support/school_fixture.h"

namespace tavrel::exchange {
namespace {

using namespace store;

const std::string kFixture = std::string(TAVREL_TEST_FIXTURES) + "/small_school.json";

SchoolDocument smallSchool() {
  auto document = readDocumentFile(kFixture);
  if (!document) throw std::runtime_error(document.error());
  return document.value();
}

// A data set to import into: it holds one school of its own already ("SCHOOL1").
struct Target {
  testing::SchoolFixture f;
  testing::RecordingProgress progress;

  Result<ImportReport> import(const SchoolDocument& document, const ImportOptions& options = {}) {
    return importSchool(f.store(), progress, document, options);
  }
  std::string exported(int school) { return toJson(exportSchool(f.store(), school)); }

  // What a refused import must leave as it was.
  struct Counts {
    int schools, classes, resources, subjects, indents, cells, limits, lastSchoolCode;
    bool operator==(const Counts&) const = default;
  };
  Counts counts() {
    Store& s = f.store();
    return {s.table<TSchl>().count(TSchl::primary),  s.table<TClas>().count(TClas::primary),
            s.table<TTeac>().count(TTeac::primary),  s.table<TSubj>().count(TSubj::primary),
            s.table<TAlloc>().count(TAlloc::primary), s.table<TTtbl>().count(TTtbl::primary),
            s.table<TSOcc>().count(TSOcc::primary),  s.institution().ISECTION};
  }
};

TEST(ImportSchool, BuildsTheSchoolOfTheFileWithItsTimetable) {
  Target t;
  auto report = t.import(smallSchool());
  ASSERT_TRUE(report.ok()) << report.error();
  EXPECT_EQ(report->schoolName, "SMALL SCHOOL");
  EXPECT_EQ(report->indents, 4);
  EXPECT_EQ(report->activated, 3);
  EXPECT_TRUE(report->complete());

  Store& store = t.f.store();
  const int code = report->schoolCode;
  const TSchl school = *store.table<TSchl>().find(TSchl::SCLCODE, {code});
  EXPECT_EQ(school.SWRKDAYS, 506);
  EXPECT_EQ(school.SRECESS, ",3");
  EXPECT_EQ(school.SREMARK, "TERM 1");
  const TTeac lab = *store.table<TTeac>().find(TTeac::primary, {code, "LAB"});
  EXPECT_EQ(lab.TPARTTIME, "Y");
  EXPECT_EQ(lab.TMAXLECWK, 20);
  for (const TAlloc& indent : store.table<TAlloc>().range(TAlloc::primary, {code})) {
    const int expected[] = {5, 2, 1, 0};
    EXPECT_EQ(indent.ANOLECALL, expected[indent.ASERIALNO - 1]) << indent.ASERIALNO;
  }
  // Made by the routines the windows use, the school keeps every rule and every counter agrees.
  const engine::AuditReport audit = engine::check(store, code);
  EXPECT_TRUE(audit.passed()) << (audit.violations.empty() ? "" : audit.violations.front().text);
  // The school the data set held is untouched.
  EXPECT_TRUE(store.table<TSchl>().find(TSchl::primary, {"SCHOOL1"}).has_value());
}

TEST(ImportSchool, ExportImportExportGivesTheSameFile) {
  Target first;
  auto imported = first.import(smallSchool());
  ASSERT_TRUE(imported.ok()) << imported.error();
  const std::string text = first.exported(imported->schoolCode);

  Target second;
  auto document = fromJson(text);
  ASSERT_TRUE(document.ok()) << document.error();
  auto again = second.import(document.value());
  ASSERT_TRUE(again.ok()) << again.error();
  EXPECT_TRUE(again->complete());
  EXPECT_EQ(second.exported(again->schoolCode), text);
}

// A school made row by row elsewhere (with a group resource and a cluster across it) survives the
// trip as well.
TEST(ImportSchool, ASchoolMadeElsewhereTravelsUnchanged) {
  testing::SchoolFixture source(testing::SchoolFixture::Options{608});
  const int a = source.addClass("9A");
  const int b = source.addClass("9B");
  source.addClass("9AB", {a, b});
  const int chemist = source.addResource("DR IWU");
  const int lab = source.addResource("LAB");
  const int pair = source.addResource("DR IWU+LAB", {chemist, lab});
  const int chemistry = source.addSubject("CHEMISTRY");
  const int maths = source.addSubject("MATHS");
  source.place(source.addIndent({a, pair, chemistry, 4, 2}), 2, 3);
  source.place(source.addIndent({b, chemist, maths, 3}), 1, 1);
  source.addIndent({b, lab, chemistry, 2, 0, false});
  // A cluster of 2 needs 2 periods a day of its subject and resource: what activation records.
  {
    Transaction tx(source.store());
    auto subjectLimit = source.store().table<TSOcc>().find(TSOcc::primary, {source.school(), a, chemistry});
    subjectLimit->SOCCURENCE = 2;
    source.store().table<TSOcc>().update(*subjectLimit);
    auto resourceLimit = source.store().table<TTOcc>().find(TTOcc::primary, {source.school(), a, pair});
    resourceLimit->TOCCURENCE = 2;
    source.store().table<TTOcc>().update(*resourceLimit);
    tx.commit();
  }
  const std::string text = toJson(exportSchool(source.store(), source.school()));

  Target target;
  auto imported = target.import(fromJson(text).value(), {"SCHOOL2"});
  ASSERT_TRUE(imported.ok()) << imported.error();
  EXPECT_TRUE(imported->complete());
  std::string expected = text;
  expected.replace(expected.find("\"SCHOOL1\""), 9, "\"SCHOOL2\"");
  EXPECT_EQ(target.exported(imported->schoolCode), expected);
}

TEST(ImportSchool, RefusesBadInputByItsPlaceInTheFileAndWritesNothing) {
  struct Case {
    const char* what;
    std::function<void(SchoolDocument&)> change;
    std::string error;  // the refusal starts with this
  };
  const Case cases[] = {
      {"unknown class", [](SchoolDocument& d) { d.indents[1].className = "9Z"; },
       "/indents/1/class: there is no class \"9Z\" in /classes"},
      {"unknown subject", [](SchoolDocument& d) { d.subjectLimits[0].item = "LATIN"; },
       "/subjectLimits/0/subject: there is no subject \"LATIN\" in /subjects"},
      {"unknown member", [](SchoolDocument& d) { d.classes[1].members[1] = "7C"; },
       "/classes/1/members/1: there is no class \"7C\" in /classes"},
      {"group of groups", [](SchoolDocument& d) { d.classes[0].members = {"7AB"}; },
       "/classes/0/members/0: \"7AB\" is a group itself"},
      {"names differing in case only", [](SchoolDocument& d) { d.classes[2].name = "7a"; },
       "/classes/2/name: \"7a\" appears twice"},
      {"limit given twice", [](SchoolDocument& d) { d.resourceLimits.push_back(d.resourceLimits[0]); },
       "/resourceLimits/1: the class has a limit for this resource already"},
      {"cluster count", [](SchoolDocument& d) { d.indents[1].periods = 5; },
       "/indents/1/periods: 5 is not clusterSize × clustersPerWeek (4)"},
      {"week setup", [](SchoolDocument& d) { d.weekSetup = "LUNAR"; },
       "/school/weekSetup: \"LUNAR\" is not \"STANDARD\" or \"GULF\""},
      {"recess positions", [](SchoolDocument& d) { d.recess = {1, 2, 3, 4, 5, 6}; },
       "/school/recess: a school keeps only the first 5 of these recess positions; 6 does not fit"},
      // Found by the routines themselves, after the school and its items were written.
      {"constraint outside the week", [](SchoolDocument& d) { d.indents[2].constraint = "(DAY equal to \"SATURDAY\")"; },
       "/indents/2/constraint: Day \"SATURDAY\" is not a day of the school's 5-day week cycle."},
      {"existing school", [](SchoolDocument& d) { d.name = "school1"; },
       "There is a school named SCHOOL1 already."},
  };
  for (const Case& c : cases) {
    Target t;
    SchoolDocument document = smallSchool();
    c.change(document);
    const Target::Counts before = t.counts();
    auto report = t.import(document);
    ASSERT_FALSE(report.ok()) << c.what;
    EXPECT_EQ(report.error().substr(0, c.error.size()), c.error) << c.what << ": " << report.error();
    EXPECT_TRUE(t.counts() == before) << c.what;
  }
}

TEST(ImportSchool, ATenthSchoolIsRefusedAndNothingIsLeftOfIt) {
  Target t;
  SchoolDocument document = smallSchool();
  for (int n = 2; n <= 9; ++n) {
    document.name = "SCHOOL" + std::to_string(n) + "X";
    ASSERT_TRUE(t.import(document).ok()) << n;
  }
  const Target::Counts before = t.counts();
  document.name = "ONE TOO MANY";
  auto report = t.import(document);
  ASSERT_FALSE(report.ok());
  EXPECT_EQ(report.error(), "No room for new School. An institution has at most 9 schools.");
  EXPECT_TRUE(t.counts() == before);
}

TEST(ImportSchool, ReplaceTakesThePlaceOfTheSchoolOfThatName) {
  Target t;
  auto first = t.import(smallSchool());
  ASSERT_TRUE(first.ok()) << first.error();
  const Target::Counts once = t.counts();
  auto second = t.import(smallSchool(), {"", true});
  ASSERT_TRUE(second.ok()) << second.error();
  EXPECT_NE(second->schoolCode, first->schoolCode);  // codes are never reused
  Target::Counts now = t.counts();
  now.lastSchoolCode = once.lastSchoolCode;
  EXPECT_TRUE(now == once);
  EXPECT_FALSE(t.f.store().table<TSchl>().find(TSchl::SCLCODE, {first->schoolCode}).has_value());
}

// A replacement that is refused keeps the school it was to replace.
TEST(ImportSchool, ARefusedReplacementKeepsTheOldSchool) {
  Target t;
  auto first = t.import(smallSchool());
  ASSERT_TRUE(first.ok()) << first.error();
  const std::string before = t.exported(first->schoolCode);
  SchoolDocument broken = smallSchool();
  broken.indents[2].constraint = "(DAY equal to \"SUNDAY\")";
  ASSERT_FALSE(t.import(broken, {"", true}).ok());
  EXPECT_EQ(t.exported(first->schoolCode), before);
}

TEST(ImportSchool, IndentsThatFailValidationStayPassiveAndAreNamed) {
  Target t;
  SchoolDocument document = smallSchool();
  document.indents[1].clustersPerWeek = 20;  // 40 periods: more than 7B has
  document.indents[1].periods = 40;
  auto report = t.import(document);
  ASSERT_TRUE(report.ok()) << report.error();
  EXPECT_EQ(report->activated, 2);
  ASSERT_EQ(report->activationFailures.size(), 1u);
  const indents::ActivationFailure& failure = report->activationFailures[0];
  EXPECT_EQ(failure.className, "7B");
  EXPECT_EQ(failure.resource, "MS ADA");
  EXPECT_EQ(failure.subject, "CHEMISTRY");
  EXPECT_NE(failure.reason.find("exceed"), std::string::npos) << failure.reason;
  ASSERT_EQ(report->placementFailures.size(), 1u);
  EXPECT_EQ(report->placementFailures[0],
            "/indents/1/placed: the indent is passive, so its periods were not placed");
}

TEST(ImportSchool, PeriodsThatDoNotFitAreReportedAndTheRestIsRestored) {
  struct Case {
    const char* what;
    int indent;
    std::vector<PlacedCell> placed;
    std::string reason;
  };
  const Case cases[] = {
      {"a cluster across the recess", 1, {{2, 3, 1}, {2, 4, 2}},
       "day 2 period 3: the cluster block may not span a recess"},
      {"a broken cluster block", 1, {{2, 1, 1}, {2, 3, 2}},
       "day 2 period 1: the cluster block of 2 periods starting here is not whole"},
      {"more periods than asked for", 2, {{4, 5, 1}, {5, 5, 1}, {4, 6, 1}}, "3 periods are placed but the indent asks for 2"},
      {"outside the constraint", 2, {{1, 2, 1}}, "day 1 period 2: the period lies outside the indent's constraint"},
      {"not available for the class", 1, {{1, 5, 1}, {1, 6, 2}}, "day 1 period 6: the class is not available then"},
      {"one per day", 0, {{1, 1, 1}, {1, 2, 1}}, "day 1 period 2: a member of a group is busy then, or a per-day"},
  };
  for (const Case& c : cases) {
    Target t;
    SchoolDocument document = smallSchool();
    document.indents[static_cast<std::size_t>(c.indent)].placed = c.placed;
    auto report = t.import(document);
    ASSERT_TRUE(report.ok()) << c.what << ": " << report.error();
    ASSERT_EQ(report->placementFailures.size(), 1u) << c.what;
    const std::string expected = "/indents/" + std::to_string(c.indent) + "/placed: " + c.reason;
    EXPECT_EQ(report->placementFailures[0].substr(0, expected.size()), expected) << report->placementFailures[0];
    EXPECT_TRUE(engine::check(t.f.store(), report->schoolCode).passed()) << c.what;
  }
}

TEST(ImportSchool, AFileThatIsNotJsonIsNamedByLineAndColumn) {
  testing::TempFolder folder;
  const auto file = folder.path() / "broken.json";
  std::ofstream(file) << "{\n  \"format\": \"tavrel-school\",\n  \"version\" 1\n}\n";
  auto read = readDocumentFile(file);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error().rfind("The file is not valid JSON: parse error at line 3, column", 0), 0u) << read.error();
  EXPECT_EQ(readDocumentFile(folder.path() / "missing.json").error(),
            "Cannot read " + (folder.path() / "missing.json").string() + ".");
}

}  // namespace
}  // namespace tavrel::exchange
