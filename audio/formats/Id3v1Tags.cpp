#include "audio/formats/Id3v1Tags.h"

#include "audio/formats/TagIo.h"

#include <unistd.h>
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstring>

namespace quorvel {

namespace {

constexpr std::size_t kBlockSize = 128;
constexpr TId3v1TagsGenreId kOtherGenre = 12;

// Spaces and control characters off both ends.
std::string Trimmed(const std::uint8_t* Field, std::size_t Length) {
    std::size_t first = 0;
    std::size_t last = Length;
    while (first < last && Field[first] <= ' ') ++first;
    while (last > first && Field[last - 1] <= ' ') --last;
    return std::string(reinterpret_cast<const char*>(Field) + first, last - first);
}

std::string TrimmedText(const std::string& Text) {
    return Trimmed(reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size());
}

void PutField(std::uint8_t* Block, std::size_t Offset, const std::string& Text, std::size_t Length) {
    std::memcpy(Block + Offset, Text.data(), std::min(Length, Text.size()));
}

bool SameNoCase(const std::string& A, const char* B) {
    const std::size_t length = std::strlen(B);
    if (A.size() != length) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i])))
            return false;
    return true;
}

}  // namespace

TId3v1Tags::TId3v1Tags() {
    AddName("title");
    AddName("artist");
    AddName("album");
    AddName("year");
    AddName("comment");
    AddName("track");
    AddName("genre", std::int64_t{kOtherGenre});
}

TId3v1TagsGenreId TId3v1Tags::GenreId() const {
    const std::int64_t id = AsInteger("genre");
    return id >= 0 && id < kId3v1GenreCount ? static_cast<TId3v1TagsGenreId>(id) : kOtherGenre;
}

void TId3v1Tags::SetGenre(const std::string& Value) {
    const std::string wanted = TrimmedText(Value);
    for (int id = 0; id < kId3v1GenreCount; ++id) {
        if (SameNoCase(wanted, kId3v1Genres[static_cast<std::size_t>(id)])) {
            SetGenreId(static_cast<TId3v1TagsGenreId>(id));
            return;
        }
    }
}

bool TId3v1Tags::Detect(int Handle) {
    if (Handle == -1) return false;
    const std::int64_t position = FilePosition(Handle);
    const std::int64_t length = FileLength(Handle);
    bool found = false;
    if (length >= static_cast<std::int64_t>(kBlockSize) && SetFilePosition(Handle, length - kBlockSize)) {
        char signature[3];
        found = ReadFully(Handle, signature, 3) == 3 && std::memcmp(signature, "TAG", 3) == 0;
    }
    SetFilePosition(Handle, position);
    return found;
}

bool TId3v1Tags::ReadFrom(int Handle) {
    if (!TAuTags::ReadFrom(Handle)) return false;
    const std::int64_t length = FileLength(Handle);
    std::array<std::uint8_t, kBlockSize> block{};
    if (length < static_cast<std::int64_t>(kBlockSize) || !SetFilePosition(Handle, length - kBlockSize)) return false;
    if (ReadFully(Handle, block.data(), kBlockSize) != kBlockSize || std::memcmp(block.data(), "TAG", 3) != 0)
        return false;
    SetTitle(Trimmed(&block[3], 30));
    SetArtist(Trimmed(&block[33], 30));
    SetAlbum(Trimmed(&block[63], 30));
    const std::string year = Trimmed(&block[93], 4);
    std::uint16_t yearValue = 0;
    const auto [last, error] = std::from_chars(year.data(), year.data() + year.size(), yearValue);
    SetYear(error == std::errc() && last == year.data() + year.size() ? yearValue : 0);
    const bool hasTrack = (block[125] == 0 && block[126] != 0) || (block[125] == ' ' && block[126] != ' ');
    SetComment(Trimmed(&block[97], hasTrack ? 28 : 30));
    SetTrack(hasTrack ? block[126] : 0);
    SetGenreId(block[127]);
    return true;
}

bool TId3v1Tags::WriteTo(int Handle) {
    if (Handle == -1) return false;
    if (::lseek(Handle, 0, SEEK_END) < 0) return false;
    std::array<std::uint8_t, kBlockSize> block{};
    std::memcpy(block.data(), "TAG", 3);
    PutField(block.data(), 3, Title(), 30);
    PutField(block.data(), 33, Artist(), 30);
    PutField(block.data(), 63, Album(), 30);
    PutField(block.data(), 93, std::to_string(Year()), 4);
    if (Track() != 0) {
        PutField(block.data(), 97, Comment(), 28);
        block[125] = 0;
        block[126] = Track();
    } else {
        PutField(block.data(), 97, Comment(), 30);
    }
    block[127] = GenreId();
    return WriteFully(Handle, block.data(), kBlockSize);
}

}  // namespace quorvel
