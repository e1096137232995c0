// The three messages of the windows that edit limits and counts. Each names the typed text and the
// field's label in double quotes and tells what the window does about it; the window then does it
// (restores the old value, or stores the minimum or 1).
#pragma once

#include <string_view>

#include "core/ports/prompter.h"
#include "core/store/field_labels.h"

namespace tavrel::store {

// `RngMsg`: the value lies outside low..high; the old value is restored.
void RngMsg(Prompter& prompter, std::string_view entered, LabelledField field, int low, int high);

// `MinMsg`: the value lies below what the class's active indents need (`CheckCUL`); `itemName` is
// the subject's or the resource's name, whichever the limit is for.
void MinMsg(Prompter& prompter, std::string_view entered, LabelledField field, std::string_view className,
            std::string_view itemName, int minimum);

// `OnePDayMsg`: a regular one-per-day indent allows its subject only one period a day.
void OnePDayMsg(Prompter& prompter, std::string_view entered, LabelledField field);

}  // namespace tavrel::store
