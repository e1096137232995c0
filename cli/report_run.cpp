#include "cli/report_run.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "core/reports/build_report.h"
#include "core/reports/print_settings.h"
#include "core/reports/print_setup.h"
#include "core/reports/report_catalogue.h"
#include "core/reports/report_selection.h"
#include "core/reports/report_setup.h"
#ifdef TAVREL_HAVE_RENDER
#include "render/report_renderer.h"
#endif

namespace tavrel::cli {

namespace {

using namespace store;
using namespace reports;

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

}  // namespace

std::string reportCodeList() {
  std::string list;
  for (int code : reportCodes()) list += (list.empty() ? "" : ", ") + std::to_string(code);
  return list;
}

Status writeReportFile(const ReportDocument& document, ReportFormat format, const std::filesystem::path& file) {
  if (writtenByCore(format)) return saveReport(document, format, file);
#ifdef TAVREL_HAVE_RENDER
  return render::renderReport(document, format, file);
#else
  return Error{"This build of tavrel-cli cannot draw " + std::string(formatName(format)) +
               " (it was built without Qt); use txt, csv, html or xlsx."};
#endif
}

Result<std::optional<ReportDocument>> prepareReport(shell::Application& application, const ReportArguments& args) {
  Store& store = application.store();
  Session& session = application.session();
  const auto school = store.table<TSchl>().find(TSchl::primary, {args.school});
  if (!school) return Error{"No school named " + args.school + "."};
  session.setSchool(school->SCHOOLCODE);
  reportCatalogue(store);
  if (!reportKind(args.code))
    return Error{"No report has code " + std::to_string(args.code) + " (codes: " + reportCodeList() + ")."};

  ReportOptions options;
  options.isoDate = args.date.empty() ? application.ports().clock.todayIso() : args.date;
  for (const auto& [name, status] : kStatuses) {
    if (name == args.status) options.choice.status = status;
  }
  options.choice.basis = args.basis == "available" ? BasisChoice::Available : BasisChoice::Indented;
  options.choice.statusCaption = statusCaption(options.choice.status);
  options.choice.basisCaption = basisCaption(options.choice.basis);

  auto step = reportSetupNext(session, args.code);
  if (!step) return std::optional<ReportDocument>{};  // "No data for this report." has been shown
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
    if (!next) return std::optional<ReportDocument>{};
    printSetup = *next == SelectionStep::PrintSetup;
  }
  if (printSetup) {
    auto done = runPrintSetup(session, args, options);
    if (!done) return Error{done.error()};
    if (!*done) return std::optional<ReportDocument>{};
  }
  ReportDocument document = buildReport(store, school->SCHOOLCODE, args.code, options);
  if (!args.paper.empty()) {
    auto paper = findPaperSize(args.paper);
    if (!paper) return Error{"Unknown paper " + args.paper + " (use A4, Letter, 15\"X12\" or 10\"X12\")."};
    document.paper = paperOf(*paper);
  }
  return std::optional<ReportDocument>{std::move(document)};
}

}  // namespace tavrel::cli
