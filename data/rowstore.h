#pragma once

#include "data/value.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace data {

// The rows of a record set, kept as the database gave them. Each row lies in one piece in a
// large block: per column its storage type and length, then the cell bytes one after the other.
// Loading a row costs one copy of its bytes and no allocation per cell or per row; blocks are
// never moved or cleared before use, so a million rows are read at the speed of copying them.
// A cell becomes a Value only when someone reads it.
class RowStore {
public:
    enum class Storage : std::uint8_t { Null, Integer, Float, Text, Blob };
    struct Cell {
        Storage storage = Storage::Null;
        std::string_view bytes; // Text, Blob: the bytes; Integer: 8 bytes int64; Float: double
    };

    explicit RowStore(int columns = 0) : columns_(columns) {}
    RowStore(const RowStore& other);
    RowStore& operator=(const RowStore& other);
    RowStore(RowStore&& other) noexcept;
    RowStore& operator=(RowStore&& other) noexcept;
    ~RowStore() = default;

    int columns() const { return columns_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Drops every row and releases the memory.
    void clear();
    // A hint: the rows to come need about n bytes.
    void reserveBytes(size_t n);

    // Building a row: beginRow(), then one add...() per column in order.
    void beginRow();
    void addNull() { addCell(Storage::Null, nullptr, 0); }
    void addInteger(std::int64_t v) { addCell(Storage::Integer, &v, sizeof v); }
    void addFloat(double v) { addCell(Storage::Float, &v, sizeof v); }
    void addText(const char* utf8, size_t size) { addCell(Storage::Text, utf8, size); }
    void addBlob(const void* data, size_t size) { addCell(Storage::Blob, data, size); }

    Cell cell(int row, int column) const;
    // The cell read as a value of the given kind; a stored value the kind cannot hold (an
    // integer beyond 32 bits, a real, a text in an integer column, a date text that is no date)
    // comes as the text of what is stored.
    Value value(int row, int column, Kind kind) const;

    // Row `row` takes the cells of `source`'s row `sourceRow` (same number of columns).
    void replaceRow(int row, const RowStore& source, int sourceRow);
    void appendRow(const RowStore& source, int sourceRow);
    void removeRow(int row);

private:
    void addCell(Storage storage, const void* data, size_t size);
    size_t headerSize() const { return sizeof(std::uint32_t) * static_cast<size_t>(columns_); }
    // The bytes row `row` takes, its header included.
    size_t rowSize(int row) const;
    // A new block with room for at least n bytes; the block in use is left as it is.
    void newBlock(size_t n);
    void swap(RowStore& other) noexcept;

    int columns_;
    std::vector<char*> rows_; // where each row begins
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr; // the next free byte of the last block
    char* end_ = nullptr;  // the end of the last block
    size_t nextBlockSize_ = 0;
    int filled_ = 0; // cells of the row being built
};

} // namespace data
