// Reset Institution: erases every school and its data after two questions, keeping the
// institution's name and defaults, the help texts and the report catalogue.
#pragma once

#include "core/shell/application.h"

namespace tavrel::shell {

// True when the institution was reset; false when the person answered No to either question.
bool resetInstitution(Application& application);

}  // namespace tavrel::shell
