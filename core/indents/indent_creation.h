// New indents and saving an edited one. A new indent is passive, takes the next serial of the
// school, and starts from the whole week; the duplicate options copy parts of the indent in hand so
// that a series of similar indents is quick to make.
#pragma once

#include <optional>

#include "core/indents/indent_facts.h"

namespace tavrel::indents {

enum class IndentKind { Regular, Cluster };

// The item an indent window shows: kind "C", "T" or "S" and its code. New indents take it as their
// class, resource or subject.
struct IndentView {
  char kind = 'C';
  int code = 0;
};

// "Passive Grid Duplicate:": what a new indent copies from the indent in hand. The option of the
// view's own dimension is ignored: that dimension is the viewed item.
struct DuplicateOptions {
  bool cls = false;
  bool resource = false;
  bool subject = false;
  bool count = false;
  bool constraint = false;
  bool recessPermissible = false;  // captioned "One per day" for a regular indent in hand
};

// `AppndTAlloc`: appends a passive indent and returns its serial.
int AppndTAlloc(store::Session& session, IndentView view, IndentKind kind, const DuplicateOptions& duplicate,
                const std::optional<store::TAlloc>& current);

// `RecPost`: saves the edited fields of a passive indent; a cluster's count is its cluster size
// times its clusters per week. An active indent is not changed here: its count and items are
// counted in its class, resource and subject, so it is edited only after it is made passive.
// False when nothing was saved.
bool RecPost(store::Session& session, store::TAlloc edited);

}  // namespace tavrel::indents
