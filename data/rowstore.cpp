#include "data/rowstore.h"

#include "platform/errors.h"

#include <QLocale>
#include <algorithm>
#include <cstring>
#include <limits>

namespace data {

namespace {
constexpr std::uint32_t storageBits = 3;
constexpr std::uint32_t storageMask = (1u << storageBits) - 1;
// Blocks start small (a record set of a few rows) and double up to this size.
constexpr size_t firstBlockSize = 4096;
constexpr size_t largestBlockSize = size_t(8) << 20;
} // namespace

RowStore::RowStore(const RowStore& other) : columns_(other.columns_) {
    rows_.reserve(other.rows_.size());
    for (int row = 0; row < other.rowCount(); ++row)
        appendRow(other, row);
}

RowStore& RowStore::operator=(const RowStore& other) {
    if (this != &other) {
        RowStore copy(other);
        swap(copy);
    }
    return *this;
}

RowStore::RowStore(RowStore&& other) noexcept : columns_(other.columns_) {
    swap(other);
}

RowStore& RowStore::operator=(RowStore&& other) noexcept {
    if (this != &other) {
        RowStore taken(std::move(other));
        swap(taken);
    }
    return *this;
}

void RowStore::swap(RowStore& other) noexcept {
    std::swap(columns_, other.columns_);
    rows_.swap(other.rows_);
    blocks_.swap(other.blocks_);
    std::swap(free_, other.free_);
    std::swap(end_, other.end_);
    std::swap(nextBlockSize_, other.nextBlockSize_);
    std::swap(filled_, other.filled_);
}

void RowStore::clear() {
    rows_.clear();
    rows_.shrink_to_fit();
    blocks_.clear();
    free_ = end_ = nullptr;
    nextBlockSize_ = 0;
    filled_ = 0;
}

void RowStore::reserveBytes(size_t n) {
    if (static_cast<size_t>(end_ - free_) < n)
        newBlock(n);
}

void RowStore::newBlock(size_t n) {
    if (nextBlockSize_ == 0)
        nextBlockSize_ = firstBlockSize;
    const size_t size = std::max(n, nextBlockSize_);
    nextBlockSize_ = std::min(nextBlockSize_ * 2, largestBlockSize);
    // Left uninitialised: every byte is written before it is read.
    blocks_.push_back(std::unique_ptr<char[]>(new char[size]));
    free_ = blocks_.back().get();
    end_ = free_ + size;
}

void RowStore::beginRow() {
    const size_t header = headerSize();
    if (static_cast<size_t>(end_ - free_) < header)
        newBlock(header);
    rows_.push_back(free_);
    free_ += header;
    filled_ = 0;
}

void RowStore::addCell(Storage storage, const void* data, size_t size) {
    if (size > (std::numeric_limits<std::uint32_t>::max() >> storageBits))
        throw platform::Error(QStringLiteral("A value is too large to be read"));
    if (size) {
        if (static_cast<size_t>(end_ - free_) < size) {
            // The row goes on in a new block: what it has so far moves along, as a row never
            // spans two blocks.
            char* start = rows_.back();
            const size_t used = static_cast<size_t>(free_ - start);
            newBlock(used + size);
            std::memcpy(free_, start, used);
            rows_.back() = free_;
            free_ += used;
        }
        std::memcpy(free_, data, size);
        free_ += size;
    }
    const std::uint32_t info =
        static_cast<std::uint32_t>(size) << storageBits | static_cast<std::uint32_t>(storage);
    std::memcpy(rows_.back() + sizeof info * static_cast<size_t>(filled_), &info, sizeof info);
    ++filled_;
}

RowStore::Cell RowStore::cell(int row, int column) const {
    const char* start = rows_[row];
    size_t offset = headerSize();
    std::uint32_t info = 0;
    for (int c = 0; c < column; ++c) {
        std::memcpy(&info, start + sizeof info * static_cast<size_t>(c), sizeof info);
        offset += info >> storageBits;
    }
    std::memcpy(&info, start + sizeof info * static_cast<size_t>(column), sizeof info);
    return {static_cast<Storage>(info & storageMask),
            std::string_view(start + offset, info >> storageBits)};
}

size_t RowStore::rowSize(int row) const {
    const char* start = rows_[row];
    size_t size = headerSize();
    for (int c = 0; c < columns_; ++c) {
        std::uint32_t info = 0;
        std::memcpy(&info, start + sizeof info * static_cast<size_t>(c), sizeof info);
        size += info >> storageBits;
    }
    return size;
}

Value RowStore::value(int row, int column, Kind kind) const {
    // A value that the column's kind cannot hold (written by another program) is given as the
    // text of what is stored, never as a near value of the kind: it is shown as it is and,
    // unless someone writes the column, never written back.
    const Cell c = cell(row, column);
    const auto text = [&] { return QString::fromUtf8(c.bytes.data(), c.bytes.size()); };
    switch (c.storage) {
    case Storage::Null:
        return Value();
    case Storage::Integer: {
        std::int64_t i = 0;
        std::memcpy(&i, c.bytes.data(), sizeof i);
        if ((kind == Kind::Integer || kind == Kind::AutoInc) &&
            i >= std::numeric_limits<qint32>::min() && i <= std::numeric_limits<qint32>::max())
            return Value(static_cast<qint32>(i));
        return Value(QString::number(i));
    }
    case Storage::Float: {
        double d = 0;
        std::memcpy(&d, c.bytes.data(), sizeof d);
        return Value(QString::number(d, 'g', QLocale::FloatingPointShortest));
    }
    case Storage::Text:
    case Storage::Blob:
        if (kind == Kind::DateTime) {
            const auto dt = platform::DateTime::fromIso(text());
            if (dt)
                return Value(*dt);
        }
        return Value(text());
    }
    return Value();
}

void RowStore::appendRow(const RowStore& source, int sourceRow) {
    // Rows of equal columns have the same layout: one copy of the whole row.
    const size_t size = source.rowSize(sourceRow);
    if (static_cast<size_t>(end_ - free_) < size)
        newBlock(size);
    if (size)
        std::memcpy(free_, source.rows_[sourceRow], size);
    rows_.push_back(free_);
    free_ += size;
}

void RowStore::replaceRow(int row, const RowStore& source, int sourceRow) {
    // The new cells go to the end; the old bytes stay unused until the rows are released.
    appendRow(source, sourceRow);
    rows_[row] = rows_.back();
    rows_.pop_back();
}

void RowStore::removeRow(int row) {
    rows_.erase(rows_.begin() + row);
}

} // namespace data
