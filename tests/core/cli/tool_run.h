// Running the built `tavrel-cli` as a person would, for the end-to-end tests of the tool: its
// output streams and exit status.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace tavrel::cli::tool {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string quoted(const std::string& text) {
  std::string result = "'";
  for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

inline std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline ToolRun runTool(const std::vector<std::string>& args) {
  testing::TempFolder streams;
  std::string command = quoted(TAVREL_CLI_PATH);
  for (const std::string& arg : args) command += " " + quoted(arg);
  command +=
      " >" + quoted((streams.path() / "out").string()) + " 2>" + quoted((streams.path() / "err").string());
  const int status = std::system(command.c_str());
  return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(streams.path() / "out"),
                 readFile(streams.path() / "err")};
}

inline ToolRun runOn(const std::filesystem::path& home, std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", home.string()});
  return runTool(args);
}

}  // namespace tavrel::cli::tool
