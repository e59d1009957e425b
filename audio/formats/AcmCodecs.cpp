#include "audio/formats/AcmCodecs.h"

#include <algorithm>
#include <cstring>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace quorvel {

namespace {

// The longest record among the codecs: MPEG Layer-3 with its 12 extra bytes.
constexpr std::uint32_t kMaxFormatSize = 30;
constexpr std::uint16_t kPcmTag = 1;
constexpr int kPacketBlocks = 960;  // whole blocks and whole G.726 codes in every packet

struct TWaveFormat {
    std::uint16_t Tag;
    std::uint16_t Channels;
    std::uint32_t Rate;
    std::uint16_t BlockAlign;
    std::uint16_t Bits;
    std::uint16_t ExtraSize;
};

std::uint16_t U16(const std::uint8_t* Bytes) { return static_cast<std::uint16_t>(Bytes[0] | Bytes[1] << 8); }

TWaveFormat ReadFormat(const std::uint8_t* Bytes) {
    return {U16(Bytes),      U16(Bytes + 2),  std::uint32_t{U16(Bytes + 4)} | std::uint32_t{U16(Bytes + 6)} << 16,
            U16(Bytes + 12), U16(Bytes + 14), U16(Bytes + 16)};
}

void Put16(std::uint8_t* Bytes, std::uint32_t Value) {
    Bytes[0] = static_cast<std::uint8_t>(Value);
    Bytes[1] = static_cast<std::uint8_t>(Value >> 8);
}

void Put32(std::uint8_t* Bytes, std::uint32_t Value) {
    Put16(Bytes, Value);
    Put16(Bytes + 2, Value >> 16);
}

AVCodecID CodecFor(std::uint16_t Tag) {
    switch (Tag) {
        case 0x0006:
            return AV_CODEC_ID_PCM_ALAW;
        case 0x0007:
            return AV_CODEC_ID_PCM_MULAW;
        case 0x0031:
            return AV_CODEC_ID_GSM_MS;
        case 0x0045:
        case 0x0064:
            return AV_CODEC_ID_ADPCM_G726;
        case 0x0055:
            return AV_CODEC_ID_MP3;
        default:
            return AV_CODEC_ID_NONE;
    }
}

bool Usable(const TWaveFormat& Format) {
    return CodecFor(Format.Tag) != AV_CODEC_ID_NONE && Format.Channels >= 1 && Format.Channels <= 8 &&
           Format.Rate > 0 && Format.ExtraSize <= kMaxFormatSize - 18;
}

// Splits Data into the frames the parser finds and hands each to OnFrame.
template <typename TOnFrame>
void ParseFrames(AVCodecParserContext* Parser, AVCodecContext* Context, const std::uint8_t* Data, std::uint32_t Length,
                 TOnFrame OnFrame) {
    std::uint32_t at = 0;
    for (;;) {
        const bool last = at >= Length;
        std::uint8_t* frame = nullptr;
        int frameLength = 0;
        const int taken = av_parser_parse2(Parser, Context, &frame, &frameLength, last ? nullptr : Data + at,
                                           last ? 0 : static_cast<int>(Length - at), AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
        if (!last) at = taken > 0 ? at + static_cast<std::uint32_t>(taken) : Length;
        if (frameLength > 0)
            OnFrame(frame, frameLength);
        else if (last)
            return;
    }
}

}  // namespace

class TAcmConversion {
public:
    ~TAcmConversion() {
        swr_free(&Resampler);
        av_parser_close(Parser);
        avcodec_free_context(&Decoder);
        av_frame_free(&Frame);
        av_packet_free(&Packet);
    }

    TWaveFormat Source{};
    AVCodecContext* Decoder = nullptr;
    AVCodecParserContext* Parser = nullptr;
    SwrContext* Resampler = nullptr;
    AVFrame* Frame = av_frame_alloc();
    AVPacket* Packet = av_packet_alloc();
    int InFormat = -1;
    int InRate = 0;
    int InChannels = 0;

    // Sends one packet (none: the end) and appends what comes out.
    void Decode(const std::uint8_t* Data, int Length, std::uint8_t* Out, std::uint32_t Room, std::uint32_t& Used) {
        if (Data != nullptr) {
            av_packet_unref(Packet);
            Packet->data = const_cast<std::uint8_t*>(Data);
            Packet->size = Length;
            // A damaged frame is skipped, as a player would.
            avcodec_send_packet(Decoder, Packet);
        } else {
            avcodec_send_packet(Decoder, nullptr);
        }
        while (avcodec_receive_frame(Decoder, Frame) == 0) {
            Append(Out, Room, Used);
            av_frame_unref(Frame);
        }
    }

private:
    void Append(std::uint8_t* Out, std::uint32_t Room, std::uint32_t& Used) {
        if (Frame->extended_data == nullptr || Frame->extended_data[0] == nullptr || Frame->nb_samples <= 0) return;
        // A damaged stream may change its layout from one frame to the next;
        // a resampler set up for fewer channels would read past the frame.
        const bool changed =
            Frame->format != InFormat || Frame->sample_rate != InRate || Frame->ch_layout.nb_channels != InChannels;
        if (changed) swr_free(&Resampler);
        if (Resampler == nullptr) {
            InFormat = Frame->format;
            InRate = Frame->sample_rate;
            InChannels = Frame->ch_layout.nb_channels;
            AVChannelLayout out{};
            av_channel_layout_default(&out, Source.Channels);
            AVChannelLayout in{};
            av_channel_layout_default(&in, Frame->ch_layout.nb_channels);
            const int made =
                swr_alloc_set_opts2(&Resampler, &out, AV_SAMPLE_FMT_S16, static_cast<int>(Source.Rate), &in,
                                    static_cast<AVSampleFormat>(Frame->format), Frame->sample_rate, 0, nullptr);
            av_channel_layout_uninit(&out);
            av_channel_layout_uninit(&in);
            if (made < 0 || swr_init(Resampler) < 0) {
                swr_free(&Resampler);
                return;
            }
        }
        const std::uint32_t frameBytes = 2U * Source.Channels;
        const int room = static_cast<int>((Room - Used) / frameBytes);
        if (room <= 0) return;
        std::uint8_t* at = Out + Used;
        const int made = swr_convert(Resampler, &at, room, const_cast<const std::uint8_t**>(Frame->extended_data),
                                     Frame->nb_samples);
        if (made > 0) Used += static_cast<std::uint32_t>(made) * frameBytes;
    }
};

std::uint32_t AcmMaxFormatSize() { return kMaxFormatSize; }

bool AcmKnowsFormatTag(std::uint16_t Tag) { return CodecFor(Tag) != AV_CODEC_ID_NONE; }

int AcmFormatSuggest(const std::uint8_t* Source, std::uint8_t* Target, std::uint32_t SuggestBytes,
                     std::uint32_t Flags) {
    const TWaveFormat source = ReadFormat(Source);
    if (SuggestBytes < 18) return kMmInvalidParameter;
    if (!Usable(source)) return kAcmErrorNotPossible;
    if ((Flags & kAcmFormatSuggestTag) != 0 && U16(Target) != kPcmTag) return kAcmErrorNotPossible;
    std::memset(Target, 0, 18);
    Put16(Target, kPcmTag);
    Put16(Target + 2, source.Channels);
    Put32(Target + 4, source.Rate);
    Put32(Target + 8, source.Rate * 2U * source.Channels);
    Put16(Target + 12, 2U * source.Channels);
    Put16(Target + 14, 16);
    return 0;
}

TAcmStream::TAcmStream() = default;
TAcmStream::~TAcmStream() = default;

int TAcmStream::Open(const std::uint8_t* Source, const std::uint8_t* Target) {
    const TWaveFormat source = ReadFormat(Source);
    const TWaveFormat target = ReadFormat(Target);
    if (!Usable(source) || target.Tag != kPcmTag || target.Bits != 16 || target.Channels != source.Channels ||
        target.Rate != source.Rate)
        return kAcmErrorNotPossible;
    const AVCodec* codec = avcodec_find_decoder(CodecFor(source.Tag));
    if (codec == nullptr) return kAcmErrorNotPossible;
    auto conversion = std::make_unique<TAcmConversion>();
    conversion->Source = source;
    AVCodecContext* decoder = conversion->Decoder = avcodec_alloc_context3(codec);
    if (decoder == nullptr || conversion->Frame == nullptr || conversion->Packet == nullptr)
        return kAcmErrorNotPossible;
    decoder->sample_rate = static_cast<int>(source.Rate);
    av_channel_layout_default(&decoder->ch_layout, source.Channels);
    decoder->block_align = source.BlockAlign;
    decoder->bits_per_coded_sample = source.Bits;
    if (avcodec_open2(decoder, codec, nullptr) < 0) return kAcmErrorNotPossible;
    if (source.Tag == 0x0055) {
        conversion->Parser = av_parser_init(AV_CODEC_ID_MP3);
        if (conversion->Parser == nullptr) return kAcmErrorNotPossible;
    }
    FConversion = std::move(conversion);
    return 0;
}

int TAcmStream::Size(const std::uint8_t* SourceData, std::uint32_t SourceLength, std::uint32_t& DestinationLength) {
    if (!FConversion) return kMmInvalidParameter;
    const TWaveFormat& source = FConversion->Source;
    std::uint64_t samples = 0;
    switch (CodecFor(source.Tag)) {
        case AV_CODEC_ID_PCM_ALAW:
        case AV_CODEC_ID_PCM_MULAW:
            samples = SourceLength;
            break;
        case AV_CODEC_ID_ADPCM_G726:
            samples = std::uint64_t{SourceLength} * 8 / std::clamp<std::uint16_t>(source.Bits, 2, 5);
            break;
        case AV_CODEC_ID_GSM_MS:
            samples = std::uint64_t{SourceLength} / std::max<std::uint16_t>(source.BlockAlign, 1) * 320;
            break;
        default: {
            // Count the frames as the parser finds them, without decoding.
            AVCodecParserContext* parser = av_parser_init(AV_CODEC_ID_MP3);
            if (parser == nullptr) return kAcmErrorNotPossible;
            ParseFrames(parser, FConversion->Decoder, SourceData, SourceLength, [&](const std::uint8_t*, int) {
                samples += static_cast<std::uint64_t>(std::max(parser->duration, 0)) * source.Channels;
            });
            av_parser_close(parser);
            break;
        }
    }
    const std::uint64_t bytes = samples * 2;
    DestinationLength =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
    return 0;
}

int TAcmStream::Convert(const std::uint8_t* SourceData, std::uint32_t SourceLength, std::uint8_t* Destination,
                        std::uint32_t DestinationLength, std::uint32_t& Used) {
    Used = 0;
    if (!FConversion) return kMmInvalidParameter;
    TAcmConversion& conversion = *FConversion;
    if (conversion.Parser != nullptr) {
        ParseFrames(conversion.Parser, conversion.Decoder, SourceData, SourceLength,
                    [&](const std::uint8_t* Frame, int Length) {
                        conversion.Decode(Frame, Length, Destination, DestinationLength, Used);
                    });
    } else {
        const std::uint32_t packet = std::max<std::uint32_t>(conversion.Source.BlockAlign, 1) * kPacketBlocks;
        for (std::uint32_t at = 0; at < SourceLength; at += packet)
            conversion.Decode(SourceData + at, static_cast<int>(std::min(packet, SourceLength - at)), Destination,
                              DestinationLength, Used);
    }
    conversion.Decode(nullptr, 0, Destination, DestinationLength, Used);
    // Data in which the codec finds nothing to decode is not audio of that format.
    return Used == 0 && SourceLength != 0 ? kAcmErrorNotPossible : 0;
}

void TAcmStream::Close() { FConversion.reset(); }

}  // namespace quorvel
