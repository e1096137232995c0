// The sample data set (samples/*.json) is feasible: each of its schools, read into a data set,
// gets every period of its active indents placed by "Allocate All" with the default switches, and
// the audit finds nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/engine/allocation_run.h"
#include "core/engine/audit.h"
#include "core/exchange/school_document.h"
#include "core/ports/clock.h"
#include "tests/core/engine/run_ports.h"
#include "tests/support/document_school.h"
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

std::string readSample(const std::string& file) {
  std::ifstream in(std::string(TAVREL_SAMPLES_DIR) + "/" + file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class SampleDataSet : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleDataSet, EverySchoolIsAllocatedCompletelyWithACleanAudit) {
  auto document = exchange::fromJson(readSample(GetParam()));
  ASSERT_TRUE(document.ok()) << document.error();
  testing::SchoolFixture f;
  const testing::DocumentSchool school = testing::writeDocumentSchool(f.session(), *document);
  EXPECT_TRUE(school.refused.empty()) << school.refused.size() << " indents refused activation";
  ASSERT_TRUE(f.session().setSchool(school.school));

  RecordingPrompter prompter;
  testing::RunProgress progress;
  SystemClock clock;
  const RunOutcome outcome = AllocationRun(f.session(), EnginePorts{prompter, progress, clock}, {.seed = 1}).allocate();
  EXPECT_EQ(outcome.end, RunEnd::Completed);
  EXPECT_EQ(outcome.totalPeriods, school.periods);
  EXPECT_EQ(outcome.done, school.periods);
  EXPECT_EQ(outcome.failed, 0);
  EXPECT_TRUE(prompter.questions.empty());
  const AuditReport audit = check(f.store(), school.school);
  EXPECT_TRUE(audit.passed()) << ::testing::PrintToString(audit.texts());
}

INSTANTIATE_TEST_SUITE_P(Schools, SampleDataSet,
                         ::testing::Values("ashcombe-hill-senior.json", "ashcombe-hill-junior.json"));

}  // namespace
}  // namespace tavrel::engine
