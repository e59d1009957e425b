// The WAVE fuzz targets' seed inputs are made here. Run with
// QUORVEL_WRITE_FUZZ_SEEDS=1 to write them into the source tree; otherwise
// the committed seeds must be what this makes.
#include "WavBuilder.h"
#include "WavTestSupport.h"

#include "audio/formats/ExistingWave.h"
#include "audio/formats/ImaAdpcm.h"
#include "audio/pipeline/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

Bytes ImaBlocks(std::uint32_t Block, std::uint32_t Channels, int Count) {
    const std::uint32_t frames = ImaFramesPerBlock(Block, Channels);
    const auto signal = TestSignal(frames * static_cast<std::size_t>(Count), static_cast<int>(Channels));
    TImaChannelState states[2];
    Bytes data(Block * static_cast<std::size_t>(Count));
    for (int b = 0; b < Count; ++b)
        ImaEncodeBlock(signal.data() + std::size_t(b) * frames * Channels, data.data() + std::size_t(b) * Block, Block,
                       Channels, states);
    return data;
}

Bytes MsBlocks(std::uint32_t Block, std::uint32_t Channels, int Count) {
    Bytes data = PatternBytes(Block * static_cast<std::size_t>(Count));
    for (int b = 0; b < Count; ++b)
        for (std::uint32_t c = 0; c < Channels; ++c) data[std::size_t(b) * Block + c] = static_cast<std::uint8_t>(c);
    return data;
}

std::map<std::string, Bytes> HeaderSeeds() {
    const Bytes list = Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'a', 'b'});
    return {
        {"pcm16_stereo", Wave({Chunk("fmt ", Format(1, 2, 8000, 4, 16)), Chunk("data", PatternBytes(64))})},
        {"pcm8_lists_lower",
         Wave({list, Chunk("fmt ", Format(1, 1, 8000, 1, 8)), list, Chunk("data", PatternBytes(31)), list}, "riff",
              "wave")},
        {"ext_pcm24", Wave({Chunk("fmt ", Format(0xFFFE, 2, 48000, 6, 24, ExtensibleExtra(24, 1))),
                            Chunk("data", PatternBytes(60))})},
        {"float32", Wave({Chunk("fmt ", Format(3, 1, 8000, 4, 32)), Chunk("data", PatternBytes(40))})},
        {"ext_float64", Wave({Chunk("fmt ", Format(0xFFFE, 2, 8000, 16, 64, ExtensibleExtra(64, 3))),
                              Chunk("data", PatternBytes(64))})},
        {"ima_mono", Wave({Chunk("fmt ", Format(0x11, 1, 8000, 64, 4, ImaExtra(121))), Chunk("fact", Le32(200)),
                           Chunk("data", ImaBlocks(64, 1, 2))})},
        {"ima_stereo", Wave({Chunk("fmt ", Format(0x11, 2, 8000, 64, 4, ImaExtra(57))), Chunk("fact", Le32(100)),
                             Chunk("data", ImaBlocks(64, 2, 2))})},
        {"ms_mono", Wave({Chunk("fmt ", Format(2, 1, 8000, 64, 4, MsExtra(116, 7))), Chunk("fact", Le32(200)),
                          Chunk("data", MsBlocks(64, 1, 2))})},
        {"ms_stereo", Wave({Chunk("fmt ", Format(2, 2, 8000, 64, 4, MsExtra(52, 7))), Chunk("fact", Le32(90)),
                            Chunk("data", MsBlocks(64, 2, 2))})},
        {"mpeg", Wave({Chunk("fmt ", Format(0x55, 1, 8000, 1, 0, ImaExtra(1152))), Chunk("fact", Le32(10)),
                       Chunk("data", PatternBytes(20))})},
    };
}

std::map<std::string, Bytes> AppendSeeds() {
    const Bytes list = Chunk("LIST", Bytes{'I', 'N', 'F', 'O'});
    return {
        {"pcm", Wave({Chunk("fmt ", Format(1, 2, 8000, 4, 16)), Chunk("data", PatternBytes(16))})},
        {"ima", Wave({Chunk("fmt ", Format(0x11, 1, 8000, 64, 4, ImaExtra(121))), Chunk("fact", Le32(121)),
                      Chunk("data", ImaBlocks(64, 1, 1))})},
        {"lists_lower",
         Wave({list, Chunk("fmt ", Format(1, 1, 8000, 2, 16)), list, Chunk("data", PatternBytes(8))}, "riff", "wave")},
        {"ms", Wave({Chunk("fmt ", Format(2, 1, 8000, 64, 4, MsExtra(116, 7))), Chunk("data", PatternBytes(8))})},
    };
}

void CheckOrWrite(const fs::path& Folder, const std::map<std::string, Bytes>& Seeds) {
    const bool write = std::getenv("QUORVEL_WRITE_FUZZ_SEEDS") != nullptr;
    for (const auto& [name, bytes] : Seeds) {
        if (write)
            WriteFile(Folder / name, bytes);
        else
            EXPECT_EQ(ReadFile(Folder / name), bytes) << name << " differs: write the seeds again";
    }
}

TEST(FuzzSeeds, MatchTheCommittedCorpus) {
    const fs::path corpus = QUORVEL_WAVE_FUZZ_CORPUS;
    CheckOrWrite(corpus / "header", HeaderSeeds());
    CheckOrWrite(corpus / "append", AppendSeeds());
}

// The seeds reach every decoder and both kinds of append scan.
TEST(FuzzSeeds, ReachWhatTheyAreFor) {
    for (const auto& [name, bytes] : HeaderSeeds()) {
        TAuMemoryStream stream(bytes);
        TWaveIn reader;
        reader.SetStream(&stream);
        EXPECT_EQ(reader.IsValid(), name != "mpeg") << name;
    }
    for (const auto& [name, bytes] : AppendSeeds()) {
        TAuMemoryStream stream(bytes);
        EXPECT_EQ(ScanExistingWave(stream).Kind != TExistingWave::ekRefused, name != "ms") << name;
    }
}

}  // namespace
}  // namespace quorvel::test
