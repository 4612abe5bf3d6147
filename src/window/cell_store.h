// The text cells of the run-list grid. System-independent code only.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/block_memory.h"

namespace pellox {

// Holds the cells of a grid with a fixed number of columns, for any row ever
// written, whatever the grid's row count: a cell keeps its text until it is
// written again. Each row is packed (length-prefixed cells) into large
// blocks one after the other, so a million rows cost a pointer each and no
// allocation of their own. A row written again is packed anew at the end;
// once the outdated packings outweigh the current ones, the blocks are
// compacted, one at a time, so that they never hold much more than twice
// the cells' bytes.
class CellStore {
 public:
  // The packings' blocks come from `memory`, which must outlive the store.
  explicit CellStore(int columns, BlockMemory& memory = HeapBlocks())
      : columns_(columns), memory_(memory), rows_(BlockAllocator<const char*>(memory)) {}

  // The text last stored for the cell; empty for a cell never written. The
  // view is valid until the store is written again.
  std::string_view Cell(int column, int row) const;
  void SetCell(int column, int row, std::string_view text);
  // Writes cells[c] into column c of `row` for every cell given, packing the
  // row once; columns past the given cells keep their text, and cells past
  // the columns are ignored. The cells may be views of this store.
  void SetRow(int row, std::span<const std::string_view> cells);
  // Makes room for the rows below `rows` without writing any, for a caller
  // who knows how many rows will come.
  void ReserveRows(int rows);

  int Columns() const { return columns_; }
  // One past the highest row that holds a written cell row (or a row below).
  int StoredRows() const { return static_cast<int>(rows_.size()); }

 private:
  struct BlockFree {
    BlockMemory* memory;
    size_t size;
    void operator()(char* bytes) const { memory->Free(bytes, size); }
  };
  struct Block {
    std::unique_ptr<char[], BlockFree> bytes;
    size_t used = 0;
    size_t Size() const { return bytes.get_deleter().size; }
  };

  // Packs columns [first, first + cells.size()) from `cells`, the others
  // from the row's old packing, and makes the new packing the row's.
  void Pack(int row, int first, std::span<const std::string_view> cells);
  // `size` bytes at the end of the last block, in a new block when they do
  // not fit.
  char* Allocate(size_t size);
  void CompactWhenWasteful();
  // Moves every current packing into new blocks, in the blocks' order, and
  // frees each old block as soon as it is done.
  void Compact();

  int columns_;
  BlockMemory& memory_;
  // Per row its packing, or null for a row never written.
  std::vector<const char*, BlockAllocator<const char*>> rows_;
  std::vector<Block> blocks_;
  size_t blockBytes_ = 0;     // the size of all blocks
  size_t currentBytes_ = 0;   // the bytes of the rows' packings
  size_t outdatedBytes_ = 0;  // the bytes of packings written over since
};

}  // namespace pellox
