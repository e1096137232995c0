#include "core/indents/indent_scope.h"

namespace tavrel::indents {

using namespace store;

bool IndentScope::contains(const TAlloc& indent) const {
  switch (kind) {
    case Kind::School:
      return true;
    case Kind::Class:
      return indent.ACLASS == code;
    case Kind::Resource:
      return indent.ATEACHER == code;
    case Kind::Subject:
      return indent.ASUBJECT == code;
  }
  return false;
}

std::vector<TAlloc> indentsInScope(Session& session, const IndentScope& scope, const char* active) {
  std::vector<TAlloc> inScope;
  session.store().table<TAlloc>().forEach(TAlloc::primary, {session.schoolCode()}, [&](const TAlloc& indent) {
    if (indent.AACTIVE == active && scope.contains(indent)) inScope.push_back(indent);
  });
  return inScope;
}

}  // namespace tavrel::indents
