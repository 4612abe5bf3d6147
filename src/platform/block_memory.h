// Large blocks of memory for the stores that hold a whole list, so that a
// platform can back them in the cheapest way it has. System-independent
// interface; the platform folders may implement it, the C++ heap serves
// where they do not.
#pragma once

#include <cstddef>

namespace pellox {

class BlockMemory {
 public:
  virtual ~BlockMemory() = default;
  // A block of `size` (> 0) bytes of undefined contents, aligned for any
  // fundamental type, owned by the caller until Free. Raises
  // std::bad_alloc when there is no memory.
  virtual char* Allocate(size_t size) = 0;
  // Gives back a block that Allocate returned for the same `size`.
  virtual void Free(char* block, size_t size) = 0;
};

// Blocks from the C++ heap.
class HeapBlockMemory final : public BlockMemory {
 public:
  char* Allocate(size_t size) override { return new char[size]; }
  void Free(char* block, size_t) override { delete[] block; }
};

// A standard allocator that takes its storage from a BlockMemory, for
// containers that grow to a store's size.
template <typename T>
class BlockAllocator {
 public:
  using value_type = T;
  explicit BlockAllocator(BlockMemory& memory) : memory_(&memory) {}
  template <typename U>
  BlockAllocator(const BlockAllocator<U>& other) : memory_(other.Memory()) {}

  T* allocate(size_t n) { return reinterpret_cast<T*>(memory_->Allocate(n * sizeof(T))); }
  void deallocate(T* p, size_t n) { memory_->Free(reinterpret_cast<char*>(p), n * sizeof(T)); }
  BlockMemory* Memory() const { return memory_; }
  bool operator==(const BlockAllocator& other) const { return memory_ == other.memory_; }

 private:
  BlockMemory* memory_;
};

// The one heap block source that every store without another one shares.
inline BlockMemory& HeapBlocks() {
  static HeapBlockMemory heap;
  return heap;
}

}  // namespace pellox
