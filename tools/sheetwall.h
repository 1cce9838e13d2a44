#pragma once

#include "tools/sheet.h"

#include <functional>

// A school's list is a file from elsewhere: ternavolk-db reads it in a child process of itself
// (tools/wall.h), under the limits of TERNAVOLK_SHEET_MEMORY_MB, _CPU_SECONDS,
// _SILENT_SECONDS and _MESSAGES_KB, and hands the cells over. The tool's commands and the
// companion's page read every list this way.
namespace tools::sheets {

// The internal command of ternavolk-db that reads one list and hands it over.
inline constexpr char16_t readSheetCommand[] = u"__read-sheet";

// The child's side (linked into ternavolk-db only, with FreeXL and minizip): reads `path` and
// writes its workbook to stdout; a refusal travels as a record. Returns the exit code.
int serveSheet(const QString& path);

// The parent's side: the workbook at `path`, read by `program` (ternavolk-db) behind the wall.
// Whatever the child hands over is checked again against the limits of a list. `between` is
// called while the parent waits (it may throw: a cancel, an interrupt). Throws SheetError:
// the child's refusal, or Damaged when the child broke off, stalled, flooded or handed over
// what cannot be read, or ReaderFailed when it could not be started.
Workbook readBehindWall(const QString& program, const QString& path,
                        const std::function<void()>& between = {});

} // namespace tools::sheets
