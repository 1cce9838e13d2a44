#pragma once

#include "data/value.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace data {

// The rows of a record set, kept as the database gave them: all cell bytes of all rows in one
// arena, and per cell only its storage type and length. Loading a row costs one copy of its
// bytes and no allocation per cell; a cell becomes a Value only when someone reads it.
class RowStore {
public:
    enum class Storage : std::uint8_t { Null, Integer, Float, Text, Blob };
    struct Cell {
        Storage storage = Storage::Null;
        std::string_view bytes; // Text, Blob: the bytes; Integer: 8 bytes int64; Float: double
    };

    explicit RowStore(int columns = 0) : columns_(columns) {}

    int columns() const { return columns_; }
    int rowCount() const { return static_cast<int>(rowStart_.size()); }
    void clear();
    void reserveBytes(size_t n) { bytes_.reserve(n); }

    // Building a row: beginRow(), then one add...() per column in order.
    void beginRow();
    void addNull() { addCell(Storage::Null, nullptr, 0); }
    void addInteger(std::int64_t v) { addCell(Storage::Integer, &v, sizeof v); }
    void addFloat(double v) { addCell(Storage::Float, &v, sizeof v); }
    void addText(const char* utf8, size_t size) { addCell(Storage::Text, utf8, size); }
    void addBlob(const void* data, size_t size) { addCell(Storage::Blob, data, size); }

    Cell cell(int row, int column) const;
    // The cell read as a value of the given kind.
    Value value(int row, int column, Kind kind) const;

    // Row `row` takes the cells of `source`'s row `sourceRow` (same number of columns).
    void replaceRow(int row, const RowStore& source, int sourceRow);
    void appendRow(const RowStore& source, int sourceRow);
    void removeRow(int row);

private:
    void addCell(Storage storage, const void* data, size_t size);

    int columns_;
    std::vector<std::uint64_t> rowStart_; // arena offset of each row's first cell
    std::vector<std::uint32_t> cellInfo_; // per cell: length << 3 | storage
    std::vector<char> bytes_;
};

} // namespace data
