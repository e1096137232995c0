// One-per-day subject variants. A regular one-per-day indent relies on its class's per-day limit
// of the subject being 1. When other indents of the class need more of that subject a day, the
// one-per-day indent moves to a subject of its own: the base name followed by "(*n)", n from 1 to
// 9, a separate subject with its own code and limit 1. Printed timetables drop the marker, so the
// class still sees the subject it was given.
#pragma once

#include <optional>
#include <string>

#include "core/indents/indent_facts.h"

namespace tavrel::indents {

// Whose subject is revised: the indent being activated, or another active one-per-day indent of
// its class and subject found during that activation.
enum class VariantFor { ThisIndent, OtherIndent };

// A subject name split into its base and its variant number (0 when it carries no marker).
struct VariantName {
  std::string base;
  int number = 0;
};
VariantName splitVariantName(const std::string& name);

// The name of variant n of a base. Subject names hold 25 characters: a long base is shortened so
// the whole marker fits, otherwise the variants of one base would all read as the base itself.
std::string variantName(const std::string& base, int number);

// `IndRevProc_subj`: moves the indent `serial` to the first variant of its subject that no other
// active indent of its class uses, creating the variant subject when needed, and gives the class
// the limit 1 for it. False (and nothing changed) when all nine variants are taken.
bool IndRevProc_subj(store::Session& session, int serial, VariantFor mode, Interaction interaction);

}  // namespace tavrel::indents
