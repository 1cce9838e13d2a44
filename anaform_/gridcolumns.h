#pragma once

#include "data/widgets/dbgrid.h"
#include "formkit/searchbar.h"

#include <span>
#include <vector>

// The reader and book tables as the main window shows them. The columns of its grids, left to
// right: column, title, width (-1: the default width rule).
const std::vector<data::TDBGrid::Column>& readerGridColumns(); // DBGrid1
const std::vector<data::TDBGrid::Column>& bookGridColumns();   // DBGrid2

// The columns the main window's two search bars offer, in the order of their lists.
std::span<const SearchColumn> readerSearchColumns(); // okr
std::span<const SearchColumn> bookSearchColumns();   // kkr
