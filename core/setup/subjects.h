// Subjects are shared by every school of the institution; a school uses one through a subject link
// that carries its notes and its counters of indented and allocated periods.
#pragma once

#include <optional>
#include <string>

#include "core/store/session.h"

namespace tavrel::setup {

constexpr int kMostSubjects = 999;

// "SUBJECT" followed by the next code; with `unique`, "+" is appended until no subject has it.
std::string defaultSubjectName(store::Store& store, bool unique);

// The school's link to the subject, made with zero counters when missing.
store::TSctl ensureSubjectLink(store::Store& store, int school, int subject);
std::string subjectNotes(store::Store& store, int school, int subject);
void saveSubjectNotes(store::Store& store, int school, int subject, const std::string& notes);

// "&Accept" (and "&NextNew") of a new subject in the subject window: the code of the new subject,
// or nothing after the refusal was shown.
std::optional<int> createSubject(store::Session& session, const std::string& name, const std::string& notes);

// A new subject with the default name from the school view's subject grid.
std::optional<int> createSubjectFromSchoolView(store::Session& session);

// "&Accept" in edit mode: renames (when the name changed) and saves the notes.
bool editSubject(store::Session& session, int subject, const std::string& name, const std::string& notes);

// "&Delete": refused for the subject of the indent being edited and for a subject indented in any
// school; otherwise the subject, its links and its active indents with all they hold go.
bool deleteSubject(store::Session& session, int subject, int subjectOfCurrentIndent);

}  // namespace tavrel::setup
