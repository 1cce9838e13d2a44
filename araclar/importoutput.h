#pragma once

#include <QJsonObject>
#include <QString>

namespace araclar {

// One event the database tool gives while it brings an Access-format file across, as
// `ternavolk-db import --json` writes it: one JSON object a line. The companion reads only
// these, never the tool's English.
struct ImportEvent {
    enum Kind {
        Start,    // {"event":"start"}
        Progress, // {"event":"progress","table":T,"rows":N}
        Table,    // {"event":"table","table":T,"read":N,"written":N,"warnings":[…]}
        Done,     // {"event":"done","warnings":N}
        Failed,   // {"event":"failed","cause":C,…}
        Unknown,  // a line that is no such object
    };
    Kind kind = Unknown;
    QJsonObject fields;
};

ImportEvent parseImportEvent(const QByteArray& line);

// The event in Turkish, for the page's state line (Progress) or its summary (the rest): a table
// with its warnings, one line each; the end; the reason of a failure with what to do.
QString turkishImportEvent(const ImportEvent& event);

// The three tables in the order the tool brings them across; -1 for any other name.
int importTableIndex(const QString& table);

} // namespace araclar
