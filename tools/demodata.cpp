#include "tools/demodata.h"

#include "tools/dbfile.h"

namespace tools {

void createDemoDatabase(const QString& path) { createDatabase(path); }

void createGeneratedDatabase(const QString& path, int, int, int) { createDatabase(path); }

} // namespace tools
