// Running out of memory cannot be provoked honestly in a test, so the engine's test program
// replaces the global allocator with one that can be told to refuse its next request. It is the
// ordinary allocator otherwise.
#pragma once

namespace tavrel::testing {

// The next `operator new` of this program throws std::bad_alloc.
void refuseNextAllocation();
// Forgets a refusal that nothing has used.
void allowAllocations();

}  // namespace tavrel::testing
