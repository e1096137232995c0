// The indents a bulk command works on: every indent of the school (institution view) or those of
// one class, resource or subject (school view).
#pragma once

#include <vector>

#include "core/store/session.h"

namespace tavrel::indents {

struct IndentScope {
  enum class Kind { School, Class, Resource, Subject };
  Kind kind = Kind::School;
  int code = 0;

  static IndentScope school() { return {}; }
  static IndentScope ofClass(int code) { return {Kind::Class, code}; }
  static IndentScope ofResource(int code) { return {Kind::Resource, code}; }
  static IndentScope ofSubject(int code) { return {Kind::Subject, code}; }

  bool contains(const store::TAlloc& indent) const;
};

// The scope's indents of the activity ("Y" active, "N" passive), in serial order.
std::vector<store::TAlloc> indentsInScope(store::Session& session, const IndentScope& scope,
                                          const char* active);

// Who runs a bulk command. On behalf of an apply-availability command, the command asks nothing and
// reports nothing: that command asked and reports for all its steps.
enum class BulkCaller { Person, ApplyAvailability };

}  // namespace tavrel::indents
