// The subcommands of the tool. Each lives in its own file under cli/commands/ and provides one
// registration function that adds its subcommand, options and callback to the tool; a new command
// adds its declaration here and one line to `registerCommands`.
#pragma once

namespace CLI {
class App;
}

namespace tavrel::cli {

class CliContext;

void registerCommands(CLI::App& tool, CliContext& context);

void registerInfoCommand(CLI::App& tool, CliContext& context);
void registerBackupCommands(CLI::App& tool, CliContext& context);
void registerExportCommand(CLI::App& tool, CliContext& context);
void registerReportCommand(CLI::App& tool, CliContext& context);
void registerAllocateCommand(CLI::App& tool, CliContext& context);
void registerAllocateSelectCommand(CLI::App& tool, CliContext& context);
void registerCheckCommand(CLI::App& tool, CliContext& context);
void registerImportCommand(CLI::App& tool, CliContext& context);
void registerActivateCommand(CLI::App& tool, CliContext& context);
void registerRepairCommand(CLI::App& tool, CliContext& context);
void registerProxyCommands(CLI::App& tool, CliContext& context);
void registerDemoCommand(CLI::App& tool, CliContext& context);
void registerImportFormatCommands(CLI::App& tool, CliContext& context);
void registerExportFetCommand(CLI::App& tool, CliContext& context);

}  // namespace tavrel::cli
