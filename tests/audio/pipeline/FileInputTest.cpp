#include "TestSupport.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/FileIn.h"
#include "audio/pipeline/FileOut.h"
#include "audio/pipeline/FileStream.h"
#include "audio/pipeline/MemoryStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

// A reader of header-less PCM whose format the test sets, following the
// contract of a file reader: parse once per open, whole frames, 1-based buffer.
class TRawFileIn : public TAuFileIn {
public:
    TRawFileIn(std::uint32_t Channels, std::uint32_t Bits, std::uint32_t BlockBytes)
        : FFormatChannels(Channels), FFormatBits(Bits), FBlockBytes(BlockBytes), FBlock(BlockBytes) {}
    ~TRawFileIn() override { CloseSource(); }

    void SetSeekable(bool Value) { FSeekable = Value; }
    int Parses = 0;

protected:
    void OpenSource() override {
        std::lock_guard lock(FFileLock);
        FFormatValid = true;
        if (FOpenCount != 0) return;
        ++Parses;
        if (!StreamAssigned()) OpenOwnStream(TAuFileStream::fmShareDenyWrite);
        FChannels = FFormatChannels;
        FBitsPerSample = FFormatBits;
        FSampleRate = 8000;
        FSize = FStream->GetSize();
        FFormatValid = FSize > 0;
        FOpenCount = 1;
    }

    void CloseSource() override {
        std::lock_guard lock(FFileLock);
        if (FOpenCount > 0) ReleaseSourceStream();
        FOpenCount = 0;
    }

    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override {
        if (!FBusy) throw EAuException("The Stream is not opened");
        if (FBufferStart > FBufferEnd) {
            const std::uint32_t whole = FBlockBytes - FBlockBytes % FFrameSize;
            FBufferEnd = static_cast<std::uint32_t>(FStream->Read(FBlock.data(), whole));
            FBufferStart = 1;
        }
        Bytes -= Bytes % FFrameSize;
        Bytes = std::min(Bytes, FBufferEnd - FBufferStart + 1);
        Buffer = FBlock.data() + FBufferStart - 1;
        FBufferStart += Bytes;
    }

    bool DoSeek(std::int64_t& Frame) override {
        FStream->Seek(Frame * FFrameSize, TSeekOrigin::soBeginning);
        FBufferStart = 1;
        FBufferEnd = 0;
        return true;
    }

private:
    std::uint32_t FFormatChannels;
    std::uint32_t FFormatBits;
    std::uint32_t FBlockBytes;
    std::vector<std::uint8_t> FBlock;
};

class FileInput : public ::testing::Test {
protected:
    void SetUp() override {
        FFolder = fs::temp_directory_path() /
                  ("quorvel-filein-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(FFolder);
    }
    void TearDown() override { fs::remove_all(FFolder); }

    std::string WriteFile(const std::string& Name, const std::vector<std::uint8_t>& Bytes) {
        const fs::path path = FFolder / Name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
        return path.string();
    }

    fs::path FFolder;
};

std::vector<std::uint8_t> ReadOnce(TAuInput& Input, std::uint32_t Bytes) {
    const std::uint8_t* buffer = nullptr;
    Input.Read(buffer, Bytes);
    return buffer == nullptr ? std::vector<std::uint8_t>{} : std::vector<std::uint8_t>(buffer, buffer + Bytes);
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& Bytes, std::size_t From, std::size_t Count) {
    return {Bytes.begin() + static_cast<std::ptrdiff_t>(From),
            Bytes.begin() + static_cast<std::ptrdiff_t>(From + Count)};
}

TEST_F(FileInput, IsValidOnAMissingFileIsFalseAndHoldsNothingOpen) {
    TRawFileIn reader(2, 16, 4096);
    reader.SetFileName((FFolder / "missing.raw").string());
    EXPECT_FALSE(reader.IsValid());
    EXPECT_EQ(reader.OpenCount(), 0);
    EXPECT_EQ(reader.Stream(), nullptr);
}

TEST_F(FileInput, IsValidKeepsAValidFileOpenForTheFollowingOpen) {
    TRawFileIn reader(2, 16, 4096);
    reader.SetFileName(WriteFile("a.raw", Ramp(400)));
    EXPECT_TRUE(reader.IsValid());
    EXPECT_EQ(reader.OpenCount(), 1);
    reader.Open();
    EXPECT_EQ(reader.Parses, 1) << "the header is read once";
    EXPECT_EQ(ReadOnce(reader, 4096), Ramp(400));
    reader.Close();
    EXPECT_EQ(reader.OpenCount(), 0);
}

TEST_F(FileInput, IsValidOnUnreadableDataClosesTheFileAgain) {
    TRawFileIn reader(2, 16, 4096);
    reader.SetFileName(WriteFile("empty.raw", {}));
    EXPECT_FALSE(reader.IsValid());
    EXPECT_EQ(reader.OpenCount(), 0);
    EXPECT_EQ(reader.Stream(), nullptr);
}

TEST_F(FileInput, OpenRefusesASecondOpenAMissingNameAndAFormatWithoutFrames) {
    TRawFileIn unnamed(2, 16, 4096);
    try {
        unnamed.Open();
        FAIL();
    } catch (const EAuException& error) {
        EXPECT_STREQ(error.what(), "The file name is not assigned");
    }

    TRawFileIn reader(2, 16, 4096);
    reader.SetFileName(WriteFile("a.raw", Ramp(40)));
    reader.Open();
    try {
        reader.Open();
        FAIL();
    } catch (const EAuException& error) {
        EXPECT_STREQ(error.what(), "The component is Busy");
    }

    TRawFileIn noChannels(0, 16, 4096);
    noChannels.SetFileName(reader.FileName());
    try {
        noChannels.Open();
        FAIL();
    } catch (const EAuException& error) {
        EXPECT_STREQ(error.what(), "The audio format is not supported");
    }
    EXPECT_FALSE(noChannels.Busy());
    EXPECT_EQ(noChannels.OpenCount(), 0);
    TRawFileIn fourBits(1, 4, 4096);
    fourBits.SetFileName(reader.FileName());
    EXPECT_THROW(fourBits.Open(), EAuException);
}

TEST_F(FileInput, ReadStopsAtSizeAndEndsAfterTheTrimmedBlock) {
    // Size 1000 from the file, blocks of 600.
    TRawFileIn reader(1, 8, 600);
    reader.SetFileName(WriteFile("a.raw", Ramp(1000)));
    reader.Open();
    EXPECT_EQ(ReadOnce(reader, 4096), Slice(Ramp(1000), 0, 600));
    EXPECT_EQ(ReadOnce(reader, 4096), Slice(Ramp(1000), 600, 400));
    EXPECT_TRUE(reader.EndReached());
    EXPECT_EQ(ReadOnce(reader, 4096).size(), 0U);
    EXPECT_EQ(reader.Position(), 1000);
}

TEST_F(FileInput, PlayWindowEndTrimsTheLastBlock) {
    TRawFileIn reader(1, 8, 600);
    reader.SetFileName(WriteFile("a.raw", Ramp(1200)));
    reader.SetEndSample(999);
    reader.Open();
    EXPECT_EQ(reader.Size(), 1000);
    EXPECT_EQ(ReadOnce(reader, 4096).size(), 600U);
    EXPECT_EQ(ReadOnce(reader, 4096), Slice(Ramp(1200), 600, 400));
    EXPECT_EQ(ReadOnce(reader, 4096).size(), 0U);
}

TEST_F(FileInput, LoopDropsTheTailOfEachPassAndStartsAgain) {
    TRawFileIn reader(1, 8, 600);
    reader.SetFileName(WriteFile("a.raw", Ramp(1000)));
    reader.SetLoop(true);
    reader.Open();
    EXPECT_EQ(ReadOnce(reader, 4096), Slice(Ramp(1000), 0, 600));
    EXPECT_EQ(ReadOnce(reader, 4096), Slice(Ramp(1000), 0, 600));
    EXPECT_EQ(reader.Position(), 600);
    EXPECT_EQ(ReadOnce(reader, 4096), Slice(Ramp(1000), 0, 600));
    EXPECT_FALSE(reader.EndReached());
}

TEST_F(FileInput, LoopOnANonSeekableSourceReopensIt) {
    TRawFileIn reader(1, 8, 600);
    reader.SetFileName(WriteFile("a.raw", Ramp(1000)));
    reader.SetSeekable(false);
    reader.SetLoop(true);
    reader.Open();
    ReadOnce(reader, 4096);
    EXPECT_EQ(ReadOnce(reader, 4096), Slice(Ramp(1000), 0, 600));
    EXPECT_EQ(reader.Parses, 2);
    EXPECT_TRUE(reader.Busy());
}

TEST_F(FileInput, SeekFrameOnAClosedSourceStartsTheNextRunThere) {
    const auto data = Ramp(400);  // 100 stereo 16-bit frames
    TRawFileIn reader(2, 16, 4096);
    reader.SetFileName(WriteFile("a.raw", data));
    EXPECT_TRUE(reader.SeekFrame(10));
    reader.Open();
    EXPECT_EQ(reader.Position(), 0);
    EXPECT_EQ(reader.Size(), 90 * 4) << "from frame 10 to the last frame";
    EXPECT_EQ(ReadOnce(reader, 4096), Slice(data, 40, 360));
    reader.Close();
    EXPECT_EQ(reader.StartSample(), 0) << "the window lasts one run";
    EXPECT_EQ(reader.EndSample(), -1);
    reader.Open();
    EXPECT_EQ(ReadOnce(reader, 4096), data);
}

TEST_F(FileInput, SeekFrameOnAnOpenSourceMovesWithinTheWindow) {
    const auto data = Ramp(400);
    TRawFileIn reader(2, 16, 4096);
    reader.SetFileName(WriteFile("a.raw", data));
    reader.SetStartSample(20);
    reader.SetEndSample(59);
    reader.Open();
    EXPECT_EQ(reader.FrameCount(), 40);
    ReadOnce(reader, 8);
    reader.PeekAhead(8);
    EXPECT_TRUE(reader.SeekFrame(5));
    EXPECT_EQ(reader.Position(), 5 * 4);
    EXPECT_EQ(ReadOnce(reader, 8), Slice(data, (20 + 5) * 4, 8)) << "the peeked data was dropped";
    EXPECT_FALSE(reader.SeekFrame(41)) << "past the window";
}

TEST_F(FileInput, SeekFrameRefusedWhenNotSeekable) {
    TRawFileIn reader(2, 16, 4096);
    reader.SetFileName(WriteFile("a.raw", Ramp(400)));
    reader.SetSeekable(false);
    EXPECT_FALSE(reader.SeekFrame(10));
    EXPECT_EQ(reader.StartSample(), 0);
}

TEST_F(FileInput, PeekAheadOnAStreamedSourceLosesNothing) {
    TRawFileIn reader(1, 8, 300);
    reader.SetFileName(WriteFile("a.raw", Ramp(1000)));
    reader.Open();
    reader.PeekAhead(100);
    EXPECT_EQ(reader.Position(), 0);
    EXPECT_EQ(ReadOnce(reader, 100), Slice(Ramp(1000), 0, 100));
    EXPECT_EQ(ReadOnce(reader, 300), Slice(Ramp(1000), 100, 200));
    EXPECT_EQ(reader.Position(), 300);
}

TEST_F(FileInput, QueriesOpenTheFileAndDeriveLengths) {
    TRawFileIn reader(2, 16, 4096);
    reader.SetFileName(WriteFile("a.raw", Ramp(8000 * 4 * 5 / 2)));  // 2.5 s
    EXPECT_EQ(reader.GetChannels(), 2);
    EXPECT_EQ(reader.OpenCount(), 1);
    EXPECT_EQ(reader.GetBitsPerSample(), 16);
    EXPECT_EQ(reader.GetSampleRate(), 8000);
    EXPECT_EQ(reader.GetDurationSeconds(), 2) << "2.5 rounds to even";
    EXPECT_EQ(reader.GetFrameCount(), 20000);
    EXPECT_EQ(reader.Parses, 1);
    reader.SetFileName(reader.FileName());
    EXPECT_EQ(reader.OpenCount(), 0) << "a new name closes the file first";

    TRawFileIn empty(2, 16, 4096);
    empty.SetFileName(WriteFile("empty.raw", {}));
    EXPECT_EQ(empty.GetFrameCount(), -1);
    EXPECT_EQ(empty.GetDurationSeconds(), 0);
}

TEST_F(FileInput, AssignedStreamIsReadAndRewoundNotReleased) {
    TAuMemoryStream stream(Ramp(64));
    TRawFileIn reader(1, 8, 4096);
    reader.SetStream(&stream);
    EXPECT_TRUE(reader.IsValid());
    reader.Open();
    EXPECT_EQ(ReadOnce(reader, 4096), Ramp(64));
    EXPECT_EQ(stream.Position(), 64);
    reader.Close();
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(reader.Stream(), &stream);
}

TEST_F(FileInput, ForceCloseForgetsTheOpenFile) {
    TRawFileIn reader(1, 8, 4096);
    reader.SetFileName(WriteFile("a.raw", Ramp(64)));
    reader.Open();
    reader.ForceClose();
    EXPECT_FALSE(reader.Busy());
    EXPECT_EQ(reader.OpenCount(), 0);
}

// A file sink that copies its input into the named file.
class TRawFileOut : public TAuFileOut {
public:
    ~TRawFileOut() override { Shutdown(); }

protected:
    void PrepareOutput() override {
        OpenOwnStream(TAuFileStream::fmCreate);
        Input()->Open();
    }
    bool WriteStep(bool Cancelling) override {
        if (Cancelling) return false;
        const std::uint8_t* buffer = nullptr;
        std::uint32_t bytes = 16384;
        Input()->Read(buffer, bytes);
        FStream->Write(buffer, bytes);
        return bytes != 0;
    }
    void FinishOutput() override {
        ReleaseStream();
        Input()->Close();
    }
};

TEST_F(FileInput, FileChainCopiesAWindowFromReaderToWriter) {
    const auto data = Ramp(4000);
    TRawFileIn reader(2, 16, 512);
    reader.SetFileName(WriteFile("in.raw", data));
    reader.SetStartSample(100);
    reader.SetEndSample(299);
    TRawFileOut writer;
    writer.SetFileName((FFolder / "out.raw").string());
    writer.SetFileMode(foAppend);
    EXPECT_EQ(writer.FileMode(), foRewrite) << "the base writes whole files only";
    writer.SetInput(&reader);
    TEventLog log;
    log.Attach(writer);
    writer.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_EQ(writer.ErrorText(), "");
    std::ifstream in(FFolder / "out.raw", std::ios::binary);
    const std::vector<std::uint8_t> written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, Slice(data, 400, 800));
}

TEST_F(FileInput, WriterThatCannotCreateItsFileEndsWithTheSystemText) {
    TMemorySource source(Ramp(10));
    TRawFileOut writer;
    writer.SetFileName((FFolder / "no-such-folder" / "out.raw").string());
    writer.SetInput(&source);
    TEventLog log;
    log.Attach(writer);
    writer.Start();
    ASSERT_TRUE(PumpUntil([&] { return log.Done == 1; }));
    EXPECT_EQ(writer.ErrorText(), "No such file or directory");
}

}  // namespace
}  // namespace quorvel::test
