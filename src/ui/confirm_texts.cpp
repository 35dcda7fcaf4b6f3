#include "ui/confirm_texts.h"

namespace tw {

namespace {

std::wstring Bounded(const std::wstring& text, size_t capacity) {
    return text.size() < capacity ? text : text.substr(0, capacity - 1);
}

} // namespace

void ConfirmTexts::SetOverwrite(const std::wstring& source, const std::wstring& target) {
    caption = Bounded(L"QRB::Confirm file Overwrite", kConfirmCaptionCapacity);
    firstLabel = Bounded(L"Overwrite File:", kConfirmLabelCapacity);
    firstPath = Bounded(source, kConfirmPathCapacity);
    secondLabel = Bounded(L"With File:", kConfirmLabelCapacity);
    secondPath = Bounded(target, kConfirmPathCapacity);
}

void ConfirmTexts::SetDelete(const std::wstring& path) {
    caption = Bounded(L"QRB::Confirm file delete", kConfirmCaptionCapacity);
    firstLabel = Bounded(L"File:", kConfirmLabelCapacity);
    firstPath = Bounded(path, kConfirmPathCapacity);
}

void ConfirmTexts::SetDeleteReadOnly(const std::wstring& path) {
    SetDelete(path);
    firstPath = Bounded(path + L" \nFILE_ATTRIBUTE_READONLY", kConfirmPathCapacity);
}

} // namespace tw
