#include "platform/linux/mapped_block_memory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pellox::testing {
namespace {

constexpr size_t kHugePage = size_t{2} * 1024 * 1024;

TEST(MappedBlockMemoryTest, GivesWritableBlocksOfEverySize) {
  MappedBlockMemory memory;
  for (size_t size :
       {size_t{1}, size_t{4096}, kHugePage - 1, kHugePage, kHugePage + 1, 9 * kHugePage / 2}) {
    SCOPED_TRACE(size);
    char* block = memory.Allocate(size);
    ASSERT_NE(block, nullptr);
    std::memset(block, 0x5A, size);
    EXPECT_EQ(block[0], 0x5A);
    EXPECT_EQ(block[size - 1], 0x5A);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u);
    // Blocks of a huge page or more start on a huge-page boundary, where
    // the kernel can back them with huge pages.
    if (size >= kHugePage) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % kHugePage, 0u);
    }
    memory.Free(block, size);
  }
}

TEST(MappedBlockMemoryTest, BlocksLiveSideBySide) {
  MappedBlockMemory memory;
  char* first = memory.Allocate(3 * kHugePage);
  char* second = memory.Allocate(3 * kHugePage);
  std::memset(first, 1, 3 * kHugePage);
  std::memset(second, 2, 3 * kHugePage);
  EXPECT_EQ(first[3 * kHugePage - 1], 1);
  EXPECT_EQ(second[0], 2);
  memory.Free(first, 3 * kHugePage);
  memory.Free(second, 3 * kHugePage);
}

}  // namespace
}  // namespace pellox::testing
