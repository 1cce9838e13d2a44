#pragma once

#include <QString>

namespace araclar {

// One line the database tool prints while it brings an Access-format file across.
struct ImportLine {
    enum Kind {
        Started,   // "Importing 'OLD' into 'NEW'"
        Progress,  // "okuyucu: 5000 rows so far..."
        TableDone, // "okuyucu: 12 rows read, 12 written"
        Warning,   // "  warning: ..."
        Finished,  // "Imported with 2 warning(s): NEW"
        Other,
    };
    Kind kind = Other;
    QString table;
    qint64 rows = 0;    // read so far, or read in all
    qint64 written = 0; // TableDone
    QString text;       // the warning, or the line itself
};

ImportLine parseImportLine(const QString& line);

// The line in Turkish for the librarian's summary.
QString turkishImportLine(const ImportLine& line);

// The three tables in the order the tool brings them across.
int importTableIndex(const QString& table);

} // namespace araclar
