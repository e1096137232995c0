#include "core/store/field_labels.h"

namespace tavrel::store {

namespace {

struct Labelled {
  LabelledField field;
  std::string_view label;
};

constexpr Labelled kLabels[] = {
    {LabelledField::TMAXLEC, " Per Day upper limit of Resource"},
    {LabelledField::TMAXLECWK, "Per Week upper limit of Resource"},
    {LabelledField::TMAXCON, "Sequence Continuity  upper limit of Resource "},
    {LabelledField::ANOOFLEC, "Count of Periods/Week Cycle"},
    {LabelledField::ACLUSWEEK, "Cluster per Week"},
    {LabelledField::AINCLUSOF, "In Cluster of"},
    {LabelledField::TOCCURENCE, "For Class per Day upper limit of Resource"},
    {LabelledField::SOCCURENCE, "For Class per Day upper limit of Subject"},
    {LabelledField::IDSUL_CLASS, "For Class per Day upper limit of Subject"},
    {LabelledField::IDTUL_CLASS, "For Class per Day upper limit of Resource"},
    {LabelledField::IDTUL_DAY, " Per Day upper limit of Resource"},
    {LabelledField::IDTUL_WEEK, "Per Week upper limit of Resource"},
    {LabelledField::IDTSQUL, "Sequence Continuity upper limit of Resource "},
};

}  // namespace

std::string_view fieldLabel(LabelledField field) {
  for (const Labelled& entry : kLabels) {
    if (entry.field == field) return entry.label;
  }
  return {};
}

}  // namespace tavrel::store
