#include "core/indents/activation_report.h"

#include "core/indents/activation.h"
#include "core/ports/collecting_prompter.h"
#include "core/store/lookups.h"

namespace tavrel::indents {

using namespace store;

namespace {

// A question states the problem and then offers help ("... Select Yes to examine 11A
// statistics."); the reason is the statement.
std::string statementOf(const std::string& question) {
  std::string text = question.substr(0, question.find("Select Yes"));
  while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
  return text.empty() ? question : text + ".";
}

std::string reasonWithoutWords(FailureKind kind) {
  switch (kind) {
    case FailureKind::Class:
      return "the class is missing.";
    case FailureKind::Resource:
      return "the resource is missing.";
    case FailureKind::Subject:
      return "the subject is missing.";
    case FailureKind::Count:
      return "the period count is not valid.";
    case FailureKind::Constraint:
      return "the constraint does not fit the school's week.";
    case FailureKind::None:
      break;
  }
  return "the indent failed validation.";
}

}  // namespace

std::string ActivationFailure::text() const {
  return className + " / " + resource + " / " + subject + ": " + reason;
}

ActivationReport activateAndReport(Session& session, const std::vector<int>& serials) {
  ActivationReport report;
  // The routines speak through the session's prompter; a session of its own over the same data
  // keeps their messages as reasons instead of showing them.
  CollectingPrompter quiet(false);
  Session unattended(session.store(), quiet);
  unattended.setSchool(session.schoolCode());
  for (int serial : serials) {
    auto indent = findIndent(unattended, serial);
    if (!indent || isActive(*indent)) continue;
    const std::size_t mark = quiet.mark();
    const std::size_t asked = quiet.questions().size();
    // Interactive validation with every question answered No changes exactly what the silent one
    // changes; it only puts its refusal into words.
    const ValidationResult validation = Validate(unattended, serial, Interaction::Interactive);
    if (validation && AddActvProc(unattended, serial, Interaction::Silent)) {
      report.activated.push_back(serial);
      continue;
    }
    Store& store = session.store();
    const TAlloc row = findIndent(unattended, serial).value_or(*indent);
    std::string reason = quiet.textSince(mark);
    if (reason.empty() && quiet.questions().size() > asked) reason = statementOf(quiet.questions()[asked]);
    if (reason.empty()) {
      reason = validation ? "the one-per-day revision of its subject was refused." : reasonWithoutWords(validation.failure);
    }
    report.failures.push_back(
        {serial, L_ACLASSNM(store, row), L_ATEACHERNM(store, row), L_ASUBJECTNM(store, row), reason});
  }
  // The caller's lists show the indents as they now are.
  session.flush(kFlushIndents);
  return report;
}

std::vector<int> passiveIndents(Session& session) {
  std::vector<int> serials;
  for (const TAlloc& indent : session.store().table<TAlloc>().range(TAlloc::primary, {session.schoolCode()})) {
    if (!isActive(indent)) serials.push_back(indent.ASERIALNO);
  }
  return serials;
}

}  // namespace tavrel::indents
