#include "core/setup/subjects.h"

#include "core/setup/schools.h"
#include "core/store/item_cascade.h"
#include "core/util/text.h"

namespace tavrel::setup {

using namespace store;

namespace {

constexpr int kNameWidth = 25;

std::optional<TSubj> subjectNamed(Store& store, const std::string& name) {
  return store.table<TSubj>().find(TSubj::primary, {text::cutToWidth(name, kNameWidth)});
}

int appendSubject(Store& store, const std::string& name) {
  TInst inst = store.institution();
  TSubj subject;
  subject.SUBNAME = name;
  subject.SUBCODE = inst.ISUBJECT + 1;
  store.table<TSubj>().insert(subject);
  inst.ISUBJECT = subject.SUBCODE;
  store.saveInstitution(inst);
  return subject.SUBCODE;
}

}  // namespace

std::string defaultSubjectName(Store& store, bool unique) {
  std::string name = "SUBJECT" + std::to_string(store.institution().ISUBJECT + 1);
  while (unique && subjectNamed(store, name)) name += "+";
  return name;
}

TSctl ensureSubjectLink(Store& store, int school, int subject) {
  auto& links = store.table<TSctl>();
  if (auto link = links.find(TSctl::primary, {school, subject})) return *link;
  TSctl link;
  link.SCTSCHOOL = school;
  link.SCTCODE = subject;
  links.insert(link);
  return link;
}

std::string subjectNotes(Store& store, int school, int subject) {
  auto link = store.table<TSctl>().find(TSctl::primary, {school, subject});
  return link ? link->SCTNOTES : std::string();
}

void saveSubjectNotes(Store& store, int school, int subject, const std::string& notes) {
  TSctl link = ensureSubjectLink(store, school, subject);
  if (link.SCTNOTES == notes) return;
  link.SCTNOTES = notes;
  store.table<TSctl>().update(link);
}

std::optional<int> createSubject(Session& session, const std::string& name, const std::string& notes) {
  Store& store = session.store();
  const std::string upper = upperCase(name);
  if (upper.empty()) {
    session.prompter().error("Empty Subject name. Restoring old one.");
    return std::nullopt;
  }
  if (subjectNamed(store, upper)) {
    session.prompter().error("Duplicate Subject name.");
    return std::nullopt;
  }
  if (store.table<TSubj>().count(TSubj::primary) >= kMostSubjects) {
    session.prompter().info("Upper limit of 999 subjects exceeded.Cancelling new creation.");
    return std::nullopt;
  }
  Transaction tx(store);
  int code = appendSubject(store, upper);
  if (session.schoolCode() != 0) saveSubjectNotes(store, session.schoolCode(), code, notes);
  tx.commit();
  session.flush(kFlushSubjects);
  return code;
}

std::optional<int> createSubjectFromSchoolView(Session& session) {
  Store& store = session.store();
  if (store.table<TSubj>().count(TSubj::primary) >= kMostSubjects) {
    session.prompter().error("Upper limit of 999 subjects exceeded.Cannot accept this new subject.");
    return std::nullopt;
  }
  Transaction tx(store);
  int code = appendSubject(store, defaultSubjectName(store, true));
  ensureSubjectLink(store, session.schoolCode(), code);
  tx.commit();
  session.flush(kFlushSubjects);
  return code;
}

bool editSubject(Session& session, int subject, const std::string& name, const std::string& notes) {
  Store& store = session.store();
  auto current = store.table<TSubj>().find(TSubj::SUBJCODE, {subject});
  if (!current) return false;
  const std::string upper = upperCase(name);
  if (upper.empty()) {
    session.prompter().error("Empty Subject name. Restoring old one.");
    return false;
  }
  Transaction tx(store);
  if (text::cutToWidth(upper, kNameWidth) != current->SUBNAME) {
    if (subjectNamed(store, upper)) {
      session.prompter().error("Duplicate Subject name.");
      return false;
    }
    current->SUBNAME = upper;
    store.table<TSubj>().update(*current);
  }
  saveSubjectNotes(store, session.schoolCode(), subject, notes);
  tx.commit();
  session.flush(kFlushSubjects);
  return true;
}

bool deleteSubject(Session& session, int subject, int subjectOfCurrentIndent) {
  Store& store = session.store();
  Prompter& prompter = session.prompter();
  if (subject == subjectOfCurrentIndent) {
    prompter.error("Cannot delete. Subject used in current indent.");
    return false;
  }
  auto& indents = store.table<TAlloc>();
  for (const TSchl& school : store.table<TSchl>().range(TSchl::SCLCODE)) {
    auto link = store.table<TSctl>().find(TSctl::primary, {school.SCHOOLCODE, subject});
    // Any indent names the subject, a passive one just as well: deleting the subject under it
    // would leave an indent of a subject that no longer exists.
    bool indented = (link && link->SCTREQLEC > 0) ||
                    indents.count(TAlloc::ALLOSUBJ, {school.SCHOOLCODE, "Y", subject}) > 0 ||
                    indents.count(TAlloc::ALLOSUBJ, {school.SCHOOLCODE, "N", subject}) > 0;
    if (indented) {
      prompter.error("Cannot delete. Subject indented in " + school.SNAME);
      return false;
    }
  }
  Transaction tx(store);
  const char view = session.viewKind;
  session.viewKind = 'S';
  ItmDel(session, ReleaseMode::Delete, subject);
  session.viewKind = view;
  store.table<TSctl>().removeRange(TSctl::SUBSCHOOL, {subject});
  if (auto row = store.table<TSubj>().find(TSubj::SUBJCODE, {subject})) store.table<TSubj>().remove(*row);
  tx.commit();
  session.flush(kFlushSubjects);
  session.flush(kFlushSchoolSubjects);
  return true;
}

}  // namespace tavrel::setup
