// One printing of a report as the tool makes it: the choices a person makes in the report setup,
// the selection window and the timetable print setup, the document built from them and the file
// written. `tavrel-cli report` prints one report this way; `tavrel-cli demo` prints the
// timetables of every school.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/reports/report_document.h"
#include "core/reports/report_formats.h"
#include "core/shell/application.h"
#include "core/util/result.h"

namespace tavrel::cli {

struct ReportArguments {
  std::string school;
  int code = 0;
  std::vector<std::string> items;  // empty: every item
  std::vector<std::string> days;   // empty: as last printed
  std::vector<int> periods;        // empty: as last printed
  bool consolidated = false;
  bool noHeadings = false;
  std::string status = "all";
  std::string basis = "indented";
  std::string paper;
  std::string date;  // empty: today
};

// The report's codes as a list for messages: "1, 2, 3, ...".
std::string reportCodeList();

// The document of the report, or nothing when the core refused with a message of its own (for
// example "No data for this report."), or the refusal of a wrong argument.
Result<std::optional<reports::ReportDocument>> prepareReport(shell::Application& application,
                                                             const ReportArguments& args);

// Writes the document in the format: the core writes text, CSV, HTML and XLSX, the renderer PDF,
// ODT and SVG when the build has it.
Status writeReportFile(const reports::ReportDocument& document, reports::ReportFormat format,
                       const std::filesystem::path& file);

}  // namespace tavrel::cli
