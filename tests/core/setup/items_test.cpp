#include "core/setup/items.h"

#include <gtest/gtest.h>

#include "core/store/counter_recount.h"
#include "tests/support/school_fixture.h"

namespace tavrel::setup {
namespace {

using namespace store;
using testing::SchoolFixture;

int rowsOf(Store& store, char kind, int code) {
  return kind == 'C' ? store.table<TTtbl>().count(TTtbl::TIMECLAS, {1, "C", code})
                     : store.table<TTtbl>().count(TTtbl::TIMETEAC, {1, "T", code});
}

void setHighestClassCode(SchoolFixture& f, int code) {
  TSchl school = *f.session().school();
  school.STOTCLS = code;
  ASSERT_EQ(f.store().table<TSchl>().update(school), WriteStatus::Ok);
}

TEST(Items, SingleCreationTakesTheNextCodeAUniqueDefaultNameAndRowsOfTheSchoolsAvailability) {
  SchoolFixture f;
  for (int code : {1, 2, 3}) f.addClass("C" + std::to_string(code));
  f.addClass("CLASS6");  // names the user typed over codes 4 and 5
  f.addClass("CLASS6+");
  setHighestClassCode(f, 5);
  auto cell = f.cell('L', 1, 2, 3);
  cell.TSUBJECT = cell.TCLASS = cell.TTEACHER = 0;  // the school is closed on day 2, period 3
  ASSERT_EQ(f.store().table<TTtbl>().update(cell), WriteStatus::Ok);
  f.store().table<TTtbl>().removeRange(TTtbl::TIMECLAS, {1, "C", 6});  // rows of code 6 made afresh

  SilentProgress progress;
  auto code = createItemFromSchoolView(f.session(), progress, ItemKind::Class);
  ASSERT_EQ(code, 6);
  TClas created = f.classRecord(6);
  EXPECT_EQ(created.CLSNAME, "CLASS6++");
  EXPECT_EQ(created.CLSOPTION, "N");
  EXPECT_EQ(created.CLSTOTLEC, f.session().school()->STOTLEC);
  EXPECT_EQ(f.session().school()->STOTCLS, 6);
  EXPECT_EQ(rowsOf(f.store(), 'C', 6), 108);
  EXPECT_EQ(f.cell('C', 6, 2, 3).TSUBJECT, 0);
  EXPECT_EQ(f.cell('C', 6, 2, 4).TSUBJECT, 999);
}

TEST(Items, AnInterruptedMultipleCreationLeavesRowsThatTheNextCreationTakesOver) {
  SchoolFixture f;
  SilentProgress progress;
  ASSERT_TRUE(startMultipleCreation(f.session(), progress, ItemKind::Resource, 4));
  for (int code = 1; code <= 4; ++code) EXPECT_EQ(rowsOf(f.store(), 'T', code), 108);
  ASSERT_EQ(createItemFromSchoolView(f.session(), progress, ItemKind::Resource), 1);
  ASSERT_EQ(createItemFromSchoolView(f.session(), progress, ItemKind::Resource), 2);
  // Stopped after two: the next single creation uses code 3 and the rows already there.
  const int cellsBefore = f.store().table<TTtbl>().count(TTtbl::TIMESERL, {1});
  ASSERT_EQ(createItemFromSchoolView(f.session(), progress, ItemKind::Resource), 3);
  EXPECT_EQ(f.store().table<TTtbl>().count(TTtbl::TIMESERL, {1}), cellsBefore);
  TTeac resource = f.resourceRecord(3);
  TInst defaults = f.store().institution();
  EXPECT_EQ(resource.TMAXLEC, defaults.IDTUL_DAY);
  EXPECT_EQ(resource.TMAXLECWK, defaults.IDTUL_WEEK);
  EXPECT_EQ(resource.TMAXCON, defaults.IDTSQUL);
  EXPECT_EQ(resource.TCHTOTLEC, f.session().school()->STOTLEC);
}

TEST(Items, TheSchoolHoldsAtMost999ClassesAndNoItemGetsTheFreeMarkerCode) {
  SchoolFixture f;
  {
    Transaction tx(f.store());
    for (int code = 1; code <= 998; ++code) {
      TClas c;
      c.CSCHOOL = 1;
      c.CLSCODE = code;
      c.CLSNAME = "K" + std::to_string(code);
      ASSERT_EQ(f.store().table<TClas>().insert(c), WriteStatus::Ok);
    }
    tx.commit();
  }
  setHighestClassCode(f, 998);
  SilentProgress progress;
  f.prompter().expectMessage(
      MessageKind::Error,
      "Total classes in the Class grid exceed the upper limit of 999 by 1. Multi creation of 2 "
      "classes discontinued.");
  EXPECT_FALSE(startMultipleCreation(f.session(), progress, ItemKind::Class, 2));
  ASSERT_TRUE(startMultipleCreation(f.session(), progress, ItemKind::Class, 1));
  EXPECT_EQ(rowsOf(f.store(), 'C', 999), 0);
  EXPECT_EQ(rowsOf(f.store(), 'C', 1000), 108);
  EXPECT_EQ(createItemFromSchoolView(f.session(), progress, ItemKind::Class), 1000);
  f.prompter().expectMessage(MessageKind::Error,
                             "Upper limit of 999 classes exceeded.Cannot accept this new class.");
  EXPECT_FALSE(createItemFromSchoolView(f.session(), progress, ItemKind::Class));
  EXPECT_EQ(nextItemCode(998), 1000);
  EXPECT_EQ(nextItemCode(5), 6);
}

TEST(Items, NamesFromTheSchoolViewMustBeGivenAndUnique) {
  SchoolFixture f;
  int a = f.addClass("7A");
  f.addClass("7B");
  f.prompter().expectMessage(MessageKind::Error, "Class name empty. Restoring old name.");
  EXPECT_FALSE(renameItem(f.session(), ItemKind::Class, a, ""));
  f.prompter().expectMessage(MessageKind::Error, "Duplicate class name: 7B");
  EXPECT_FALSE(renameItem(f.session(), ItemKind::Class, a, "7b"));
  EXPECT_TRUE(renameItem(f.session(), ItemKind::Class, a, "7 alpha"));
  EXPECT_EQ(f.classRecord(a).CLSNAME, "7 ALPHA");
}

TEST(Items, TheNumberDialogAcceptsOnlyACountAboveZero) {
  struct Case {
    const char* text;
    int count;
    const char* message;
  };
  for (const Case& c :
       {Case{"12", 12, nullptr}, Case{"", 0, "Empty is not a valid value for number. Enter a number."},
        Case{"0", 0, "\"0\" is not a valid value for number. Enter a number greater than 0."}}) {
    auto result = parseItemCount(c.text);
    if (c.message) {
      ASSERT_FALSE(result.ok());
      EXPECT_EQ(result.error(), c.message);
    } else {
      EXPECT_EQ(result.value(), c.count);
    }
  }
  EXPECT_EQ(numberDialogKey('x').error(), "\"x\" is not a valid number. Permissible range is 0 to 9.");
  EXPECT_TRUE(numberDialogKey('7').ok());
}

TEST(Items, ResourceLimitsAreCheckedAgainstTheSchoolsWeek) {
  SchoolFixture f(SchoolFixture::Options{508});
  f.prompter().expectMessage(
      MessageKind::Error,
      "50 is not a valid value for \"Per Week upper limit of Resource\". Allowed range is 1 to "
      "40. Restoring old value.");
  EXPECT_FALSE(checkResourceLimit(f.session(), ResourceLimit::PerWeek, "50"));
  EXPECT_TRUE(checkResourceLimit(f.session(), ResourceLimit::PerWeek, "40"));
  f.prompter().expectMessage(
      MessageKind::Error,
      "Empty is not a valid value for \" Per Day upper limit of Resource\". Allowed range is 1 "
      "to 12. Restoring old value.");
  EXPECT_FALSE(checkResourceLimit(f.session(), ResourceLimit::PerDay, ""));
}

TEST(Items, TheDialogCreatesGroupsWithTheirMembers) {
  SchoolFixture f;
  int a = f.addClass("7A");
  int b = f.addClass("7B");
  f.addClass("ALL7", {a, b});
  auto candidates = groupCandidates(f.session(), ItemKind::Class, 0);
  ASSERT_EQ(candidates.size(), 2u);  // the group itself is no candidate
  EXPECT_EQ(candidates[0].name, "7A");

  SilentProgress progress;
  bool cancelled = false;
  ItemForm form = newItemForm(f.store(), 1, ItemKind::Class);
  form.group = true;
  f.prompter().expectMessage(
      MessageKind::Error,
      "No group items tagged in the checked list box.Click on the box preceding the name to tag "
      "an item.");
  EXPECT_FALSE(saveNewItem(f.session(), progress, ItemKind::Class, form, cancelled));
  form.members = {a, b};
  form.name = "7a";
  f.prompter().expectMessage(MessageKind::Error, "Duplicate Class name.");
  EXPECT_FALSE(saveNewItem(f.session(), progress, ItemKind::Class, form, cancelled));
  form.name = "Year 7 sets";
  auto code = saveNewItem(f.session(), progress, ItemKind::Class, form, cancelled);
  ASSERT_TRUE(code);
  EXPECT_EQ(f.classRecord(*code).CLSOPTION, "Y");
  EXPECT_EQ(itemForm(f.store(), 1, ItemKind::Class, *code)->members, (std::set<int>{a, b}));
  EXPECT_EQ(rowsOf(f.store(), 'C', *code), 108);
}

TEST(Items, AGroupResourceMadePlainLosesItsMembersAndPlacementsButKeepsItsIndentsActive) {
  SchoolFixture f;
  int cls = f.addClass("9A");
  int lab = f.addResource("LAB");
  int tech = f.addResource("TECHNICIAN");
  int pair = f.addResource("LAB+TECH", {lab, tech});
  int science = f.addSubject("SCIENCE");
  int serial = f.addIndent({cls, pair, science, 2});
  f.place(serial, 1, 1);
  f.place(serial, 2, 1);
  ASSERT_TRUE(recountCounters(f.store(), 1).clean());

  ItemForm form = *itemForm(f.store(), 1, ItemKind::Resource, pair);
  form.group = false;
  form.members.clear();
  ASSERT_TRUE(saveEditedItem(f.session(), ItemKind::Resource, pair, form));
  EXPECT_EQ(f.store().table<TOptn>().count(TOptn::primary, {1, "T", pair}), 0);
  EXPECT_EQ(f.indent(serial).ANOLECALL, 0);
  EXPECT_EQ(f.indent(serial).AACTIVE, "Y");
  EXPECT_TRUE(f.cellsHolding(serial).empty());
  EXPECT_EQ(f.resourceRecord(pair).TCHOPTION, "N");
  auto report = recountCounters(f.store(), 1);
  EXPECT_TRUE(report.clean()) << ::testing::PrintToString(report.findings());
}

TEST(Items, NewMembersOfAGroupTakeOnItsActiveIndents) {
  SchoolFixture f;
  int a = f.addClass("8A");
  int b = f.addClass("8B");
  int c = f.addClass("8C");
  int group = f.addClass("8AB", {a, b});
  int teacher = f.addResource("MRS NAKAMURA");
  int pe = f.addSubject("PE");
  f.addIndent({group, teacher, pe, 3});
  ItemForm form = *itemForm(f.store(), 1, ItemKind::Class, group);
  form.members = {a, c};
  ASSERT_TRUE(saveEditedItem(f.session(), ItemKind::Class, group, form));
  EXPECT_EQ(f.classRecord(a).CLSREQMLT, 3);
  EXPECT_EQ(f.classRecord(b).CLSREQMLT, 0);
  EXPECT_EQ(f.classRecord(c).CLSREQMLT, 3);
  EXPECT_TRUE(recountCounters(f.store(), 1).clean());
}

}  // namespace
}  // namespace tavrel::setup
