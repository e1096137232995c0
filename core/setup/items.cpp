#include "core/setup/items.h"

#include <algorithm>

#include "core/setup/schools.h"
#include "core/store/item_cascade.h"
#include "core/store/limit_messages.h"
#include "core/store/timetable_rows.h"
#include "core/store/week_frame.h"
#include "core/util/text.h"

namespace tavrel::setup {

using namespace store;

namespace {

constexpr int kNameWidth = 25;
constexpr int kFreeMarker = 999;

// The words of the messages, by kind.
struct Words {
  const char* lower;    // "class"
  const char* plural;   // "classes"
  const char* capital;  // "Class"
  const char* prefix;   // "CLASS"
  char view;            // 'C'
};

const Words& words(ItemKind kind) {
  static const Words classWords{"class", "classes", "Class", "CLASS", 'C'};
  static const Words resourceWords{"resource", "resources", "Resource", "RESOURCE", 'T'};
  return kind == ItemKind::Class ? classWords : resourceWords;
}

// The name and code of an item of either kind, read from its record.
struct Item {
  int code = 0;
  std::string name;
  bool group = false;
};

std::optional<Item> itemByName(Store& store, int school, ItemKind kind, const std::string& name) {
  const std::string key = text::cutToWidth(name, kNameWidth);
  if (kind == ItemKind::Class) {
    auto row = store.table<TClas>().find(TClas::primary, {school, key});
    if (row) return Item{row->CLSCODE, row->CLSNAME, row->CLSOPTION == "Y"};
  } else {
    auto row = store.table<TTeac>().find(TTeac::primary, {school, key});
    if (row) return Item{row->TCHCODE, row->TCHNAME, row->TCHOPTION == "Y"};
  }
  return std::nullopt;
}

std::vector<Item> itemsInNameOrder(Store& store, int school, ItemKind kind) {
  std::vector<Item> items;
  if (kind == ItemKind::Class) {
    for (const TClas& row : store.table<TClas>().range(TClas::primary, {school})) {
      items.push_back({row.CLSCODE, row.CLSNAME, row.CLSOPTION == "Y"});
    }
  } else {
    for (const TTeac& row : store.table<TTeac>().range(TTeac::primary, {school})) {
      items.push_back({row.TCHCODE, row.TCHNAME, row.TCHOPTION == "Y"});
    }
  }
  return items;
}

int highestIssued(const TSchl& school, ItemKind kind) {
  return kind == ItemKind::Class ? school.STOTCLS : school.STOTTCH;
}

bool hasRows(Store& store, int school, ItemKind kind, int code) {
  if (kind == ItemKind::Class) return store.table<TTtbl>().count(TTtbl::TIMECLAS, {school, "C", code}) > 0;
  return store.table<TTtbl>().count(TTtbl::TIMETEAC, {school, "T", code}) > 0;
}

// Runs `TTAppnd` in the item's view for `count` codes after `after`.
bool appendRows(Session& session, Progress& progress, ItemKind kind, int after, int count) {
  if (count <= 0) return true;
  const char view = session.viewKind;
  session.viewKind = words(kind).view;
  bool made = TTAppnd(session, progress, after, count);
  session.viewKind = view;
  return made;
}

std::optional<int> parseLimit(const std::string& text) {
  if (text.empty() || text.size() > 4 || !std::all_of(text.begin(), text.end(), ::isdigit))
    return std::nullopt;
  return std::stoi(text);
}

// Appends the item's record with the next code, the school's available count and zero counters,
// and raises the school's serial. Nothing when the record is refused (its code or name is taken).
std::optional<int> appendItem(Session& session, ItemKind kind, const ItemForm& form) {
  Store& store = session.store();
  TSchl school = *session.school();
  const int code = nextItemCode(highestIssued(school, kind));
  const std::string option = form.group ? "Y" : "N";
  if (kind == ItemKind::Class) {
    TClas row;
    row.CSCHOOL = school.SCHOOLCODE;
    row.CLSCODE = code;
    row.CLSNAME = upperCase(form.name);
    row.CLSOPTION = option;
    row.CLSTOTLEC = school.STOTLEC;
    row.CLSNOTES = form.notes;
    if (store.table<TClas>().insert(row) != WriteStatus::Ok) return std::nullopt;
    school.STOTCLS = code;
  } else {
    TInst defaults = store.institution();
    TTeac row;
    row.TSCHOOL = school.SCHOOLCODE;
    row.TCHCODE = code;
    row.TCHNAME = upperCase(form.name);
    row.TCHOPTION = option;
    row.TCHTOTLEC = school.STOTLEC;
    row.TCHNOTES = form.notes;
    row.TMAXLEC = parseLimit(form.perDay).value_or(defaults.IDTUL_DAY);
    row.TMAXLECWK = parseLimit(form.perWeek).value_or(defaults.IDTUL_WEEK);
    row.TMAXCON = parseLimit(form.sequence).value_or(defaults.IDTSQUL);
    row.TPARTTIME = form.partTime ? "Y" : "N";
    if (store.table<TTeac>().insert(row) != WriteStatus::Ok) return std::nullopt;
    school.STOTTCH = code;
  }
  store.table<TSchl>().update(school);
  return code;
}

void insertMembers(Store& store, int school, ItemKind kind, int group, const std::set<int>& members) {
  const char* type = kind == ItemKind::Class ? "C" : "T";
  if (store.table<TOptn>().count(TOptn::primary, {school, type, group}) > 0) return;
  for (int member : members) {
    TOptn row;
    row.OPSCHOOL = school;
    row.OPTYPE = type;
    row.OPMAINCODE = group;
    row.OPSUBCODE = member;
    store.table<TOptn>().insert(row);
  }
}

std::set<int> currentMembers(Store& store, int school, ItemKind kind, int group) {
  std::set<int> members;
  for (const TOptn& row :
       store.table<TOptn>().range(TOptn::primary, {school, kind == ItemKind::Class ? "C" : "T", group})) {
    members.insert(row.OPSUBCODE);
  }
  return members;
}

bool nameRefused(Session& session, ItemKind kind, const ItemForm& form, std::optional<int> editedCode) {
  const Words& w = words(kind);
  if (upperCase(form.name).empty()) {
    session.prompter().error(std::string("Empty ") + w.capital + " name. Restoring old name.");
    return true;
  }
  auto other = itemByName(session.store(), session.schoolCode(), kind, upperCase(form.name));
  if (other && (!editedCode || other->code != *editedCode)) {
    session.prompter().error(std::string("Duplicate ") + w.capital + " name.");
    return true;
  }
  return false;
}

bool membersMissing(Session& session, const ItemForm& form) {
  if (form.group && form.members.empty()) {
    session.prompter().error(
        "No group items tagged in the checked list box.Click on the box preceding the name to tag an item.");
    return true;
  }
  return false;
}

}  // namespace

int nextItemCode(int highestIssued) {
  int code = highestIssued + 1;
  return code == kFreeMarker ? code + 1 : code;
}

std::string defaultItemName(Store& store, int school, ItemKind kind, bool unique) {
  TSchl record = *store.table<TSchl>().find(TSchl::SCLCODE, {school});
  std::string name = words(kind).prefix + std::to_string(nextItemCode(highestIssued(record, kind)));
  while (unique && itemByName(store, school, kind, name)) name += "+";
  return name;
}

int itemCount(Store& store, int school, ItemKind kind) {
  return kind == ItemKind::Class ? store.table<TClas>().count(TClas::primary, {school})
                                 : store.table<TTeac>().count(TTeac::primary, {school});
}

bool prepareItemRows(Session& session, Progress& progress, ItemKind kind, int count) {
  // The new codes run on from the highest issued, stepping over 999: rows are made per run of
  // consecutive codes.
  int code = highestIssued(*session.school(), kind);
  int runStart = 0;
  int runLength = 0;
  for (int i = 0; i < count; ++i) {
    int next = nextItemCode(code);
    if (runLength > 0 && next != code + 1) {
      if (!appendRows(session, progress, kind, runStart - 1, runLength)) return false;
      runLength = 0;
    }
    if (runLength == 0) runStart = next;
    ++runLength;
    code = next;
  }
  return appendRows(session, progress, kind, runStart - 1, runLength);
}

std::optional<int> createItemFromSchoolView(Session& session, Progress& progress, ItemKind kind) {
  Store& store = session.store();
  const Words& w = words(kind);
  const int school = session.schoolCode();
  if (itemCount(store, school, kind) >= kMostItems) {
    session.prompter().error(std::string("Upper limit of 999 ") + w.plural +
                             " exceeded.Cannot accept this new " + w.lower + ".");
    return std::nullopt;
  }
  const int code = nextItemCode(highestIssued(*session.school(), kind));
  if (!hasRows(store, school, kind, code) && !prepareItemRows(session, progress, kind, 1))
    return std::nullopt;
  Transaction tx(store);
  ItemForm form;
  form.name = defaultItemName(store, school, kind, true);
  auto created = appendItem(session, kind, form);
  if (!created) return std::nullopt;
  tx.commit();
  session.flush(kind == ItemKind::Class ? kFlushClasses : kFlushResources);
  session.flush(kFlushSchools);
  return created;
}

namespace {
bool multipleRefused(Session& session, int existing, int count, const char* grid, const char* plural) {
  if (existing + count <= kMostItems) return false;
  session.prompter().error(std::string("Total ") + plural + " in the " + grid +
                           " grid exceed the upper limit of 999 by " +
                           std::to_string(existing + count - kMostItems) + ". " + "Multi creation of " +
                           std::to_string(count) + " " + plural + " " + "discontinued.");
  return true;
}
}  // namespace

bool startMultipleCreation(Session& session, Progress& progress, ItemKind kind, int count) {
  const Words& w = words(kind);
  if (multipleRefused(session, itemCount(session.store(), session.schoolCode(), kind), count, w.capital,
                      w.plural)) {
    return false;
  }
  return prepareItemRows(session, progress, kind, count);
}

bool checkMultipleSubjects(Session& session, int count) {
  return !multipleRefused(session, session.store().table<TSubj>().count(TSubj::primary), count, "Subject",
                          "subjects");
}

bool renameItem(Session& session, ItemKind kind, int code, const std::string& name) {
  Store& store = session.store();
  const Words& w = words(kind);
  const std::string upper = upperCase(name);
  if (upper.empty()) {
    session.prompter().error(std::string(w.capital) + " name empty. Restoring old name.");
    return false;
  }
  auto other = itemByName(store, session.schoolCode(), kind, upper);
  if (other && other->code != code) {
    session.prompter().error(std::string("Duplicate ") + w.lower + " name: " + upper);
    return false;
  }
  Transaction tx(store);
  if (kind == ItemKind::Class) {
    auto row = store.table<TClas>().find(TClas::CLASCODE, {session.schoolCode(), code});
    if (!row) return false;
    row->CLSNAME = upper;
    store.table<TClas>().update(*row);
  } else {
    auto row = store.table<TTeac>().find(TTeac::TEACCODE, {session.schoolCode(), code});
    if (!row) return false;
    row->TCHNAME = upper;
    store.table<TTeac>().update(*row);
  }
  tx.commit();
  session.flush(kind == ItemKind::Class ? kFlushClasses : kFlushResources);
  return true;
}

Status numberDialogKey(char key) {
  if ((key >= '0' && key <= '9') || key == '\b' || key == '\r' || key == '\n') return {};
  return Error{"\"" + std::string(1, key) + "\" is not a valid number. Permissible range is 0 to 9."};
}

Result<int> parseItemCount(const std::string& text) {
  if (text.empty()) return Error{"Empty is not a valid value for number. Enter a number."};
  for (char c : text) {
    if (c < '0' || c > '9')
      return Error{numberDialogKey(c).ok() ? "Enter a number." : numberDialogKey(c).error()};
  }
  int count = std::stoi(text.substr(0, 4));
  if (count == 0)
    return Error{"\"" + text + "\" is not a valid value for number. Enter a number greater than 0."};
  return count;
}

ItemForm newItemForm(Store& store, int school, ItemKind kind) {
  ItemForm form;
  form.name = defaultItemName(store, school, kind, false);
  if (kind == ItemKind::Resource) {
    TInst defaults = store.institution();
    form.perDay = std::to_string(defaults.IDTUL_DAY);
    form.perWeek = std::to_string(defaults.IDTUL_WEEK);
    form.sequence = std::to_string(defaults.IDTSQUL);
  }
  return form;
}

std::optional<ItemForm> itemForm(Store& store, int school, ItemKind kind, int code) {
  ItemForm form;
  if (kind == ItemKind::Class) {
    auto row = store.table<TClas>().find(TClas::CLASCODE, {school, code});
    if (!row) return std::nullopt;
    form.name = row->CLSNAME;
    form.notes = row->CLSNOTES;
    form.group = row->CLSOPTION == "Y";
  } else {
    auto row = store.table<TTeac>().find(TTeac::TEACCODE, {school, code});
    if (!row) return std::nullopt;
    form.name = row->TCHNAME;
    form.notes = row->TCHNOTES;
    form.group = row->TCHOPTION == "Y";
    form.perDay = std::to_string(row->TMAXLEC);
    form.perWeek = std::to_string(row->TMAXLECWK);
    form.sequence = std::to_string(row->TMAXCON);
    form.partTime = row->TPARTTIME == "Y";
  }
  if (form.group) form.members = currentMembers(store, school, kind, code);
  return form;
}

std::vector<GroupCandidate> groupCandidates(Session& session, ItemKind kind, int editedCode) {
  std::vector<GroupCandidate> candidates;
  for (const Item& item : itemsInNameOrder(session.store(), session.schoolCode(), kind)) {
    if (!item.group && item.code != editedCode) candidates.push_back({item.code, item.name});
  }
  if (candidates.empty()) session.prompter().info("No items available for grouping.");
  return candidates;
}

bool checkResourceLimit(Session& session, ResourceLimit limit, const std::string& text, DayBound bound) {
  const int frame = session.school()->SWRKDAYS;
  int high = bound == DayBound::SchoolPeriods ? periodsPerDay(frame) : 12;
  LabelledField field = LabelledField::TMAXLEC;
  if (limit == ResourceLimit::PerWeek) {
    high = daysInCycle(frame) * periodsPerDay(frame);
    field = LabelledField::TMAXLECWK;
  } else if (limit == ResourceLimit::Sequence) {
    field = LabelledField::TMAXCON;
  }
  auto value = parseLimit(text);
  if (value && *value >= 1 && *value <= high) return true;
  RngMsg(session.prompter(), text.empty() ? "Empty" : text, field, 1, high);
  return false;
}

std::optional<int> saveNewItem(Session& session, Progress& progress, ItemKind kind, const ItemForm& form,
                               bool& cancelled) {
  cancelled = false;
  const Words& w = words(kind);
  Store& store = session.store();
  const int school = session.schoolCode();
  if (membersMissing(session, form)) return std::nullopt;
  if (upperCase(form.name).empty()) {
    session.prompter().error(std::string("Empty ") + w.capital + " name. Restoring old name.");
    return std::nullopt;
  }
  if (itemCount(store, school, kind) >= kMostItems) {
    session.prompter().info(std::string("Upper limit of 999 ") + w.plural +
                            " exceeded.Cancelling new creation.");
    cancelled = true;
    return std::nullopt;
  }
  if (nameRefused(session, kind, form, std::nullopt)) return std::nullopt;
  const int code = nextItemCode(highestIssued(*session.school(), kind));
  if (!hasRows(store, school, kind, code) && !prepareItemRows(session, progress, kind, 1))
    return std::nullopt;
  Transaction tx(store);
  auto created = appendItem(session, kind, form);
  if (!created) return std::nullopt;
  if (form.group) insertMembers(store, school, kind, *created, form.members);
  tx.commit();
  session.flush(kind == ItemKind::Class ? kFlushClasses : kFlushResources);
  session.flush(kFlushSchools);
  return created;
}

std::optional<int> saveEditedItem(Session& session, ItemKind kind, int code, const ItemForm& form) {
  Store& store = session.store();
  const int school = session.schoolCode();
  if (membersMissing(session, form)) return std::nullopt;
  if (nameRefused(session, kind, form, code)) return std::nullopt;
  auto before = itemForm(store, school, kind, code);
  if (!before) return std::nullopt;
  const bool groupChanged = before->group != form.group ||
                            (form.group && currentMembers(store, school, kind, code) != form.members);

  Transaction tx(store);
  const char view = session.viewKind;
  session.viewKind = words(kind).view;
  // A different membership changes which timetables the group's periods occupy: its placements are
  // undone and the member list made anew.
  if (groupChanged) ItmDel(session, ReleaseMode::Erase, code);
  const std::string option = form.group ? "Y" : "N";
  if (kind == ItemKind::Class) {
    TClas row = *store.table<TClas>().find(TClas::CLASCODE, {school, code});
    row.CLSNAME = upperCase(form.name);
    row.CLSNOTES = form.notes;
    row.CLSOPTION = option;
    store.table<TClas>().update(row);
  } else {
    TTeac row = *store.table<TTeac>().find(TTeac::TEACCODE, {school, code});
    row.TCHNAME = upperCase(form.name);
    row.TCHNOTES = form.notes;
    row.TCHOPTION = option;
    row.TMAXLEC = parseLimit(form.perDay).value_or(row.TMAXLEC);
    row.TMAXLECWK = parseLimit(form.perWeek).value_or(row.TMAXLECWK);
    row.TMAXCON = parseLimit(form.sequence).value_or(row.TMAXCON);
    row.TPARTTIME = form.partTime ? "Y" : "N";
    store.table<TTeac>().update(row);
  }
  if (form.group) insertMembers(store, school, kind, code, form.members);
  if (groupChanged && form.group) {
    const int index = kind == ItemKind::Class ? TAlloc::ALLOCLAS : TAlloc::ALLOTEAC;
    for (const TAlloc& indent : store.table<TAlloc>().range(index, {school, "Y", code})) {
      upd_mlt_ind(session, indent.ANOOFLEC, CountChange::Add,
                  kind == ItemKind::Class ? GroupSide::Class : GroupSide::Resource, indent.ACLASS,
                  indent.ATEACHER);
    }
  }
  session.viewKind = view;
  tx.commit();
  session.flush(kind == ItemKind::Class ? kFlushClasses : kFlushResources);
  session.flush(kFlushGroups);
  return code;
}

}  // namespace tavrel::setup
