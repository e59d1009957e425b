#include "audio/formats/Id3v2Tags.h"

#include "audio/formats/TagIo.h"
#include "audio/pipeline/Utf16.h"

#include <sys/mman.h>
#include <unistd.h>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace quorvel {

namespace {

constexpr int kFieldCount = 12;
constexpr int kCommentIndex = 6;
constexpr std::array<const char*, kFieldCount> kVersion2Ids = {"TAL", "TP1", "TCO", "TT2", "TRK", "TYE",
                                                               "COM", "TCM", "TEN", "TCR", "TLA", "WXX"};
constexpr std::array<const char*, kFieldCount> kVersion3Ids = {"TALB", "TPE1", "TCON", "TIT2", "TRCK", "TYER",
                                                               "COMM", "TCOM", "TENC", "TCOP", "TLAN", "WXXX"};
constexpr std::int64_t kHeaderSize = 10;

struct THeader {
    int Version = 0;
    std::int64_t TotalLength = 0;
};

// The header at the current position, if it is one whose tag fits in the file.
std::optional<THeader> ReadHeader(int Handle) {
    const std::int64_t start = FilePosition(Handle);
    std::uint8_t bytes[kHeaderSize];
    if (start < 0 || ReadFully(Handle, bytes, kHeaderSize) != kHeaderSize) return std::nullopt;
    if (std::memcmp(bytes, "ID3", 3) != 0) return std::nullopt;
    const int version = bytes[3];
    static constexpr std::uint8_t kAllowedFlags[] = {0, 0, 0xC0, 0xE0, 0xF0};
    if (version < 2 || version > 4 || bytes[4] == 0xFF) return std::nullopt;
    if ((bytes[5] & ~kAllowedFlags[version]) != 0) return std::nullopt;
    std::int64_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (bytes[i] >= 0x80) return std::nullopt;
        size = (size << 7) | bytes[i];
    }
    THeader header{version, size + kHeaderSize + ((bytes[5] & 0x10) != 0 ? kHeaderSize : 0)};
    // A tag that claims more bytes than the file holds is not a tag.
    if (start + header.TotalLength > FileLength(Handle)) return std::nullopt;
    return header;
}

std::u16string DecodeUtf16Le(const std::uint8_t* Text, std::size_t Length) {
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < Length; i += 2) {
        const auto unit = static_cast<char16_t>(Text[i] | (Text[i + 1] << 8));
        if (unit == 0) break;
        wide.push_back(unit);
    }
    return wide;
}

std::string UpToZero(const std::uint8_t* Text, std::size_t Length) {
    const auto* zero = static_cast<const std::uint8_t*>(std::memchr(Text, 0, Length));
    return std::string(reinterpret_cast<const char*>(Text), zero != nullptr ? std::size_t(zero - Text) : Length);
}

void PutBigEndian(std::vector<std::uint8_t>& Out, std::uint32_t Value) {
    for (int shift = 24; shift >= 0; shift -= 8) Out.push_back(static_cast<std::uint8_t>(Value >> shift));
}

// Grows the file by Prefix.size() bytes, moves its content up and writes Prefix at the start.
bool InsertAtStart(int Handle, const std::vector<std::uint8_t>& Prefix) {
    const std::int64_t oldLength = FileLength(Handle);
    if (oldLength < 0) return false;
    const std::size_t newLength = static_cast<std::size_t>(oldLength) + Prefix.size();
    if (::ftruncate(Handle, static_cast<off_t>(newLength)) != 0) return false;
    void* mapped = ::mmap(nullptr, newLength, PROT_READ | PROT_WRITE, MAP_SHARED, Handle, 0);
    if (mapped == MAP_FAILED) return false;
    auto* bytes = static_cast<std::uint8_t*>(mapped);
    std::memmove(bytes + Prefix.size(), bytes, static_cast<std::size_t>(oldLength));
    std::memcpy(bytes, Prefix.data(), Prefix.size());
    const bool flushed = ::msync(mapped, newLength, MS_SYNC) == 0;
    return ::munmap(mapped, newLength) == 0 && flushed;
}

}  // namespace

TId3v2Tags::TId3v2Tags() {
    for (int i = 0; i < kFieldCount; ++i) {
        AddName(kVersion2Ids[static_cast<std::size_t>(i)]);
        AddName(kVersion3Ids[static_cast<std::size_t>(i)]);
    }
}

const char* TId3v2Tags::Id(int Index) const {
    return (FNewVersion ? kVersion3Ids : kVersion2Ids)[static_cast<std::size_t>(Index)];
}

bool TId3v2Tags::Detect(int Handle) {
    if (Handle == -1) return false;
    const std::int64_t position = FilePosition(Handle);
    const bool found = ReadHeader(Handle).has_value();
    SetFilePosition(Handle, position);
    return found;
}

bool TId3v2Tags::ReadFrom(int Handle) {
    if (!TAuTags::ReadFrom(Handle)) return false;
    const std::int64_t start = FilePosition(Handle);
    const std::optional<THeader> header = ReadHeader(Handle);
    if (!header) {
        SetFilePosition(Handle, start);
        return false;
    }
    FNewVersion = header->Version != 2;
    ParseFrames(Handle, start + header->TotalLength, header->Version);
    SetFilePosition(Handle, start + header->TotalLength);
    return true;
}

void TId3v2Tags::ParseFrames(int Handle, std::int64_t TagEnd, int Version) {
    const std::size_t idLength = Version == 2 ? 3 : 4;
    const std::size_t headerLength = Version == 2 ? 6 : 10;
    const auto& ids = Version == 2 ? kVersion2Ids : kVersion3Ids;
    std::vector<std::uint8_t> body;
    for (;;) {
        const std::int64_t at = FilePosition(Handle);
        if (at < 0 || at + static_cast<std::int64_t>(headerLength) > TagEnd) return;
        std::uint8_t frame[10];
        if (ReadFully(Handle, frame, headerLength) != headerLength) return;
        if (frame[0] < 'A' || frame[0] > 'Z') return;
        std::uint32_t size = 0;
        for (std::size_t i = idLength; i < idLength + (Version == 2 ? 3 : 4); ++i) size = (size << 8) | frame[i];
        if (size == 0) continue;
        // Checked before anything is allocated: a frame may not pass the tag end.
        if (static_cast<std::int64_t>(size) > TagEnd - (at + static_cast<std::int64_t>(headerLength))) return;
        body.resize(size);
        if (ReadFully(Handle, body.data(), size) != size) return;
        const std::string id(reinterpret_cast<const char*>(frame), idLength);
        int index = -1;
        for (int i = 0; i < kFieldCount; ++i)
            if (id == ids[static_cast<std::size_t>(i)]) index = i;
        if (index < 0 || index == kCommentIndex) continue;
        const std::uint8_t* text = body.data() + 1;
        const std::size_t length = size - 1;
        switch (body[0]) {
            case 0:
                SetValue(id, UpToZero(text, length));
                break;
            case 1:
                if (size >= 3 && body[1] == 0xFF && body[2] == 0xFE)
                    SetValue(id, DecodeUtf16Le(text + 2, length - 2));
                else
                    SetValue(id, DecodeUtf16Le(text, length));
                break;
            case 3:
                SetValue(id, Utf8ToUtf16(UpToZero(text, length)));
                break;
            default:
                break;
        }
    }
}

bool TId3v2Tags::WriteTo(int Handle, bool AllowUtf8) {
    if (Handle == -1) return false;
    std::vector<std::uint8_t> frames;
    for (int i = 0; i < kFieldCount; ++i) {
        if (i == kCommentIndex) continue;
        const char* id = kVersion3Ids[static_cast<std::size_t>(i)];
        const TTagValue value = Value(id);
        const bool wide = std::holds_alternative<std::u16string>(value);
        const std::string text = AllowUtf8 && wide ? Utf16ToUtf8(std::get<std::u16string>(value)) : AsString(id);
        if (text.empty()) continue;
        frames.insert(frames.end(), id, id + 4);
        PutBigEndian(frames, static_cast<std::uint32_t>(text.size() + 1));
        frames.push_back(0);
        frames.push_back(0);
        frames.push_back(AllowUtf8 && wide ? 3 : 0);
        frames.insert(frames.end(), text.begin(), text.end());
    }
    const std::size_t padding = 16 - (frames.size() + kHeaderSize) % 16;
    const std::size_t size = frames.size() + padding;
    if (size >= (1U << 28)) return false;
    std::vector<std::uint8_t> tag = {'I', 'D', '3', 4, 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7) tag.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
    tag.insert(tag.end(), frames.begin(), frames.end());
    tag.resize(tag.size() + padding, 0);
    return InsertAtStart(Handle, tag);
}

}  // namespace quorvel
