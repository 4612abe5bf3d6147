// Large blocks of memory on Linux.
#pragma once

#include "platform/block_memory.h"

namespace pellox {

// Blocks of a huge page or more are mapped straight from the kernel, on a
// huge-page boundary, and marked for transparent huge pages: filling one
// then costs one page fault instead of 512, which is most of the time a
// million-entry list takes to load. Where the system does not give huge
// pages, they are ordinary pages. Smaller blocks come from the heap.
class MappedBlockMemory : public BlockMemory {
 public:
  // Raises std::bad_alloc when the kernel has no memory to map.
  char* Allocate(size_t size) override;
  void Free(char* block, size_t size) override;
};

}  // namespace pellox
