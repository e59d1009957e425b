#include "audio/formats/MediaDecoder.h"

#include "audio/formats/Mp3InfoFrame.h"
#include "audio/pipeline/Utf16.h"

#include <cmath>
#include <cstring>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace quorvel {

namespace {

// Where each attribute name lives in FFmpeg's metadata, in order of preference.
struct TAttributeKeys {
    std::string_view Name;
    const char* Keys[2];
};
constexpr TAttributeKeys kAttributeKeys[] = {
    {"Author", {"artist", "author"}},      {"Title", {"title", nullptr}},    {"WM/AlbumTitle", {"album", nullptr}},
    {"WM/Genre", {"genre", nullptr}},      {"WM/Track", {"track", nullptr}}, {"WM/Year", {"date", "year"}},
    {"Copyright", {"copyright", nullptr}},
};

constexpr std::size_t kInfoFrameBytes = 2048;

bool Wider(AVSampleFormat Format) { return av_get_bytes_per_sample(Format) > 2; }

void DefaultLayout(AVChannelLayout& Layout, int Channels) {
    av_channel_layout_uninit(&Layout);
    av_channel_layout_default(&Layout, Channels);
}

}  // namespace

TMediaDecoder::TMediaDecoder() : FFrame(av_frame_alloc()), FPacket(av_packet_alloc()) {
    // Damaged input is the decoder's daily bread; it has no console to talk to.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
}

TMediaDecoder::~TMediaDecoder() {
    Close();
    av_frame_free(&FFrame);
    av_packet_free(&FPacket);
}

std::int64_t TMediaDecoder::FindDuration(TAudioStream& Stream) {
    // Info frames are read before the container takes the stream over.
    const std::int64_t start = Stream.Position();
    std::uint8_t head[kInfoFrameBytes];
    std::uint32_t got = 0;
    Stream.Read(head, 10, got);
    const std::size_t tag = Id3v2TagLength(head, got);
    Stream.Seek(start + static_cast<std::int64_t>(tag), TSeekOrigin::soBeginning);
    Stream.Read(head, sizeof head, got);
    Stream.Seek(start, TSeekOrigin::soBeginning);
    const std::optional<std::int64_t> playable = Mp3PlayableFrames(head, got);
    return playable ? *playable : -1;
}

bool TMediaDecoder::OpenStream(TAudioStream& Stream) {
    Close();
    const std::int64_t mp3Frames = FindDuration(Stream);
    FIo = Stream.NewIoContext();
    FFormat = avformat_alloc_context();
    if (FIo == nullptr || FFormat == nullptr) {
        Close();
        return false;
    }
    FFormat->pb = FIo;
    FFormat->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&FFormat, nullptr, nullptr, nullptr) < 0) {
        Close();
        return false;
    }
    if (avformat_find_stream_info(FFormat, nullptr) < 0) {
        Close();
        return false;
    }
    FDuration = FFormat->duration != AV_NOPTS_VALUE ? FFormat->duration * 10 : -1;
    const int best = av_find_best_stream(FFormat, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (mp3Frames > 0 && best >= 0 && std::strcmp(FFormat->iformat->name, "mp3") == 0) {
        const int rate = FFormat->streams[best]->codecpar->sample_rate;
        if (rate > 0) FDuration = std::llround(double(mp3Frames) * 1e7 / rate);
    }
    return true;
}

int TMediaDecoder::OutputCount() const { return FFormat != nullptr ? static_cast<int>(FFormat->nb_streams) : 0; }

bool TMediaDecoder::IsAudioOutput(int Output) const {
    if (Output < 0 || Output >= OutputCount()) return false;
    const AVCodecParameters* parameters = FFormat->streams[Output]->codecpar;
    return parameters->codec_type == AVMEDIA_TYPE_AUDIO && avcodec_find_decoder(parameters->codec_id) != nullptr &&
           parameters->sample_rate > 0 && parameters->ch_layout.nb_channels > 0;
}

TPcmFormat TMediaDecoder::OutputMediaType(int Output) const {
    if (!IsAudioOutput(Output)) return {};
    const AVCodecParameters* parameters = FFormat->streams[Output]->codecpar;
    return {parameters->ch_layout.nb_channels, parameters->sample_rate, 16};
}

std::vector<TPcmFormat> TMediaDecoder::OutputFormats(int Output) const {
    std::vector<TPcmFormat> formats;
    if (!IsAudioOutput(Output)) return formats;
    const TPcmFormat own = OutputMediaType(Output);
    const bool wider =
        FDiscreteOutput && Wider(static_cast<AVSampleFormat>(FFormat->streams[Output]->codecpar->format));
    for (const int channels : {own.Channels, FSpeakerChannels}) {
        if (channels <= 0 || (channels == own.Channels && !formats.empty())) continue;
        formats.push_back({channels, own.SampleRate, 16});
        if (wider) formats.push_back({channels, own.SampleRate, 32});
    }
    return formats;
}

bool TMediaDecoder::SetOutputProps(int Output, const TPcmFormat& Format) {
    if (!IsAudioOutput(Output)) return false;
    FSelectedOutput = Output;
    FSelected = Format;
    return true;
}

bool TMediaDecoder::SetReadStreamSamples(int StreamNumber) {
    if (StreamNumber != FSelectedOutput || !OpenDecoder()) return true;
    const AVStream* stream = FFormat->streams[StreamNumber];
    if (av_stream_get_side_data(stream, AV_PKT_DATA_ENCRYPTION_INIT_INFO, nullptr) != nullptr) return false;
    // Encrypted packets carry their encryption info; the first one tells.
    if (!ReadPacket()) return true;
    FPacketPending = true;
    return av_packet_get_side_data(FPacket, AV_PKT_DATA_ENCRYPTION_INFO, nullptr) == nullptr;
}

bool TMediaDecoder::OpenDecoder() {
    if (FDecoder != nullptr) return true;
    const AVCodecParameters* parameters = FFormat->streams[FSelectedOutput]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    FDecoder = avcodec_alloc_context3(codec);
    if (FDecoder == nullptr || avcodec_parameters_to_context(FDecoder, parameters) < 0 ||
        avcodec_open2(FDecoder, codec, nullptr) < 0) {
        avcodec_free_context(&FDecoder);
        return false;
    }
    return true;
}

bool TMediaDecoder::ReadPacket() {
    while (av_read_frame(FFormat, FPacket) >= 0) {
        if (FPacket->stream_index == FSelectedOutput) return true;
        av_packet_unref(FPacket);
    }
    return false;
}

bool TMediaDecoder::Convert() {
    AVChannelLayout in{};
    if (FFrame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        DefaultLayout(in, FFrame->ch_layout.nb_channels);
    else
        av_channel_layout_copy(&in, &FFrame->ch_layout);
    if (FResampler != nullptr) {
        // A stream may change its format on the way; the mixer follows.
        AVChannelLayout current{};
        std::int64_t format = 0;
        std::int64_t rate = 0;
        av_opt_get_chlayout(FResampler, "in_chlayout", 0, &current);
        av_opt_get_int(FResampler, "in_sample_fmt", 0, &format);
        av_opt_get_int(FResampler, "in_sample_rate", 0, &rate);
        if (av_channel_layout_compare(&current, &in) != 0 || format != FFrame->format || rate != FFrame->sample_rate)
            swr_free(&FResampler);
        av_channel_layout_uninit(&current);
    }
    if (FResampler == nullptr) {
        AVChannelLayout out{};
        DefaultLayout(out, FSelected.Channels);
        const AVSampleFormat outFormat = FSelected.BitsPerSample == 32 ? AV_SAMPLE_FMT_S32 : AV_SAMPLE_FMT_S16;
        const int result =
            swr_alloc_set_opts2(&FResampler, &out, outFormat, FSelected.SampleRate, &in,
                                static_cast<AVSampleFormat>(FFrame->format), FFrame->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&out);
        if (result < 0 || swr_init(FResampler) < 0) {
            swr_free(&FResampler);
            av_channel_layout_uninit(&in);
            return false;
        }
    }
    av_channel_layout_uninit(&in);
    const int room = swr_get_out_samples(FResampler, FFrame->nb_samples);
    if (room <= 0) return false;
    const std::size_t frameBytes = std::size_t(FSelected.Channels) * std::size_t(FSelected.BitsPerSample / 8);
    FSample.resize(std::size_t(room) * frameBytes);
    std::uint8_t* out = FSample.data();
    const int made = swr_convert(FResampler, &out, room, const_cast<const std::uint8_t**>(FFrame->extended_data),
                                 FFrame->nb_samples);
    FSample.resize(made > 0 ? std::size_t(made) * frameBytes : 0);
    return made > 0;
}

bool TMediaDecoder::GetNextSample(int StreamNumber, const std::uint8_t*& Data, std::uint32_t& Length) {
    Data = nullptr;
    Length = 0;
    if (StreamNumber != FSelectedOutput || !OpenDecoder() || FDrained) return false;
    for (;;) {
        const int received = avcodec_receive_frame(FDecoder, FFrame);
        if (received == 0) {
            const bool made = Convert();
            av_frame_unref(FFrame);
            if (!made) continue;
            Data = FSample.data();
            Length = static_cast<std::uint32_t>(FSample.size());
            return true;
        }
        if (received != AVERROR(EAGAIN) || FFlushing) {
            FDrained = true;
            return false;
        }
        if (FPacketPending || ReadPacket()) {
            FPacketPending = false;
            // A damaged packet is skipped, as a player would.
            avcodec_send_packet(FDecoder, FPacket);
            av_packet_unref(FPacket);
        } else {
            avcodec_send_packet(FDecoder, nullptr);
            FFlushing = true;
        }
    }
}

bool TMediaDecoder::SetRange(std::int64_t Start) {
    if (FFormat == nullptr || FSelectedOutput < 0) return false;
    const std::int64_t target = Start / 10;
    if (av_seek_frame(FFormat, -1, target, AVSEEK_FLAG_BACKWARD) < 0) return false;
    if (FPacketPending) av_packet_unref(FPacket);
    FPacketPending = false;
    FFlushing = false;
    FDrained = false;
    if (FDecoder != nullptr) avcodec_flush_buffers(FDecoder);
    swr_free(&FResampler);
    return true;
}

std::u16string TMediaDecoder::Attribute(std::string_view Name) const {
    if (FFormat == nullptr) return {};
    for (const TAttributeKeys& entry : kAttributeKeys) {
        if (entry.Name != Name) continue;
        for (const char* key : entry.Keys) {
            if (key == nullptr) continue;
            const AVDictionaryEntry* found = av_dict_get(FFormat->metadata, key, nullptr, 0);
            if (found == nullptr && FSelectedOutput >= 0)
                found = av_dict_get(FFormat->streams[FSelectedOutput]->metadata, key, nullptr, 0);
            if (found != nullptr) return Utf8ToUtf16(found->value);
        }
    }
    return {};
}

void TMediaDecoder::Close() {
    swr_free(&FResampler);
    avcodec_free_context(&FDecoder);
    avformat_close_input(&FFormat);
    TAudioStream::FreeIoContext(FIo);
    if (FPacket != nullptr) av_packet_unref(FPacket);
    FPacketPending = false;
    FFlushing = false;
    FDrained = false;
    FSelectedOutput = -1;
    FSelected = {};
    FDuration = -1;
    FSample.clear();
}

}  // namespace quorvel
