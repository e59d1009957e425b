#include "audio/formats/WmaSyncReader.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {

namespace {

// Where a refused open is tried once more.
constexpr std::int64_t kRetryOffset = 30;

void SelectFormat(wma_sync_reader& Record, int Output, int ChannelRequest) {
    TMediaDecoder& reader = *Record.Reader;
    const TPcmFormat own = reader.OutputMediaType(Output);
    if (ChannelRequest > 2) reader.SetSpeakerConfig(ChannelRequest);
    for (const TPcmFormat& format : reader.OutputFormats(Output)) {
        bool selected = false;
        if (ChannelRequest == 0) {
            selected = format.SampleRate == own.SampleRate && format.Channels == own.Channels &&
                       format.BitsPerSample >= Record.BitsPerSample;
        } else if (ChannelRequest > 0) {
            selected = format.Channels == ChannelRequest;
        } else {
            selected = format.Channels >= Record.Channels && format.SampleRate >= Record.SampleRate &&
                       format.BitsPerSample >= Record.BitsPerSample;
        }
        if (!selected) continue;
        Record.OutputNumber = static_cast<std::uint32_t>(Output);
        Record.Channels = format.Channels;
        Record.SampleRate = format.SampleRate;
        Record.BitsPerSample = format.BitsPerSample;
        Record.HasAudio = true;
        reader.SetOutputProps(Output, format);
    }
}

}  // namespace

void WmaReaderOpen(wma_sync_reader& Record, TAuStream& Stream, bool HighPrecision, int ChannelRequest) {
    Record = wma_sync_reader{};
    Record.Reader = std::make_unique<TMediaDecoder>();
    Record.StreamAdapter = std::make_unique<TAudioStream>(Stream);
    if (!Record.Reader->OpenStream(*Record.StreamAdapter)) {
        Record.StreamAdapter->Seek(kRetryOffset, TSeekOrigin::soBeginning);
        if (!Record.Reader->OpenStream(*Record.StreamAdapter)) {
            Record.Reader.reset();
            return;
        }
    }
    TMediaDecoder& reader = *Record.Reader;
    for (int output = 0; output < reader.OutputCount(); ++output) {
        if (!reader.IsAudioOutput(output)) continue;
        reader.SetDiscreteOutput(HighPrecision);
        SelectFormat(Record, output, ChannelRequest);
    }
    if (!Record.HasAudio) return;
    Record.StreamNumber =
        static_cast<std::uint16_t>(reader.StreamNumberForOutput(static_cast<int>(Record.OutputNumber)));
    Record.Protected = !reader.SetReadStreamSamples(Record.StreamNumber);
    Record.Duration = std::max<std::int64_t>(0, reader.Duration());
}

void WmaReaderFormat(const wma_sync_reader& Record, std::int32_t& Channels, std::int32_t& BitsPerSample,
                     std::int32_t& SampleRate) {
    Channels = Record.Channels;
    BitsPerSample = Record.BitsPerSample;
    SampleRate = Record.SampleRate;
}

std::uint32_t WmaReaderDurationHundredths(const wma_sync_reader& Record) {
    // A damaged header can state any duration; the count saturates.
    return static_cast<std::uint32_t>(std::clamp(std::nearbyint(double(Record.Duration) / 100000.0), 0.0,
                                                 double(std::numeric_limits<std::uint32_t>::max())));
}

void WmaReaderRead(wma_sync_reader& Record, const std::uint8_t*& Buffer, std::uint32_t Requested,
                   std::uint32_t& Bytes) {
    Buffer = nullptr;
    Bytes = 0;
    if (!Record.Reader) return;
    for (;;) {
        if (Record.CurrentSample != nullptr && Record.Consumed < Record.CurrentLength) {
            Bytes = std::min(Requested, Record.CurrentLength - Record.Consumed);
            Buffer = Record.CurrentSample + Record.Consumed;
            Record.Consumed += Bytes;
            return;
        }
        Record.CurrentSample = nullptr;
        Record.Consumed = 0;
        if (!Record.Reader->GetNextSample(Record.StreamNumber, Record.CurrentSample, Record.CurrentLength)) {
            Record.CurrentSample = nullptr;
            return;
        }
    }
}

void WmaReaderSeek(wma_sync_reader& Record, std::uint32_t Hundredths) {
    if (!Record.Reader) return;
    Record.CurrentSample = nullptr;
    Record.Consumed = 0;
    Record.Reader->SetRange(std::llround(double(Hundredths) * 100000.0));
}

void WmaReaderClose(wma_sync_reader& Record) {
    if (Record.Reader) Record.Reader->Close();
    Record.CurrentSample = nullptr;
    Record.Reader.reset();
    Record.StreamAdapter.reset();
}

std::u16string WmaReaderAttribute(const wma_sync_reader& Record, std::string_view Name) {
    return Record.Reader ? Record.Reader->Attribute(Name) : std::u16string{};
}

}  // namespace quorvel
