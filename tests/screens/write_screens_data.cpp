// Writes a small institution into a program folder so that the pictures of the windows show
// what a person sees once they have started: three schools with their details, one of them with
// classes, resources and an indent. The schools are made and edited through the same core
// routines as the institution view uses.
//
//   tavrel_screens_data --home DIR
#include <cstring>
#include <filesystem>
#include <iostream>

#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/setup/schools.h"
#include "core/store/session.h"
#include "core/store/store.h"

namespace {

using namespace tavrel;
using namespace tavrel::store;

// Answers every question No: the pictures need the data, not the follow-up windows.
class DecliningPrompter final : public Prompter {
 public:
  void show(MessageKind, std::string_view text) override { std::cerr << "message: " << text << '\n'; }
  bool ask(MessageKind, std::string_view) override { return false; }
  void beep() override {}
};

void editDetails(Session& session, const std::string& name, const std::string& remark, int days,
                 std::array<bool, 11> recess) {
  setup::DetailsBaseline baseline = setup::detailsBaseline(*session.school());
  setup::SchoolDetails details{name, remark, std::to_string(days), recess};
  setup::leaveDetails(session, details, baseline);
}

int write(const std::filesystem::path& home) {
  auto opened = Store::open(ProgramFolders{home}, DataSet::Live);
  if (!opened) {
    std::cerr << opened.error() << '\n';
    return 1;
  }
  Store& store = **opened;
  if (store.table<TSchl>().count(TSchl::primary) > 0) return 0;  // written before
  DecliningPrompter prompter;
  Session session(store, prompter);

  setup::setInstitutionName(store, "Greenfield Education Trust");

  setup::createSchool(session);
  editDetails(session, "Greenfield Primary", "Morning shift", 5, {false, false, true, false, false, true});
  setup::createSchool(session);
  editDetails(session, "Greenfield Secondary", "Science stream", 6, {false, false, false, true});
  setup::changeWeekSetup(session, "GULF");
  const int secondary = session.schoolCode();
  setup::createSchool(session);
  editDetails(session, "North Campus", "", 9, {});

  Transaction tx(store);
  for (int code = 1; code <= 2; ++code) {
    TClas cls;
    cls.CSCHOOL = secondary;
    cls.CLSCODE = code;
    cls.CLSNAME = code == 1 ? "10A" : "10B";
    store.table<TClas>().insert(cls);
    TTeac resource;
    resource.TSCHOOL = secondary;
    resource.TCHCODE = code;
    resource.TCHNAME = code == 1 ? "MS OSEI" : "MR LINDQVIST";
    store.table<TTeac>().insert(resource);
  }
  TAlloc indent;
  indent.ASCHOOL = secondary;
  indent.ASERIALNO = 1;
  indent.ACLASS = 1;
  indent.ATEACHER = 1;
  indent.AACTIVE = "N";
  store.table<TAlloc>().insert(indent);
  tx.commit();
  session.setSchool(secondary);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], "--home") != 0) {
    std::cerr << "usage: tavrel_screens_data --home DIR\n";
    return 2;
  }
  return write(std::filesystem::absolute(argv[2]));
}
