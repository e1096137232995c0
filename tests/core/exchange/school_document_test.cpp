#include "core/exchange/school_document.h"

#include <gtest/gtest.h>

#include "core/exchange/export_school.h"
#include "tests/support/school_fixture.h"

namespace tavrel::exchange {
namespace {

TEST(SchoolDocument, AnExportedSchoolReadsBackExactly) {
  testing::SchoolFixture f(testing::SchoolFixture::Options{608});
  int a = f.addClass("9A");
  int b = f.addClass("9B");
  f.addClass("9AB", {a, b});
  int chemist = f.addResource("DR IWU");
  int lab = f.addResource("LAB");
  int pair = f.addResource("DR IWU+LAB", {chemist, lab});
  int chemistry = f.addSubject("CHEMISTRY");
  int serial = f.addIndent({a, pair, chemistry, 4, 2});
  f.addIndent({b, chemist, chemistry, 3, 0, false});
  f.place(serial, 2, 3);
  auto closed = f.cell('T', lab, 1, 1);
  closed.TSUBJECT = closed.TCLASS = 0;
  ASSERT_EQ(f.store().table<store::TTtbl>().update(closed), store::WriteStatus::Ok);

  SchoolDocument exported = exportSchool(f.store(), 1);
  EXPECT_EQ(exported.days, 6);
  EXPECT_EQ(exported.periodsPerDay, 8);
  ASSERT_EQ(exported.classes.size(), 3u);
  EXPECT_EQ(exported.classes[1].members, (std::vector<std::string>{"9A", "9B"}));
  ASSERT_EQ(exported.indents.size(), 2u);
  EXPECT_EQ(exported.indents[0].placed, (std::vector<PlacedCell>{{2, 3, 1}, {2, 4, 2}}));
  EXPECT_FALSE(exported.indents[1].active);
  EXPECT_EQ(exported.resources[2].notAvailable, (std::vector<Slot>{{1, 1}}));

  const std::string text = toJson(exported);
  auto read = fromJson(text);
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(read.value(), exported);
  EXPECT_EQ(toJson(read.value()), text);
}

TEST(SchoolDocument, FaultsAreNamedByTheirPlaceInTheFile) {
  const std::string head = R"({"format": "tavrel-school", "version": 1, "school": {"name": "X", "days": 5)";
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"{not json",
       "The file is not valid JSON: parse error at line 1, column 3: syntax error while parsing object key - "
       "invalid literal; last read: '{no'; expected string literal"},
      {R"({"format": "other", "version": 1})", "/format: must be \"tavrel-school\""},
      {head + "}, \"classes\": [{\"name\": \"A\", \"notAvailable\": [[6, 1]]}]}",
       "/classes/0/notAvailable/0/0: 6 is not a day of the week cycle (1 to 5)"},
      {head + "}, \"classes\": [{\"name\": \"A\"}, {\"name\": \"A\"}]}",
       "/classes/1/name: \"A\" appears twice"},
      {head + "}, \"indents\": [{\"class\": \"A\", \"resource\": \"R\", \"subject\": \"S\"}]}",
       "/indents/0/periods: is missing"},
      {head + "}, \"resources\": [{\"name\": \"A name much longer than it may be\"}]}",
       "/resources/0/name: \"A name much longer than it may be\" is longer than 25 characters"},
      {head + ", \"recess\": [12]}}", "/school/recess/0: 12 is not a period a recess can follow (1 to 11)"},
      {R"({"format": "tavrel-school", "version": 2})",
       "/version: 2 is not a version this program reads (1 to 1)"},
  };
  for (const Case& c : cases) {
    auto read = fromJson(c.text);
    ASSERT_FALSE(read.ok()) << c.text;
    EXPECT_EQ(read.error(), c.error);
  }
}

}  // namespace
}  // namespace tavrel::exchange
