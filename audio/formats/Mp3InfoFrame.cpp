#include "audio/formats/Mp3InfoFrame.h"

#include <cstring>

namespace quorvel {

namespace {

std::uint32_t BigEndian32(const std::uint8_t* Bytes) {
    return (std::uint32_t(Bytes[0]) << 24) | (std::uint32_t(Bytes[1]) << 16) | (std::uint32_t(Bytes[2]) << 8) |
           Bytes[3];
}

}  // namespace

std::size_t Id3v2TagLength(const std::uint8_t* Head, std::size_t Length) {
    if (Length < 10 || std::memcmp(Head, "ID3", 3) != 0) return 0;
    std::size_t size = 0;
    for (int i = 6; i < 10; ++i) size = (size << 7) | (Head[i] & 0x7F);
    return size + 10 + ((Head[5] & 0x10) != 0 ? 10 : 0);
}

std::optional<std::int64_t> Mp3PlayableFrames(const std::uint8_t* Head, std::size_t Length) {
    std::size_t at = 0;
    if (Length < 4) return std::nullopt;
    const std::uint32_t header = BigEndian32(Head + at);
    const bool layer3 = ((header >> 17) & 3) == 1;
    if ((header & 0xFFE00000) != 0xFFE00000 || !layer3) return std::nullopt;
    const bool mpeg1 = ((header >> 19) & 3) == 3;
    const bool mono = ((header >> 6) & 3) == 3;
    const std::size_t sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    at += 4 + sideInfo;
    if (at + 8 > Length) return std::nullopt;
    if (std::memcmp(Head + at, "Xing", 4) != 0 && std::memcmp(Head + at, "Info", 4) != 0) return std::nullopt;
    const std::uint32_t flags = BigEndian32(Head + at + 4);
    at += 8;
    if ((flags & 1) == 0 || at + 4 > Length) return std::nullopt;
    const std::int64_t frames = BigEndian32(Head + at);
    at += 4;
    if ((flags & 2) != 0) at += 4;
    if ((flags & 4) != 0) at += 100;
    if ((flags & 8) != 0) at += 4;
    // The encoder's extension: its name, then delay and padding at offset 21.
    if (at + 24 > Length) return std::nullopt;
    const std::uint8_t* extension = Head + at;
    if (std::memcmp(extension, "LAME", 4) != 0 && std::memcmp(extension, "Lavf", 4) != 0 &&
        std::memcmp(extension, "Lavc", 4) != 0)
        return std::nullopt;
    const std::int64_t delay = (extension[21] << 4) | (extension[22] >> 4);
    const std::int64_t padding = ((extension[22] & 0x0F) << 8) | extension[23];
    const std::int64_t playable = frames * (mpeg1 ? 1152 : 576) - delay - padding;
    if (playable <= 0) return std::nullopt;
    return playable;
}

}  // namespace quorvel
