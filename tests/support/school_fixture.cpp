#include "tests/support/school_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "core/store/week_frame.h"

namespace tavrel::testing {

using namespace store;

namespace {

// Making a data set writes every table file and index durably, one by one, which takes seconds;
// the empty data set is therefore made once per test program and copied for each fixture.
const std::filesystem::path& emptyDataSet() {
  static TempFolder folder;
  static const std::filesystem::path data = [] {
    auto made = Store::open(ProgramFolders{folder.path()}, DataSet::Live);
    if (!made) throw std::runtime_error(made.error());
    return ProgramFolders{folder.path()}.live();
  }();
  return data;
}

void copyDataSet(const std::filesystem::path& target) {
  std::filesystem::create_directories(target);
  std::filesystem::copy(
      emptyDataSet(), target,
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

template <class Row>
Row require(std::optional<Row> row, const char* what) {
  if (!row) throw std::logic_error(std::string("fixture: no ") + what);
  return *row;
}

// Adds one to a counter record, creating it at 0 first.
template <class Row, class Field>
void countUp(Table<Row>& table, const Key& key, Row fresh, Field Row::*field) {
  auto row = table.find(Row::primary, key);
  if (!row) {
    table.insert(fresh);
    row = fresh;
  }
  (*row).*field += 1;
  table.update(*row);
}

}  // namespace

SchoolFixture::SchoolFixture(Options options) {
  const ProgramFolders folders{folder_.path()};
  copyDataSet(folders.live());
  if (options.dataSet == DataSet::Sample) copyDataSet(folders.sample());
  auto opened = Store::open(folders, options.dataSet);
  if (!opened) throw std::runtime_error(opened.error());
  ownStore_ = std::move(opened.value());
  store_ = ownStore_.get();
  writeSchool(options);
  ownSession_ = std::make_unique<Session>(*store_, prompter_);
  session_ = ownSession_.get();
  session_->setSchool(1);
}

SchoolFixture::SchoolFixture(Store& store, Session& session, Options options)
    : store_(&store), session_(&session) {
  writeSchool(options);
  session_->setSchool(1);
}

void SchoolFixture::writeSchool(const Options& options) {
  Transaction tx(*store_);
  TSchl school;
  school.SNAME = "SCHOOL1";
  school.SCHOOLCODE = 1;
  school.SREGN = "STANDARD";
  school.SWRKDAYS = options.swrkdays;
  school.STOTLEC = 108;
  school.SMAXLEC = 12;
  school.SSAVEDONE = "N";
  store_->table<TSchl>().insert(school);
  TInst inst = store_->institution();
  inst.ISECTION = 1;
  store_->saveInstitution(inst);
  const int days = daysInCycle(options.swrkdays) > 0 ? daysInCycle(options.swrkdays) : 9;
  const int periods = periodsPerDay(options.swrkdays) > 0 ? periodsPerDay(options.swrkdays) : 12;
  for (int day = 1; day <= 9; ++day) {
    for (int period = 1; period <= 12; ++period) {
      int content = day <= days && period <= periods ? 999 : 0;
      TTtbl row{.TSCHOOL = 1,
                .TTYPE = "L",
                .TCLASS = content,
                .TTEACHER = content,
                .TSUBJECT = content,
                .TDAY = day,
                .TLECTNO = period,
                .TSCHL = 1};
      store_->table<TTtbl>().insert(row);
    }
  }
  tx.commit();
}

SchoolFixture::~SchoolFixture() = default;

void SchoolFixture::addRows(char kind, int owner) {
  for (const TTtbl& schoolCell : store_->table<TTtbl>().range(TTtbl::TIMESCHL, {1, "L", 1})) {
    int content = schoolCell.TSUBJECT != 0 ? 999 : 0;
    TTtbl row{.TSCHOOL = 1,
              .TTYPE = std::string(1, kind),
              .TCLASS = kind == 'C' ? owner : content,
              .TTEACHER = kind == 'T' ? owner : content,
              .TSUBJECT = content,
              .TDAY = schoolCell.TDAY,
              .TLECTNO = schoolCell.TLECTNO,
              .TSCHL = owner};
    store_->table<TTtbl>().insert(row);
  }
}

int SchoolFixture::addClass(const std::string& name, const std::vector<int>& members) {
  // One transaction per step: every write on its own would be a durable commit of its own.
  Transaction tx(*store_);
  TSchl school = require(session_->school(), "school");
  const int code = ++school.STOTCLS;
  store_->table<TSchl>().update(school);
  TClas row{.CSCHOOL = 1,
            .CLSNAME = name,
            .CLSCODE = code,
            .CLSOPTION = members.empty() ? "N" : "Y",
            .CLSTOTLEC = school.STOTLEC};
  store_->table<TClas>().insert(row);
  for (int member : members) {
    TOptn link{.OPSCHOOL = 1, .OPTYPE = "C", .OPMAINCODE = code, .OPSUBCODE = member};
    store_->table<TOptn>().insert(link);
  }
  addRows('C', code);
  tx.commit();
  return code;
}

int SchoolFixture::addResource(const std::string& name, const std::vector<int>& members) {
  Transaction tx(*store_);
  TSchl school = require(session_->school(), "school");
  const int code = ++school.STOTTCH;
  store_->table<TSchl>().update(school);
  TTeac row{.TSCHOOL = 1,
            .TCHNAME = name,
            .TCHCODE = code,
            .TCHOPTION = members.empty() ? "N" : "Y",
            .TMAXLEC = 12,
            .TMAXLECWK = 108,
            .TMAXCON = 3,
            .TCHTOTLEC = school.STOTLEC,
            .TPARTTIME = "N"};
  store_->table<TTeac>().insert(row);
  for (int member : members) {
    TOptn link{.OPSCHOOL = 1, .OPTYPE = "T", .OPMAINCODE = code, .OPSUBCODE = member};
    store_->table<TOptn>().insert(link);
  }
  addRows('T', code);
  tx.commit();
  return code;
}

int SchoolFixture::addSubject(const std::string& name) {
  Transaction tx(*store_);
  TInst inst = store_->institution();
  const int code = ++inst.ISUBJECT;
  store_->saveInstitution(inst);
  TSubj row{.SUBNAME = name, .SUBCODE = code};
  store_->table<TSubj>().insert(row);
  tx.commit();
  return code;
}

std::vector<int> SchoolFixture::members(char kind, int group) {
  std::vector<int> codes;
  for (const TOptn& link : store_->table<TOptn>().range(TOptn::primary, {1, std::string(1, kind), group})) {
    codes.push_back(link.OPSUBCODE);
  }
  return codes;
}

int SchoolFixture::addIndent(const IndentSpec& spec) {
  Transaction tx(*store_);
  TSchl school = require(session_->school(), "school");
  const int serial = ++school.SALLSERIAL;
  store_->table<TSchl>().update(school);
  const bool cluster = spec.clusterOf >= 2;
  TAlloc row{.ASCHOOL = 1,
             .ASERIALNO = serial,
             .ACLASS = spec.cls,
             .ATEACHER = spec.resource,
             .ASUBJECT = spec.subject,
             .AQUERY = "None",
             .ANOOFLEC = spec.periods,
             .ACLUSWEEK = cluster ? spec.periods / spec.clusterOf : 0,
             .AINCLUSOF = cluster ? spec.clusterOf : 0,
             .APRIORITY = cluster ? "S" : "Z",
             .AACTIVE = spec.active ? "Y" : "N",
             .ARECESS = "Y"};
  store_->table<TAlloc>().insert(row);
  if (!spec.active) {
    tx.commit();
    return serial;
  }

  auto& classes = store_->table<TClas>();
  TClas cls = require(classes.find(TClas::CLASCODE, {1, spec.cls}), "class");
  cls.CLSREQLEC += spec.periods;
  classes.update(cls);
  for (int member : members('C', spec.cls)) {
    TClas m = require(classes.find(TClas::CLASCODE, {1, member}), "member class");
    m.CLSREQMLT += spec.periods;
    classes.update(m);
  }
  auto& resources = store_->table<TTeac>();
  TTeac resource = require(resources.find(TTeac::TEACCODE, {1, spec.resource}), "resource");
  resource.TCHREQLEC += spec.periods;
  resources.update(resource);
  for (int member : members('T', spec.resource)) {
    TTeac m = require(resources.find(TTeac::TEACCODE, {1, member}), "member resource");
    m.TCHREQMLT += spec.periods;
    resources.update(m);
  }
  auto& links = store_->table<TSctl>();
  TSctl link =
      links.find(TSctl::primary, {1, spec.subject}).value_or(TSctl{.SCTSCHOOL = 1, .SCTCODE = spec.subject});
  link.SCTREQLEC += spec.periods;
  if (link.rowid == 0) {
    links.insert(link);
  } else {
    links.update(link);
  }
  TSOcc subjectLimit{.SOSCHOOL = 1, .SOCLASS = spec.cls, .SOSUBJECT = spec.subject, .SOCCURENCE = 1};
  store_->table<TSOcc>().insert(subjectLimit);  // refused when the class has one already
  TTOcc resourceLimit{.TOSCHOOL = 1, .TOCLASS = spec.cls, .TOTEACHER = spec.resource, .TOCCURENCE = 1};
  store_->table<TTOcc>().insert(resourceLimit);
  tx.commit();
  return serial;
}

void SchoolFixture::place(int serial, int day, int period) {
  Transaction tx(*store_);
  TAlloc placed = indent(serial);
  if (placed.AINCLUSOF < 2) {
    placeOne(placed, day, period, 0);
  } else {
    for (int position = 1; position <= placed.AINCLUSOF; ++position) {
      placeOne(placed, day, period + position - 1, position);
    }
  }
  tx.commit();
}

void SchoolFixture::placeOne(const TAlloc& placed, int day, int period, int position) {
  auto& cells = store_->table<TTtbl>();
  auto occupy = [&](char kind, int owner) {
    TTtbl row = cell(kind, owner, day, period);
    if (row.TSUBJECT != 999) {
      ADD_FAILURE() << "fixture: cell " << kind << owner << " day " << day << " period " << period
                    << " is not free";
      return;
    }
    row.TSUBJECT = placed.ASUBJECT;
    if (kind == 'C') {
      row.TTEACHER = placed.ATEACHER;
    } else {
      row.TCLASS = placed.ACLASS;
    }
    row.TSERIAL = placed.ASERIALNO;
    row.TCLUSTOT = placed.AINCLUSOF >= 2 ? placed.AINCLUSOF : 0;
    row.TCLUSLECNO = position;
    cells.update(row);
  };

  auto& classes = store_->table<TClas>();
  auto& resources = store_->table<TTeac>();
  occupy('C', placed.ACLASS);
  TClas cls = classRecord(placed.ACLASS);
  cls.CLSTOTALL += 1;
  classes.update(cls);
  for (int member : members('C', placed.ACLASS)) {
    occupy('C', member);
    TClas m = classRecord(member);
    m.CLSMLTALL += 1;
    classes.update(m);
  }
  auto& resourceDays = store_->table<TTDMAll>();
  occupy('T', placed.ATEACHER);
  TTeac resource = resourceRecord(placed.ATEACHER);
  resource.TALLOCLEC += 1;
  resources.update(resource);
  countUp(resourceDays, {1, placed.ATEACHER, day},
          TTDMAll{.TDASCHOOL = 1, .TDATEACHER = placed.ATEACHER, .TDADAYNO = day}, &TTDMAll::TDAALLOC);
  for (int member : members('T', placed.ATEACHER)) {
    occupy('T', member);
    TTeac m = resourceRecord(member);
    m.TCHMLTALL += 1;
    resources.update(m);
    countUp(resourceDays, {1, member, day}, TTDMAll{.TDASCHOOL = 1, .TDATEACHER = member, .TDADAYNO = day},
            &TTDMAll::TDAALLOC);
  }

  TAlloc counted = indent(placed.ASERIALNO);
  counted.ANOLECALL += 1;
  store_->table<TAlloc>().update(counted);
  auto& links = store_->table<TSctl>();
  TSctl link = require(links.find(TSctl::primary, {1, placed.ASUBJECT}), "subject link");
  link.SCTTOTALL += 1;
  links.update(link);
  countUp(store_->table<TSDAll>(), {1, placed.ACLASS, placed.ASUBJECT, day},
          TSDAll{.SDSCHOOL = 1, .SDCLASS = placed.ACLASS, .SDSUBJECT = placed.ASUBJECT, .SDDAYNO = day},
          &TSDAll::SDALLOC);
  countUp(store_->table<TTDAll>(), {1, placed.ACLASS, placed.ATEACHER, day},
          TTDAll{.TDSCHOOL = 1, .TDCLASS = placed.ACLASS, .TDTEACHER = placed.ATEACHER, .TDDAYNO = day},
          &TTDAll::TDALLOC);
}

std::vector<TTtbl> SchoolFixture::cellsHolding(int serial) {
  std::vector<TTtbl> held;
  for (const char* kind : {"C", "T"}) {
    for (const TTtbl& row : store_->table<TTtbl>().range(TTtbl::TIMESERL, {1, serial, kind})) {
      if (row.TSUBJECT != 0 && row.TSUBJECT != 999) held.push_back(row);
    }
  }
  return held;
}

TTtbl SchoolFixture::cell(char kind, int owner, int day, int period) {
  int index = kind == 'C' ? TTtbl::TIMECLAS : kind == 'T' ? TTtbl::TIMETEAC : TTtbl::TIMESCHL;
  return require(store_->table<TTtbl>().find(index, {1, std::string(1, kind), owner, day, period}),
                 "timetable row");
}

TClas SchoolFixture::classRecord(int code) {
  return require(store_->table<TClas>().find(TClas::CLASCODE, {1, code}), "class");
}

TTeac SchoolFixture::resourceRecord(int code) {
  return require(store_->table<TTeac>().find(TTeac::TEACCODE, {1, code}), "resource");
}

TAlloc SchoolFixture::indent(int serial) {
  return require(store_->table<TAlloc>().find(TAlloc::primary, {1, serial}), "indent");
}

}  // namespace tavrel::testing
