// The catalog as the CLI prints it: the table on stdout, then the statistics on stderr. Shared by load,
// load --bin and loose.
#pragma once

#include "catalog/media_catalog.h"

namespace tw::cli {

// Writes every indexed record as a tab-separated table with a header, sorted by project and file name, with the
// file list's columns (Size as a plain byte count), then "Projects count", "Files count" and "Total size" to
// stderr.
void WriteCatalog(const MediaCatalog& catalog);

} // namespace tw::cli
