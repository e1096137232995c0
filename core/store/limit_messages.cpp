#include "core/store/limit_messages.h"

#include <string>

namespace tavrel::store {

namespace {

// Every message starts the same way. An empty box is named "Empty", so the message never begins
// with a bare " is not".
std::string opening(std::string_view entered, LabelledField field) {
  std::string text = entered.empty() ? std::string("Empty") : std::string(entered);
  return text + " is not a valid value for \"" + std::string(fieldLabel(field)) + "\"";
}

}  // namespace

void RngMsg(Prompter& prompter, std::string_view entered, LabelledField field, int low, int high) {
  prompter.error(opening(entered, field) + ". Allowed range is " + std::to_string(low) + " to " +
                 std::to_string(high) + ". Restoring old value.");
}

void MinMsg(Prompter& prompter, std::string_view entered, LabelledField field, std::string_view className,
            std::string_view itemName, int minimum) {
  prompter.error(opening(entered, field) + ". Minimum Value considering " + std::string(className) +
                 " indents for " + std::string(itemName) + " is " + std::to_string(minimum) +
                 ". Incorporating this minimum value.");
}

void OnePDayMsg(Prompter& prompter, std::string_view entered, LabelledField field) {
  prompter.error(opening(entered, field) + ". Period requirement is one per day. Incorporating the value 1.");
}

}  // namespace tavrel::store
