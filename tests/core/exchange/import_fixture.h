// The hand-made XHSTT and FET files of tests/fixtures and small helpers to look into the documents
// read from them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/exchange/school_document.h"

namespace tavrel::exchange::fixture {

inline std::string text(const std::string& name) {
  std::ifstream in(std::string(TAVREL_TEST_FIXTURES) + "/" + name, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// `text` with its first `from` replaced by `to`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

inline std::vector<IndentEntry> indentsOf(const SchoolDocument& document, const std::string& subject) {
  std::vector<IndentEntry> found;
  std::copy_if(document.indents.begin(), document.indents.end(), std::back_inserter(found),
               [&](const IndentEntry& indent) { return indent.subject == subject; });
  return found;
}

template <class Entry>
const Entry* named(const std::vector<Entry>& entries, const std::string& name) {
  auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) { return entry.name == name; });
  return it == entries.end() ? nullptr : &*it;
}

inline int limitOf(const std::vector<DayLimit>& limits, const std::string& cls, const std::string& item) {
  for (const DayLimit& limit : limits)
    if (limit.className == cls && limit.item == item) return limit.perDay;
  return 0;
}

// Written as an exchange file and read back, the document is the same, and so is its text.
inline void expectRoundTrip(const SchoolDocument& document) {
  const std::string text = toJson(document);
  auto read = fromJson(text);
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(*read, document);
  EXPECT_EQ(toJson(*read), text);
}

}  // namespace tavrel::exchange::fixture
