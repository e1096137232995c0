#include "core/engine/defaults.h"

#include <algorithm>
#include <cctype>

#include "core/store/limit_messages.h"

namespace tavrel::engine {

using namespace store;

namespace {

int& field(TInst& institution, DefaultLimit limit) {
  switch (limit) {
    case DefaultLimit::SubjectPerClass:
      return institution.IDSUL_CLASS;
    case DefaultLimit::ResourcePerClass:
      return institution.IDTUL_CLASS;
    case DefaultLimit::ResourcePerDay:
      return institution.IDTUL_DAY;
    case DefaultLimit::ResourcePerWeek:
      return institution.IDTUL_WEEK;
    case DefaultLimit::ResourceSequence:
      return institution.IDTSQUL;
  }
  return institution.IDTSQUL;
}

LabelledField label(DefaultLimit limit) {
  switch (limit) {
    case DefaultLimit::SubjectPerClass:
      return LabelledField::IDSUL_CLASS;
    case DefaultLimit::ResourcePerClass:
      return LabelledField::IDTUL_CLASS;
    case DefaultLimit::ResourcePerDay:
      return LabelledField::IDTUL_DAY;
    case DefaultLimit::ResourcePerWeek:
      return LabelledField::IDTUL_WEEK;
    case DefaultLimit::ResourceSequence:
      return LabelledField::IDTSQUL;
  }
  return LabelledField::IDTSQUL;
}

}  // namespace

int defaultLimitHigh(DefaultLimit limit) {
  return limit == DefaultLimit::ResourcePerWeek ? 108 : 12;
}

int defaultLimitValue(const TInst& institution, DefaultLimit limit) {
  TInst copy = institution;
  return field(copy, limit);
}

bool setDefaultLimit(Session& session, DefaultLimit limit, const std::string& text) {
  const int high = defaultLimitHigh(limit);
  const bool digits = !text.empty() && text.size() <= 3 && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
  const int value = digits ? std::stoi(text) : 0;
  if (!digits || value < 1 || value > high) {
    RngMsg(session.prompter(), text.empty() ? "Empty" : text, label(limit), 1, high);
    return false;
  }
  Transaction tx(session.store());
  TInst institution = session.store().institution();
  field(institution, limit) = value;
  session.store().saveInstitution(institution);
  tx.commit();
  return true;
}

DefaultUpdates availableUpdates(Store& store, int school) {
  DefaultUpdates updates;
  updates.resources = store.table<TTeac>().count(TTeac::primary, {school}) > 0;
  updates.classes = store.table<TTOcc>().count(TTOcc::primary, {school}) > 0 ||
                    store.table<TSOcc>().count(TSOcc::primary, {school}) > 0;
  return updates;
}

bool updateClasses(Session& session, Progress& progress, bool resourceLimits, bool subjectLimits) {
  Prompter& prompter = session.prompter();
  if (!resourceLimits && !subjectLimits) {
    prompter.info("Select at least one class default to update.");
    return false;
  }
  if (!prompter.ask(
          MessageKind::Warning,
          "Tavrel automatically sets class upper limits as it activates indents. Updating may disturb "
          "these settings for classes whose indents are activated. Especially, the one per day indents "
          "may get distorted. Do you still want to update?")) {
    return false;
  }
  if (!prompter.ask(
          MessageKind::Information,
          "This will update all the Clases with the Selected Class defaults.Select  Yes to proceed with "
          "the replacements.")) {
    return false;
  }
  Store& store = session.store();
  const int school = session.schoolCode();
  const TInst defaults = store.institution();
  Transaction tx(store);
  if (resourceLimits) {
    auto rows = store.table<TTOcc>().range(TTOcc::primary, {school});
    progress.show(" Updating all the Classes with the Class defaults...", static_cast<int>(rows.size()));
    for (TTOcc& row : rows) {
      row.TOCCURENCE = defaults.IDTUL_CLASS;
      store.table<TTOcc>().update(row);
      progress.step();
    }
  }
  if (subjectLimits) {
    auto rows = store.table<TSOcc>().range(TSOcc::primary, {school});
    progress.show(" Updating all the Classes with the class defaults...", static_cast<int>(rows.size()));
    for (TSOcc& row : rows) {
      row.SOCCURENCE = defaults.IDSUL_CLASS;
      store.table<TSOcc>().update(row);
      progress.step();
    }
  }
  tx.commit();
  progress.hide();
  session.flush(kFlushResourceLimits);
  session.flush(kFlushSubjectLimits);
  return true;
}

bool updateResources(Session& session, Progress& progress, bool perDay, bool perWeek, bool sequence) {
  Prompter& prompter = session.prompter();
  if (!perDay && !perWeek && !sequence) {
    prompter.info(" Select at least one Resource default to update.");
    return false;
  }
  if (!prompter.ask(
          MessageKind::Information,
          "This will update all Resources with the Selected Resource defaults.Select  Yes to proceed with "
          "the replacements.")) {
    return false;
  }
  Store& store = session.store();
  const TInst defaults = store.institution();
  auto resources = store.table<TTeac>().range(TTeac::primary, {session.schoolCode()});
  Transaction tx(store);
  progress.show("Updating Resources...", static_cast<int>(resources.size()));
  for (TTeac& resource : resources) {
    if (perDay) resource.TMAXLEC = defaults.IDTUL_DAY;
    if (perWeek) resource.TMAXLECWK = defaults.IDTUL_WEEK;
    if (sequence) resource.TMAXCON = defaults.IDTSQUL;
    store.table<TTeac>().update(resource);
    progress.step();
  }
  tx.commit();
  progress.hide();
  session.flush(kFlushResources);
  return true;
}

void closeDefaults(Session& session) {
  auto school = session.school();
  if (!school) return;
  const TInst defaults = session.store().institution();
  Transaction tx(session.store());
  school->SMAXLEC = defaults.IDTUL_DAY;
  school->STOTLEC = defaults.IDTUL_WEEK;
  session.store().table<TSchl>().update(*school);
  tx.commit();
  session.flush(kFlushSchools);
}

}  // namespace tavrel::engine
