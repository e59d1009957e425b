#pragma once

#include "audio/formats/AudioStream.h"
#include "audio/formats/MediaDecoder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorvel {

// The media reader of one open file: its decoder, the selected output and
// format, and the decoded sample being handed out.
struct wma_sync_reader {
    std::unique_ptr<TAudioStream> StreamAdapter;
    std::unique_ptr<TMediaDecoder> Reader;
    const std::uint8_t* CurrentSample = nullptr;
    std::uint32_t CurrentLength = 0;
    std::uint32_t Consumed = 0;
    std::uint16_t StreamNumber = 0;
    std::uint32_t OutputNumber = 0;
    bool HasAudio = false;
    bool Protected = false;
    std::int32_t Channels = 0;
    std::int32_t SampleRate = 0;
    std::int32_t BitsPerSample = 0;
    std::int64_t Duration = 0;  // 100-ns units
};

// Channel request: -1 the largest format, 0 the file's own channel count,
// 6 or 8 that many channels.
void WmaReaderOpen(wma_sync_reader& Record, TAuStream& Stream, bool HighPrecision, int ChannelRequest);
void WmaReaderFormat(const wma_sync_reader& Record, std::int32_t& Channels, std::int32_t& BitsPerSample,
                     std::int32_t& SampleRate);
std::uint32_t WmaReaderDurationHundredths(const wma_sync_reader& Record);
// At most Requested bytes of the current sample, straight from it; none at the end.
void WmaReaderRead(wma_sync_reader& Record, const std::uint8_t*& Buffer, std::uint32_t Requested, std::uint32_t& Bytes);
void WmaReaderSeek(wma_sync_reader& Record, std::uint32_t Hundredths);
void WmaReaderClose(wma_sync_reader& Record);
std::u16string WmaReaderAttribute(const wma_sync_reader& Record, std::string_view Name);

}  // namespace quorvel
