// The deletion of a media database: its index file and the media database beside it. The media files stay.
#pragma once

#include "operations/file_system.h"
#include "seams/console.h"

#include <string>

namespace tw {

// Deletes the index file at indexPath and the msmMMOB.mdb in its folder, each only if it exists, writing
// "QRB::Deleted::%s" for each file deleted and "QRB::DeleteDB::Failed::%s" with the system's error line for each
// refused. A failure does not stop the second file. True when the index file was deleted.
bool DeleteDatabaseFiles(const std::wstring& indexPath, FileSystem& files, Console* console);

} // namespace tw
