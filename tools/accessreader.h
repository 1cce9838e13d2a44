#pragma once

#include "data/value.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace tools {

// What an old file's column holds, as far as bringing it across needs to know.
enum class AccessKind { Integer, DateTime, Text, Other };

struct AccessColumn {
    QString name;
    AccessKind kind;
    QString typeName; // the old file's own name of the column's type, for messages
};

// Reads the tables of an Access-format database (Jet 4: Access 2000 and 2002-2003), opened
// read-only through mdbtools' libmdb. Values come as the program's own: null apart from an
// empty text, whole numbers exact, date-times from the stored day count. Every failure throws
// platform::Error with a message that names the file.
class AccessReader {
public:
    explicit AccessReader(const QString& path);
    ~AccessReader();
    AccessReader(const AccessReader&) = delete;
    AccessReader& operator=(const AccessReader&) = delete;

    bool hasTable(const QString& name) const;

    // The message for a table that hasTable did not find.
    QString missingTable(const QString& name) const;

    // Reads every row of the table in the file's order: first the columns, then each row's
    // values in that order. Throws when the table is missing or its rows cannot all be read.
    // Returns what libmdb remarked while reading all of them (empty when nothing).
    QString readTable(const QString& name,
                      const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
                      const std::function<void(const std::vector<data::Value>&)>& onRow);

private:
    struct Handle;
    QString path_;
    QString catalogNote_; // what libmdb remarked while reading the list of tables
    std::unique_ptr<Handle> handle_;
};

// A text as Jet 4 stores it: UTF-16LE, or, behind the marker FF FE, runs of one-byte
// (Latin-1) characters and UTF-16LE characters, each 00 byte switching from one to the other.
QString decodeJetText(const unsigned char* bytes, int size);

} // namespace tools
