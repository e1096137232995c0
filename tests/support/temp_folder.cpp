#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <string>
#include <system_error>

namespace tavrel::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

}  // namespace tavrel::testing
