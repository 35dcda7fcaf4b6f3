// The rules by which names dropped on the project list, and files found in a dropped folder, become media.
#pragma once

#include <cstdint>
#include <string>

namespace tw {

enum class DropAction : uint8_t {
    ignore,   // not taken in
    looseOmf, // an OMF, AIFF or WAVE file: AddLooseOmfFile
    looseMxf, // an MXF file: AddLooseMxfFile
    bin,      // a bin of the editing application: its referenced media are loaded
};

// A dropped file (not a folder), by the last three characters of its name without regard to letter case:
// "omf", "aif" and "wav" are loose OMF-family files, "mxf" loose MXF files, "avb" bins. No dot is needed before
// them: "clipomf" is an OMF file.
[[nodiscard]] DropAction DroppedFileAction(const std::wstring& name);

// A file found in a dropped folder, by its extension (from the last dot of its last component) without regard to
// letter case: ".omf", ".aif", ".wav" and ".mxf" as above. Bins found in folders are not read, and a name without
// that dot ("clipomf") is no media file.
[[nodiscard]] DropAction FolderFileAction(const std::wstring& path);

} // namespace tw
