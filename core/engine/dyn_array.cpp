#include "core/engine/dyn_array.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace tavrel::engine {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fileError(const char* message) {
  throw EDynArrayFileError(message);
}

[[noreturn]] void unableToCreate() {
  fileError("Dynamic Array: Unable to create file.");
}
[[noreturn]] void unableToRead() {
  fileError("Dynamic Array: Unable to read file.");
}
[[noreturn]] void wrongSize() {
  fileError("Dynamic Array: File has the wrong size.");
}

// Closes a descriptor on every path out of a scope.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return descriptor_; }
  explicit operator bool() const { return descriptor_ >= 0; }
  // Closes now and reports whether the close succeeded: on some file systems a failed write only
  // shows at close, and a save must not trust such a file.
  bool close() {
    const int descriptor = std::exchange(descriptor_, -1);
    return ::close(descriptor) == 0;
  }

 private:
  int descriptor_;
};

bool writeAll(int descriptor, const std::byte* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t written = ::write(descriptor, bytes, count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

bool readAll(int descriptor, std::byte* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t read = ::read(descriptor, bytes, count);
    if (read < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (read == 0) return false;  // the file shrank since its length was checked
    bytes += read;
    count -= static_cast<std::size_t>(read);
  }
  return true;
}

// Makes the rename itself durable. A failure here changes nothing about what the folder holds,
// so it is not reported.
void syncFolderOf(const fs::path& name) {
  const fs::path folder = name.has_parent_path() ? name.parent_path() : fs::path(".");
  Descriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (descriptor) ::fsync(descriptor.get());
}

// The temporary file sits beside the target so that the rename stays inside one file system.
fs::path temporaryNameFor(const fs::path& name) {
  fs::path temporary = name;
  temporary += ".saving";
  return temporary;
}

}  // namespace

// ---- Internals -----------------------------------------------------------------------------------

namespace detail {

void throwDynCompIndexBounds() {
  throw EDynArrayIndexBounds("DynComp: Index out of Bounds.");
}
void throwOutOfResources() {
  throw EDynArrayResources("Dynamic Array: Out of resources during Add.");
}
void throwNoElementsToSave() {
  fileError("Dynamic Array: No elements to save.");
}

void saveBytes(const fs::path& name, const void* bytes, std::size_t byteCount) {
  const fs::path temporary = temporaryNameFor(name);
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!file) unableToCreate();
  const bool written = writeAll(file.get(), static_cast<const std::byte*>(bytes), byteCount) &&
                       ::fsync(file.get()) == 0 && file.close();
  if (!written || std::rename(temporary.c_str(), name.c_str()) != 0) {
    ::unlink(temporary.c_str());
    unableToCreate();
  }
  syncFolderOf(name);
}

ItemFileReader::ItemFileReader(const fs::path& name, std::size_t itemSize, std::size_t maxCount,
                               std::optional<std::int64_t> expectedCount)
    : itemSize_(itemSize) {
  if (itemSize == 0) fileError("Dynamic Array: Element size unknown.");
  std::error_code ec;
  if (!fs::exists(name, ec)) fileError("Dynamic Array: File does not exist.");
  descriptor_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor_ < 0) unableToRead();
  struct stat status {};
  if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(std::exchange(descriptor_, -1));
    unableToRead();
  }
  // Every save writes whole items and at least one, so any other length is a file cut short or
  // a file that is not ours; taking the whole items of it would resume from garbage.
  const auto length = static_cast<std::uint64_t>(status.st_size);
  const std::uint64_t items = length / itemSize;
  const bool fits = length > 0 && length % itemSize == 0 && items <= maxCount &&
                    (!expectedCount || static_cast<std::int64_t>(items) == *expectedCount);
  if (!fits) {
    ::close(std::exchange(descriptor_, -1));
    wrongSize();
  }
  count_ = static_cast<std::size_t>(items);
}

ItemFileReader::~ItemFileReader() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

void ItemFileReader::readInto(void* destination) {
  if (!readAll(descriptor_, static_cast<std::byte*>(destination), count_ * itemSize_)) unableToRead();
}

std::int32_t parseDefaultInteger(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const char* first = text.data();
  // from_chars takes a minus sign only; a plus sign is skipped when a digit follows it.
  if (end - first > 1 && first[0] == '+' && first[1] >= '0' && first[1] <= '9') ++first;
  const auto [stop, error] = std::from_chars(first, end, value);
  return error == std::errc() && stop == end ? value : 0;
}

double parseDefaultNumber(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && std::isfinite(value) ? value : 0;
}

}  // namespace detail

// ---- DynArray ------------------------------------------------------------------------------------

DynArray::DynArray(std::int32_t itemSize) : itemSize_(itemSize) {
  if (itemSize <= 0 || itemSize > maxItemSize) throw EDynArrayCreateError("Dynamic Array: Invalid Item Size");
}

DynArray::DynArray(DynArray&& other) noexcept
    : bytes_(std::move(other.bytes_)),
      itemSize_(std::exchange(other.itemSize_, 0)),
      count_(std::exchange(other.count_, 0)) {}

DynArray& DynArray::operator=(DynArray&& other) noexcept {
  if (this == &other) return *this;
  bytes_ = std::move(other.bytes_);
  other.bytes_.clear();
  itemSize_ = std::exchange(other.itemSize_, 0);
  count_ = std::exchange(other.count_, 0);
  return *this;
}

std::byte* DynArray::Add(const void* item) {
  if (itemSize_ <= 0) throw EDynArrayAddError("Dynamic Array: Unable to add element.");
  if (count_ >= maxCount()) detail::throwOutOfResources();
  const auto* first = static_cast<const std::byte*>(item);
  try {
    bytes_.insert(bytes_.end(), first, first + itemSize_);
  } catch (const std::bad_alloc&) {
    detail::throwOutOfResources();
  }
  ++count_;
  return bytes_.data();
}

void DynArray::Delete(std::int32_t k) {
  if (k < 0 || k >= count_) throw EDynArrayDelError("Dynamic Array: Unable to delete element.");
  const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(k) * itemSize_;
  bytes_.erase(first, first + itemSize_);
  --count_;
}

void DynArray::Clear() {
  std::vector<std::byte>().swap(bytes_);
  count_ = 0;
}

void DynArray::reserve(std::int32_t count) {
  if (count <= 0 || itemSize_ <= 0) return;
  try {
    bytes_.reserve(static_cast<std::size_t>(count) * static_cast<std::size_t>(itemSize_));
  } catch (const std::bad_alloc&) {
    detail::throwOutOfResources();
  }
}

// `Size` is a 32-bit count of bytes; an array it cannot describe is out of resources too.
std::int32_t DynArray::maxCount() const {
  return itemSize_ > 0 ? std::numeric_limits<std::int32_t>::max() / itemSize_ : 0;
}

std::size_t DynArray::checkedOffset(std::int32_t k) const {
  if (k < 0 || k >= count_) throw EDynArrayIndexBounds("Dynamic Array: Index out of bounds.");
  return static_cast<std::size_t>(k) * static_cast<std::size_t>(itemSize_);
}

void DynArray::SaveToFile(const fs::path& name) const {
  if (count_ <= 0) detail::throwNoElementsToSave();
  detail::saveBytes(name, bytes_.data(), bytes_.size());
}

void DynArray::LoadFromFile(const fs::path& name) {
  load(name, std::nullopt);
}

void DynArray::LoadFromFile(const fs::path& name, std::int32_t expectedCount) {
  load(name, expectedCount);
}

void DynArray::load(const fs::path& name, std::optional<std::int64_t> expectedCount) {
  detail::ItemFileReader file(name, static_cast<std::size_t>(itemSize_ > 0 ? itemSize_ : 0),
                              static_cast<std::size_t>(maxCount()), expectedCount);
  std::vector<std::byte> loaded;
  try {
    loaded.resize(file.count() * static_cast<std::size_t>(itemSize_));
  } catch (const std::bad_alloc&) {
    detail::throwOutOfResources();
  }
  file.readInto(loaded.data());
  bytes_ = std::move(loaded);
  count_ = static_cast<std::int32_t>(file.count());
}

}  // namespace tavrel::engine
