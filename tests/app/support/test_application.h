// The data side of the program on a fresh program folder, for tests that open one window without
// the main window: the application with an answering prompter, and a few ways to put schools,
// classes and resources into the tables directly.
#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "core/ports/clock.h"
#include "core/ports/progress.h"
#include "core/shell/application.h"
#include "tests/app/support/answering_prompter.h"

namespace tavrel::testing {

class TestApplication {
 public:
  TestApplication()
      : application_(store::ProgramFolders{folder_.path().toStdString()},
                     shell::Ports{prompter, progress_, clock_}) {
    ready_ = folder_.isValid() && application_.start().ok();
  }

  bool ready() const { return ready_; }
  shell::Application& application() { return application_; }
  store::Store& store() { return application_.store(); }
  store::Session& session() { return application_.session(); }

  store::TSchl addSchool(int code, const std::string& name, int swrkdays = 912,
                         const std::string& weekSetup = "STANDARD") {
    store::TSchl school;
    school.SCHOOLCODE = code;
    school.SNAME = name;
    school.SWRKDAYS = swrkdays;
    school.SREGN = weekSetup;
    school.STOTLEC = 108;
    school.SMAXLEC = 12;
    store().table<store::TSchl>().insert(school);
    store::TInst institution = store().institution();
    if (institution.ISECTION < code) {
      institution.ISECTION = code;
      store().saveInstitution(institution);
    }
    return school;
  }

  void addClass(int school, int code, const std::string& name) {
    store::TClas row;
    row.CSCHOOL = school;
    row.CLSCODE = code;
    row.CLSNAME = name;
    store().table<store::TClas>().insert(row);
  }

  void addResource(int school, int code, const std::string& name) {
    store::TTeac row;
    row.TSCHOOL = school;
    row.TCHCODE = code;
    row.TCHNAME = name;
    store().table<store::TTeac>().insert(row);
  }

  void addIndent(int school, int serial, bool active) {
    store::TAlloc row;
    row.ASCHOOL = school;
    row.ASERIALNO = serial;
    row.AACTIVE = std::string(1, active ? 'Y' : 'N');
    store().table<store::TAlloc>().insert(row);
  }

  AnsweringPrompter prompter;

 private:
  QTemporaryDir folder_;
  SilentProgress progress_;
  SystemClock clock_;
  shell::Application application_;
  bool ready_ = false;
};

}  // namespace tavrel::testing
