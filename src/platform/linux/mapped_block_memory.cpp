#include "platform/linux/mapped_block_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace pellox {

namespace {

constexpr size_t kHugePageSize = 2 * 1024 * 1024;

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
  const auto start = reinterpret_cast<uintptr_t>(mapping);
  const uintptr_t aligned = RoundUp(start, kHugePageSize);
  if (aligned != start) munmap(mapping, aligned - start);
  const size_t after = start + kHugePageSize - aligned;
  if (after != 0) munmap(reinterpret_cast<void*>(aligned + length), after);
  auto* block = reinterpret_cast<char*>(aligned);
  // Only a hint: without huge pages the block works all the same.
  madvise(block, length, MADV_HUGEPAGE);
  return block;
}

void MappedBlockMemory::Free(char* block, size_t size) {
  if (!Mapped(size)) return HeapBlocks().Free(block, size);
  munmap(block, RoundUp(size, kHugePageSize));
}

}  // namespace pellox
