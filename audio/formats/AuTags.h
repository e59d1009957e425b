#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quorvel {

// A tag value: empty, an integer, 8-bit text (Latin-1 bytes) or wide text.
using TTagValue = std::variant<std::monostate, std::int64_t, std::string, std::u16string>;

// A fixed set of named tag values, kept sorted by name without regard to
// case. The names are fixed by the constructor; values change, names never.
//
// File operations take a descriptor that the caller opened and will close;
// -1 is no file. They report success and raise nothing for a missing or
// malformed tag.
class TAuTags {
public:
    TAuTags() = default;
    TAuTags(const TAuTags&) = delete;
    TAuTags& operator=(const TAuTags&) = delete;
    virtual ~TAuTags() = default;

    int Count() const { return static_cast<int>(FValues.size()); }
    std::string NameByIndex(int Index) const;
    TTagValue Value(std::string_view Name) const;
    // Unknown names and unchanged values change nothing.
    void SetValue(std::string_view Name, TTagValue Value);

    std::int64_t AsInteger(std::string_view Name) const;
    std::string AsString(std::string_view Name) const;
    std::u16string AsWideString(std::string_view Name) const;

    void Clear();
    // Clears, then copies every value of Source whose name this set has.
    void Assign(const TAuTags& Source);

    bool Empty() const { return FEmpty; }
    bool Changed() const { return FChanged; }

    virtual bool Detect(int Handle);
    virtual bool ReadFrom(int Handle);
    virtual bool WriteTo(int Handle);

protected:
    void AddName(std::string Name, TTagValue Initial = {});

private:
    const TTagValue* Find(std::string_view Name) const;
    TTagValue* Find(std::string_view Name);

    std::vector<std::pair<std::string, TTagValue>> FValues;
    bool FEmpty = true;
    bool FChanged = false;
};

// 8-bit tag text is Latin-1: every byte is the code point of the same value.
std::u16string Latin1ToWide(std::string_view Text);
// Characters outside Latin-1 become "?".
std::string WideToLatin1(std::u16string_view Text);

}  // namespace quorvel
