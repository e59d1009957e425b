#pragma once

#include "audio/formats/AudioStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

namespace quorvel {

struct TPcmFormat {
    int Channels = 0;
    int SampleRate = 0;
    int BitsPerSample = 0;
};

// The decoding runtime behind the media reader, on FFmpeg. Each stream of the
// container is one output; an audio output offers 16-bit PCM at its own rate
// and channel count, 32-bit too when discrete output is on and the decoder
// works wider than 16 bits, and the same at the speaker configuration's
// channel count when one is set (mixed by libswresample).
class TMediaDecoder {
public:
    TMediaDecoder();
    ~TMediaDecoder();
    TMediaDecoder(const TMediaDecoder&) = delete;
    TMediaDecoder& operator=(const TMediaDecoder&) = delete;

    // Reads the container through Stream from its current position.
    bool OpenStream(TAudioStream& Stream);
    int OutputCount() const;
    bool IsAudioOutput(int Output) const;
    // The output's own channel count and rate.
    TPcmFormat OutputMediaType(int Output) const;
    void SetDiscreteOutput(bool Value) { FDiscreteOutput = Value; }
    void SetSpeakerConfig(int Channels) { FSpeakerChannels = Channels; }
    std::vector<TPcmFormat> OutputFormats(int Output) const;
    bool SetOutputProps(int Output, const TPcmFormat& Format);
    int StreamNumberForOutput(int Output) const { return Output; }
    // False when the stream's content is encrypted.
    bool SetReadStreamSamples(int StreamNumber);
    // 100-ns units; -1 when the container does not know.
    std::int64_t Duration() const { return FDuration; }
    // Decoded PCM of the selected format, valid until the next call; false at the end.
    bool GetNextSample(int StreamNumber, const std::uint8_t*& Data, std::uint32_t& Length);
    // Reading goes on near Start (100-ns units).
    bool SetRange(std::int64_t Start);
    // Empty when the attribute is missing.
    std::u16string Attribute(std::string_view Name) const;
    void Close();

private:
    bool OpenDecoder();
    bool Convert();
    bool ReadPacket();
    std::int64_t FindDuration(TAudioStream& Stream);

    AVIOContext* FIo = nullptr;
    AVFormatContext* FFormat = nullptr;
    AVCodecContext* FDecoder = nullptr;
    SwrContext* FResampler = nullptr;
    AVFrame* FFrame = nullptr;
    AVPacket* FPacket = nullptr;
    bool FPacketPending = false;
    bool FFlushing = false;
    bool FDrained = false;
    bool FDiscreteOutput = false;
    int FSpeakerChannels = 0;
    int FSelectedOutput = -1;
    TPcmFormat FSelected;
    std::int64_t FDuration = -1;
    std::vector<std::uint8_t> FSample;
};

}  // namespace quorvel
