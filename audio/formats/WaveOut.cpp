#include "audio/formats/WaveOut.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/FileStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <filesystem>

namespace quorvel {

namespace {

constexpr std::uint32_t PcmHeaderBytes = 44;
constexpr std::uint32_t ExtensibleHeaderBytes = 68;
constexpr std::uint32_t ImaHeaderBytes = 60;

void PutU16(std::uint8_t* At, std::uint32_t Value) {
    At[0] = static_cast<std::uint8_t>(Value);
    At[1] = static_cast<std::uint8_t>(Value >> 8);
}

void PutU32(std::uint8_t* At, std::uint32_t Value) {
    PutU16(At, Value & 0xFFFF);
    PutU16(At + 2, Value >> 16);
}

std::uint32_t GetU16(const std::uint8_t* At) { return std::uint32_t{At[0]} | std::uint32_t{At[1]} << 8; }

void PutTag(std::uint8_t* At, const char* Tag) { std::memcpy(At, Tag, 4); }

// The fields PCM and extensible headers share, offsets 0 to 35.
void PutFormat(std::uint8_t* Header, std::uint32_t RiffSize, std::uint32_t FormatBytes, std::uint32_t Tag,
               std::uint32_t Channels, std::uint32_t Rate, std::uint32_t Bits) {
    const std::uint32_t blockAlign = (Bits * Channels) / 8;
    PutTag(Header, "RIFF");
    PutU32(Header + 4, RiffSize);
    PutTag(Header + 8, "WAVE");
    PutTag(Header + 12, "fmt ");
    PutU32(Header + 16, FormatBytes);
    PutU16(Header + 20, Tag);
    PutU16(Header + 22, Channels);
    PutU32(Header + 24, Rate);
    PutU32(Header + 28, Rate * blockAlign);
    PutU16(Header + 32, blockAlign);
    PutU16(Header + 34, Bits);
}

std::uint32_t ChannelMask(std::uint32_t Channels) {
    switch (Channels) {
        case 1:
            return 0x1;
        case 2:
            return 0x3;
        case 6:
            return 0x3F;
        case 8:
            return 0xFF;
        default:
            return 0;  // no speaker positions
    }
}

}  // namespace

TWaveOut::~TWaveOut() { Shutdown(); }

void TWaveOut::SetWavType(TWavType Value) {
    if (Busy() || (Value != wtPCM && Value != wtDVIADPCM)) return;
    FWavType = Value;
}

void TWaveOut::SetBlockSize(std::uint16_t Value) {
    if (Busy() || Value == 0 || Value % 4 != 0) return;
    FBlockSize = Value;
}

void TWaveOut::Refuse(const char* Text) {
    FInputOpen = false;
    FRunInput->Close();
    ReleaseStream();
    throw EAuException(Text);
}

void TWaveOut::PrepareOutput() {
    FPrepared = false;
    FEndOfInput = false;
    FStepFailed = false;
    FAppending = false;
    FInputOpen = false;
    FRunType = FWavType;
    FRunBlockSize = FBlockSize;
    FRunBytes.reserve(PcmWriteBytes + PcmStepBytes);
    FRunInput = Input();
    if (FRunInput == nullptr) throw EAuException("Input is not assigned");
    if (!StreamAssigned()) {
        if (WideFileName().empty()) throw EAuException("File name is not assigned.");
        std::error_code error;
        if (FFileMode != foRewrite && std::filesystem::exists(std::filesystem::path(FileName()), error))
            OpenOwnStream(ShareMode() | TAuFileStream::fmOpenReadWrite);
        else
            OpenOwnStream(TAuFileStream::fmCreate);
    }
    try {
        FRunInput->Open();
    } catch (...) {
        ReleaseStream();
        throw;
    }
    FInputOpen = true;
    const auto channels = static_cast<std::uint32_t>(FRunInput->GetChannels());
    const auto bits = static_cast<std::uint32_t>(FRunInput->GetBitsPerSample());
    const auto rate = static_cast<std::uint32_t>(FRunInput->GetSampleRate());
    FRunSize = FRunInput->Size();
    FRunChannels = channels;
    const auto size = static_cast<std::uint32_t>(FRunSize);
    if ((channels > 2 || bits > 16) && !FCreateNonMsHeaders) FRunType = wtExtPCM;
    if (FFileMode == foAppend && FStream->GetSize() > 0) {
        FExisting = ScanExistingWave(*FStream);
        if (FExisting.Kind == TExistingWave::ekRefused) Refuse("Cannot append data to this .wav file.");
        FRunType = FExisting.Kind == TExistingWave::ekPCM ? wtPCM : wtDVIADPCM;
        FAppending = true;
    }
    if (FRunType == wtPCM) {
        if (FAppending) {
            if (rate != FExisting.SampleRate || bits != FExisting.BitsPerSample || channels != FExisting.Channels)
                Refuse("Cannot append data in different audio format.");
            FStream->Seek(0, TSeekOrigin::soEnd);
        } else {
            std::uint8_t header[PcmHeaderBytes];
            PutFormat(header, size + 36, 16, 0x0001, channels, rate, bits);
            PutTag(header + 36, "data");
            PutU32(header + 40, size);
            FStream->Write(header, sizeof header);
        }
    } else if (FRunType == wtDVIADPCM) {
        PrepareIma(channels, rate, bits, FRunSize);
    } else {
        std::uint8_t header[ExtensibleHeaderBytes];
        PutFormat(header, size + 60, 40, 0xFFFE, channels, rate, bits);
        PutU16(header + 36, 22);
        PutU16(header + 38, bits);
        PutU32(header + 40, ChannelMask(channels));
        static constexpr std::uint8_t PcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                          0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        std::memcpy(header + 44, PcmSubFormat, sizeof PcmSubFormat);
        PutTag(header + 60, "data");
        PutU32(header + 64, size);
        FStream->Write(header, sizeof header);
    }
    FPrepared = true;
}

void TWaveOut::PrepareIma(std::uint32_t Channels, std::uint32_t Rate, std::uint32_t Bits, std::int64_t Size) {
    if (Bits != 16) Refuse("Cannot encode 8 bit sound into ADPCM.");
    if (Channels == 0 || Channels > 2) Refuse("Cannot encode more than 2 channels into ADPCM.");
    if (FAppending) {
        if (Rate != FExisting.SampleRate || Channels != FExisting.Channels)
            Refuse("Cannot append data in different audio format.");
        if (ImaFramesPerBlock(FExisting.BlockAlign, Channels) == 0) Refuse("Cannot append data to this .wav file.");
        FRunBlockSize = FExisting.BlockAlign;
        FStream->Seek(0, TSeekOrigin::soEnd);
    }
    const std::uint32_t block = FRunBlockSize;
    const std::uint32_t frames = ImaFramesPerBlock(block, Channels);
    // The header keeps samples per block in 16 bits.
    if (frames == 0 || frames > UINT16_MAX) Refuse("Cannot encode ADPCM in blocks of this size.");
    FImaSamples.assign(std::size_t{frames} * Channels, 0);
    FImaBlock.assign(block, 0);
    if (FAppending) return;
    const auto total = static_cast<std::uint32_t>((Size / 2) / Channels);
    const auto dataBytes = static_cast<std::uint32_t>(std::nearbyint(double(total) / double(frames)) * block);
    std::uint8_t header[ImaHeaderBytes];
    PutTag(header, "RIFF");
    PutU32(header + 4, dataBytes + 52);
    PutTag(header + 8, "WAVE");
    PutTag(header + 12, "fmt ");
    PutU32(header + 16, 20);
    PutU16(header + 20, 0x0011);
    PutU16(header + 22, Channels);
    PutU32(header + 24, Rate);
    PutU32(header + 28, (Rate / frames) * block);
    PutU16(header + 32, block);
    PutU16(header + 34, 4);
    PutU16(header + 36, 2);
    PutU16(header + 38, frames);
    PutTag(header + 40, "fact");
    PutU32(header + 44, 4);
    PutU32(header + 48, total);
    PutTag(header + 52, "data");
    PutU32(header + 56, dataBytes);
    FStream->Write(header, sizeof header);
    FIma[0].StepIndex = 0;
    FIma[1].StepIndex = 0;
}

bool TWaveOut::WriteImaBlock() {
    std::fill(FImaSamples.begin(), FImaSamples.end(), std::int16_t{0});
    auto* dest = reinterpret_cast<std::uint8_t*>(FImaSamples.data());
    const auto bytes = static_cast<std::uint32_t>(FImaSamples.size() * 2);
    std::uint32_t filled = 0;
    while (filled < bytes) {
        const std::uint32_t got = CopyFromInput(*FRunInput, dest + filled, bytes - filled);
        if (got == 0) {
            FEndOfInput = true;
            break;
        }
        filled += got;
    }
    ImaEncodeBlock(FImaSamples.data(), FImaBlock.data(), FRunBlockSize, FRunChannels, FIma);
    FStream->Write(FImaBlock.data(), FImaBlock.size());
    return true;
}

bool TWaveOut::WriteStep(bool Cancelling) {
    if (Cancelling || FEndOfInput) return false;
    try {
        if (FRunType == wtDVIADPCM) return WriteImaBlock();
        // An input hands out an MP3 frame or a converter's block at a time;
        // the file is written in larger pieces, a system call per step.
        FRunBytes.clear();
        try {
            while (FRunBytes.size() < PcmWriteBytes) {
                const std::uint8_t* buffer = nullptr;
                std::uint32_t bytes = PcmStepBytes;
                FRunInput->Read(buffer, bytes);
                if (bytes == 0) {
                    FEndOfInput = true;
                    break;
                }
                if (buffer != nullptr) FRunBytes.insert(FRunBytes.end(), buffer, buffer + bytes);
            }
        } catch (...) {
            // What the input gave before it failed is kept, as it would have
            // been written block by block.
            if (!FRunBytes.empty()) FStream->Write(FRunBytes.data(), FRunBytes.size());
            throw;
        }
        if (!FRunBytes.empty()) FStream->Write(FRunBytes.data(), FRunBytes.size());
        return !FEndOfInput;
    } catch (...) {
        // A source or disk that fails once would fail again: end the run and
        // keep the file's sizes true to what was written.
        FStepFailed = true;
        throw;
    }
}

void TWaveOut::WriteU32At(std::int64_t Offset, std::uint32_t Value) {
    std::uint8_t bytes[4];
    PutU32(bytes, Value);
    FStream->Seek(Offset, TSeekOrigin::soBeginning);
    FStream->Write(bytes, sizeof bytes);
}

void TWaveOut::PatchSizes() {
    const std::int64_t length = FStream->GetSize();
    if (FRunType == wtPCM) {
        if (FAppending)
            WriteU32At(FExisting.DataSizeOffset, static_cast<std::uint32_t>(length - FExisting.DataStart));
        else
            WriteU32At(40, static_cast<std::uint32_t>(length - PcmHeaderBytes));
    } else if (FRunType == wtExtPCM) {
        WriteU32At(64, static_cast<std::uint32_t>(length - ExtensibleHeaderBytes));
    } else if (FAppending) {
        const auto dataBytes = static_cast<std::uint32_t>(length - FExisting.DataStart);
        WriteU32At(FExisting.DataSizeOffset, dataBytes);
        const std::uint32_t block = FExisting.BlockAlign;
        WriteU32At(FExisting.FactValueOffset, ImaFramesPerBlock(block, FExisting.Channels) * (dataBytes / block));
    } else {
        std::uint8_t header[ImaHeaderBytes];
        FStream->Seek(0, TSeekOrigin::soBeginning);
        FStream->Read(header, sizeof header);
        const auto dataBytes = static_cast<std::uint32_t>(length - ImaHeaderBytes);
        const std::uint32_t block = GetU16(header + 32);
        PutU32(header + 56, dataBytes);
        PutU32(header + 48, (dataBytes / block) * GetU16(header + 38));
        FStream->Seek(0, TSeekOrigin::soBeginning);
        FStream->Write(header, sizeof header);
    }
    WriteU32At(4, static_cast<std::uint32_t>(length - 8));
}

void TWaveOut::CompleteData() {
    if (FRunType == wtDVIADPCM) {
        // The header guessed the data length from the sample count; the blocks
        // written are what a reader must find.
        const std::int64_t length = FStream->GetSize();
        WriteU32At(56, static_cast<std::uint32_t>(length - ImaHeaderBytes));
        WriteU32At(4, static_cast<std::uint32_t>(length - 8));
        return;
    }
    const std::uint32_t header = FRunType == wtExtPCM ? ExtensibleHeaderBytes : PcmHeaderBytes;
    const std::int64_t target = static_cast<std::uint32_t>(FRunInput->Size()) + std::int64_t{header};
    std::int64_t position = FStream->Position();
    static constexpr std::uint8_t Zeros[4096] = {};
    while (position < target) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(sizeof Zeros, target - position));
        FStream->Write(Zeros, count);
        position += static_cast<std::int64_t>(count);
    }
}

void TWaveOut::FinishOutput() {
    std::exception_ptr failure;
    if (FPrepared) {
        FPrepared = false;
        const bool patch = FRunSize <= 0 || FFileMode == foAppend || CancelRequested() || FStepFailed;
        try {
            if (patch) {
                PatchSizes();
            } else {
                CompleteData();
                // An input whose length was an estimate (MP3) ends with the
                // size it really has: the header follows it.
                if (FRunInput->Size() != FRunSize) PatchSizes();
            }
        } catch (...) {
            failure = std::current_exception();
        }
    }
    // The file and the input are released whatever the patching met.
    ReleaseStream();
    if (FInputOpen) {
        FInputOpen = false;
        FRunInput->Close();
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace quorvel
