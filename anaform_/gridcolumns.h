#pragma once

#include "data/widgets/dbgrid.h"

#include <vector>

// The columns of the main window's grids, left to right: column, title, width (-1: the
// default width rule).
const std::vector<data::TDBGrid::Column>& readerGridColumns(); // DBGrid1
const std::vector<data::TDBGrid::Column>& bookGridColumns();   // DBGrid2
