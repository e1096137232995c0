// Kept out of the tests' own files so that the compiler never sees these functions' bodies at a
// call site: seeing free() applied to what operator new returned, it would warn of a mismatch that
// is none (both sides use malloc and free).
#include "tests/core/engine/refused_allocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> refuseNext{false};
}  // namespace

namespace tavrel::testing {
void refuseNextAllocation() {
  refuseNext = true;
}
void allowAllocations() {
  refuseNext = false;
}
}  // namespace tavrel::testing

void* operator new(std::size_t size) {
  if (refuseNext.exchange(false)) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
// Every other form of allocation goes through the same malloc and free, so that no pair of them
// mixes the replacement with the library's own (the sanitizers report that as a mismatch).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (refuseNext.exchange(false)) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size) {
  return ::operator new(size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return ::operator new(size, tag);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
