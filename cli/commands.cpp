#include "cli/commands.h"

namespace tavrel::cli {

// In the order `tavrel-cli --help` lists them.
void registerCommands(CLI::App& tool, CliContext& context) {
  registerInfoCommand(tool, context);
  registerExportCommand(tool, context);
  registerImportCommand(tool, context);
  registerImportFormatCommands(tool, context);
  registerExportFetCommand(tool, context);
  registerBackupCommands(tool, context);
  registerReportCommand(tool, context);
  registerAllocateCommand(tool, context);
  registerAllocateSelectCommand(tool, context);
  registerCheckCommand(tool, context);
  registerActivateCommand(tool, context);
  registerRepairCommand(tool, context);
  registerProxyCommands(tool, context);
  registerDemoCommand(tool, context);
}

}  // namespace tavrel::cli
