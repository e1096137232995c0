// The picture set the windows share: picture n is "Bn" (the speed buttons of the main window,
// later the grid glyphs and legends). Our own drawings, painted at each size an icon offers.
#pragma once

#include <QIcon>

namespace tavrel::app {

enum Picture : int {
  // The main window's speed buttons.
  kPictureClassView = 16,
  kPictureResourceView = 17,
  kPictureSubjectView = 18,
  kPictureSchoolView = 19,
  kPictureInstitutionView = 24,
  kPictureClassAvailability = 31,
  kPictureResourceAvailability = 32,
  kPictureAllocateAll = 33,
  kPictureInterSchool = 62,
  kPictureExit = 63,
  kPictureReports = 64,
  kPictureAllocateSelect = 75,
  kPictureProxy = 150,
  // The institution view's school grid: an empty slot, a school, the school being edited.
  kPictureEmptySlot = 40,
  kPictureSchoolSlot = 15,
  kPictureSchoolSlotEditing = 55,
  // The institution view's own buttons (numbers of our choosing, next to the empty slot).
  kPictureAddSchool = 41,
  kPictureListSelect = 42,
  // The availability window's toolbar (numbers of our choosing, in a range of their own).
  kPictureToggle = 101,
  kPictureShowSelected = 102,
  kPictureShowFree = 103,
  kPictureShowNotAvailable = 104,
  kPictureShowPartner = 105,
  kPictureShowSubject = 106,
  kPictureMakeAvailable = 107,
  kPictureMakeNotAvailable = 108,
  kPictureWeekSetup = 109,
  kPictureEdit = 110,
  kPictureStatistics = 111,
};

// Picture "B<number>". A number not drawn yet gives a plain framed tile showing the number, so a
// button is never blank while the set grows with the windows that need it.
QIcon picture(int number);

}  // namespace tavrel::app
