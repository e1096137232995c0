#include "core/store/session.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_folder.h"

namespace tavrel::store {
namespace {

using testing::ScriptedPrompter;
using testing::TempFolder;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
    ASSERT_TRUE(opened.ok());
    store = std::move(opened.value());
    addSchool(1, "NORTH");
    addSchool(2, "SOUTH");
    session = std::make_unique<Session>(*store, prompter);
    ASSERT_TRUE(session->setSchool(1));
  }

  void addSchool(int code, const std::string& name, int totalClasses = 0) {
    TSchl s;
    s.SNAME = name;
    s.SCHOOLCODE = code;
    s.SWRKDAYS = 912;
    s.STOTCLS = totalClasses;
    s.SSAVEDONE = "N";
    ASSERT_EQ(store->table<TSchl>().insert(s), WriteStatus::Ok);
  }

  TClas addClass(int code, const std::string& name, int required = 0, int allocated = 0, int school = 1) {
    TClas c;
    c.CSCHOOL = school;
    c.CLSCODE = code;
    c.CLSNAME = name;
    c.CLSOPTION = "N";
    c.CLSTOTLEC = 40;
    c.CLSREQLEC = required;
    c.CLSTOTALL = allocated;
    EXPECT_EQ(store->table<TClas>().insert(c), WriteStatus::Ok);
    return c;
  }

  void addIndent(int serial, int cls, const std::string& active, int subject = 1, int resource = 1) {
    TAlloc a;
    a.ASCHOOL = 1;
    a.ASERIALNO = serial;
    a.ACLASS = cls;
    a.ATEACHER = resource;
    a.ASUBJECT = subject;
    a.AACTIVE = active;
    a.APRIORITY = "Z";
    a.ANOOFLEC = 4;
    ASSERT_EQ(store->table<TAlloc>().insert(a), WriteStatus::Ok);
  }

  std::vector<std::string> classNamesVisited(Step first, Step then) {
    std::vector<std::string> names;
    session->CNext(first);
    while (!session->classes().eof() && !session->classes().bof()) {
      names.push_back(session->classes().current()->CLSNAME);
      session->CNext(then);
      if (names.size() > 10) break;
    }
    return names;
  }

  TempFolder folder;
  std::unique_ptr<Store> store;
  ScriptedPrompter prompter;
  std::unique_ptr<Session> session;
};

TEST_F(SessionTest, ListsShowOnlyTheCurrentSchoolInNameOrder) {
  addClass(1, "7B");
  addClass(2, "7A");
  addClass(1, "Other school", 0, 0, 2);
  session->flush(kFlushClasses);
  std::vector<std::string> names;
  for (const TClas& c : session->classes().rows()) names.push_back(c.CLSNAME);
  EXPECT_EQ(names, (std::vector<std::string>{"7A", "7B"}));
  session->ChngPIndx(1, 0);
  session->classes().setIndex(TClas::CLASCODE);
  names.clear();
  for (const TClas& c : session->classes().rows()) names.push_back(c.CLSNAME);
  EXPECT_EQ(names, (std::vector<std::string>{"7B", "7A"}));
}

TEST_F(SessionTest, PassivePresentStepsVisitOnlyClassesWithAPassiveIndentWithoutWrapping) {
  addClass(1, "A");
  addClass(2, "B");
  addClass(3, "C");
  addClass(4, "D");
  addIndent(1, 2, "N");
  addIndent(2, 3, "Y");
  addIndent(3, 4, "N");
  session->set_gb_f(1, 'C', 5);
  session->FilterDM(1);
  EXPECT_EQ(session->classes().size(), 4u);  // the filter itself shows every class
  EXPECT_EQ(classNamesVisited(Step::First, Step::Next), (std::vector<std::string>{"B", "D"}));
  EXPECT_EQ(classNamesVisited(Step::Last, Step::Prior), (std::vector<std::string>{"D", "B"}));
}

TEST_F(SessionTest, StatusFiltersFollowTheChoiceAndBasis) {
  addClass(1, "none", 0, 0);
  addClass(2, "done", 10, 10);
  addClass(3, "short", 10, 4);
  struct Case {
    int status;
    int basis;
    std::vector<std::string> shown;
  };
  for (const Case& c : {Case{1, 1, {"done", "none", "short"}}, Case{2, 1, {"done"}}, Case{3, 1, {"short"}},
                        Case{4, 1, {"none"}}, Case{2, 2, {}}, Case{3, 2, {"done", "short"}}}) {
    session->set_gb_f(1, 'C', c.status);
    session->set_gb_f(2, 'C', c.basis);
    session->FilterDM(1);
    std::vector<std::string> names;
    for (const TClas& row : session->classes().rows()) names.push_back(row.CLSNAME);
    EXPECT_EQ(names, c.shown) << "status " << c.status << " basis " << c.basis;
  }
  EXPECT_EQ(session->choice('C').statusCaption, "Incomplete");
  EXPECT_EQ(session->choice('C').basisCaption, " w.r.t. Available");
  session->set_gb_f(3, 'C', 1);  // no such kind: nothing changes
  EXPECT_EQ(session->choice('C').statusCaption, "Incomplete");
}

TEST_F(SessionTest, IndentFilterCodesSelectByItemAndCompleteness) {
  addIndent(1, 1, "Y", 10, 20);
  addIndent(2, 1, "Y", 11, 21);
  addIndent(3, 2, "Y", 10, 21);
  auto complete = store->table<TAlloc>().find(TAlloc::primary, {1, 3});
  complete->ANOLECALL = complete->ANOOFLEC;
  ASSERT_EQ(store->table<TAlloc>().update(*complete), WriteStatus::Ok);
  session->selectedClass = 1;
  session->selectedSubject = 10;
  session->selectedResource = 21;
  struct Case {
    char code;
    std::vector<int> serials;
  };
  for (const Case& c : {Case{'A', {1, 2, 3}}, Case{'C', {1, 2}}, Case{'D', {1, 3}}, Case{'E', {3}},
                        Case{'F', {1}}, Case{'G', {2}}, Case{'I', {1, 2}}, Case{'Q', {3}}, Case{'T', {3}},
                        Case{'K', {1, 2}}, Case{'W', {}}, Case{'Z', {1, 2, 3}}}) {
    session->indentFilterCode = c.code;
    session->FilterAlloc(1);
    std::vector<int> serials;
    for (const TAlloc& a : session->indents().rows()) serials.push_back(a.ASERIALNO);
    EXPECT_EQ(serials, c.serials) << "code " << c.code;
  }
}

TEST_F(SessionTest, ChkBugRaisesCountersToTheHighestCodesInUse) {
  auto school = *session->school();
  school.STOTCLS = 5;
  ASSERT_EQ(store->table<TSchl>().update(school), WriteStatus::Ok);
  addClass(7, "7A");
  addIndent(12, 7, "N");
  TSubj subject;
  subject.SUBNAME = "Maths";
  subject.SUBCODE = 4;
  ASSERT_EQ(store->table<TSubj>().insert(subject), WriteStatus::Ok);
  session->ChkBug();
  EXPECT_EQ(session->school()->STOTCLS, 7);
  EXPECT_EQ(session->school()->SALLSERIAL, 12);
  EXPECT_EQ(store->institution().ISUBJECT, 4);
}

TEST_F(SessionTest, SubjectStepsWithStatusAllVisitSubjectsTheSchoolNeverUsed) {
  for (auto [name, code] : {std::pair{"Art", 1}, std::pair{"Biology", 2}}) {
    TSubj s;
    s.SUBNAME = name;
    s.SUBCODE = code;
    ASSERT_EQ(store->table<TSubj>().insert(s), WriteStatus::Ok);
  }
  session->flush(kFlushSubjects);
  session->SNext(Step::First);
  EXPECT_EQ(session->subjects().current()->SUBNAME, "Art");
  session->set_gb_f(1, 'S', 4);  // No Active Indent: both qualify, having no link at all
  session->SNext(Step::Next);
  EXPECT_EQ(session->subjects().current()->SUBNAME, "Biology");
  session->set_gb_f(1, 'S', 2);  // Allocated: neither qualifies
  session->SNext(Step::First);
  EXPECT_TRUE(session->subjects().eof());
}

TEST_F(SessionTest, SavedPositionsFollowFlushesAndAreForgottenOnAChangeOfSchool) {
  session->flush(kFlushClasses);
  EXPECT_FALSE(session->savedPosition('C'));  // an empty list leaves no position
  addClass(1, "7A");
  addClass(2, "7B");
  session->flush(kFlushClasses);
  session->classes().last();
  session->viewKind = 'C';
  session->GetDM();
  ASSERT_TRUE(session->savedPosition('C'));
  session->classes().first();
  session->AlignDM();
  EXPECT_EQ(session->classes().current()->CLSNAME, "7B");

  session->flush(kFlushSchools);  // flushing the school table keeps them
  EXPECT_TRUE(session->savedPosition('C'));
  ASSERT_TRUE(session->setSchool(2));
  EXPECT_FALSE(session->savedPosition('C'));
}

TEST_F(SessionTest, AligningToAPositionWhoseRecordWentIsReported) {
  addClass(1, "7A");
  session->flush(kFlushClasses);
  session->viewKind = 'C';
  session->GetDM();
  store->table<TClas>().remove(*store->table<TClas>().find(TClas::CLASCODE, {1, 1}));
  session->classes().refresh();
  prompter.expectMessage(MessageKind::Error, "Align error: Class");
  session->AlignDM();
}

TEST_F(SessionTest, BookmarksReturnToTheirRecordAndReportOneThatWent) {
  EXPECT_FALSE(session->GetBM(1));   // an empty list yields no position
  session->GotoBM(1, std::nullopt);  // and going to none does nothing
  addClass(1, "7A");
  addClass(2, "7B");
  session->flush(kFlushClasses);
  session->classes().last();
  auto mark = session->GetBM(1);
  session->classes().first();
  session->GotoBM(1, mark);
  EXPECT_EQ(session->classes().current()->CLSNAME, "7B");
  auto school = session->GetBM(9);
  session->setSchool(2);
  session->GotoBM(9, school);
  EXPECT_EQ(session->schoolCode(), 1);

  store->table<TClas>().remove(*store->table<TClas>().find(TClas::CLASCODE, {1, 2}));
  session->classes().refresh();
  prompter.expectMessage(MessageKind::Error, "GotoBookMark error: Class");
  session->GotoBM(1, mark);
  session->FreeBM(mark);
  EXPECT_FALSE(mark);
}

TEST_F(SessionTest, RestrictingIndentsToAnItemWalksItsIndentsInPriorityOrder) {
  addClass(1, "7A");
  addClass(2, "7B");
  addIndent(5, 1, "Y");
  addIndent(6, 2, "Y");
  addIndent(7, 1, "N");
  addIndent(8, 1, "Y");
  session->flush(kFlushClasses);
  session->viewKind = 'C';
  session->classes().first();
  session->set_pindx("Y");
  std::vector<int> serials;
  for (const TAlloc& a : session->indents().rows()) serials.push_back(a.ASERIALNO);
  EXPECT_EQ(serials, (std::vector<int>{5, 8}));
  EXPECT_FALSE(session->chk_rec());
  EXPECT_EQ(session->selectedClass, 1);
  session->set_aindx();
  EXPECT_EQ(session->indents().size(), 4u);
  EXPECT_EQ(session->classes().index(), TClas::CLASCODE);

  session->viewKind = 'L';
  session->set_pindx("Y");
  EXPECT_EQ(session->viewKind, 'C');
  EXPECT_EQ(session->indents().size(), 3u);
  EXPECT_FALSE(session->chk_rec());
  session->set_aindx();
  EXPECT_EQ(session->viewKind, 'L');
}

}  // namespace
}  // namespace tavrel::store
