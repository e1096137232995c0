#include "core/store/limit_messages.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/scripted_prompter.h"

namespace tavrel::store {
namespace {

TEST(LimitMessages, NameTheTypedTextAndTheLabelExactly) {
  using F = LabelledField;
  struct Case {
    std::function<void(Prompter&)> show;
    std::string text;
  };
  const Case cases[] = {
      {[](Prompter& p) { RngMsg(p, "15", F::TMAXLEC, 1, 12); },
       "15 is not a valid value for \" Per Day upper limit of Resource\". Allowed range is 1 to 12. "
       "Restoring old "
       "value."},
      {[](Prompter& p) { RngMsg(p, "", F::TMAXCON, 1, 12); },
       "Empty is not a valid value for \"Sequence Continuity  upper limit of Resource \". Allowed range is 1 "
       "to 12. "
       "Restoring old value."},
      {[](Prompter& p) { RngMsg(p, "0", F::IDTSQUL, 1, 12); },
       "0 is not a valid value for \"Sequence Continuity upper limit of Resource \". Allowed range is 1 to "
       "12. "
       "Restoring old value."},
      {[](Prompter& p) { RngMsg(p, "200", F::TMAXLECWK, 1, 108); },
       "200 is not a valid value for \"Per Week upper limit of Resource\". Allowed range is 1 to 108. "
       "Restoring old "
       "value."},
      {[](Prompter& p) { RngMsg(p, "0", F::AINCLUSOF, 2, 12); },
       "0 is not a valid value for \"In Cluster of\". Allowed range is 2 to 12. Restoring old value."},
      {[](Prompter& p) { MinMsg(p, "1", F::SOCCURENCE, "1A", "Maths", 2); },
       "1 is not a valid value for \"For Class per Day upper limit of Subject\". Minimum Value considering "
       "1A indents "
       "for Maths is 2. Incorporating this minimum value."},
      {[](Prompter& p) { MinMsg(p, "1", F::TOCCURENCE, "2B", "ADAMS", 3); },
       "1 is not a valid value for \"For Class per Day upper limit of Resource\". Minimum Value considering "
       "2B "
       "indents for ADAMS is 3. Incorporating this minimum value."},
      {[](Prompter& p) { OnePDayMsg(p, "3", F::SOCCURENCE); },
       "3 is not a valid value for \"For Class per Day upper limit of Subject\". Period requirement is one "
       "per day. "
       "Incorporating the value 1."},
  };
  for (const Case& c : cases) {
    testing::ScriptedPrompter prompter;
    prompter.expectMessage(MessageKind::Error, c.text);
    c.show(prompter);
  }
}

}  // namespace
}  // namespace tavrel::store
