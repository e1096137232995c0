// Quick-saving an "Allocate All" run and resuming it. The 21 arrays of the working set are
// written as headerless dynamic-array files named after the arrays (`CTBL`, `SRLALLO`, ...) in a
// folder of the school's own inside the data folder, so that one school's resume can never load
// another school's working set; the school record then says where the run stood.
//
// A save is all or nothing: the files go to a staging folder, which replaces the school's folder
// by renaming, and only then is the resume state recorded. A crash at any step leaves the
// previous save and its state, or the new save and the previous state (which resumes from an
// earlier indent; redoing a finished indent adds nothing).
#pragma once

#include <filesystem>

#include "core/engine/working_set.h"
#include "core/engine/write_back.h"
#include "core/ports/progress.h"
#include "core/store/store.h"
#include "core/util/result.h"

namespace tavrel::engine {

// Phases of a run (`SavePos`): the batch, the re-attempt pass, writing class rows, resource rows.
inline constexpr char kPhaseBatch = 'B';
inline constexpr char kPhaseReattempt = 'F';
inline constexpr char kPhaseClassRows = 'C';
inline constexpr char kPhaseResourceRows = 'T';

// Where a saved run stood. In the batch and the re-attempt pass: the indent the run was on (it is
// processed again). While writing back: the owner and slot the write-back had reached, kept as
// `SSAVESRL` and `SDNSAVE`.
struct SaveState {
  char phase = kPhaseBatch;
  int serial = 0;
  WriteBackPoint point;
  int done = 0;    // `SDNALLOC`
  int failed = 0;  // `SFLALLOC`
};

// <data folder>/QuickSave/School <code>
std::filesystem::path quickSaveFolder(const store::Store& store, int school);

// Writes the 21 files of the working set into the school's quick-save folder, showing "Quick
// saving work done..." on the progress bar (one step per file).
void writeQuickSaveFiles(const WorkingSet& set, const store::Store& store, Progress& progress);

// Records the resume state in the school record: `SSAVEDONE` "Y" and where the run stood. It joins
// the caller's transaction, so a write-back stopped halfway commits its rows and this state
// together.
void recordSaveState(store::Store& store, int school, const SaveState& state);

// The state a school record holds.
SaveState savedState(const store::TSchl& school);

// Fills a working set loaded for a resume (LoadMode::Resume) from the school's quick-save files.
// Each file must hold exactly what the school's dimensions and active indents call for; a file
// that is missing or does not fit is refused with a message that names it.
Status loadQuickSaveFiles(WorkingSet& set, const store::Store& store, const std::string& schoolName);

}  // namespace tavrel::engine
