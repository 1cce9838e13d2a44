#pragma once

#include <QStringList>

// The commands of ternavolk-db, each given the arguments after its name. Each returns the exit
// code (0 done, 1 failed with the reason printed) or throws cli::UsageError (exit code 2) or
// platform::Error (printed, exit code 1).
namespace tools::commands {

int create(const QStringList& args);
int demo(const QStringList& args);
int generate(const QStringList& args);
int import(const QStringList& args);
int backup(const QStringList& args);
int restore(const QStringList& args);
int check(const QStringList& args);
int readers(const QStringList& args);
int books(const QStringList& args);
int labels(const QStringList& args);
int cards(const QStringList& args);
int slips(const QStringList& args);

} // namespace tools::commands
