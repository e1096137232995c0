#include "core/setup/subjects.h"

#include <gtest/gtest.h>

#include "tests/support/school_fixture.h"

namespace tavrel::setup {
namespace {

using namespace store;
using testing::SchoolFixture;

void setSubjectCounter(Store& store, int value) {
  TInst inst = store.institution();
  inst.ISUBJECT = value;
  store.saveInstitution(inst);
}

TEST(Subjects, SchoolViewCreationMakesAUniqueNameAndTheSchoolsLink) {
  SchoolFixture f;
  f.addSubject("ART");
  f.addSubject("SUBJECT5");
  setSubjectCounter(f.store(), 4);
  auto code = createSubjectFromSchoolView(f.session());
  ASSERT_EQ(code, 5);
  EXPECT_EQ(f.store().table<TSubj>().find(TSubj::SUBJCODE, {5})->SUBNAME, "SUBJECT5+");
  auto link = f.store().table<TSctl>().find(TSctl::primary, {1, 5});
  ASSERT_TRUE(link);
  EXPECT_EQ(link->SCTREQLEC, 0);
  EXPECT_EQ(f.store().institution().ISUBJECT, 5);
}

TEST(Subjects, TheSubjectWindowRefusesEmptyAndDuplicateNames) {
  SchoolFixture f;
  int art = f.addSubject("ART");
  f.prompter().expectMessage(MessageKind::Error, "Empty Subject name. Restoring old one.");
  EXPECT_FALSE(createSubject(f.session(), "", ""));
  f.prompter().expectMessage(MessageKind::Error, "Duplicate Subject name.");
  EXPECT_FALSE(createSubject(f.session(), "art", ""));
  auto music = createSubject(f.session(), "Music", "Choir on Fridays");
  ASSERT_TRUE(music);
  EXPECT_EQ(subjectNotes(f.store(), 1, *music), "Choir on Fridays");

  f.prompter().expectMessage(MessageKind::Error, "Duplicate Subject name.");
  EXPECT_FALSE(editSubject(f.session(), art, "MUSIC", ""));
  EXPECT_TRUE(editSubject(f.session(), art, "ART", "Studio 2"));  // same name: notes only
  EXPECT_EQ(subjectNotes(f.store(), 1, art), "Studio 2");
  EXPECT_TRUE(editSubject(f.session(), art, "Fine art", "Studio 2"));
  EXPECT_EQ(f.store().table<TSubj>().find(TSubj::SUBJCODE, {art})->SUBNAME, "FINE ART");
}

TEST(Subjects, ASubjectIndentedAnywhereCannotBeDeleted) {
  SchoolFixture f;
  int cls = f.addClass("6A");
  int teacher = f.addResource("MR ABARA");
  int geography = f.addSubject("GEOGRAPHY");
  int history = f.addSubject("HISTORY");
  f.addIndent({cls, teacher, geography, 2, 0, false});  // passive
  f.addIndent({cls, teacher, history, 3});              // active

  f.prompter().expectMessage(MessageKind::Error, "Cannot delete. Subject used in current indent.");
  EXPECT_FALSE(deleteSubject(f.session(), history, history));
  std::string school = f.session().school()->SNAME;
  f.prompter().expectMessage(MessageKind::Error, "Cannot delete. Subject indented in " + school);
  EXPECT_FALSE(deleteSubject(f.session(), history, 0));
  // A passive indent names the subject too: deleting it would leave that indent without a subject.
  f.prompter().expectMessage(MessageKind::Error, "Cannot delete. Subject indented in " + school);
  EXPECT_FALSE(deleteSubject(f.session(), geography, 0));

  int drama = f.addSubject("DRAMA");
  saveSubjectNotes(f.store(), 1, drama, "hall");
  ASSERT_TRUE(deleteSubject(f.session(), drama, 0));
  EXPECT_FALSE(f.store().table<TSubj>().find(TSubj::SUBJCODE, {drama}));
  EXPECT_EQ(f.store().table<TSctl>().count(TSctl::SUBSCHOOL, {drama}), 0);
}

}  // namespace
}  // namespace tavrel::setup
