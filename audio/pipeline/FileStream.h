#pragma once

#include "audio/pipeline/AuStream.h"

#include <cstdint>
#include <string>

namespace quorvel {

// A stream over an operating-system file descriptor that it owns.
//
// Mode 0xFFFF creates the file, replacing any existing one, for reading and
// writing. Any other mode opens an existing file with the access of its low
// two bits: 0 read, 1 write, 2 read and write (3 is refused as invalid).
// Bits 4 to 7 ask for sharing (none, others may read, others may write, both);
// POSIX has no mandatory share modes and advisory locks would only bind
// cooperating programs, so they are accepted and not enforced.
//
// Failures raise EAuException with the operating system's text for the error.
class TAuFileStream : public TAuStream {
public:
    static constexpr std::uint16_t fmCreate = 0xFFFF;
    static constexpr std::uint16_t fmOpenRead = 0x0000;
    static constexpr std::uint16_t fmOpenWrite = 0x0001;
    static constexpr std::uint16_t fmOpenReadWrite = 0x0002;
    static constexpr std::uint16_t fmShareDenyWrite = 0x0020;

    TAuFileStream(const std::u16string& FileName, std::uint16_t Mode);
    ~TAuFileStream() override;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t GetSize() override;

private:
    int FHandle = -1;
};

}  // namespace quorvel
