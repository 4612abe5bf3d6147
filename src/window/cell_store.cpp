#include "window/cell_store.h"

#include <array>
#include <cstdint>

namespace pellox {

namespace {

// A packed row is, per column, a little-endian base-128 length and the bytes.
size_t ReadLength(std::string_view packed, size_t& pos) {
  size_t length = 0;
  int shift = 0;
  while (pos < packed.size()) {
    auto byte = static_cast<uint8_t>(packed[pos++]);
    length |= static_cast<size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) break;
    shift += 7;
  }
  return length;
}

void AppendLength(std::string& packed, size_t length) {
  do {
    auto byte = static_cast<uint8_t>(length & 0x7F);
    length >>= 7;
    if (length != 0) byte |= 0x80;
    packed.push_back(static_cast<char>(byte));
  } while (length != 0);
}

std::string_view CellOf(std::string_view packed, int column) {
  size_t pos = 0;
  for (int c = 0; pos < packed.size(); ++c) {
    size_t length = ReadLength(packed, pos);
    if (c == column) return packed.substr(pos, length);
    pos += length;
  }
  return {};
}

}  // namespace

std::string_view CellStore::Cell(int column, int row) const {
  if (row < 0 || row >= StoredRows() || column < 0 || column >= columns_) return {};
  return CellOf(rows_[static_cast<size_t>(row)], column);
}

void CellStore::SetCell(int column, int row, std::string_view text) {
  if (row < 0 || column < 0 || column >= columns_) return;
  if (row >= StoredRows()) {
    if (text.empty()) return;  // an empty cell reads the same unwritten
    rows_.resize(static_cast<size_t>(row) + 1);
  }
  std::string& packed = rows_[static_cast<size_t>(row)];
  std::string repacked;
  repacked.reserve(packed.size() + text.size() + 4);
  for (int c = 0; c < columns_; ++c) {
    std::string_view cell = c == column ? text : CellOf(packed, c);
    AppendLength(repacked, cell.size());
    repacked.append(cell);
  }
  packed.swap(repacked);
}

}  // namespace pellox
