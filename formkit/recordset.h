#pragma once

#include "data/adoquery.h"
#include "data/datasource.h"

#include <QString>
#include <span>

namespace formkit {

// A persistent field of a window: its member and the column it stands for.
template <typename W> struct FieldRow {
    data::TField* W::*member;
    const char16_t* column;
};

// A record set that a window owns, with its data source. The data source is declared after the
// record set, so it goes first when the window is destroyed.
class OwnedRecordSet {
public:
    OwnedRecordSet(const QString& name, const data::TableDef& table, const QString& sql,
                   const QString& sourceName)
        : query(name, table, sql), source(sourceName, &query) {}

    // Binds the window's persistent fields to their columns by name.
    template <typename W> void bindFields(W* window, std::span<const FieldRow<W>> fields) {
        for (const FieldRow<W>& field : fields)
            window->*field.member = &query.fieldByName(field.column);
    }

    data::TADOQuery query;
    data::TDataSource source;
};

} // namespace formkit
