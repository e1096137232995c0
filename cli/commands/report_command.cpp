// `tavrel-cli report`: prints one report of a school to a file, making the choices a person makes
// in the report setup, the selection window and the timetable print setup.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/reports/build_report.h"
#include "core/reports/print_settings.h"
#include "core/reports/print_setup.h"
#include "core/reports/report_catalogue.h"
#include "core/reports/report_formats.h"
#include "core/reports/report_selection.h"
#include "core/reports/report_setup.h"
#ifdef TAVREL_HAVE_RENDER
#include "render/report_renderer.h"
#endif

namespace tavrel::cli {

namespace {

using namespace store;
using namespace reports;

struct ReportArguments {
  std::string school;
  int code = 0;
  std::vector<std::string> items;
  std::vector<std::string> days;
  std::vector<int> periods;
  bool consolidated = false;
  bool noHeadings = false;
  std::string status = "all";
  std::string basis = "indented";
  std::string paper;
  std::string date;
  std::string format;
  std::string out;
};

const std::vector<std::pair<std::string, StatusChoice>> kStatuses = {
    {"all", StatusChoice::All},
    {"allocated", StatusChoice::Allocated},
    {"incomplete", StatusChoice::Incomplete},
    {"no-active-indent", StatusChoice::NoActiveIndent},
    {"passive-present", StatusChoice::PassivePresent}};

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// A day given as its number or its name in the print setup's list.
std::optional<int> dayNumber(const std::string& given, const std::vector<std::string>& names) {
  if (given.size() == 1 && given[0] >= '1' && given[0] <= '9') return given[0] - '0';
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (lowerCase(names[i]) == lowerCase(given)) return static_cast<int>(i) + 1;
  }
  return std::nullopt;
}

std::string codeList() {
  std::string list;
  for (int code : reportCodes()) list += (list.empty() ? "" : ", ") + std::to_string(code);
  return list;
}

// The print setup's choices; false when the setup refused (its message has been shown).
Result<bool> runPrintSetup(Session& session, const ReportArguments& args, ReportOptions& options) {
  PrintSetup setup(session, args.code);
  if (!args.days.empty()) {
    setup.selectAllDays(false);
    for (const std::string& given : args.days) {
      auto day = dayNumber(given, setup.dayNames());
      if (!day) return Error{"No day " + given + " in the print setup (use 1 to 9 or a day name)."};
      setup.tagDay(*day, true);
    }
  }
  if (!args.periods.empty()) {
    setup.selectAllPeriods(false);
    for (int period : args.periods) setup.tagPeriod(period, true);
  }
  setup.periodHeadings = !args.noHeadings;
  setup.style = args.consolidated ? TimetableStyle::Consolidated : TimetableStyle::Regular;
  if (!setup.preview()) return false;
  const ListChoice choice = options.choice;
  options = setup.options(options.isoDate);
  options.choice = choice;
  return true;
}

Status writeDocument(const ReportDocument& document, ReportFormat format, const std::filesystem::path& file) {
  if (writtenByCore(format)) return saveReport(document, format, file);
#ifdef TAVREL_HAVE_RENDER
  return render::renderReport(document, format, file);
#else
  return Error{"This build of tavrel-cli cannot draw " + std::string(formatName(format)) +
               " (it was built without Qt); use txt, csv, html or xlsx."};
#endif
}

Status runReport(shell::Application& application, const ReportArguments& args, std::ostream& out) {
  Store& store = application.store();
  Session& session = application.session();
  const auto format = reportFormat(args.format);
  if (!format) return Error{"Unknown format " + args.format + " (use pdf, html, csv, txt, xlsx, odt or svg)."};
  const auto school = store.table<TSchl>().find(TSchl::primary, {args.school});
  if (!school) return Error{"No school named " + args.school + "."};
  session.setSchool(school->SCHOOLCODE);
  reportCatalogue(store);
  if (!reportKind(args.code)) return Error{"No report has code " + std::to_string(args.code) + " (codes: " + codeList() + ")."};

  ReportOptions options;
  options.isoDate = args.date.empty() ? application.ports().clock.todayIso() : args.date;
  for (const auto& [name, status] : kStatuses) {
    if (name == args.status) options.choice.status = status;
  }
  options.choice.basis = args.basis == "available" ? BasisChoice::Available : BasisChoice::Indented;
  options.choice.statusCaption = statusCaption(options.choice.status);
  options.choice.basisCaption = basisCaption(options.choice.basis);

  auto step = reportSetupNext(session, args.code);
  if (!step) return {};  // "No data for this report." has been shown
  bool printSetup = *step == ReportStep::PrintSetup;
  if (*step == ReportStep::Selection) {
    const char view = reportView(args.code);
    const std::vector<std::string> names = selectableNames(store, school->SCHOOLCODE, view);
    for (const std::string& item : args.items) {
      if (std::find(names.begin(), names.end(), item) == names.end())
        return Error{"No " + lowerCase(itemLabel(view).substr(0, itemLabel(view).size() - 2)) + " named " + item +
                     " in " + school->SNAME + "."};
    }
    auto next = previewSelection(session, args.code, args.items.empty() ? names : args.items);
    if (!next) return {};
    printSetup = *next == SelectionStep::PrintSetup;
  }
  if (printSetup) {
    auto done = runPrintSetup(session, args, options);
    if (!done) return Error{done.error()};
    if (!*done) return {};
  }
  ReportDocument document = buildReport(store, school->SCHOOLCODE, args.code, options);
  if (!args.paper.empty()) {
    auto paper = findPaperSize(args.paper);
    if (!paper) return Error{"Unknown paper " + args.paper + " (use A4, Letter, 15\"X12\" or 10\"X12\")."};
    document.paper = paperOf(*paper);
  }
  if (Status written = writeDocument(document, *format, args.out); !written) return written;
  out << "Wrote " << document.title << " of " << school->SNAME << ": " << document.pages.size()
      << (document.pages.size() == 1 ? " page" : " pages") << " to " << args.out << ".\n";
  return {};
}

}  // namespace

void registerReportCommand(CLI::App& tool, CliContext& context) {
  auto args = std::make_shared<ReportArguments>();
  CLI::App* report = tool.add_subcommand(
      "report", "Print a report of a school (timetables, free periods, lists, indent lists) to a file");
  report->add_option("--school", args->school, "The school's name")->required();
  report->add_option("--code", args->code, "The report's catalogue code: " + codeList())->required();
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
