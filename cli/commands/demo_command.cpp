// `tavrel-cli demo`: the whole round on the sample data set without a window. Every school of the
// sample is allocated afresh ("Allocate All" with the allocation window's defaults), its timetable
// audited, and the class and resource timetables printed as PDF and HTML into one folder; a short
// summary says what came of it.
#include <CLI/CLI.hpp>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/report_run.h"
#include "core/engine/allocation_run.h"
#include "core/engine/audit.h"
#include "core/indents/timetable_undo.h"
#include "core/store/week_frame.h"

namespace tavrel::cli {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct DemoOptions {
  std::string out = "out";
  std::optional<std::uint64_t> seed;
};

// The timetable reports the demonstration prints, by catalogue code.
struct TimetableKind {
  int code;
  const char* file;  // the part of the file name after the school's
};
constexpr TimetableKind kTimetables[] = {{2, "class-timetables"}, {12, "resource-timetables"}};
constexpr reports::ReportFormat kFormats[] = {reports::ReportFormat::Pdf, reports::ReportFormat::Html};

struct SchoolResult {
  std::string name;
  int placed = 0;
  int total = 0;
  Clock::duration took{};
  std::size_t violations = 0;
};

// "ASHCOMBE HILL SENIOR SCHOOL" → "ashcombe-hill-senior-school".
std::string fileStem(const std::string& name) {
  std::string stem;
  for (unsigned char c : name) {
    if (std::isalnum(c)) {
      stem += static_cast<char>(std::tolower(c));
    } else if (!stem.empty() && stem.back() != '-') {
      stem += '-';
    }
  }
  while (!stem.empty() && stem.back() == '-') stem.pop_back();
  return stem.empty() ? "school" : stem;
}

double seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

std::string oneDecimal(double value) {
  const long tenths = static_cast<long>(value * 10 + 0.5);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// Undoes what an earlier run placed, so every demonstration starts from the same empty timetable,
// then allocates and audits.
Result<SchoolResult> allocateSchool(shell::Application& application, const store::TSchl& school,
                                    const DemoOptions& options) {
  store::Session& session = application.session();
  if (!session.setSchool(school.SCHOOLCODE)) return Error{"Cannot open " + school.SNAME + "."};
  const shell::Ports ports = application.ports();
  indents::ZapTTProc(session, ports.progress);
  engine::RunSettings settings;
  settings.seed = options.seed;
  engine::AllocationRun run(session, engine::EnginePorts{ports.prompter, ports.progress, ports.clock}, settings);
  const Clock::time_point start = Clock::now();
  const engine::RunOutcome outcome = run.allocate();
  const Clock::duration took = Clock::now() - start;
  if (outcome.end != engine::RunEnd::Completed) return Error{school.SNAME + ": the allocation did not complete."};
  const engine::AuditReport audit = engine::check(application.store(), school.SCHOOLCODE);
  for (const engine::Violation& violation : audit.violations) application.ports().prompter.error(violation.text);
  return SchoolResult{school.SNAME, outcome.done, outcome.totalPeriods, took, audit.violations.size()};
}

// Every timetable of the school over its whole week.
Result<std::vector<fs::path>> printTimetables(shell::Application& application, const store::TSchl& school,
                                              const fs::path& folder) {
  std::vector<fs::path> written;
  for (const TimetableKind& kind : kTimetables) {
    ReportArguments args;
    args.school = school.SNAME;
    args.code = kind.code;
    for (int day = 1; day <= store::daysInCycle(school.SWRKDAYS); ++day) args.days.push_back(std::to_string(day));
    for (int period = 1; period <= store::periodsPerDay(school.SWRKDAYS); ++period) args.periods.push_back(period);
    auto document = prepareReport(application, args);
    if (!document) return Error{document.error()};
    if (!*document) continue;  // nothing to print; the core has said so
    for (reports::ReportFormat format : kFormats) {
      const fs::path file =
          folder / (fileStem(school.SNAME) + "-" + kind.file + "." + std::string(reports::formatName(format)));
      if (Status done = writeReportFile(**document, format, file); !done) return Error{done.error()};
      written.push_back(file);
    }
  }
  return written;
}

Status demo(shell::Application& application, const DemoOptions& options, std::ostream& out) {
  if (application.store().dataSet() != store::DataSet::Sample) {
    if (Status loaded = application.loadDataSet(store::DataSet::Sample); !loaded) return loaded;
  }
  const std::vector<store::TSchl> schools = application.store().table<store::TSchl>().range(store::TSchl::primary);
  if (schools.empty()) return Error{"The sample data set holds no school."};

  std::error_code ec;
  const fs::path folder = fs::absolute(options.out, ec);
  fs::create_directories(folder, ec);
  if (ec) return Error{"Cannot make the folder " + options.out + " (" + ec.message() + ")."};

  std::vector<SchoolResult> results;
  std::vector<fs::path> files;
  Clock::duration allocating{};
  for (const store::TSchl& school : schools) {
    auto result = allocateSchool(application, school, options);
    if (!result) return Error{result.error()};
    results.push_back(*result);
    allocating += result->took;
  }
  for (const store::TSchl& school : schools) {
    auto written = printTimetables(application, school, folder);
    if (!written) return Error{written.error()};
    files.insert(files.end(), written->begin(), written->end());
  }

  int placed = 0;
  int total = 0;
  std::size_t violations = 0;
  out << "Tavrel demonstration on the sample data set\n";
  for (const SchoolResult& result : results) {
    out << "  " << result.name << ": " << result.placed << "/" << result.total << " periods placed in "
        << oneDecimal(seconds(result.took)) << " s, audit "
        << (result.violations == 0 ? std::string("passed") : std::to_string(result.violations) + " violations")
        << "\n";
    placed += result.placed;
    total += result.total;
    violations += result.violations;
  }
  out << "  All schools: " << placed << "/" << total << " periods placed ("
      << (total > 0 ? placed * 100 / total : 0) << "%) in " << oneDecimal(seconds(allocating)) << " s\n";
  out << "  " << files.size() << " timetable files (PDF and HTML) in " << folder.string() << "\n";
  for (const fs::path& file : files) out << "    " << file.filename().string() << "\n";
  if (violations > 0) return Error{"The audit found " + std::to_string(violations) + " violations."};
  return {};
}

}  // namespace

void registerDemoCommand(CLI::App& tool, CliContext& context) {
  auto options = std::make_shared<DemoOptions>();
  CLI::App* command = tool.add_subcommand(
      "demo",
      "Allocate every school of the sample data set, audit it and print its class and resource timetables");
  command->add_option("--out", options->out, "Folder for the timetable files (default: out)")->type_name("DIR");
  command->add_option("--seed", options->seed, "Seed of the runs' random draws (default: from the clock)")
      ->type_name("N");
  command->callback([&context, options] {
    context.runWithApplication([&context, options](shell::Application& application) {
      return demo(application, *options, context.out());
    });
  });
}

}  // namespace tavrel::cli
