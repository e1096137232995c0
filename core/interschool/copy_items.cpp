#include "core/interschool/copy_items.h"

#include <array>

#include "core/store/lookups.h"

namespace tavrel::interschool {

using namespace store;

namespace {

constexpr int kNotAvailable = 0;
constexpr int kFree = 999;

bool allocated(int subject) {
  return subject != kNotAvailable && subject != kFree;
}

const char* typeOf(ItemKind kind) {
  return kind == ItemKind::Class ? "C" : "T";
}

// The source item as the copy needs it.
struct SourceItem {
  int code = 0;
  std::string name;
  int available = 0;
  std::string partTime = "N";
  int perDay = 0, perWeek = 0, sequence = 0;
};

std::optional<SourceItem> sourceItem(Store& store, int school, ItemKind kind, int code) {
  if (kind == ItemKind::Class) {
    auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code});
    if (!row) return std::nullopt;
    return SourceItem{row->CLSCODE, row->CLSNAME, row->CLSTOTLEC};
  }
  auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code});
  if (!row) return std::nullopt;
  return SourceItem{row->TCHCODE, row->TCHNAME,   row->TCHTOTLEC, row->TPARTTIME,
                    row->TMAXLEC, row->TMAXLECWK, row->TMAXCON};
}

bool nameTaken(Store& store, int school, ItemKind kind, const std::string& name) {
  return kind == ItemKind::Class ? store.table<TClas>().find(TClas::primary, {school, name}).has_value()
                                 : store.table<TTeac>().find(TTeac::primary, {school, name}).has_value();
}

// The availability of each cell of the copy, and how many cells the allocated-period rule closed.
struct CopiedCells {
  std::array<bool, 108> available{};
  int closedAllocations = 0;
};

// The subjects of an owner's 108 cells by slot; a missing row reads as not available.
std::array<int, 108> subjectsBySlot(const std::vector<TTtbl>& rows) {
  std::array<int, 108> subjects{};
  for (const TTtbl& row : rows) {
    if (row.TDAY >= 1 && row.TDAY <= 9 && row.TLECTNO >= 1 && row.TLECTNO <= 12) {
      subjects[static_cast<std::size_t>((row.TDAY - 1) * 12 + row.TLECTNO - 1)] = row.TSUBJECT;
    }
  }
  return subjects;
}

CopiedCells copiedCells(Store& store, const CopyRequest& request, int sourceCode, int destination) {
  auto& timetable = store.table<TTtbl>();
  const int ownIndex = request.kind == ItemKind::Class ? TTtbl::TIMECLAS : TTtbl::TIMETEAC;
  const auto from =
      subjectsBySlot(timetable.range(ownIndex, {request.sourceSchool, typeOf(request.kind), sourceCode}));
  const auto school = subjectsBySlot(timetable.range(TTtbl::TIMESCHL, {destination, "L", destination}));
  CopiedCells cells;
  for (std::size_t slot = 0; slot < 108; ++slot) {
    const bool taken = allocated(from[slot]);
    // With its own availability copied the item may be open where the school is not.
    const bool open =
        request.copyAvailability ? (taken || from[slot] == kFree) : school[slot] != kNotAvailable;
    const bool closedByRule = open && taken && !request.allocatedAvailable;
    cells.available[slot] = open && !closedByRule;
    if (closedByRule) ++cells.closedAllocations;
  }
  return cells;
}

// Writes the 108 rows of the new code. Rows a school already holds for a code nobody uses (an
// interrupted multiple creation) are taken over, so the new item never lacks a row.
void writeRows(Store& store, Progress& progress, ItemKind kind, int destination, int code,
               const CopiedCells& cells) {
  auto& timetable = store.table<TTtbl>();
  const char* type = typeOf(kind);
  for (int day = 1; day <= 9; ++day) {
    for (int period = 1; period <= 12; ++period) {
      const int value =
          cells.available[static_cast<std::size_t>((day - 1) * 12 + period - 1)] ? kFree : kNotAvailable;
      TTtbl row;
      if (auto existing = timetable.find(TTtbl::TIMESCHL, {destination, type, code, day, period}))
        row = *existing;
      row.TSCHOOL = destination;
      row.TTYPE = type;
      row.TSCHL = code;
      row.TDAY = day;
      row.TLECTNO = period;
      row.TSUBJECT = value;
      if (kind == ItemKind::Class) {
        row.TCLASS = code;
        row.TTEACHER = value;
      } else {
        row.TTEACHER = code;
        row.TCLASS = value;
      }
      row.TSTARTLECT = row.TENDLECT = row.TSTARTDAY = row.TENDDAY = 0;
      row.TCLUSTOT = row.TCLUSLECNO = row.TSERIAL = 0;
      if (row.rowid) {
        timetable.update(row);
      } else {
        timetable.insert(row);
      }
    }
    progress.step(12);
  }
}

bool copyOne(Session& session, Progress& progress, const CopyRequest& request, int destination,
             const SourceItem& item) {
  Store& store = session.store();
  Prompter& prompter = session.prompter();
  TSchl school = *store.table<TSchl>().find(TSchl::SCLCODE, {destination});
  if (nameTaken(store, destination, request.kind, item.name)) {
    prompter.info(item.name + " already exists in " + school.SNAME + ". No copy done. " +
                  "Skipping to next, if any.");
    progress.step(108);
    return false;
  }
  if (setup::itemCount(store, destination, request.kind) >= setup::kMostItems) {
    prompter.error(request.kind == ItemKind::Class
                       ? "Upper limit of 999 classes exceeded.Cannot accept this new class."
                       : "Upper limit of 999 resources exceeded.Cannot accept this new resource.");
    progress.step(108);
    return false;
  }
  const CopiedCells cells = copiedCells(store, request, item.code, destination);
  const int available =
      (request.copyAvailability ? item.available : school.STOTLEC) - cells.closedAllocations;
  if (request.kind == ItemKind::Class) {
    const int code = setup::nextItemCode(school.STOTCLS);
    TClas row;
    row.CSCHOOL = destination;
    row.CLSCODE = code;
    row.CLSNAME = item.name;
    row.CLSOPTION = "N";
    row.CLSTOTLEC = available;
    store.table<TClas>().insert(row);
    school.STOTCLS = code;
    writeRows(store, progress, request.kind, destination, code, cells);
  } else {
    const int code = setup::nextItemCode(school.STOTTCH);
    const TInst defaults = store.institution();
    TTeac row;
    row.TSCHOOL = destination;
    row.TCHCODE = code;
    row.TCHNAME = item.name;
    row.TCHOPTION = "N";
    row.TPARTTIME = item.partTime;
    row.TCHTOTLEC = available;
    row.TMAXLEC = request.copyAvailability ? item.perDay : defaults.IDTUL_DAY;
    row.TMAXLECWK = request.copyAvailability ? item.perWeek : defaults.IDTUL_WEEK;
    row.TMAXCON = request.copyAvailability ? item.sequence : defaults.IDTSQUL;
    store.table<TTeac>().insert(row);
    school.STOTTCH = code;
    writeRows(store, progress, request.kind, destination, code, cells);
  }
  store.table<TSchl>().update(school);
  return true;
}

}  // namespace

bool chooseSource(Session& session, std::optional<ItemKind> kind, std::optional<int> sourceSchool) {
  if (!kind || !sourceSchool || !session.setSchool(*sourceSchool)) {
    session.prompter().error("Selection incomplete.");
    return false;
  }
  if (setup::itemCount(session.store(), *sourceSchool, *kind) == 0) {
    session.prompter().error(
        std::string(*kind == ItemKind::Class ? "No Class exists for " : "No Resource exists for ") +
        session.school()->SNAME + ".");
    return false;
  }
  return true;
}

std::vector<NamedCode> destinationChoices(Store& store, int sourceSchool) {
  std::vector<NamedCode> schools;
  for (const TSchl& school : store.table<TSchl>().range(TSchl::primary)) {
    if (school.SCHOOLCODE != sourceSchool) schools.push_back({school.SCHOOLCODE, school.SNAME});
  }
  return schools;
}

bool checkDestinations(Session& session, std::size_t ticked) {
  if (ticked > 0) return true;
  session.prompter().error("Selection incomplete. Tag at least one school.");
  return false;
}

std::vector<NamedCode> copyableItems(Store& store, int sourceSchool, ItemKind kind) {
  std::vector<NamedCode> items;
  if (kind == ItemKind::Class) {
    for (const TClas& row : store.table<TClas>().range(TClas::primary, {sourceSchool})) {
      if (row.CLSOPTION != "Y") items.push_back({row.CLSCODE, row.CLSNAME});
    }
  } else {
    for (const TTeac& row : store.table<TTeac>().range(TTeac::primary, {sourceSchool})) {
      if (row.TCHOPTION != "Y") items.push_back({row.TCHCODE, row.TCHNAME});
    }
  }
  return items;
}

std::optional<CopyOutcome> copyItems(Session& session, Progress& progress, const CopyRequest& request) {
  if (request.items.empty()) {
    session.prompter().error("Selection incomplete. Tag at least one item.");
    return std::nullopt;
  }
  Store& store = session.store();
  session.setSchool(request.sourceSchool);
  progress.show("Copying...", static_cast<int>(request.destinations.size() * request.items.size() * 108));
  CopyOutcome outcome;
  Transaction tx(store);
  for (int destination : request.destinations) {
    for (int code : request.items) {
      auto item = sourceItem(store, request.sourceSchool, request.kind, code);
      if (!item) continue;
      if (copyOne(session, progress, request, destination, *item)) {
        ++outcome.copied;
      } else {
        ++outcome.skipped;
      }
    }
  }
  tx.commit();
  progress.hide();
  session.flush(request.kind == ItemKind::Class ? kFlushClasses : kFlushResources);
  session.flush(kFlushTimetable);
  session.flush(kFlushSchools);
  return outcome;
}

}  // namespace tavrel::interschool
