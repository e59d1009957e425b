#include "TestSupport.h"

#include "audio/pipeline/AuException.h"

#include <gtest/gtest.h>

#include <future>

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

std::vector<std::uint8_t> ReadOnce(TAuInput& Input, std::uint32_t Bytes) {
    const std::uint8_t* buffer = nullptr;
    Input.Read(buffer, Bytes);
    return buffer == nullptr ? std::vector<std::uint8_t>{} : std::vector<std::uint8_t>(buffer, buffer + Bytes);
}

TEST(SourceOpenClose, FailingOpenRaisesAuExceptionWithTheSameMessage) {
    TMemorySource source(Ramp(10));
    source.FailOpenWith("cannot read header");
    try {
        source.Open();
        FAIL() << "Open must raise";
    } catch (const EAuException& error) {
        EXPECT_STREQ(error.what(), "cannot read header");
    }
    EXPECT_TRUE(source.EndReached());
}

TEST(SourceOpenClose, FailingCloseStillLeavesTheLock) {
    TMemorySource source(Ramp(10));
    source.Open();
    source.FailCloseWith("close failed");
    EXPECT_THROW(source.Close(), std::runtime_error);
    auto other = std::async(std::launch::async, [&] { return ReadOnce(source, 4).size(); });
    ASSERT_EQ(other.wait_for(5s), std::future_status::ready) << "DataLock was left held";
}

TEST(SourceOpenClose, ForceCloseIgnoresFailuresAndClearsBusy) {
    TMemorySource source(Ramp(10));
    source.Open();
    source.FailCloseWith("close failed");
    EXPECT_NO_THROW(source.ForceClose());
    EXPECT_FALSE(source.Busy());
}

TEST(SourcePeek, PeekedBytesComeBackOnTheNextReadsAtTheSamePosition) {
    TMemorySource peeked(Ramp(1000), 300);
    TMemorySource plain(Ramp(1000), 300);
    peeked.Open();
    plain.Open();
    peeked.PeekAhead(200);
    EXPECT_EQ(peeked.Position(), 0);
    peeked.PeekAhead(50);  // already holding data: nothing more is read
    EXPECT_EQ(ReadOnce(peeked, 200), ReadOnce(plain, 200));
    EXPECT_EQ(peeked.Position(), plain.Position());
    EXPECT_EQ(ReadOnce(peeked, 300), ReadOnce(plain, 300));
}

TEST(SourcePeek, PartlyConsumedPeekIsHandedOutInPieces) {
    TMemorySource source(Ramp(1000), 300);
    source.Open();
    source.PeekAhead(100);
    const auto data = Ramp(100);
    EXPECT_EQ(ReadOnce(source, 60), Ramp(60));
    EXPECT_EQ(ReadOnce(source, 500), std::vector<std::uint8_t>(data.begin() + 60, data.end()));
    EXPECT_EQ(source.Position(), 100);
}

TEST(SourceHelpers, FillFromInputGathersSeveralReadsAndTellsTheEnd) {
    TMemorySource source(Ramp(25), 4);
    source.Open();
    std::vector<std::uint8_t> dest(10);
    bool ended = true;
    EXPECT_EQ(FillFromInput(source, dest.data(), 10, ended), 10U);
    EXPECT_FALSE(ended);
    EXPECT_EQ(dest, Ramp(10));
    std::vector<std::uint8_t> tail(30);
    EXPECT_EQ(FillFromInput(source, tail.data(), 30, ended), 15U);
    EXPECT_TRUE(ended);
    const auto data = Ramp(25);
    EXPECT_EQ(std::vector<std::uint8_t>(tail.begin(), tail.begin() + 15),
              std::vector<std::uint8_t>(data.begin() + 10, data.end()));
}

TEST(FilterRead, TrimsTheBlockThatPassesSizeAndThenReportsTheEnd) {
    TScriptedFilter filter({600, 600, 600});
    filter.SetSize(1000);
    filter.Open();
    EXPECT_EQ(ReadOnce(filter, 4096).size(), 600U);
    EXPECT_EQ(ReadOnce(filter, 4096).size(), 400U);
    EXPECT_TRUE(filter.EndReached());
    EXPECT_EQ(filter.Position(), 1200) << "Position keeps the untrimmed sum";
    EXPECT_EQ(ReadOnce(filter, 4096).size(), 0U);
}

TEST(FilterRead, EmptyDoReadEndsAndUnknownSizeIsNotTrimmed) {
    TScriptedFilter filter({700, 0, 700});
    filter.SetSize(-1);
    filter.Open();
    EXPECT_EQ(ReadOnce(filter, 4096).size(), 700U);
    EXPECT_FALSE(filter.EndReached());
    EXPECT_EQ(ReadOnce(filter, 4096).size(), 0U);
    EXPECT_TRUE(filter.EndReached());
    EXPECT_EQ(ReadOnce(filter, 4096).size(), 0U) << "nothing after the end";
}

TEST(FilterRead, FilterThatKeepsPositionItselfIsNotCountedAgain) {
    TScriptedFilter filter({500, 500}, true);
    filter.Open();
    ReadOnce(filter, 4096);
    ReadOnce(filter, 4096);
    EXPECT_EQ(filter.Position(), 2);
}

TEST(FilterInput, SwitchingOnAnOpenFilterClosesTheOldAndOpensTheNew) {
    TMemorySource first(Ramp(10));
    TMemorySource second(Ramp(10));
    TScriptedFilter filter({});
    filter.SetInput(&first);
    filter.SetInput(&filter);
    EXPECT_EQ(filter.Input(), &first) << "a filter cannot read from itself";
    filter.SetInput(&second);
    EXPECT_EQ(first.CloseCalls, 0) << "a closed filter switches without touching its inputs";
    EXPECT_EQ(second.OpenCalls, 0);

    first.Open();
    filter.SetInput(&first);
    filter.Open();
    filter.SetInput(&second);
    EXPECT_FALSE(first.Busy());
    EXPECT_TRUE(second.Busy());
    EXPECT_EQ(filter.Input(), &second);
}

TEST(FilterQueries, ForwardToTheInputAndDropBit7UnlessKept) {
    class THighBitSource : public TMemorySource {
    public:
        THighBitSource() : TMemorySource({}) {}
        int GetBitsPerSample() override { return 128 + 16; }
    } source;
    TScriptedFilter filter({});
    EXPECT_EQ(filter.GetBitsPerSample(), 0);
    EXPECT_EQ(filter.GetChannels(), 0);
    EXPECT_EQ(filter.GetSampleRate(), 0);
    filter.SetInput(&source);
    EXPECT_EQ(filter.GetBitsPerSample(), 16);
    filter.SetHighBitPass(true);
    EXPECT_EQ(filter.GetBitsPerSample(), 144);
    EXPECT_EQ(filter.GetChannels(), 2);
    EXPECT_EQ(filter.GetSampleRate(), 8000);
    filter.SpareHookA();
    filter.SpareHookB();
    filter.SpareHookB();
    EXPECT_EQ(source.HookACalls, 1);
    EXPECT_EQ(source.HookBCalls, 2);
}

TEST(FilterPeek, PeekGoesToTheInput) {
    TMemorySource source(Ramp(100), 100);
    TScriptedFilter filter({});
    filter.SetInput(&source);
    source.Open();
    filter.PeekAhead(40);
    EXPECT_EQ(ReadOnce(source, 100), Ramp(40));
}

}  // namespace
}  // namespace quorvel::test
