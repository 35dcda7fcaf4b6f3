#include "discovery/drop_rules.h"

#include "catalog/media_files.h"
#include "platform/platform.h"

namespace tw {

namespace {

DropAction MediaAction(MediaExtension extension) {
    switch (extension) {
    case MediaExtension::omf:
    case MediaExtension::aif:
    case MediaExtension::wav:
        return DropAction::looseOmf;
    case MediaExtension::mxf:
        return DropAction::looseMxf;
    case MediaExtension::none:
        break;
    }
    return DropAction::ignore;
}

bool IsAvb(const std::wstring& name) {
    if (name.size() < 3) {
        return false;
    }
    const std::wstring last = name.substr(name.size() - 3);
    const auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return fold(last[0]) == L'a' && fold(last[1]) == L'v' && fold(last[2]) == L'b';
}

} // namespace

DropAction DroppedFileAction(const std::wstring& name) {
    const DropAction media = MediaAction(LastThreeExtension(name, ExtensionCase::any));
    if (media != DropAction::ignore) {
        return media;
    }
    return IsAvb(name) ? DropAction::bin : DropAction::ignore;
}

DropAction FolderFileAction(const std::wstring& path) {
    const std::wstring extension = platform::FindExtension(path);
    if (extension.size() != 4) {
        return DropAction::ignore;
    }
    return MediaAction(LastThreeExtension(extension, ExtensionCase::any));
}

} // namespace tw
