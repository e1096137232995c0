// `tavrel-cli info`: what data set the program folder holds, at a glance.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/commands.h"

namespace tavrel::cli {

namespace {

using namespace store;

// Columns left-aligned in the first column, right-aligned after it, two blanks apart.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths(rows.front().size(), 0);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      std::string padding(widths[c] - row[c].size(), ' ');
      if (c > 0) line += "  ";
      line += c == 0 ? row[c] + padding : padding + row[c];
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

std::vector<std::string> schoolRow(Store& store, const TSchl& school) {
  const int code = school.SCHOOLCODE;
  // SWRKDAYS is days × 100 + periods; 0 or less marks a school stored before the week frame.
  const bool framed = school.SWRKDAYS > 0;
  auto& indents = store.table<TAlloc>();
  return {school.SNAME,
          std::to_string(code),
          framed ? std::to_string(school.SWRKDAYS / 100) : "-",
          framed ? std::to_string(school.SWRKDAYS % 100) : "-",
          std::to_string(store.table<TClas>().count(TClas::primary, {code})),
          std::to_string(store.table<TTeac>().count(TTeac::primary, {code})),
          std::to_string(indents.count(TAlloc::ALLOCLS, {code, "Y"})),
          std::to_string(indents.count(TAlloc::ALLOCLS, {code, "N"}))};
}

Status printInfo(shell::Application& application, std::ostream& out) {
  Store& store = application.store();
  out << "Institution: " << store.institution().INSTITUTION << '\n';
  out << "Data set: " << (application.dataSet() == DataSet::Live ? "Live" : "Sample") << '\n';
  std::vector<TSchl> schools = store.table<TSchl>().range(TSchl::primary);
  if (schools.empty()) {
    out << "Schools: none\n";
    return {};
  }
  out << "Schools: " << schools.size() << '\n';
  std::vector<std::vector<std::string>> rows{
      {"School", "Code", "Days", "Periods", "Classes", "Resources", "Active indents", "Passive indents"}};
  for (const TSchl& school : schools) rows.push_back(schoolRow(store, school));
  printTable(out, rows);
  return {};
}

}  // namespace

void registerInfoCommand(CLI::App& tool, CliContext& context) {
  CLI::App* info = tool.add_subcommand(
      "info",
      "Show the institution, the data set and every school with its week, classes, resources and indents");
  info->callback([&context] {
    context.runWithApplication(
        [&context](shell::Application& application) { return printInfo(application, context.out()); });
  });
}

}  // namespace tavrel::cli
