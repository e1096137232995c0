// Bringing a school document into the data set the way every import command of the tool does: in
// one transaction, its active indents activated, with the lines that say what was imported and
// which indents or placed periods did not make it.
#pragma once

#include <ostream>
#include <string>

#include "core/exchange/import_school.h"
#include "core/shell/application.h"
#include "core/util/result.h"

namespace tavrel::cli {

// `source` names the file in a refusal, which also says that nothing was imported.
Status importDocument(shell::Application& application, const exchange::SchoolDocument& document,
                      const exchange::ImportOptions& options, const std::string& source, std::ostream& out);

// "<source>: <why> Nothing was imported."
Error importRefused(const std::string& source, const std::string& why);

}  // namespace tavrel::cli
