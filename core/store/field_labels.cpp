#include "core/store/field_labels.h"

namespace tavrel::store {

std::string_view fieldLabel(LabelledField field) {
  switch (field) {
    case LabelledField::TMAXLEC: return " Per Day upper limit of Resource";
    case LabelledField::TMAXLECWK: return "Per Week upper limit of Resource";
    case LabelledField::TMAXCON: return "Sequence Continuity  upper limit of Resource ";
    case LabelledField::ANOOFLEC: return "Count of Periods/Week Cycle";
    case LabelledField::ACLUSWEEK: return "Cluster per Week";
    case LabelledField::AINCLUSOF: return "In Cluster of";
    case LabelledField::TOCCURENCE: return "For Class per Day upper limit of Resource";
    case LabelledField::SOCCURENCE: return "For Class per Day upper limit of Subject";
    case LabelledField::IDSUL_CLASS: return "For Class per Day upper limit of Subject";
    case LabelledField::IDTUL_CLASS: return "For Class per Day upper limit of Resource";
    case LabelledField::IDTUL_DAY: return " Per Day upper limit of Resource";
    case LabelledField::IDTUL_WEEK: return "Per Week upper limit of Resource";
    case LabelledField::IDTSQUL: return "Sequence Continuity upper limit of Resource ";
  }
  return {};
}

}  // namespace tavrel::store
