// Plans: the tables that load, loose, unused and duplicates print, handed back to copy, move, store or delete.
// A plan is read whole, in any of the table formats (plan_table.h, with separated_table.h and json_table.h for the
// formats); its columns are found by their header names, and every row that names a file must name it by an
// absolute folder and a plain name, or the plan is refused (plan_rows.h).
#pragma once

#include "cli/plan_rows.h"
#include "cli/plan_table.h"
