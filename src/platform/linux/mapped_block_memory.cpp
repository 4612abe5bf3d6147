#include "platform/linux/mapped_block_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace pellox {

namespace {

constexpr size_t kHugePageSize = size_t{2} * 1024 * 1024;

size_t RoundUp(size_t size, size_t unit) { return (size + unit - 1) / unit * unit; }

bool Mapped(size_t size) { return size >= kHugePageSize; }

}  // namespace

char* MappedBlockMemory::Allocate(size_t size) {
  if (!Mapped(size)) return HeapBlocks().Allocate(size);
  // Map a huge page more than needed and unmap what lies outside the first
  // huge-page boundary and the block's end.
  const size_t length = RoundUp(size, kHugePageSize);
  void* mapping = mmap(nullptr, length + kHugePageSize, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) throw std::bad_alloc();
  // The offset is worked out on the address, the pointers stay pointers.
  auto* start = static_cast<char*>(mapping);
  const size_t misalignment = reinterpret_cast<uintptr_t>(start) % kHugePageSize;
  const size_t before = misalignment == 0 ? 0 : kHugePageSize - misalignment;
  char* block = start + before;
  if (before != 0) munmap(start, before);
  const size_t after = kHugePageSize - before;
  if (after != 0) munmap(block + length, after);
  // Only a hint: without huge pages the block works all the same.
  madvise(block, length, MADV_HUGEPAGE);
  return block;
}

void MappedBlockMemory::Free(char* block, size_t size) {
  if (!Mapped(size)) return HeapBlocks().Free(block, size);
  munmap(block, RoundUp(size, kHugePageSize));
}

}  // namespace pellox
