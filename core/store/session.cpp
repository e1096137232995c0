#include "core/store/session.h"

#include <algorithm>

namespace tavrel::store {

std::string statusCaption(StatusChoice choice) {
  switch (choice) {
    case StatusChoice::All:
      return "All";
    case StatusChoice::Allocated:
      return "Allocated";
    case StatusChoice::Incomplete:
      return "Incomplete";
    case StatusChoice::NoActiveIndent:
      return "No Active Indent";
    case StatusChoice::PassivePresent:
      return "Passive Present";
  }
  return {};
}

std::string basisCaption(BasisChoice choice) {
  return choice == BasisChoice::Indented ? " w.r.t. Indented" : " w.r.t. Available";
}

namespace {

// The status test shared by class and resource lists, given the fields that play each role.
bool statusPasses(const ListChoice& choice, bool isGroup, int required, int allocated,
                  int allocatedThroughGroups, int available) {
  switch (choice.status) {
    case StatusChoice::All:
      return true;
    case StatusChoice::NoActiveIndent:
      return required == 0;
    default:
      break;
  }
  if (choice.basis == BasisChoice::Indented) {
    switch (choice.status) {
      case StatusChoice::Allocated:
        return allocated >= required && required >= 1;
      case StatusChoice::Incomplete:
        return allocated < required && required >= 1;
      default:
        return true;
    }
  }
  if (isGroup) return false;
  int total = allocated + allocatedThroughGroups;
  switch (choice.status) {
    case StatusChoice::Allocated:
      return total >= available && required >= 1;
    case StatusChoice::Incomplete:
      return total < available && required >= 1;
    default:
      return true;
  }
}

const char* tableKind(int table) {
  switch (table) {
    case 1:
      return "Class";
    case 2:
      return "Resource";
    case 3:
      return "Subject";
    case 4:
      return "Alloc";
    case 9:
      return "School";
    default:
      return "";
  }
}

bool forward(Step step) {
  return step == Step::First || step == Step::Next;
}

}  // namespace

Session::Session(Store& store, Prompter& prompter)
    : store_(store),
      prompter_(prompter),
      schools_(store.table<TSchl>(), TSchl::primary),
      classes_(store.table<TClas>(), TClas::primary),
      resources_(store.table<TTeac>(), TTeac::primary),
      subjects_(store.table<TSubj>(), TSubj::primary),
      indents_(store.table<TAlloc>(), TAlloc::primary) {
  classes_.setFilter([this](const TClas& row) { return !listFilter_ || classPasses(row); });
  resources_.setFilter([this](const TTeac& row) { return !listFilter_ || resourcePasses(row); });
  indents_.setFilter([this](const TAlloc& row) { return !indentFilter_ || indentPasses(row); });
  schools_.refresh();
  rescope();
}

// ---- Current school ------------------------------------------------------------------------

std::optional<TSchl> Session::school() const {
  if (schoolCode_ == 0) return std::nullopt;
  return store_.table<TSchl>().find(TSchl::SCLCODE, {schoolCode_});
}

bool Session::setSchool(int code) {
  auto record = store_.table<TSchl>().find(TSchl::SCLCODE, {code});
  if (!record) return false;
  bool moved = code != schoolCode_;
  schoolCode_ = code;
  schools_.refresh();
  schools_.gotoBookmark(record->rowid);
  if (moved && !flushingSchools_) FreeDM();
  rescope();
  return true;
}

bool Session::selectFirstSchool() {
  schools_.refresh();
  schools_.first();
  auto first = schools_.current();
  if (!first) {
    schoolCode_ = 0;
    FreeDM();
    rescope();
    return false;
  }
  return setSchool(first->SCHOOLCODE);
}

void Session::rescope() {
  classes_.setRange(classes_.index(), {schoolCode_});
  resources_.setRange(resources_.index(), {schoolCode_});
  subjects_.setRange(subjects_.index(), {});
  indents_.setRange(TAlloc::primary, {schoolCode_});
  restrictedWalk_ = false;
  leftSchoolLevel_ = false;
}

// ---- Choices and filters -------------------------------------------------------------------

ListChoice& Session::choice(char list) {
  if (list == 'T') return resourceChoice_;
  if (list == 'S') return subjectChoice_;
  return classChoice_;
}

void Session::set_gb_f(int kind, char list, int value) {
  ListChoice& target = choice(list);
  if (kind == 1 && value >= 1 && value <= 5) {
    target.status = static_cast<StatusChoice>(value);
    target.statusCaption = statusCaption(target.status);
  } else if (kind == 2 && value >= 1 && value <= 2) {
    target.basis = static_cast<BasisChoice>(value);
    target.basisCaption = basisCaption(target.basis);
  } else {
    return;
  }
  if (listFilter_ && list != 'S') {
    classes_.refresh();
    resources_.refresh();
  }
}

void Session::FilterDM(int on) {
  listFilter_ = on == 1;
  classes_.refresh();
  resources_.refresh();
}

void Session::FilterAlloc(int on) {
  indentFilter_ = on == 1;
  indents_.refresh();
}

bool Session::classPasses(const TClas& row) const {
  return statusPasses(classChoice_, row.CLSOPTION == "Y", row.CLSREQLEC, row.CLSTOTALL, row.CLSMLTALL,
                      row.CLSTOTLEC);
}

bool Session::resourcePasses(const TTeac& row) const {
  return statusPasses(resourceChoice_, row.TCHOPTION == "Y", row.TCHREQLEC, row.TALLOCLEC, row.TCHMLTALL,
                      row.TMAXLECWK);
}

bool Session::subjectPasses(const TSubj& row) const {
  const StatusChoice status = subjectChoice_.status;
  if (status == StatusChoice::All) return true;
  auto link = store_.table<TSctl>().find(TSctl::primary, {schoolCode_, row.SUBCODE});
  switch (status) {
    case StatusChoice::NoActiveIndent:
      return !link || link->SCTREQLEC < 1;
    case StatusChoice::PassivePresent:
      return link && store_.table<TAlloc>().count(TAlloc::ALLOSUBJ, {schoolCode_, "N", row.SUBCODE}) > 0;
    case StatusChoice::Allocated:
      return link && link->SCTTOTALL >= link->SCTREQLEC && link->SCTREQLEC > 0;
    case StatusChoice::Incomplete:
      return link && link->SCTTOTALL < link->SCTREQLEC && link->SCTREQLEC > 0;
    default:
      return true;
  }
}

bool Session::indentPasses(const TAlloc& row) const {
  if (row.ASCHOOL != schoolCode_) return false;
  const bool complete = row.ANOLECALL == row.ANOOFLEC;
  const bool resource = row.ATEACHER == selectedResource;
  const bool cls = row.ACLASS == selectedClass;
  const bool subject = row.ASUBJECT == selectedSubject;
  switch (indentFilterCode) {
    case 'A':
      return true;
    case 'B':
      return resource;
    case 'C':
      return cls;
    case 'D':
      return subject;
    case 'E':
      return resource && subject;
    case 'F':
      return cls && subject;
    case 'G':
      return resource && cls;
    case 'I':
      return !complete;
    case 'J':
      return !complete && resource;
    case 'K':
      return !complete && cls;
    case 'L':
      return !complete && subject;
    case 'M':
      return !complete && resource && subject;
    case 'N':
      return !complete && cls && subject;
    case 'O':
      return !complete && resource && cls;
    case 'Q':
      return complete;
    case 'R':
      return complete && resource;
    case 'S':
      return complete && cls;
    case 'T':
      return complete && subject;
    case 'U':
      return complete && resource && subject;
    case 'V':
      return complete && cls && subject;
    case 'W':
      return complete && resource && cls;
    default:
      return true;
  }
}

// ---- Positions -----------------------------------------------------------------------------

void Session::positionError(const char* operation, int table) {
  prompter_.error(std::string(operation) + " error: " + tableKind(table));
}

void Session::GetDM() {
  switch (viewKind) {
    case 'C':
      if (!classes_.empty()) savedClass_ = classes_.bookmark();
      break;
    case 'T':
      if (!resources_.empty()) savedResource_ = resources_.bookmark();
      break;
    case 'S':
      if (!subjects_.empty()) savedSubject_ = subjects_.bookmark();
      break;
    default:
      break;
  }
}

void Session::AlignDM() {
  auto align = [this](auto& cursor, const std::optional<std::int64_t>& saved, int table) {
    if (saved && !cursor.gotoBookmark(*saved)) positionError("Align", table);
  };
  switch (viewKind) {
    case 'C':
      align(classes_, savedClass_, 1);
      break;
    case 'T':
      align(resources_, savedResource_, 2);
      break;
    case 'S':
      align(subjects_, savedSubject_, 3);
      break;
    default:
      break;
  }
}

void Session::FreeDM() {
  savedClass_.reset();
  savedResource_.reset();
  savedSubject_.reset();
  savedIndent_.reset();
}

std::optional<std::int64_t> Session::savedPosition(char list) const {
  switch (list) {
    case 'C':
      return savedClass_;
    case 'T':
      return savedResource_;
    case 'S':
      return savedSubject_;
    case 'A':
      return savedIndent_;
    case 'L':
      return savedSchool_;
    default:
      return std::nullopt;
  }
}

Session::Bookmark Session::GetBM(int table) {
  switch (table) {
    case 1:
      return classes_.bookmark();
    case 2:
      return resources_.bookmark();
    case 3:
      return subjects_.bookmark();
    case 4:
      return indents_.bookmark();
    case 9:
      return schools_.bookmark();
    default:
      return std::nullopt;
  }
}

void Session::GotoBM(int table, const Bookmark& position) {
  if (!position) return;
  bool found = true;
  switch (table) {
    case 1:
      found = classes_.gotoBookmark(*position);
      break;
    case 2:
      found = resources_.gotoBookmark(*position);
      break;
    case 3:
      found = subjects_.gotoBookmark(*position);
      break;
    case 4:
      found = indents_.gotoBookmark(*position);
      break;
    case 9: {
      auto school = store_.table<TSchl>().get(*position);
      found = school && setSchool(school->SCHOOLCODE);
      break;
    }
    default:
      break;
  }
  if (!found) positionError("GotoBookMark", table);
}

template <class Row>
void Session::stepCursor(Cursor<Row>& cursor, Step step) {
  switch (step) {
    case Step::First:
      cursor.first();
      break;
    case Step::Next:
      cursor.next();
      break;
    case Step::Prior:
      cursor.prior();
      break;
    case Step::Last:
      cursor.last();
      break;
  }
}

void Session::Tblop(Step step, int table) {
  switch (table) {
    case 1:
      stepCursor(classes_, step);
      break;
    case 2:
      stepCursor(resources_, step);
      break;
    case 3:
      stepCursor(subjects_, step);
      break;
    case 4:
      stepCursor(indents_, step);
      break;
    case 9:
      stepCursor(schools_, step);
      break;
    default:
      break;
  }
}

template <class Row, class Test>
void Session::stepWithSkip(Cursor<Row>& cursor, Step step, Test passes) {
  stepCursor(cursor, step);
  while (true) {
    if (cursor.empty() || (forward(step) ? cursor.eof() : cursor.bof())) return;
    auto row = cursor.current();
    if (row && passes(*row)) return;
    if (forward(step)) {
      cursor.next();
    } else {
      cursor.prior();
    }
  }
}

void Session::CNext(Step step) {
  auto& indents = store_.table<TAlloc>();
  stepWithSkip(classes_, step, [&](const TClas& row) {
    return indents.count(TAlloc::ALLOCLAS, {schoolCode_, "N", row.CLSCODE}) > 0;
  });
}

void Session::TNext(Step step) {
  auto& indents = store_.table<TAlloc>();
  stepWithSkip(resources_, step, [&](const TTeac& row) {
    return indents.count(TAlloc::ALLOTEAC, {schoolCode_, "N", row.TCHCODE}) > 0;
  });
}

void Session::SNext(Step step) {
  stepWithSkip(subjects_, step, [&](const TSubj& row) { return subjectPasses(row); });
}

void Session::ChngPIndx(int kind, int go) {
  auto change = [go](auto& cursor, std::optional<std::int64_t>& saved, int codeIndex) {
    if (!saved || cursor.empty()) return;
    if (go == 1) cursor.gotoBookmark(*saved);
    cursor.setIndex(codeIndex);
    // A position names a record, not a place in an order: it survives the switch unless the
    // record has gone.
    if (!cursor.gotoBookmark(*saved)) saved.reset();
  };
  if (kind == 1 || kind == 4) change(classes_, savedClass_, TClas::CLASCODE);
  if (kind == 2 || kind == 4) change(resources_, savedResource_, TTeac::TEACCODE);
  if (kind == 3 || kind == 4) change(subjects_, savedSubject_, TSubj::SUBJCODE);
}

void Session::SetPIndx(int kind) {
  auto restore = [](auto& cursor, std::optional<std::int64_t>& saved, int nameIndex) {
    if (!saved || cursor.empty()) return;
    cursor.gotoBookmark(*saved);
    cursor.setIndex(nameIndex);
    if (!cursor.gotoBookmark(*saved)) saved.reset();
  };
  if (kind == 1 || kind == 4) restore(classes_, savedClass_, TClas::primary);
  if (kind == 2 || kind == 4) restore(resources_, savedResource_, TTeac::primary);
  if (kind == 3 || kind == 4) restore(subjects_, savedSubject_, TSubj::primary);
}

void Session::set_pindx(const std::string& flag) {
  if (viewKind == 'L') {
    indents_.setRange(TAlloc::ALLOFLAG, {schoolCode_, flag});
    viewKind = 'C';
    leftSchoolLevel_ = true;
  } else {
    if (auto cls = classes_.current()) {
      if (viewKind == 'C') indents_.setRange(TAlloc::ALLOCLAS, {schoolCode_, flag, cls->CLSCODE});
      rememberedClass_ = cls->CLSNAME;
      selectedClass = cls->CLSCODE;
      classes_.setIndex(TClas::primary);
    }
    if (auto subject = subjects_.current()) {
      if (viewKind == 'S') indents_.setRange(TAlloc::ALLOSUBJ, {schoolCode_, flag, subject->SUBCODE});
      rememberedSubject_ = subject->SUBNAME;
      selectedSubject = subject->SUBCODE;
      subjects_.setIndex(TSubj::primary);
    }
    if (auto resource = resources_.current()) {
      if (viewKind == 'T') indents_.setRange(TAlloc::ALLOTEAC, {schoolCode_, flag, resource->TCHCODE});
      rememberedResource_ = resource->TCHNAME;
      selectedResource = resource->TCHCODE;
      resources_.setIndex(TTeac::primary);
    }
  }
  restrictedWalk_ = true;
}

void Session::set_aindx() {
  restrictedWalk_ = false;
  indents_.setRange(TAlloc::primary, {schoolCode_});
  if (leftSchoolLevel_) {
    leftSchoolLevel_ = false;
    viewKind = 'L';
    return;
  }
  auto reposition = [](auto& cursor, int codeIndex, Key key, std::optional<std::int64_t>& saved) {
    cursor.setIndex(codeIndex);
    if (!cursor.empty() && cursor.locate(key)) {
      saved = cursor.bookmark();
    } else {
      saved.reset();
    }
  };
  reposition(classes_, TClas::CLASCODE, {schoolCode_, selectedClass}, savedClass_);
  reposition(subjects_, TSubj::SUBJCODE, {selectedSubject}, savedSubject_);
  reposition(resources_, TTeac::TEACCODE, {schoolCode_, selectedResource}, savedResource_);
}

bool Session::chk_rec() {
  if (leftSchoolLevel_) return false;
  auto indent = indents_.current();
  if (!indent || indents_.eof()) return true;
  switch (viewKind) {
    case 'C': {
      auto cls = store_.table<TClas>().find(TClas::primary, {schoolCode_, rememberedClass_});
      return !cls || cls->CLSCODE != indent->ACLASS;
    }
    case 'S': {
      auto subject = store_.table<TSubj>().find(TSubj::primary, {rememberedSubject_});
      return !subject || subject->SUBCODE != indent->ASUBJECT;
    }
    case 'T': {
      auto resource = store_.table<TTeac>().find(TTeac::primary, {schoolCode_, rememberedResource_});
      return !resource || resource->TCHCODE != indent->ATEACHER;
    }
    default:
      return false;
  }
}

// ---- Flushing --------------------------------------------------------------------------------

void Session::TComFill() {
  tableNumbers = {1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 16, 17, 18};
}

void Session::TCommit(std::size_t element) {
  if (element < tableNumbers.size()) flush(tableNumbers[element]);
}

void Session::flush(int code) {
  // Flushing makes the changes durable; the lists then show the records as they now are.
  store_.checkpoint();
  auto reload = [this](auto& cursor, std::optional<std::int64_t>* saved) {
    if (keepPosition) {
      cursor.refresh();
    } else {
      cursor.setRange(cursor.index(), cursor.range());
    }
    if (saved) *saved = cursor.bookmark();
  };
  switch (code) {
    case kFlushClasses:
      reload(classes_, &savedClass_);
      break;
    case kFlushResources:
      reload(resources_, &savedResource_);
      break;
    case kFlushSubjects:
      reload(subjects_, &savedSubject_);
      break;
    case kFlushIndents:
      reload(indents_, &savedIndent_);
      break;
    case kFlushSchools: {
      flushingSchools_ = true;
      bool keep = keepPosition;
      keepPosition = true;
      reload(schools_, &savedSchool_);
      keepPosition = keep;
      flushingSchools_ = false;
      break;
    }
    default:
      break;  // the other tables have no list of their own to reload
  }
}

void Session::flushList() {
  for (int code : tableNumbers) {
    keepPosition = true;
    if (code != kFlushResourceLimits && code != kFlushSubjectLimits) flush(code);
  }
}

// ---- Counters --------------------------------------------------------------------------------

void Session::ChkBug() {
  auto record = school();
  if (!record) return;
  TSchl schoolRow = *record;
  bool schoolChanged = false;
  store_.table<TClas>().forEach(TClas::primary, {schoolCode_}, [&](const TClas& row) {
    if (row.CLSCODE > schoolRow.STOTCLS) {
      schoolRow.STOTCLS = row.CLSCODE;
      schoolChanged = true;
    }
  });
  store_.table<TTeac>().forEach(TTeac::primary, {schoolCode_}, [&](const TTeac& row) {
    if (row.TCHCODE > schoolRow.STOTTCH) {
      schoolRow.STOTTCH = row.TCHCODE;
      schoolChanged = true;
    }
  });
  store_.table<TAlloc>().forEach(TAlloc::primary, {schoolCode_}, [&](const TAlloc& row) {
    if (row.ASERIALNO > schoolRow.SALLSERIAL) {
      schoolRow.SALLSERIAL = row.ASERIALNO;
      schoolChanged = true;
    }
  });
  if (schoolChanged) store_.table<TSchl>().update(schoolRow);

  TInst inst = store_.institution();
  int highestSubject = inst.ISUBJECT;
  store_.table<TSctl>().forEach(TSctl::primary, {schoolCode_}, [&](const TSctl& row) {
    highestSubject = std::max(highestSubject, row.SCTCODE);
  });
  store_.table<TSubj>().forEach(
      TSubj::primary, {}, [&](const TSubj& row) { highestSubject = std::max(highestSubject, row.SUBCODE); });
  if (highestSubject != inst.ISUBJECT) {
    inst.ISUBJECT = highestSubject;
    store_.saveInstitution(inst);
  }
}

void SetPB(Progress& progress, const std::string& text, int maximum) {
  if (text.empty()) {
    progress.hide();
  } else {
    progress.show(text, maximum);
  }
}

}  // namespace tavrel::store
