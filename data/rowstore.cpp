#include "data/rowstore.h"

#include "platform/errors.h"

#include <cstring>
#include <limits>

namespace data {

namespace {
constexpr std::uint32_t storageBits = 3;
constexpr std::uint32_t storageMask = (1u << storageBits) - 1;
} // namespace

void RowStore::clear() {
    rowStart_.clear();
    cellInfo_.clear();
    bytes_.clear();
}

void RowStore::beginRow() { rowStart_.push_back(bytes_.size()); }

void RowStore::addCell(Storage storage, const void* data, size_t size) {
    if (size > (std::numeric_limits<std::uint32_t>::max() >> storageBits))
        throw platform::Error(QStringLiteral("A value is too large to be read"));
    cellInfo_.push_back(static_cast<std::uint32_t>(size) << storageBits |
                        static_cast<std::uint32_t>(storage));
    if (size) {
        const size_t at = bytes_.size();
        bytes_.resize(at + size);
        std::memcpy(bytes_.data() + at, data, size);
    }
}

RowStore::Cell RowStore::cell(int row, int column) const {
    const size_t first = static_cast<size_t>(row) * columns_;
    std::uint64_t offset = rowStart_[row];
    for (int c = 0; c < column; ++c)
        offset += cellInfo_[first + c] >> storageBits;
    const std::uint32_t info = cellInfo_[first + column];
    return {static_cast<Storage>(info & storageMask),
            std::string_view(bytes_.data() + offset, info >> storageBits)};
}

Value RowStore::value(int row, int column, Kind kind) const {
    const Cell c = cell(row, column);
    std::int64_t i = 0;
    double d = 0;
    if (c.storage == Storage::Integer)
        std::memcpy(&i, c.bytes.data(), sizeof i);
    if (c.storage == Storage::Float)
        std::memcpy(&d, c.bytes.data(), sizeof d);
    const auto text = [&] { return QString::fromUtf8(c.bytes.data(), c.bytes.size()); };

    switch (c.storage) {
    case Storage::Null:
        return Value();
    case Storage::Integer:
        if (kind == Kind::WideString)
            return Value(QString::number(i));
        if (kind == Kind::DateTime)
            return Value(platform::DateTime(static_cast<double>(i)));
        return Value(static_cast<qint32>(i));
    case Storage::Float:
        if (kind == Kind::WideString)
            return Value(QString::number(d));
        if (kind == Kind::DateTime)
            return Value(platform::DateTime(d));
        return Value(static_cast<qint32>(d));
    case Storage::Text:
    case Storage::Blob:
        if (kind == Kind::WideString)
            return Value(text());
        if (kind == Kind::DateTime) {
            const auto dt = platform::DateTime::fromIso(text());
            return dt ? Value(*dt) : Value();
        }
        {
            bool ok = false;
            const int v = text().trimmed().toInt(&ok);
            return ok ? Value(v) : Value();
        }
    }
    return Value();
}

void RowStore::appendRow(const RowStore& source, int sourceRow) {
    beginRow();
    for (int c = 0; c < columns_; ++c) {
        const Cell cell = source.cell(sourceRow, c);
        addCell(cell.storage, cell.bytes.data(), cell.bytes.size());
    }
}

void RowStore::replaceRow(int row, const RowStore& source, int sourceRow) {
    // The new cells go to the end of the arena; the old bytes stay unused until the next open.
    const std::uint64_t start = bytes_.size();
    const size_t first = static_cast<size_t>(row) * columns_;
    for (int c = 0; c < columns_; ++c) {
        const Cell cell = source.cell(sourceRow, c);
        const size_t at = bytes_.size();
        bytes_.resize(at + cell.bytes.size());
        if (!cell.bytes.empty())
            std::memcpy(bytes_.data() + at, cell.bytes.data(), cell.bytes.size());
        cellInfo_[first + c] = static_cast<std::uint32_t>(cell.bytes.size()) << storageBits |
                               static_cast<std::uint32_t>(cell.storage);
    }
    rowStart_[row] = start;
}

void RowStore::removeRow(int row) {
    rowStart_.erase(rowStart_.begin() + row);
    const auto first = cellInfo_.begin() + static_cast<std::ptrdiff_t>(row) * columns_;
    cellInfo_.erase(first, first + columns_);
}

} // namespace data
