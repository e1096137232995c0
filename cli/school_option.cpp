#include "cli/school_option.h"

namespace tavrel::cli {

Result<std::string> selectSchool(shell::Application& application, const std::string& name) {
  auto school = application.store().table<store::TSchl>().find(store::TSchl::primary, {name});
  if (!school || !application.session().setSchool(school->SCHOOLCODE)) {
    return Error{"There is no school named " + name + "."};
  }
  return school->SNAME;
}

}  // namespace tavrel::cli
