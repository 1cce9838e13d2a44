#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <map>
#include <optional>

// What every command of ternavolk-db shares: how it prints, how it refuses a wrong command line,
// and how it reads its options.
namespace tools::cli {

// One line on stdout or stderr, in UTF-8 (on Windows the console is told so at start).
void out(const QString& line);
void err(const QString& line);

// A wrong command line: the tool prints "ternavolk-db: <problem>" and its usage, and exits
// with 2.
class UsageError {
public:
    explicit UsageError(QString problem) : problem_(std::move(problem)) {}
    const QString& problem() const { return problem_; }

private:
    QString problem_;
};

// A non-negative whole number in decimal digits only (no sign, no blanks), within int.
std::optional<int> count(const QString& text);

// The arguments after the command's name, taken apart: the positional ones in order, and the
// options the command knows, each given at most once. `flags` take no value ("--dry-run"),
// `valued` take the next argument as theirs ("--school NAME"); an option not in either list,
// an option given twice or a valued option at the end is a UsageError naming `command`.
struct Arguments {
    QStringList positional;
    std::map<QString, QString> options; // flags map to the empty text
    bool has(const QString& option) const { return options.count(option) > 0; }
    QString value(const QString& option) const {
        const auto it = options.find(option);
        return it == options.end() ? QString() : it->second;
    }
};
Arguments parse(const QString& command, const QStringList& args, const QStringList& flags,
                const QStringList& valued);

// Refuses fewer or more positional arguments than `names` ("backup: missing DEST",
// "check: unexpected argument 'x'").
void requirePositional(const QString& command, const Arguments& a, const QStringList& names);

} // namespace tools::cli
