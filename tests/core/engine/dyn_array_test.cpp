#include "core/engine/dyn_array.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <set>

#include "tests/core/engine/refused_allocation.h"
#include "tests/support/temp_folder.h"

namespace tavrel::engine {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kSlotsPerOwner = 9 * 12;
constexpr std::int32_t kMostOwners = 999;  // classes or resources of one school

// An element that is no number: a slot's resource and subject side by side.
struct Pair {
  std::int16_t resource, subject;
  bool operator==(const Pair&) const = default;
};

template <class Failure, class Action>
void expectFailure(Action&& action, const std::string& message) {
  static_assert(std::is_base_of_v<EDynArrayException, Failure>);
  try {
    action();
    ADD_FAILURE() << "no failure; expected \"" << message << "\"";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.what(), message);
  }
}

std::vector<unsigned char> fileBytes(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& name, std::size_t length) {
  std::ofstream out(name, std::ios::binary);
  for (std::size_t i = 0; i < length; ++i) out.put(static_cast<char>(i));
}

std::set<std::string> folderListing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

template <class T>
std::vector<T> elementsOf(const DynComp<T>& array) {
  return {array.items().begin(), array.items().end()};
}

DynComp<std::int16_t> smallints(std::int32_t startAt, std::initializer_list<std::int16_t> values) {
  DynComp<std::int16_t> array(startAt);
  for (std::int16_t value : values) array.Add(value);
  return array;
}

// ---- DynArray ------------------------------------------------------------------------------------

TEST(DynArray, TakesItemSizesOfOneTo65519Only) {
  for (std::int32_t size : {0, -1, 65520, std::numeric_limits<std::int32_t>::max()}) {
    expectFailure<EDynArrayCreateError>([&] { DynArray array(size); }, "Dynamic Array: Invalid Item Size");
  }
  for (std::int32_t size : {1, 65519}) {
    DynArray array(size);
    EXPECT_EQ(array.ItemSize(), size);
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.Size(), 0);
    EXPECT_EQ(array.Data(), nullptr);
  }
}

TEST(DynArray, AppendsCopiesAndAddressesEachItem) {
  DynArray array(3);
  for (unsigned char k = 0; k < 5; ++k) {
    const unsigned char item[3] = {k, static_cast<unsigned char>(k + 100), 0xEE};
    array.Add(item);
  }
  EXPECT_EQ(array.Count(), 5);
  EXPECT_EQ(array.Size(), 15);
  for (std::int32_t k = 0; k < 5; ++k) {
    EXPECT_EQ(array.ItemPtr(k), array.Data() + 3 * k);
    EXPECT_EQ(std::to_integer<int>(array.ItemPtr(k)[1]), k + 100);
  }
  for (std::int32_t k : {5, -1, std::numeric_limits<std::int32_t>::min()}) {
    expectFailure<EDynArrayIndexBounds>([&] { array.ItemPtr(k); }, "Dynamic Array: Index out of bounds.");
  }
}

TEST(DynArray, DeleteMovesTheLaterItemsDownInOrder) {
  struct Case {
    std::int32_t deleted;
    std::vector<int> remaining;
  };
  for (const Case& c : std::vector<Case>{{0, {1, 2, 3}}, {1, {0, 2, 3}}, {3, {0, 1, 2}}}) {
    DynArray array(1);
    for (unsigned char k = 0; k < 4; ++k) array.Add(&k);
    array.Delete(c.deleted);
    std::vector<int> remaining;
    for (std::int32_t k = 0; k < array.Count(); ++k)
      remaining.push_back(std::to_integer<int>(*array.ItemPtr(k)));
    EXPECT_EQ(remaining, c.remaining) << "deleting " << c.deleted;
    EXPECT_EQ(array.Size(), 3);
  }
}

TEST(DynArray, RefusesToDeleteWhatIsNotThere) {
  DynArray empty(2);
  expectFailure<EDynArrayDelError>([&] { empty.Delete(0); }, "Dynamic Array: Unable to delete element.");
  DynArray two(2);
  const std::int16_t item = 7;
  two.Add(&item);
  two.Add(&item);
  for (std::int32_t k : {2, -1}) {
    expectFailure<EDynArrayDelError>([&] { two.Delete(k); }, "Dynamic Array: Unable to delete element.");
  }
  EXPECT_EQ(two.Count(), 2);
}

TEST(DynArray, ClearReleasesEverything) {
  DynArray array(4);
  const std::int32_t item = 1;
  array.Add(&item);
  array.Clear();
  EXPECT_EQ(array.Count(), 0);
  EXPECT_EQ(array.Size(), 0);
  EXPECT_EQ(array.Data(), nullptr);
}

TEST(DynArray, WithoutAnItemSizeHoldsNothing) {
  testing::TempFolder folder;
  writeFile(folder.path() / "CTBL", 4);
  DynArray fresh;
  DynArray moved(2);
  const DynArray taker = std::move(moved);
  EXPECT_EQ(taker.ItemSize(), 2);
  for (DynArray* array : {&fresh, &moved}) {
    const std::int16_t item = 1;
    expectFailure<EDynArrayAddError>([&] { array->Add(&item); }, "Dynamic Array: Unable to add element.");
    expectFailure<EDynArrayFileError>([&] { array->LoadFromFile(folder.path() / "CTBL"); },
                                      "Dynamic Array: Element size unknown.");
    EXPECT_EQ(array->ItemSize(), 0);
    EXPECT_EQ(array->Count(), 0);
  }
}

// ---- DynComp: index space ------------------------------------------------------------------------

TEST(DynComp, IndexesRunFromStartAtToHigh) {
  constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();
  struct Case {
    std::int32_t startAt, count, index;
    bool inside;
  };
  const Case cases[] = {
      {1, 3, 0, false},        {1, 3, 1, true},         {1, 3, 3, true},
      {1, 3, 4, false},        {0, 108, -1, false},     {0, 108, 0, true},
      {0, 108, 107, true},     {0, 108, 108, false},    {1, 0, 1, false},
      {1, 0, 0, false},        {1, 3, least, false},    {1, 3, most, false},
      {most, 1, most, true},   {most, 1, least, false}, {least, 2, least + 1, true},
      {least, 2, most, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "StartAt " << c.startAt << ", " << c.count << " elements, index " << c.index);
    DynComp<std::int32_t> array(c.startAt);
    for (std::int32_t k = 0; k < c.count; ++k) array.Add(10 * k + 7);
    EXPECT_EQ(array.Low(), c.startAt);
    EXPECT_EQ(std::int64_t{array.High()}, std::int64_t{c.startAt} + c.count - 1);
    const auto& reading = array;
    if (c.inside) {
      const std::int64_t k = std::int64_t{c.index} - c.startAt;
      EXPECT_EQ(reading[c.index], 10 * k + 7);
      array[c.index] = -1;
      EXPECT_EQ(array.items()[static_cast<std::size_t>(k)], -1);
    } else {
      expectFailure<EDynArrayIndexBounds>([&] { array[c.index] = 0; }, "DynComp: Index out of Bounds.");
      expectFailure<EDynArrayIndexBounds>([&] { (void)reading[c.index]; }, "DynComp: Index out of Bounds.");
      expectFailure<EDynArrayIndexBounds>([&] { array.Delete(c.index); }, "DynComp: Index out of Bounds.");
      EXPECT_EQ(array.Count(), c.count);
    }
  }
}

TEST(DynComp, DeleteSpeaksInTheWrapperIndexSpace) {
  DynComp<std::int16_t> array = smallints(1, {10, 20, 30, 40});
  array.Delete(1);
  EXPECT_EQ(elementsOf(array), (std::vector<std::int16_t>{20, 30, 40}));
  expectFailure<EDynArrayIndexBounds>([&] { array.Delete(4); }, "DynComp: Index out of Bounds.");
  array.Delete(3);
  EXPECT_EQ(elementsOf(array), (std::vector<std::int16_t>{20, 30}));
  EXPECT_EQ(array.High(), 2);
  array.Clear();
  EXPECT_EQ(array.Count(), 0);
  EXPECT_EQ(array.High(), 0);
}

// The working set of the largest school: 999 classes (and as many resources) of 108 slots each,
// far past what a 16-bit count can hold, and per-code counters up to code 999.
TEST(DynComp, HoldsTheSlotTablesOfTheLargestSchool) {
  testing::TempFolder folder;
  const std::int32_t slots = kMostOwners * kSlotsPerOwner;
  DynComp<std::int16_t> table(0);
  table.reserve(slots);
  for (std::int32_t k = 0; k < slots; ++k) table.Add(static_cast<std::int16_t>(k % 1000));
  EXPECT_EQ(table.Count(), slots);
  EXPECT_EQ(table.High(), slots - 1);
  expectFailure<EDynArrayIndexBounds>([&] { table[slots] = 0; }, "DynComp: Index out of Bounds.");

  const fs::path name = folder.path() / "CTBL";
  table.SaveToFile(name);
  EXPECT_EQ(fs::file_size(name), static_cast<std::uintmax_t>(slots) * 2);
  DynComp<std::int16_t> loaded(0);
  loaded.LoadFromFile(name, slots);
  EXPECT_EQ(loaded.Count(), slots);
  EXPECT_EQ(elementsOf(loaded), elementsOf(table));

  DynComp<std::int16_t> perResourceDay(1);
  for (std::int32_t k = 0; k < 9 * kMostOwners; ++k) perResourceDay.Add(0);
  perResourceDay[(kMostOwners - 1) * 9 + 9] = 12;  // resource 999, day 9
  EXPECT_EQ(perResourceDay.High(), 8991);
}

TEST(DynComp, ItemSizeFollowsTheElementType) {
  EXPECT_EQ(DynComp<std::uint8_t>::ItemSize(), 1);
  EXPECT_EQ(DynComp<std::int16_t>::ItemSize(), 2);
  EXPECT_EQ(DynComp<std::int16_t>::MaxItems(), 32760);
  EXPECT_EQ(DynComp<double>::MaxItems(), 8190);
}

TEST(DynType, SelectsTheItemSizeOfItsOrdinal) {
  struct Case {
    unsigned ordinal;
    std::int32_t itemSize, maxItems;
  };
  // dtCustom (0) and ordinals past dtPointer keep the size the array had (here 7).
  const Case cases[] = {{0, 7, 9360},     {1, 1, 65520},  {2, 1, 65520},  {3, 1, 65520}, {4, 1, 65520},
                        {5, 2, 32760},    {6, 2, 32760},  {7, 8, 8190},   {8, 4, 16380}, {9, 8, 8190},
                        {10, 6, 10920},   {11, 10, 6552}, {12, 4, 16380}, {13, 7, 9360}, {0x86, 2, 32760},
                        {0x8C, 4, 16380}, {0xFF, 7, 9360}};
  for (const Case& c : cases) {
    const std::int32_t size = DynItemSize(static_cast<DynType>(c.ordinal), 7);
    EXPECT_EQ(size, c.itemSize) << "ordinal " << c.ordinal;
    EXPECT_EQ(DynMaxItems(size), c.maxItems) << "ordinal " << c.ordinal;
  }
  EXPECT_EQ(DynMaxItems(0), 0);
  EXPECT_EQ(DynMaxItems(-5), 0);
}

TEST(DynComp, StartsWithItsDefaultsConvertedByElementType) {
  EXPECT_EQ(elementsOf(DynComp<char>(0, {"abc", ""})), (std::vector<char>{'a', '\0'}));
  // Integers take the low bytes of the 32-bit value; a text that is no 32-bit decimal gives 0.
  EXPECT_EQ(elementsOf(DynComp<std::uint8_t>(0, {"7", "300", "-1", "+5", "x", "+-5", " 5"})),
            (std::vector<std::uint8_t>{7, 300 - 256, 255, 5, 0, 0, 0}));
  EXPECT_EQ(elementsOf(DynComp<std::int16_t>(1, {"-5", "70000", "12abc", "2147483648", ""})),
            (std::vector<std::int16_t>{-5, 70000 - 65536, 0, 0, 0}));
  EXPECT_EQ(elementsOf(DynComp<std::int32_t>(1, {"-2147483648", "2147483647"})),
            (std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::min(),
                                       std::numeric_limits<std::int32_t>::max()}));
  EXPECT_EQ(elementsOf(DynComp<double>(0, {"2.5", "-1e3", "x", "nan"})),
            (std::vector<double>{2.5, -1000, 0, 0}));
  EXPECT_EQ(DynComp<Pair>(1, {"1", "2"}).Count(), 0);
}

// ---- Files ---------------------------------------------------------------------------------------

TEST(DynArrayFile, HoldsTheElementsLittleEndianWithoutHeader) {
  testing::TempFolder folder;
  const fs::path name = folder.path() / "SRLALLO";
  smallints(1, {1, -2, 999, 0, 32767}).SaveToFile(name);
  EXPECT_EQ(fileBytes(name),
            (std::vector<unsigned char>{0x01, 0x00, 0xFE, 0xFF, 0xE7, 0x03, 0x00, 0x00, 0xFF, 0x7F}));

  DynComp<std::int32_t> wide(1);
  wide.Add(0x01020304);
  wide.SaveToFile(name);
  EXPECT_EQ(fileBytes(name), (std::vector<unsigned char>{0x04, 0x03, 0x02, 0x01}));

  // Both layers share the one form: a typed array's file loads as untyped items of its size.
  DynArray items(2);
  smallints(0, {-2, 999}).SaveToFile(name);
  items.LoadFromFile(name);
  ASSERT_EQ(items.Count(), 2);
  EXPECT_EQ(std::to_integer<int>(items.ItemPtr(1)[0]), 0xE7);
  items.SaveToFile(name);
  EXPECT_EQ(fileBytes(name), (std::vector<unsigned char>{0xFE, 0xFF, 0xE7, 0x03}));
}

template <class T>
T valueAt(std::int32_t k) {
  if constexpr (std::is_same_v<T, Pair>) {
    return {static_cast<std::int16_t>(k), static_cast<std::int16_t>(-k)};
  } else {
    return static_cast<T>(k * 37 - 500);
  }
}

template <class T>
class DynCompRoundTrip : public ::testing::Test {};
using ElementTypes = ::testing::Types<std::uint8_t, std::int16_t, std::int32_t, double, Pair>;
TYPED_TEST_SUITE(DynCompRoundTrip, ElementTypes);

// The base index is not in the file: the reader's declaration decides it.
TYPED_TEST(DynCompRoundTrip, LoadGivesBackWhatWasSaved) {
  testing::TempFolder folder;
  const fs::path name = folder.path() / "TCHLIM";
  DynComp<TypeParam> saved(1);
  for (std::int32_t k = 0; k < 37; ++k) saved.Add(valueAt<TypeParam>(k));
  saved.SaveToFile(name);
  EXPECT_EQ(fs::file_size(name), 37 * sizeof(TypeParam));

  DynComp<TypeParam> loaded(0);
  loaded.Add(valueAt<TypeParam>(99));  // loading replaces, never appends
  loaded.LoadFromFile(name);
  EXPECT_EQ(loaded.Count(), 37);
  EXPECT_EQ(loaded.High(), 36);
  EXPECT_EQ(elementsOf(loaded), elementsOf(saved));
  loaded.LoadFromFile(name, 37);
  EXPECT_EQ(elementsOf(loaded), elementsOf(saved));
}

TEST(DynArrayFile, ASaveReplacesTheWholeFile) {
  testing::TempFolder folder;
  const fs::path name = folder.path() / "CSTBL";
  smallints(0, {1, 2, 3, 4, 5}).SaveToFile(name);
  smallints(0, {-1, -1}).SaveToFile(name);
  EXPECT_EQ(fileBytes(name), (std::vector<unsigned char>{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(folderListing(folder.path()), (std::set<std::string>{"CSTBL"}));
}

// Every refusal leaves the array as it was: a resume that cannot read its files must not go on
// with half of them.
TEST(DynArrayFile, RefusesAFileThatIsMissingShortOrForeign) {
  struct Case {
    const char* why;
    std::function<void(const fs::path&)> prepare;
    std::optional<std::int32_t> expectedCount;
    std::string message;
  };
  const auto length = [](std::size_t bytes) {
    return [bytes](const fs::path& name) { writeFile(name, bytes); };
  };
  const Case cases[] = {
      {"missing", [](const fs::path&) {}, std::nullopt, "Dynamic Array: File does not exist."},
      {"missing, count known", [](const fs::path&) {}, 3, "Dynamic Array: File does not exist."},
      {"a trailing half element", length(9), std::nullopt, "Dynamic Array: File has the wrong size."},
      {"empty", length(0), std::nullopt, "Dynamic Array: File has the wrong size."},
      {"cut short by whole elements", length(2 * 107), 108, "Dynamic Array: File has the wrong size."},
      {"a larger school's table", length(2 * 108 * 3), 108 * 2, "Dynamic Array: File has the wrong size."},
      {"a folder", [](const fs::path& name) { fs::create_directory(name); }, std::nullopt,
       "Dynamic Array: Unable to read file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    testing::TempFolder folder;
    const fs::path name = folder.path() / "CLSALLO";
    c.prepare(name);
    DynComp<std::int16_t> array = smallints(1, {4, 5, 6});
    DynArray items(2);
    items.Add(&array[1]);
    const auto load = [&](auto& target) {
      c.expectedCount ? target.LoadFromFile(name, *c.expectedCount) : target.LoadFromFile(name);
    };
    expectFailure<EDynArrayFileError>([&] { load(array); }, c.message);
    expectFailure<EDynArrayFileError>([&] { load(items); }, c.message);
    EXPECT_EQ(elementsOf(array), (std::vector<std::int16_t>{4, 5, 6}));
    EXPECT_EQ(items.Count(), 1);
  }
}

TEST(DynArrayFile, LoadsAFileOfExactlyTheExpectedCount) {
  testing::TempFolder folder;
  const fs::path name = folder.path() / "TTBL";
  writeFile(name, 2 * 108);
  DynComp<std::int16_t> array(0);
  array.LoadFromFile(name, 108);
  EXPECT_EQ(array.Count(), 108);
}

TEST(DynArrayFile, SavingNothingLeavesTheOldFile) {
  testing::TempFolder folder;
  const fs::path name = folder.path() / "SUBLIM";
  smallints(1, {3, 4}).SaveToFile(name);
  const auto before = fileBytes(name);
  expectFailure<EDynArrayFileError>([&] { DynComp<std::int16_t>(1).SaveToFile(name); },
                                    "Dynamic Array: No elements to save.");
  expectFailure<EDynArrayFileError>([&] { DynArray(2).SaveToFile(name); },
                                    "Dynamic Array: No elements to save.");
  EXPECT_EQ(fileBytes(name), before);
}

// A save that cannot finish leaves the folder as it found it: the last good file and no
// temporary file, so a crash or a full disk mid-save never leaves a mix of two saves.
class FailedSave : public ::testing::Test {
 protected:
  void SetUp() override { smallints(0, {1, 2, 3}).SaveToFile(name); }

  void expectUnableToCreate(const fs::path& target) {
    const auto listing = folderListing(folder.path());
    const auto before = fileBytes(name);
    DynComp<std::int16_t> large(0);
    for (std::int32_t k = 0; k < 4000; ++k) large.Add(static_cast<std::int16_t>(k));
    expectFailure<EDynArrayFileError>([&] { large.SaveToFile(target); },
                                      "Dynamic Array: Unable to create file.");
    EXPECT_EQ(folderListing(folder.path()), listing);
    EXPECT_EQ(fileBytes(name), before);
  }

  testing::TempFolder folder;
  fs::path name = folder.path() / "CTBL";
};

TEST_F(FailedSave, WhenWritingStopsPartWay) {
  // A file-size limit makes the write fail after some bytes, for the superuser as for anyone.
  struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) : previousHandler(signal(SIGXFSZ, SIG_IGN)) {
      getrlimit(RLIMIT_FSIZE, &saved);
      rlimit limited = saved;
      limited.rlim_cur = bytes;
      applied = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
      setrlimit(RLIMIT_FSIZE, &saved);
      signal(SIGXFSZ, previousHandler);
    }
    sighandler_t previousHandler;
    rlimit saved{};
    bool applied = false;
  };
  const FileSizeLimit limit(1000);
  ASSERT_TRUE(limit.applied);
  expectUnableToCreate(name);
}

TEST_F(FailedSave, WhenTheFolderIsMissing) {
  expectUnableToCreate(folder.path() / "absent" / "CTBL");
}

TEST_F(FailedSave, WhenTheNameIsTakenByAFolder) {
  fs::create_directory(folder.path() / "TTBL");
  expectUnableToCreate(folder.path() / "TTBL");
  EXPECT_TRUE(fs::is_directory(folder.path() / "TTBL"));
}

TEST_F(FailedSave, WhenTheFolderIsReadOnly) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
  expectUnableToCreate(name);
  fs::permissions(folder.path(), fs::perms::owner_all);
}

// ---- Running out of memory -----------------------------------------------------------------------

TEST(DynArrayResources, AnAppendThatGetsNoMemoryChangesNothing) {
  DynComp<std::int16_t> typed(1);
  expectFailure<EDynArrayResources>(
      [&] {
        testing::refuseNextAllocation();
        typed.Add(5);
      },
      "Dynamic Array: Out of resources during Add.");
  EXPECT_EQ(typed.Count(), 0);

  DynArray untyped(2);
  const std::int16_t item = 5;
  expectFailure<EDynArrayResources>(
      [&] {
        testing::refuseNextAllocation();
        untyped.Add(&item);
      },
      "Dynamic Array: Out of resources during Add.");
  EXPECT_EQ(untyped.Count(), 0);
  EXPECT_EQ(untyped.Size(), 0);
  testing::allowAllocations();
}

// Indexes are 32-bit: an array based near the top of that range runs out of indexes, not memory.
TEST(DynArrayResources, NoElementGetsAnIndexPast2147483647) {
  DynComp<std::int16_t> array(std::numeric_limits<std::int32_t>::max() - 1);
  array.Add(1);
  array.Add(2);
  EXPECT_EQ(array.High(), std::numeric_limits<std::int32_t>::max());
  expectFailure<EDynArrayResources>([&] { array.Add(3); }, "Dynamic Array: Out of resources during Add.");
  EXPECT_EQ(array.Count(), 2);

  testing::TempFolder folder;
  writeFile(folder.path() / "CTBL", 6);
  expectFailure<EDynArrayFileError>([&] { array.LoadFromFile(folder.path() / "CTBL"); },
                                    "Dynamic Array: File has the wrong size.");
  EXPECT_EQ(array.Count(), 2);
}

}  // namespace
}  // namespace tavrel::engine
