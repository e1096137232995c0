#include "core/indents/bulk_state_change.h"

#include <algorithm>
#include <set>

#include "core/indents/activation.h"
#include "core/indents/deactivation.h"
#include "core/indents/progress_scope.h"

namespace tavrel::indents {

using namespace store;

namespace {

std::string status(int done, int of, const char* what) {
  return std::to_string(done) + "/" + std::to_string(of) + what;
}

using LimitKey = std::pair<int, int>;  // class, subject (resource)

// The class/item pairs whose per-day limit of `kind` the scope's reset covers.
std::set<LimitKey> limitsOfScope(Session& session, const IndentScope& scope, LimitKind kind,
                                 const std::vector<TAlloc>& indents) {
  Store& store = session.store();
  const int school = session.schoolCode();
  std::set<LimitKey> keys;
  using Kind = IndentScope::Kind;
  const bool crossDimension = (kind == LimitKind::Subject && scope.kind == Kind::Resource) ||
                              (kind == LimitKind::Resource && scope.kind == Kind::Subject);
  if (crossDimension) {
    // Limit rows carry no dimension of the scope: only those its own indents use are its own.
    for (const TAlloc& indent : indents) {
      keys.insert({indent.ACLASS, kind == LimitKind::Subject ? indent.ASUBJECT : indent.ATEACHER});
    }
    return keys;
  }
  if (kind == LimitKind::Subject) {
    const bool bySubject = scope.kind == Kind::Subject;
    Key prefix = scope.kind == Kind::School ? Key{school} : Key{school, scope.code};
    store.table<TSOcc>().forEach(bySubject ? TSOcc::SOSUB : TSOcc::primary, prefix, [&](const TSOcc& row) {
      keys.insert({row.SOCLASS, row.SOSUBJECT});
    });
  } else {
    const bool byResource = scope.kind == Kind::Resource;
    Key prefix = scope.kind == Kind::School ? Key{school} : Key{school, scope.code};
    store.table<TTOcc>().forEach(byResource ? TTOcc::TOTCH : TTOcc::primary, prefix, [&](const TTOcc& row) {
      keys.insert({row.TOCLASS, row.TOTEACHER});
    });
  }
  return keys;
}

// Back to 1, or to what active indents outside the scope still need of the class.
void resetLimits(Session& session, LimitKind kind, const std::set<LimitKey>& keys) {
  Store& store = session.store();
  const int school = session.schoolCode();
  for (const auto& [cls, item] : keys) {
    if (!classLimit(store, school, kind, cls, item)) continue;
    TAlloc probe;
    probe.ASCHOOL = school;
    probe.ACLASS = cls;
    (kind == LimitKind::Subject ? probe.ASUBJECT : probe.ATEACHER) = item;
    const int need = CheckCUL(session, kind, LimitOp::Add, probe).minimum;
    setClassLimit(store, school, kind, cls, item, std::max(1, need));
  }
}

}  // namespace

std::optional<BulkCount> MakeActive1Click(Session& session, Progress& progress, const IndentScope& scope,
                                          BulkCaller caller) {
  const bool person = caller == BulkCaller::Person;
  if (person && !session.prompter().ask(MessageKind::Warning, "Ok to make indents active? "))
    return std::nullopt;
  const std::vector<TAlloc> passive = indentsInScope(session, scope, "N");
  BulkCount count{0, static_cast<int>(passive.size())};
  const char* activated = " indents activated";
  {
    ProgressScope shown(progress, "Making Passive Indents Active...", count.of);
    shown->text(status(0, count.of, activated));
    for (const TAlloc& indent : passive) {
      if (Validate(session, indent.ASERIALNO, Interaction::Silent) &&
          AddActvProc(session, indent.ASERIALNO, Interaction::Silent)) {
        ++count.done;
        shown->text(status(count.done, count.of, activated));
        shown->step();
      }
    }
  }
  if (person) {
    std::string text = status(count.done, count.of, activated) + ". ";
    if (count.done < count.of) text += std::to_string(count.of - count.done) + " failed validation.";
    session.prompter().info(text);
  }
  return count;
}

std::optional<BulkCount> MakePassive1Click(Session& session, Progress& progress, const IndentScope& scope,
                                           PassiveMode mode, BulkCaller caller) {
  const bool person = caller == BulkCaller::Person;
  const bool deleting = mode == PassiveMode::Delete;
  if (person && !session.prompter().ask(MessageKind::Warning, deleting ? "Deleting Active Indents. Ok? "
                                                                       : "Ok to make indents passive? ")) {
    return std::nullopt;
  }
  const std::vector<TAlloc> active = indentsInScope(session, scope, "Y");
  BulkCount count{0, static_cast<int>(active.size())};
  const char* done = deleting ? " active indents deleted" : " indents made passive";
  {
    ProgressScope shown(
        progress, deleting ? "Deleting Active Indents..." : "Making Active Indents Passive...", count.of);
    for (const TAlloc& indent : active) {
      DelActvProc(session, indent.ASERIALNO,
                  deleting ? AfterDeactivation::DeleteRow : AfterDeactivation::KeepRow);
      ++count.done;
      shown->text(status(count.done, count.of, done));
      shown->step();
    }
    Transaction tx(session.store());
    shown->text("Initialising Subject Occurence...");
    resetLimits(session, LimitKind::Subject, limitsOfScope(session, scope, LimitKind::Subject, active));
    shown->text("Initialising Resource Occurence...");
    resetLimits(session, LimitKind::Resource, limitsOfScope(session, scope, LimitKind::Resource, active));
    tx.commit();
    session.flush(kFlushSubjectLimits);
    session.flush(kFlushResourceLimits);
  }
  if (person) session.prompter().info(status(count.done, count.of, done) + ". ");
  return count;
}

}  // namespace tavrel::indents
