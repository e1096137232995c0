// The dynamic array store: flat arrays of fixed-size elements that hold the allocation engine's
// working set, and their headerless files that let an interrupted run be resumed.
//
// Two layers:
//   `DynArray`    untyped items of a size chosen at run time, addressed 0..Count-1.
//   `DynComp<T>`  typed elements with a base index (`StartAt`): element k has index k + StartAt.
//                 The engine declares its slot tables with base 0 and its per-code counters with
//                 base 1, so a class, resource, subject or indent code indexes its counter directly.
//
// File form (both layers): no header, no trailer, exactly Count x ItemSize bytes, element 0 first,
// each element in its in-memory form (integers little-endian). The count is implied by the length;
// the base index and the element type are not stored, so a reader uses the writer's declaration.
//
// Failures raise the `EDynArrayException` family with fixed messages; a failed call leaves the
// array as it was. Access is checked on every call, because the placement checks index these
// arrays with codes read from the tables: the check is one compare against the count, inline, and
// only the throw is out of line, so a checked read costs what a plain vector read costs.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace tavrel::engine {

// The files are the in-memory bytes; on a big-endian host they would silently change format.
static_assert(std::endian::native == std::endian::little, "dynamic-array files are little-endian");

// ---- Failures ------------------------------------------------------------------------------------

class EDynArrayException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EDynArrayCreateError : public EDynArrayException {
 public:
  using EDynArrayException::EDynArrayException;
};
class EDynArrayIndexBounds : public EDynArrayException {
 public:
  using EDynArrayException::EDynArrayException;
};
class EDynArrayResources : public EDynArrayException {
 public:
  using EDynArrayException::EDynArrayException;
};
class EDynArrayFileError : public EDynArrayException {
 public:
  using EDynArrayException::EDynArrayException;
};
class EDynArrayAddError : public EDynArrayException {
 public:
  using EDynArrayException::EDynArrayException;
};
class EDynArrayDelError : public EDynArrayException {
 public:
  using EDynArrayException::EDynArrayException;
};

// ---- Element types -------------------------------------------------------------------------------

// The element types an array can be declared with, by ordinal. Their item sizes are those of the
// files written by earlier versions (a `dtLongint` item is 8 bytes with the value in the first 4),
// so a file of any of these types can be described by its item size.
enum class DynType : std::uint8_t {
  dtCustom,
  dtBoolean,
  dtByte,
  dtChar,
  dtShortint,
  dtWord,
  dtSmallint,
  dtLongint,
  dtSingle,
  dtDouble,
  dtReal,
  dtExtended,
  dtPointer,
};

// The item size that selecting `type` imposes. The ordinal is masked with 0x7F first; `dtCustom`
// and an ordinal past the table keep `current`.
constexpr std::int32_t DynItemSize(DynType type, std::int32_t current) {
  constexpr std::int32_t sizes[] = {0, 1, 1, 1, 1, 2, 2, 8, 4, 8, 6, 10, 4};
  const unsigned ordinal = static_cast<unsigned>(type) & 0x7Fu;
  if (ordinal == 0 || ordinal >= std::size(sizes)) return current;
  return sizes[ordinal];
}

// The historical capacity of a 64 KiB block (65520 div item size, 0 for no size). Informational
// only: nothing checks it, and the engine's slot tables hold far more (999 x 108 elements).
constexpr std::int32_t DynMaxItems(std::int32_t itemSize) {
  return itemSize <= 0 ? 0 : 65520 / itemSize;
}

// ---- Internals shared by both layers -------------------------------------------------------------

namespace detail {

// Out of line so that the checked accessors inline to a compare and a rarely taken call.
[[noreturn]] void throwDynCompIndexBounds();
[[noreturn]] void throwOutOfResources();
[[noreturn]] void throwNoElementsToSave();

// Writes `byteCount` bytes as the file `name`: to a temporary file beside it first, forced to disk,
// then renamed over `name`. A failure at any step removes the temporary file and leaves an existing
// file of that name as it was, so a save is either wholly there or not at all.
void saveBytes(const std::filesystem::path& name, const void* bytes, std::size_t byteCount);

// An opened dynamic-array file whose length has been checked: a whole, non-zero number of items,
// no more than the array can hold (`maxCount`), and exactly `expectedCount` when that is given.
class ItemFileReader {
 public:
  ItemFileReader(const std::filesystem::path& name, std::size_t itemSize, std::size_t maxCount,
                 std::optional<std::int64_t> expectedCount);
  ~ItemFileReader();
  ItemFileReader(const ItemFileReader&) = delete;
  ItemFileReader& operator=(const ItemFileReader&) = delete;

  std::size_t count() const { return count_; }
  void readInto(void* destination);  // count() x item size bytes

 private:
  int descriptor_ = -1;
  std::size_t itemSize_ = 0;
  std::size_t count_ = 0;
};

}  // namespace detail

// ---- DynArray: untyped items ---------------------------------------------------------------------

class DynArray {
 public:
  static constexpr std::int32_t maxItemSize = 65519;

  // An array whose item size is not known yet: it can hold nothing until it has one, so `Add`
  // raises "Dynamic Array: Unable to add element." and `LoadFromFile` "Dynamic Array: Element size
  // unknown.". A moved-from array is left in this state.
  DynArray() = default;
  // `itemSize` must be 1..65519: "Dynamic Array: Invalid Item Size".
  explicit DynArray(std::int32_t itemSize);

  DynArray(const DynArray&) = default;
  DynArray& operator=(const DynArray&) = default;
  DynArray(DynArray&& other) noexcept;
  DynArray& operator=(DynArray&& other) noexcept;

  std::int32_t ItemSize() const { return itemSize_; }
  std::int32_t Count() const { return count_; }
  std::int32_t Size() const { return count_ * itemSize_; }  // bytes in use
  std::byte* Data() { return count_ > 0 ? bytes_.data() : nullptr; }
  const std::byte* Data() const { return count_ > 0 ? bytes_.data() : nullptr; }

  // Appends a copy of the `ItemSize` bytes at `item`; returns the block, which may have moved.
  std::byte* Add(const void* item);
  // Removes item k (0-based); later items move down by one. k outside 0..Count-1, including any k
  // of an empty array: "Dynamic Array: Unable to delete element.".
  void Delete(std::int32_t k);
  void Clear();  // releases the block
  // Room for `count` items without moving the block, so a loop of known length appends cheaply.
  void reserve(std::int32_t count);

  // Address of item k; k outside 0..Count-1: "Dynamic Array: Index out of bounds.".
  std::byte* ItemPtr(std::int32_t k) { return bytes_.data() + checkedOffset(k); }
  const std::byte* ItemPtr(std::int32_t k) const { return bytes_.data() + checkedOffset(k); }

  // Replaces the file `name` with the items ("Dynamic Array: No elements to save." when there are
  // none, "Dynamic Array: Unable to create file." when it cannot be written). See detail::saveBytes.
  void SaveToFile(const std::filesystem::path& name) const;
  // Replaces the contents with the items of the file `name`. Refusals, each leaving the contents
  // as they were: "Dynamic Array: Element size unknown.", "Dynamic Array: File does not exist.",
  // "Dynamic Array: File has the wrong size." (not a whole, non-zero number of items, or not
  // `expectedCount` items when the caller knows how many the file must hold) and "Dynamic Array:
  // Unable to read file.".
  void LoadFromFile(const std::filesystem::path& name);
  void LoadFromFile(const std::filesystem::path& name, std::int32_t expectedCount);

 private:
  std::size_t checkedOffset(std::int32_t k) const;
  std::int32_t maxCount() const;
  void load(const std::filesystem::path& name, std::optional<std::int64_t> expectedCount);

  std::vector<std::byte> bytes_;
  std::int32_t itemSize_ = 0;
  std::int32_t count_ = 0;
};

// ---- DynComp<T>: typed elements with a base index ------------------------------------------------

template <class T>
class DynComp {
  static_assert(std::is_trivially_copyable_v<T> && std::is_standard_layout_v<T>,
                "elements are saved as their bytes");
  static_assert(sizeof(T) <= DynArray::maxItemSize, "an item is at most 65519 bytes");
  // A vector of bool packs bits and cannot hand out element references; a flag is one byte anyway.
  static_assert(!std::is_same_v<T, bool>, "declare flag arrays as DynComp<std::uint8_t>");

 public:
  using value_type = T;

  explicit DynComp(std::int32_t startAt = 0) : startAt_(startAt) {}
  // An array that starts with `defaults` converted by the element type: char takes the first
  // character (0 for no text); other integers the decimal text as a 32-bit value cut to the
  // element's low bytes; floating types the decimal number. A text that does not parse gives 0.
  // Other element types start empty whatever the texts.
  DynComp(std::int32_t startAt, const std::vector<std::string>& defaults);

  static constexpr std::int32_t ItemSize() { return static_cast<std::int32_t>(sizeof(T)); }
  static constexpr std::int32_t MaxItems() { return DynMaxItems(ItemSize()); }
  std::int32_t StartAt() const { return startAt_; }
  std::int32_t Low() const { return startAt_; }
  std::int32_t High() const { return static_cast<std::int32_t>(std::int64_t{startAt_} + Count() - 1); }
  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }

  // Element `index`; outside Low..High: "DynComp: Index out of Bounds.".
  T& operator[](std::int32_t index) { return items_[checkedPosition(index)]; }
  const T& operator[](std::int32_t index) const { return items_[checkedPosition(index)]; }

  // All elements in index order, for whole-array walks that need no per-element check.
  std::span<T> items() { return items_; }
  std::span<const T> items() const { return items_; }

  // Out of memory, or an element whose index would pass 2147483647: "Dynamic Array: Out of
  // resources during Add.".
  void Add(const T& item);
  void Delete(std::int32_t index);  // later elements move down; bounds as operator[]
  void Clear() { std::vector<T>().swap(items_); }
  void reserve(std::int32_t count);

  // As DynArray::SaveToFile and DynArray::LoadFromFile.
  void SaveToFile(const std::filesystem::path& name) const;
  void LoadFromFile(const std::filesystem::path& name) { load(name, std::nullopt); }
  void LoadFromFile(const std::filesystem::path& name, std::int32_t expectedCount) {
    load(name, expectedCount);
  }

 private:
  std::size_t checkedPosition(std::int32_t index) const {
    // One unsigned compare rejects both sides. It is exact in 32 bits because High never passes
    // 2147483647 (see maxCount): an index below the base wraps to at least Count.
    const std::uint32_t position = static_cast<std::uint32_t>(index) - static_cast<std::uint32_t>(startAt_);
    if (position >= static_cast<std::uint32_t>(items_.size())) [[unlikely]] {
      detail::throwDynCompIndexBounds();
    }
    return position;
  }
  // The most elements whose indexes all fit in 32 bits.
  std::size_t maxCount() const {
    constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::size_t>(std::min(most, most - startAt_ + 1));
  }
  void load(const std::filesystem::path& name, std::optional<std::int64_t> expectedCount);
  static std::optional<T> fromDefault(const std::string& text);

  std::vector<T> items_;
  std::int32_t startAt_ = 0;
};

// ---- Implementation of DynComp<T> ----------------------------------------------------------------

namespace detail {
std::int32_t parseDefaultInteger(const std::string& text);  // 0 when the text is no 32-bit decimal
double parseDefaultNumber(const std::string& text);         // 0 when the text is no decimal number
}  // namespace detail

template <class T>
DynComp<T>::DynComp(std::int32_t startAt, const std::vector<std::string>& defaults) : startAt_(startAt) {
  for (const std::string& text : defaults) {
    if (auto item = fromDefault(text)) Add(*item);
  }
}

template <class T>
std::optional<T> DynComp<T>::fromDefault(const std::string& text) {
  if constexpr (std::is_same_v<T, char>) {
    return text.empty() ? '\0' : text.front();
  } else if constexpr (std::is_integral_v<T>) {
    // The low bytes of the 32-bit value: conversion to a narrower integer keeps exactly those.
    return static_cast<T>(detail::parseDefaultInteger(text));
  } else if constexpr (std::is_floating_point_v<T>) {
    return static_cast<T>(detail::parseDefaultNumber(text));
  } else {
    return std::nullopt;
  }
}

template <class T>
void DynComp<T>::Add(const T& item) {
  if (items_.size() >= maxCount()) detail::throwOutOfResources();
  try {
    items_.push_back(item);
  } catch (const std::bad_alloc&) {
    detail::throwOutOfResources();
  }
}

template <class T>
void DynComp<T>::Delete(std::int32_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(checkedPosition(index)));
}

template <class T>
void DynComp<T>::reserve(std::int32_t count) {
  if (count <= 0) return;
  try {
    items_.reserve(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    detail::throwOutOfResources();
  }
}

template <class T>
void DynComp<T>::SaveToFile(const std::filesystem::path& name) const {
  if (items_.empty()) detail::throwNoElementsToSave();
  detail::saveBytes(name, items_.data(), items_.size() * sizeof(T));
}

template <class T>
void DynComp<T>::load(const std::filesystem::path& name, std::optional<std::int64_t> expectedCount) {
  detail::ItemFileReader file(name, sizeof(T), maxCount(), expectedCount);
  std::vector<T> loaded;
  try {
    loaded.resize(file.count());
  } catch (const std::bad_alloc&) {
    detail::throwOutOfResources();
  }
  file.readInto(loaded.data());
  items_ = std::move(loaded);
}

}  // namespace tavrel::engine
