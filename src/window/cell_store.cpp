#include "window/cell_store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pellox {

namespace {

// A packing is the row's index, then per column the text's length, both as
// little-endian base-128 numbers, and the text's bytes. It ends after its
// last column, and the index tells a block's reader whose packing it is.

// Blocks start small, for the many grids with a few rows, and grow with the
// store up to this size.
constexpr size_t kMinBlockSize = size_t{4} * 1024;
// (2 MiB: a huge page on x86-64, which a platform may back the blocks with.)
constexpr size_t kMaxBlockSize = size_t{2} * 1024 * 1024;

size_t NumberBytes(size_t number) {
  size_t bytes = 1;
  while (number >= 0x80) {
    number >>= 7;
    ++bytes;
  }
  return bytes;
}

char* WriteNumber(char* out, size_t number) {
  do {
    auto byte = static_cast<uint8_t>(number & 0x7F);
    number >>= 7;
    if (number != 0) byte |= 0x80;
    *out++ = static_cast<char>(byte);
  } while (number != 0);
  return out;
}

// Reads a packing from its start: the row index, then the cells in turn.
// A null packing (a row never written) gives empty cells.
class PackingReader {
 public:
  explicit PackingReader(const char* packing) : packing_(packing) {
    if (packing_ != nullptr) row_ = ReadNumber();
  }
  size_t Row() const { return row_; }
  std::string_view NextCell() {
    if (packing_ == nullptr) return {};
    const size_t length = ReadNumber();
    const std::string_view cell(packing_ + pos_, length);
    pos_ += length;
    return cell;
  }
  // The bytes read so far: the packing's size once every cell is read.
  size_t BytesRead() const { return pos_; }

 private:
  size_t ReadNumber() {
    size_t number = 0;
    for (unsigned shift = 0;; shift += 7) {
      const auto byte = static_cast<uint8_t>(packing_[pos_++]);
      number |= static_cast<size_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return number;
    }
  }

  const char* packing_;
  size_t pos_ = 0;
  size_t row_ = 0;
};

}  // namespace

std::string_view CellStore::Cell(int column, int row) const {
  if (row < 0 || row >= StoredRows() || column < 0 || column >= columns_) return {};
  PackingReader packing(rows_[static_cast<size_t>(row)]);
  for (int c = 0; c < column; ++c) packing.NextCell();
  return packing.NextCell();
}

void CellStore::SetCell(int column, int row, std::string_view text) {
  if (column < 0 || column >= columns_) return;
  Pack(row, column, std::span(&text, 1));
}

void CellStore::SetRow(int row, std::span<const std::string_view> cells) {
  Pack(row, 0, cells.first(std::min(cells.size(), static_cast<size_t>(columns_))));
}

void CellStore::ReserveRows(int rows) {
  if (rows > 0) rows_.reserve(static_cast<size_t>(rows));
}

void CellStore::Pack(int row, int first, std::span<const std::string_view> cells) {
  if (row < 0) return;
  const auto index = static_cast<size_t>(row);
  if (index >= rows_.size()) {
    // An empty cell reads the same unwritten.
    if (std::all_of(cells.begin(), cells.end(), [](std::string_view c) { return c.empty(); })) {
      return;
    }
    rows_.resize(index + 1, nullptr);
  }
  // Column c's text in the new packing: given, or kept from the old one.
  // Either may lie in a block, which stays in place until the new packing
  // is made.
  const auto given = static_cast<size_t>(first);
  const auto text = [&](size_t c, std::string_view kept) {
    return c >= given && c - given < cells.size() ? cells[c - given] : kept;
  };
  const auto columns = static_cast<size_t>(columns_);
  const char* const old = rows_[index];

  PackingReader sizing(old);
  size_t size = NumberBytes(index);
  for (size_t c = 0; c < columns; ++c) {
    const size_t length = text(c, sizing.NextCell()).size();
    size += NumberBytes(length) + length;
  }
  char* const packing = Allocate(size);
  char* out = WriteNumber(packing, index);
  PackingReader copying(old);
  for (size_t c = 0; c < columns; ++c) {
    const std::string_view cell = text(c, copying.NextCell());
    out = WriteNumber(out, cell.size());
    if (!cell.empty()) std::memcpy(out, cell.data(), cell.size());
    out += cell.size();
  }
  rows_[index] = packing;
  currentBytes_ += size;
  if (old != nullptr) {
    currentBytes_ -= copying.BytesRead();
    outdatedBytes_ += copying.BytesRead();
  }
  CompactWhenWasteful();
}

char* CellStore::Allocate(size_t size) {
  if (blocks_.empty() || blocks_.back().Size() - blocks_.back().used < size) {
    const size_t blockSize = std::max(size, std::clamp(blockBytes_, kMinBlockSize, kMaxBlockSize));
    blocks_.reserve(blocks_.size() + 1);  // so that the new block cannot leak
    blocks_.push_back({{memory_.Allocate(blockSize), {&memory_, blockSize}}});
    blockBytes_ += blockSize;
  }
  Block& block = blocks_.back();
  char* const bytes = block.bytes.get() + block.used;
  block.used += size;
  return bytes;
}

void CellStore::CompactWhenWasteful() {
  if (outdatedBytes_ > currentBytes_ && outdatedBytes_ >= kMaxBlockSize) Compact();
}

void CellStore::Compact() {
  std::vector<Block> old;
  old.swap(blocks_);
  blockBytes_ = 0;
  for (Block& block : old) {
    for (size_t pos = 0; pos < block.used;) {
      const char* const packing = block.bytes.get() + pos;
      PackingReader reader(packing);
      for (int c = 0; c < columns_; ++c) reader.NextCell();
      const size_t size = reader.BytesRead();
      // A packing is current when its row still points at it: every
      // packing has an address of its own until its block is freed.
      if (rows_[reader.Row()] == packing) {
        char* const moved = Allocate(size);
        std::memcpy(moved, packing, size);
        rows_[reader.Row()] = moved;
      }
      pos += size;
    }
    block.bytes.reset();
  }
  outdatedBytes_ = 0;
}

}  // namespace pellox
