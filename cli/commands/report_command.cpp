// `tavrel-cli report`: prints one report of a school to a file, making the choices a person makes
// in the report setup, the selection window and the timetable print setup.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/report_run.h"

namespace tavrel::cli {

namespace {

struct ReportCommandArguments : ReportArguments {
  std::string format;
  std::string out;
};

Status runReport(shell::Application& application, const ReportCommandArguments& args, std::ostream& out) {
  const auto format = reports::reportFormat(args.format);
  if (!format) return Error{"Unknown format " + args.format + " (use pdf, html, csv, txt, xlsx, odt or svg)."};
  auto document = prepareReport(application, args);
  if (!document) return Error{document.error()};
  if (!*document) return {};  // the core said why
  const reports::ReportDocument& report = **document;
  if (Status written = writeReportFile(report, *format, args.out); !written) return written;
  out << "Wrote " << report.title << " of " << args.school << ": " << report.pages.size()
      << (report.pages.size() == 1 ? " page" : " pages") << " to " << args.out << ".\n";
  return {};
}

}  // namespace

void registerReportCommand(CLI::App& tool, CliContext& context) {
  auto args = std::make_shared<ReportCommandArguments>();
  CLI::App* report = tool.add_subcommand(
      "report", "Print a report of a school (timetables, free periods, lists, indent lists) to a file");
  report->add_option("--school", args->school, "The school's name")->required();
  report->add_option("--code", args->code, "The report's catalogue code: " + reportCodeList())->required();
  report->add_option("--items", args->items, "The classes, resources or subjects to print (default: all)")
      ->type_name("NAME ...");
  report->add_option("--days", args->days, "Days to print, by number 1-9 or name (default: as last printed)")
      ->delimiter(',')
      ->type_name("DAY,...");
  report->add_option("--periods", args->periods, "Periods to print, 1-12 (default: as last printed)")
      ->delimiter(',')
      ->check(CLI::Range(1, 12))
      ->type_name("N,...");
  report->add_flag("--consolidated", args->consolidated, "Timetables: the consolidated report type");
  report->add_flag("--no-headings", args->noHeadings, "Timetables: leave out the period headings");
  report->add_option("--filter", args->status, "Lists: which items")
      ->check(CLI::IsMember({"all", "allocated", "incomplete", "no-active-indent", "passive-present"}))
      ->default_str("all");
  report->add_option("--basis", args->basis, "Lists: allocated or incomplete with respect to")
      ->check(CLI::IsMember({"indented", "available"}))
      ->default_str("indented");
  report->add_option("--paper", args->paper, "Paper: A4 (default), Letter, 15\"X12\" or 10\"X12\"");
  report->add_option("--date", args->date, "The date printed on the report (default: today)")->type_name("YYYY-MM-DD");
  report->add_option("--format", args->format, "File format")
      ->required()
      ->check(CLI::IsMember({"pdf", "html", "csv", "txt", "xlsx", "odt", "svg"}));
  report->add_option("--out", args->out, "The file to write (SVG: one file per page, numbered)")
      ->required()
      ->type_name("FILE");
  report->callback([&context, args] {
    context.runWithApplication(
        [&context, args](shell::Application& application) { return runReport(application, *args, context.out()); });
  });
}

}  // namespace tavrel::cli
