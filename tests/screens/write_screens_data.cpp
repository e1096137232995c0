// Writes a small institution into a program folder so that the pictures of the windows show
// what a person sees once they have started: three schools with their details, one of them with
// classes, resources and lessons allocated, and a class in the school of a five-day week. Everything
// is made through the same core routines as the windows use.
//
//   tavrel_screens_data --home DIR
#include <cstring>
#include <filesystem>
#include <iostream>

#include "core/engine/allocation_run.h"
#include "core/indents/activation.h"
#include "core/indents/indent_creation.h"
#include "core/ports/clock.h"
#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/setup/items.h"
#include "core/setup/schools.h"
#include "core/setup/subjects.h"
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

int addItem(Session& session, Progress& progress, setup::ItemKind kind, const std::string& name) {
  setup::ItemForm form = setup::newItemForm(session.store(), session.schoolCode(), kind);
  form.name = name;
  bool cancelled = false;
  return setup::saveNewItem(session, progress, kind, form, cancelled).value_or(0);
}

// An indent made, activated and allocated the way the indent window does it, with a fixed seed so
// that the pictures stay the same from run to run.
void allocateIndent(Session& session, Progress& progress, int cls, int resource, int subject, int periods,
                    int clusterOf) {
  const auto kind = clusterOf >= 2 ? indents::IndentKind::Cluster : indents::IndentKind::Regular;
  const int serial = indents::AppndTAlloc(session, {'C', cls}, kind, {}, std::nullopt);
  auto indent = session.store().table<TAlloc>().find(TAlloc::primary, {session.schoolCode(), serial});
  if (!indent) return;
  indent->ATEACHER = resource;
  indent->ASUBJECT = subject;
  if (clusterOf >= 2) {
    indent->AINCLUSOF = clusterOf;
    indent->ACLUSWEEK = periods / clusterOf;
  } else {
    indent->ANOOFLEC = periods;
  }
  indents::RecPost(session, *indent);
  if (!indents::MakeActv(session, serial, indents::Interaction::Silent).activated) return;
  SystemClock clock;
  engine::allocateIndent(session, engine::EnginePorts{session.prompter(), progress, clock}, serial,
                         {.seed = 7u + static_cast<unsigned>(serial)});
}

// The secondary school's week: two classes and three resources with some lessons, and a part-time
// resource, for the pictures of the availability window.
void writeSecondaryTimetable(Session& session, Progress& progress) {
  setup::makeMissingAvailabilityRows(session, progress);
  const int c10a = addItem(session, progress, setup::ItemKind::Class, "10A");
  const int c10b = addItem(session, progress, setup::ItemKind::Class, "10B");
  const int osei = addItem(session, progress, setup::ItemKind::Resource, "MS OSEI");
  const int lindqvist = addItem(session, progress, setup::ItemKind::Resource, "MR LINDQVIST");
  const int haddad = addItem(session, progress, setup::ItemKind::Resource, "DR HADDAD");
  const int maths = setup::createSubject(session, "Mathematics", "").value_or(0);
  const int physics = setup::createSubject(session, "Physics", "").value_or(0);
  const int english = setup::createSubject(session, "English", "").value_or(0);
  const int history = setup::createSubject(session, "History", "").value_or(0);
  allocateIndent(session, progress, c10a, osei, maths, 6, 0);
  allocateIndent(session, progress, c10a, haddad, physics, 4, 2);
  allocateIndent(session, progress, c10a, lindqvist, english, 5, 0);
  allocateIndent(session, progress, c10b, osei, maths, 5, 0);
  allocateIndent(session, progress, c10b, lindqvist, history, 3, 0);
  allocateIndent(session, progress, c10b, haddad, physics, 3, 3);
  // A passive indent waits in the indent window.
  indents::AppndTAlloc(session, {'C', c10b}, indents::IndentKind::Regular, {}, std::nullopt);
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
  const int primary = session.schoolCode();
  setup::createSchool(session);
  editDetails(session, "Greenfield Secondary", "Science stream", 6, {false, false, false, true});
  setup::changeWeekSetup(session, "GULF");
  const int secondary = session.schoolCode();
  setup::createSchool(session);
  editDetails(session, "North Campus", "", 9, {});

  session.setSchool(secondary);
  SilentProgress progress;
  writeSecondaryTimetable(session, progress);
  session.setSchool(primary);
  addItem(session, progress, setup::ItemKind::Class, "P1 BLUE");
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
