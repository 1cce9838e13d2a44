#pragma once

#include "platform/textrules.h"
#include "printing/reporttable.h"

// The companion's lists are the printed layouts' tables.
namespace araclar {

using platform::dayText;
using printing::cellText;
using printing::isNumberCell;
using printing::ReportTable;
using printing::turkishLess;

} // namespace araclar
