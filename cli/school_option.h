// The `--school NAME` option of the commands that work on one school.
#pragma once

#include <string>

#include "core/shell/application.h"
#include "core/util/result.h"

namespace tavrel::cli {

// Makes the school of that name current; its name back, or the refusal.
Result<std::string> selectSchool(shell::Application& application, const std::string& name);

}  // namespace tavrel::cli
