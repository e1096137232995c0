#include "core/shell/application.h"

#include <regex>
#include <system_error>

#include "core/shell/file_copy.h"
#include "core/shell/sample_data_set.h"
#include "core/shell/upgrade.h"

namespace tavrel::shell {

namespace fs = std::filesystem;
using namespace store;

namespace {

// Index and other companion files that older versions kept beside a table file: "tvrl_8.PX",
// "tvrl_8.XG0" and the like. Only those are removed; a file of the person's own in the data
// folder is never touched.
void removeStaleCompanionFiles(const fs::path& folder) {
  static const std::regex companion(R"(tvrl_\d+\..*)");
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file()) continue;
    std::string name = entry.path().filename().string();
    if (!std::regex_match(name, companion)) continue;
    bool table = name.find(".db") != std::string::npos || name.find(".DB") != std::string::npos ||
                 name.find(".mb") != std::string::npos || name.find(".MB") != std::string::npos;
    if (!table) fs::remove(entry.path(), ec);
  }
}

}  // namespace

Application::Application(ProgramFolders folders, Ports ports) : folders_(std::move(folders)), ports_(ports) {}

Application::~Application() {
  release();
}

Status Application::start() {
  dataSet_ = DataSet::Live;
  makeMissingSample();
  std::error_code ec;
  if (fs::is_directory(folders_.live(), ec)) removeStaleCompanionFiles(folders_.live());
  Status opened = create();
  if (!opened) return opened;
  store_->rebuildIndexes();
  session_->selectFirstSchool();
  return {};
}

void Application::makeMissingSample() {
  if (sampleSources_.empty()) return;
  auto made = createMissingSampleDataSet(folders_, sampleSources_, ports_.progress);
  ports_.progress.hide();
  // The program works without its sample; the person is told why it is missing.
  if (!made) ports_.prompter.warning("The sample data set could not be made. " + made.error());
}

void Application::release() {
  if (releaseHandler_) releaseHandler_();
  if (session_) rememberedSchool_ = session_->schoolCode();
  session_.reset();
  store_.reset();
}

Status Application::create() {
  if (store_) return {};
  auto opened = Store::open(folders_, dataSet_);
  if (!opened) return Error{opened.error()};
  store_ = std::move(opened.value());
  session_ = std::make_unique<Session>(*store_, ports_.prompter);
  // The school the person was working on stays current across the reopening.
  if (rememberedSchool_ == 0 || !session_->setSchool(rememberedSchool_)) session_->selectFirstSchool();
  return {};
}

Status Application::rotateBackups() {
  release();
  Status result;
  const std::pair<fs::path, fs::path> steps[] = {{folders_.backupCurrent(), folders_.backupPrevious()},
                                                 {folders_.live(), folders_.backupCurrent()}};
  for (const auto& [source, target] : steps) {
    std::error_code ec;
    fs::create_directories(source, ec);
    fs::create_directories(target, ec);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(source, ec)) files += entry.is_regular_file() ? 1 : 0;
    ports_.progress.show("Backup from:\n" + source.string() + "\nBackup to:\n" + target.string(), files);
    result = copyFolderFiles(source, target, {true, [this](const std::string&) { ports_.progress.step(); }});
    if (!result) break;
  }
  // A failed copy is reported, but the program never stays without its tables.
  Status reopened = create();
  if (!result) return result;
  return reopened;
}

void Application::repairSchools(bool upgrade) {
  Session& session = *session_;
  int current = session.schoolCode();
  std::vector<std::string> failures;
  bool upgraded = false;
  Transaction tx(*store_);
  for (const TSchl& school : store_->table<TSchl>().range(TSchl::primary)) {
    session.setSchool(school.SCHOOLCODE);
    session.ChkBug();
    const auto key = std::make_pair(dataSet_, school.SCHOOLCODE);
    if (upgrade && !failedUpgrades_.count(key)) {
      UpgradeOutcome outcome = ChkUpgrade(session, ports_.progress);
      if (outcome.result == UpgradeResult::Failed) {
        failedUpgrades_.insert(key);
        failures.push_back(outcome.message);
      }
      upgraded = upgraded || outcome.result == UpgradeResult::Upgraded;
    }
    if (auto record = session.school(); record && record->SSAVEDONE == "Y") {
      record->SSAVEDONE = "R";
      store_->table<TSchl>().update(*record);
    }
  }
  tx.commit();
  if (current == 0 || !session.setSchool(current)) session.selectFirstSchool();
  for (const std::string& message : failures) ports_.prompter.info(message);
  if (upgraded && dataSet_ == DataSet::Live) {
    ports_.prompter.info(
        "It is a good idea to reselect your School Availability Week Setup in the Institution View after a "
        "successful Data upgrade to the latest version. This will speed up timetable allocation.");
  }
}

Status Application::activate() {
  ports_.progress.show("Backing up Data...", 0);
  Status status;
  if (!backupsRotated_) {
    status = rotateBackups();
    backupsRotated_ = true;
  }
  if (!store_) {
    Status opened = create();
    if (!opened) {
      ports_.progress.hide();
      return opened;
    }
  }
  repairSchools(true);
  session_->flush(kFlushSchools);
  ports_.progress.hide();
  return status;
}

Status Application::loadDataSet(DataSet dataSet) {
  ports_.progress.show(dataSet == DataSet::Sample ? "Loading Sample..." : "Loading Live...", 20);
  release();
  DataSet previous = dataSet_;
  dataSet_ = dataSet;
  rememberedSchool_ = 0;  // a switch starts on the first school of the other data set
  Status opened = create();
  if (!opened) {
    dataSet_ = previous;
    Status back = create();
    ports_.progress.hide();
    return back ? opened : back;
  }
  repairSchools(dataSet == DataSet::Sample);
  session_->selectFirstSchool();
  session_->flush(kFlushSchools);
  backupsRotated_ = false;
  ports_.progress.hide();
  return {};
}

bool Application::rsumechk() {
  auto school = session_->school();
  if (!school || school->SSAVEDONE != "R") return false;
  if (ports_.prompter.ask(
          MessageKind::Warning,
          school->SNAME + " : This is your last chance to resume the interrupted timetable allocation job. "
                          "Select Yes to resume.")) {
    return true;
  }
  if (school->SSAVEPOS == "C" || school->SSAVEPOS == "T") {
    ports_.prompter.info(school->SNAME + " : Data needs restoration.  Proceeding to restore it.");
    TblInit();
  }
  Transaction tx(*store_);
  if (auto record = session_->school()) {
    record->SSAVEDONE = "N";
    store_->table<TSchl>().update(*record);
  }
  tx.commit();
  session_->flush(kFlushSchools);
  session_->selectFirstSchool();
  return false;
}

void Application::TblInit() {
  const int school = session_->schoolCode();
  Progress& progress = ports_.progress;
  progress.show("Restoring Data...", 0);
  Transaction tx(*store_);
  auto resetAll = [&](auto& table, int index, auto reset) {
    auto rows = table.range(index, {school});
    progress.show("Restoring Data...", static_cast<int>(rows.size()));
    for (auto& row : rows) {
      reset(row);
      table.update(row);
      progress.step();
    }
  };
  resetAll(store_->table<TTDMAll>(), TTDMAll::primary, [](TTDMAll& r) { r.TDAALLOC = 0; });
  resetAll(store_->table<TTDAll>(), TTDAll::primary, [](TTDAll& r) { r.TDALLOC = 0; });
  resetAll(store_->table<TSDAll>(), TSDAll::primary, [](TSDAll& r) { r.SDALLOC = 0; });
  resetAll(store_->table<TAlloc>(), TAlloc::primary, [](TAlloc& r) { r.ANOLECALL = 0; });
  resetAll(store_->table<TClas>(), TClas::primary, [](TClas& r) { r.CLSTOTALL = r.CLSMLTALL = 0; });
  resetAll(store_->table<TTeac>(), TTeac::primary, [](TTeac& r) { r.TALLOCLEC = r.TCHMLTALL = 0; });
  resetAll(store_->table<TSctl>(), TSctl::primary, [](TSctl& r) { r.SCTTOTALL = 0; });
  auto freeCell = [](TTtbl& cell) {
    if (cell.TSUBJECT >= 1) {
      cell.TSUBJECT = 999;
      if (cell.TTYPE == "C") cell.TTEACHER = 999;
      if (cell.TTYPE == "T") cell.TCLASS = 999;
    }
    cell.TSERIAL = cell.TCLUSTOT = cell.TCLUSLECNO = 0;
  };
  auto& cells = store_->table<TTtbl>();
  for (const char* kind : {"C", "T"}) {
    auto rows = cells.range(kind[0] == 'C' ? TTtbl::TIMECLAS : TTtbl::TIMETEAC, {school, kind});
    progress.show("Restoring Data...", static_cast<int>(rows.size() / 108) + 1);
    int n = 0;
    for (auto& cell : rows) {
      TTtbl before = cell;
      freeCell(cell);
      if (!(before == cell)) cells.update(cell);
      if (++n % 108 == 0) progress.step();
    }
  }
  tx.commit();
  for (int code : {kFlushClasses, kFlushResources, kFlushIndents, kFlushTimetable, kFlushSchools,
                   kFlushSubjectDays, kFlushResourceDays, kFlushSchoolSubjects, kFlushResourceDayTotals}) {
    session_->flush(code);
  }
  progress.hide();
}

void Application::openSchool(int schoolCode) {
  if (!session_->setSchool(schoolCode)) return;
  ports_.prompter.info("School: " + session_->school()->SNAME + " is active.");
}

std::string mainWindowCaption(Application& application) {
  std::string set = application.dataSet() == DataSet::Live ? "(Live)" : "(Sample)";
  if (!application.isOpen()) return " - Main Menu " + set;
  auto school = application.session().school();
  if (!school) return application.store().institution().INSTITUTION + " - Main Menu " + set;
  return school->SNAME + " - Main Menu " + set;
}

std::string statusBarText(DataSet dataSet) {
  if (dataSet == DataSet::Live) {
    return "This is Live section. Use Sample section to view or create test data. Select File->Load Sample "
           "for "
           "this. Press F1 for help.";
  }
  return "This is Sample section. Use Live section for actual timetable scheduling. Select File->Load Live "
         "for "
         "this.  Press F1 for help.";
}

}  // namespace tavrel::shell
