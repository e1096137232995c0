// The state of a working session over one data set: the current school and view kind, the list
// choices and filters, the saved list positions, the pending-window code and the lists (cursors)
// that every window and routine share. The app, the CLI and the tests each create one; nothing of
// it is global.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ports/progress.h"
#include "core/ports/prompter.h"
#include "core/store/cursor.h"
#include "core/store/store.h"

namespace tavrel::store {

enum class StatusChoice { All = 1, Allocated, Incomplete, NoActiveIndent, PassivePresent };
enum class BasisChoice { Indented = 1, Available };

struct ListChoice {
  StatusChoice status = StatusChoice::All;
  BasisChoice basis = BasisChoice::Indented;
  std::string statusCaption = "All";
  std::string basisCaption = " w.r.t. Indented";
};

// Caption of a status or basis choice as the list windows show it.
std::string statusCaption(StatusChoice choice);
std::string basisCaption(BasisChoice choice);

// Steps of `Tblop`, `CNext`, `TNext` and `SNext`.
enum class Step { First = 0, Next = 1, Prior = 2, Last = 3 };

// Flush codes of `TCommit` (table numbers of the flush, not of the files).
enum FlushCode : int {
  kFlushClasses = 1,
  kFlushResources = 2,
  kFlushSubjects = 3,
  kFlushIndents = 4,
  kFlushResourceLimits = 5,
  kFlushSubjectLimits = 6,
  kFlushGroups = 7,
  kFlushTimetable = 8,
  kFlushSchools = 9,
  kFlushSubjectDays = 10,
  kFlushResourceDays = 11,
  kFlushTimetableCopy = 12,
  kFlushInstitution = 13,
  kFlushAllocationParameters = 14,
  kFlushRearrangeParameters = 15,
  kFlushSchoolSubjects = 16,
  kFlushResourceDayTotals = 17,
  kFlushProxies = 18
};

class Session {
 public:
  Session(Store& store, Prompter& prompter);

  Store& store() { return store_; }
  Prompter& prompter() { return prompter_; }

  // ---- Current school ----------------------------------------------------------------------
  // The school every scoped list shows. A change of school forgets the saved list positions,
  // except while the school table is being flushed with its position kept.
  std::optional<TSchl> school() const;
  int schoolCode() const { return schoolCode_; }
  bool setSchool(int code);  // false when no school has that code
  bool selectFirstSchool();  // the first in name order; false when there is none
  Cursor<TSchl>& schools() { return schools_; }

  // ---- View kind and pending window --------------------------------------------------------
  char viewKind = 'C';       // "C" class, "T" resource, "S" subject, "L" school level
  char pendingWindow = 'N';  // the window the main window opens next ("N": none)
  bool cancelFlag = false;   // set by Cancel of the progress window; long loops stop on it

  // ---- Allocation ----------------------------------------------------------------------------
  // How the engine works now: 'A' a fresh "Allocate All" run, 'R' a resumed one (both on the
  // in-memory working set), 'S' table mode ("Allocate Select", one indent, proxies).
  char AllocMode = 'A';
  // "Apply Cluster Permission for Regular indents": when on, a regular indent may take the period
  // next to one of the same subject. Kept for the session only; off at every start.
  bool ClusterPermission = false;

  // ---- Lists -------------------------------------------------------------------------------
  Cursor<TClas>& classes() { return classes_; }
  Cursor<TTeac>& resources() { return resources_; }
  Cursor<TSubj>& subjects() { return subjects_; }
  Cursor<TAlloc>& indents() { return indents_; }

  // Status and basis choices; `set_gb_f` kind 1 sets the status, kind 2 the basis.
  ListChoice& choice(char list);  // "C", "T" or "S"
  void set_gb_f(int kind, char list, int value);

  void FilterDM(int on);     // class and resource status filters
  void FilterAlloc(int on);  // the indent filter
  bool listFilter() const { return listFilter_; }
  bool indentFilter() const { return indentFilter_; }
  char indentFilterCode = 'A';
  int selectedClass = 0;
  int selectedResource = 0;
  int selectedSubject = 0;

  // The filters as predicates (also used where a list is read elsewhere).
  bool classPasses(const TClas& row) const;
  bool resourcePasses(const TTeac& row) const;
  // The subject status test of `SNext`, against the subject's link of the current school.
  bool subjectPasses(const TSubj& row) const;
  bool indentPasses(const TAlloc& row) const;

  // ---- Positions ---------------------------------------------------------------------------
  void GetDM();    // saves the position of the list of the current view kind
  void AlignDM();  // returns that list to its saved position
  void FreeDM();   // forgets the saved positions of classes, resources, subjects and indents
  std::optional<std::int64_t> savedPosition(char list) const;
  bool keepPosition = true;

  // A position of the list of table 1, 2, 3, 4 or 9: none for an empty list; going to no
  // position does nothing; going to a record that has gone shows "GotoBookMark error: <kind>"
  // and leaves the list where it was.
  using Bookmark = std::optional<std::int64_t>;
  Bookmark GetBM(int table);
  void GotoBM(int table, const Bookmark& position);
  void FreeBM(Bookmark& position) { position.reset(); }

  // Steps: `Tblop` on the list of a table, `CNext`/`TNext` skipping to items with a passive
  // indent, `SNext` skipping to subjects that meet the subject status choice.
  void Tblop(Step step, int table);
  void CNext(Step step);
  void TNext(Step step);
  void SNext(Step step);

  // Code order and name order of the class (1), resource (2), subject (3) or all (4) lists.
  void ChngPIndx(int kind, int go);
  void SetPIndx(int kind);

  // Restricting the indents to the current item and activity flag ("Y" or "N"), and back.
  void set_pindx(const std::string& flag);
  void set_aindx();
  bool chk_rec();
  bool restrictedWalk() const { return restrictedWalk_; }

  // ---- Flushing ----------------------------------------------------------------------------
  std::vector<int> tableNumbers;  // the flush codes a flush works on
  void TComFill();
  void TCommit(std::size_t element);  // flushes the code at that element of the list
  void flush(int code);               // flushes one code
  void flushList();                   // the main window's flush: every code of the list but 5 and 6

  // ---- Counters ------------------------------------------------------------------------------
  // `ChkBug`: raises the school's and the institution's code counters to the highest codes in use.
  void ChkBug();

 private:
  template <class Row>
  void stepCursor(Cursor<Row>& cursor, Step step);
  template <class Row, class Test>
  void stepWithSkip(Cursor<Row>& cursor, Step step, Test passes);
  void positionError(const char* operation, int table);
  void rescope();

  Store& store_;
  Prompter& prompter_;
  int schoolCode_ = 0;
  Cursor<TSchl> schools_;
  Cursor<TClas> classes_;
  Cursor<TTeac> resources_;
  Cursor<TSubj> subjects_;
  Cursor<TAlloc> indents_;
  ListChoice classChoice_, resourceChoice_, subjectChoice_;
  bool listFilter_ = false;
  bool indentFilter_ = false;
  std::optional<std::int64_t> savedClass_, savedResource_, savedSubject_, savedIndent_, savedSchool_;
  bool flushingSchools_ = false;
  bool restrictedWalk_ = false;
  bool leftSchoolLevel_ = false;
  std::string rememberedClass_, rememberedResource_, rememberedSubject_;
};

// `SetPB`: shows the progress display with the text and maximum, or hides it for an empty text.
void SetPB(Progress& progress, const std::string& text, int maximum);

}  // namespace tavrel::store
