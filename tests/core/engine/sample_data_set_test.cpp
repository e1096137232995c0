// The sample data set (samples/*.json) is feasible: each of its schools, imported as the program
// imports it, gets every period of its active indents placed by "Allocate All" with the default
// switches, and the audit finds nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/engine/allocation_run.h"
#include "core/engine/audit.h"
#include "core/exchange/import_school.h"
#include "core/ports/clock.h"
#include "tests/core/engine/run_ports.h"
#include "tests/support/school_fixture.h"

namespace tavrel::engine {
namespace {

using namespace store;

// Keeps what the run says; the sample's runs ask nothing.
class RecordingPrompter final : public Prompter {
 public:
  void show(MessageKind, std::string_view text) override { messages.emplace_back(text); }
  bool ask(MessageKind, std::string_view text) override {
    questions.emplace_back(text);
    return false;
  }
  void beep() override {}
  std::vector<std::string> messages;
  std::vector<std::string> questions;
};

class SampleDataSet : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleDataSet, EverySchoolIsAllocatedCompletelyWithACleanAudit) {
  auto document = exchange::readDocumentFile(std::filesystem::path(TAVREL_SAMPLES_DIR) / GetParam());
  ASSERT_TRUE(document.ok()) << document.error();
  testing::SchoolFixture f;
  testing::RunProgress progress;
  auto imported = exchange::importSchool(f.store(), progress, *document);
  ASSERT_TRUE(imported.ok()) << imported.error();
  EXPECT_TRUE(imported->complete());
  EXPECT_EQ(imported->activated, imported->indents);
  int periods = 0;
  for (const TAlloc& indent : f.store().table<TAlloc>().range(TAlloc::primary, {imported->schoolCode})) {
    if (indent.AACTIVE == "Y") periods += indent.ANOOFLEC;
  }
  ASSERT_TRUE(f.session().setSchool(imported->schoolCode));

  RecordingPrompter prompter;
  SystemClock clock;
  const RunOutcome outcome = AllocationRun(f.session(), EnginePorts{prompter, progress, clock}, {.seed = 1}).allocate();
  EXPECT_EQ(outcome.end, RunEnd::Completed);
  EXPECT_EQ(outcome.totalPeriods, periods);
  EXPECT_EQ(outcome.done, periods);
  EXPECT_EQ(outcome.failed, 0);
  EXPECT_TRUE(prompter.questions.empty());
  const AuditReport audit = check(f.store(), imported->schoolCode);
  EXPECT_TRUE(audit.passed()) << ::testing::PrintToString(audit.texts());
}

INSTANTIATE_TEST_SUITE_P(Schools, SampleDataSet,
                         ::testing::Values("ashcombe-hill-senior.json", "ashcombe-hill-junior.json"));

}  // namespace
}  // namespace tavrel::engine
