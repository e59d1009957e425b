#include "audio/formats/AuTags.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace quorvel {

namespace {

bool LessNoCase(std::string_view A, std::string_view B) {
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char X, char Y) {
        return std::tolower(static_cast<unsigned char>(X)) < std::tolower(static_cast<unsigned char>(Y));
    });
}

bool SameNoCase(std::string_view A, std::string_view B) { return !LessNoCase(A, B) && !LessNoCase(B, A); }

bool ParseInteger(std::string_view Text, std::int64_t& Result) {
    const char* end = Text.data() + Text.size();
    const auto [last, error] = std::from_chars(Text.data(), end, Result);
    return error == std::errc() && last == end && !Text.empty();
}

}  // namespace

std::u16string Latin1ToWide(std::string_view Text) {
    std::u16string wide(Text.size(), u'\0');
    std::transform(Text.begin(), Text.end(), wide.begin(),
                   [](char C) { return static_cast<char16_t>(static_cast<unsigned char>(C)); });
    return wide;
}

std::string WideToLatin1(std::u16string_view Text) {
    std::string narrow(Text.size(), '\0');
    std::transform(Text.begin(), Text.end(), narrow.begin(),
                   [](char16_t C) { return C < 0x100 ? static_cast<char>(C) : '?'; });
    return narrow;
}

std::string TAuTags::NameByIndex(int Index) const {
    if (Index < 0 || Index >= Count()) return {};
    return FValues[static_cast<std::size_t>(Index)].first;
}

const TTagValue* TAuTags::Find(std::string_view Name) const {
    const auto at = std::lower_bound(FValues.begin(), FValues.end(), Name, [](const auto& Entry, std::string_view Key) {
        return LessNoCase(Entry.first, Key);
    });
    if (at == FValues.end() || !SameNoCase(at->first, Name)) return nullptr;
    return &at->second;
}

TTagValue* TAuTags::Find(std::string_view Name) {
    return const_cast<TTagValue*>(static_cast<const TAuTags*>(this)->Find(Name));
}

TTagValue TAuTags::Value(std::string_view Name) const {
    const TTagValue* value = Find(Name);
    return value != nullptr ? *value : TTagValue{};
}

void TAuTags::SetValue(std::string_view Name, TTagValue Value) {
    TTagValue* value = Find(Name);
    if (value == nullptr || *value == Value) return;
    *value = std::move(Value);
    FEmpty = false;
    FChanged = true;
}

std::int64_t TAuTags::AsInteger(std::string_view Name) const {
    const TTagValue value = Value(Name);
    std::int64_t result = 0;
    if (const auto* number = std::get_if<std::int64_t>(&value)) return *number;
    if (const auto* text = std::get_if<std::string>(&value)) return ParseInteger(*text, result) ? result : 0;
    if (const auto* wide = std::get_if<std::u16string>(&value))
        return ParseInteger(WideToLatin1(*wide), result) ? result : 0;
    return 0;
}

std::string TAuTags::AsString(std::string_view Name) const {
    const TTagValue value = Value(Name);
    if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    if (const auto* wide = std::get_if<std::u16string>(&value)) return WideToLatin1(*wide);
    return {};
}

std::u16string TAuTags::AsWideString(std::string_view Name) const {
    const TTagValue value = Value(Name);
    if (const auto* wide = std::get_if<std::u16string>(&value)) return *wide;
    return Latin1ToWide(AsString(Name));
}

void TAuTags::Clear() {
    for (auto& entry : FValues) entry.second = TTagValue{};
    FEmpty = true;
    FChanged = true;
}

void TAuTags::Assign(const TAuTags& Source) {
    Clear();
    for (const auto& [name, value] : Source.FValues) SetValue(name, value);
}

bool TAuTags::Detect(int Handle) { return Handle != -1; }

bool TAuTags::ReadFrom(int Handle) {
    if (Handle == -1) return false;
    Clear();
    return true;
}

bool TAuTags::WriteTo(int Handle) { return Handle != -1; }

void TAuTags::AddName(std::string Name, TTagValue Initial) {
    const auto at = std::lower_bound(FValues.begin(), FValues.end(), Name, [](const auto& Entry, std::string_view Key) {
        return LessNoCase(Entry.first, Key);
    });
    if (at != FValues.end() && SameNoCase(at->first, Name)) return;
    FValues.insert(at, {std::move(Name), std::move(Initial)});
}

}  // namespace quorvel
