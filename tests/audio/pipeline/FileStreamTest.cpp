#include "audio/pipeline/AuException.h"
#include "audio/pipeline/FileStream.h"
#include "audio/pipeline/Utf16.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class FileStream : public ::testing::Test {
protected:
    void SetUp() override {
        FFolder =
            fs::temp_directory_path() / ("quorvel-stream-" + std::to_string(::getpid()) + "-" +
                                         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(FFolder);
    }
    void TearDown() override { fs::remove_all(FFolder); }

    std::u16string Name(const std::string& Leaf) const { return Utf8ToUtf16((FFolder / Leaf).string()); }

    fs::path FFolder;
};

std::string ErrorOf(const std::u16string& Name, std::uint16_t Mode) {
    try {
        TAuFileStream stream(Name, Mode);
    } catch (const EAuException& error) {
        return error.what();
    }
    return "";
}

TEST_F(FileStream, CreateModeTruncatesAnExistingFile) {
    std::ofstream(FFolder / "a.bin") << "previous content";
    TAuFileStream stream(Name("a.bin"), TAuFileStream::fmCreate);
    EXPECT_EQ(stream.GetSize(), 0);
    EXPECT_EQ(stream.Write("abcdef", 6), 6U);
    EXPECT_EQ(stream.Seek(2, TSeekOrigin::soBeginning), 2);
    char back[8] = {};
    EXPECT_EQ(stream.Read(back, sizeof back), 4U);
    EXPECT_STREQ(back, "cdef");
    EXPECT_EQ(stream.Seek(-1, TSeekOrigin::soEnd), 5);
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_EQ(stream.GetSize(), 6);
}

TEST_F(FileStream, OpeningAMissingFileRaisesTheSystemText) {
    EXPECT_EQ(ErrorOf(Name("missing.bin"), TAuFileStream::fmShareDenyWrite), "No such file or directory");
    EXPECT_FALSE(fs::exists(FFolder / "missing.bin")) << "only mode $FFFF creates";
}

TEST_F(FileStream, AccessBitsDecideWhatTheStreamMayDo) {
    std::ofstream(FFolder / "a.bin") << "0123456789";
    {
        TAuFileStream reading(Name("a.bin"), TAuFileStream::fmOpenRead | TAuFileStream::fmShareDenyWrite);
        char byte = 0;
        EXPECT_EQ(reading.Read(&byte, 1), 1U);
        EXPECT_THROW(reading.Write("x", 1), EAuException);
    }
    {
        TAuFileStream writing(Name("a.bin"), TAuFileStream::fmOpenWrite);
        EXPECT_EQ(writing.Write("AB", 2), 2U);
        char byte = 0;
        EXPECT_THROW(writing.Read(&byte, 1), EAuException);
    }
    {
        TAuFileStream both(Name("a.bin"), TAuFileStream::fmOpenReadWrite | 0x0040);
        both.Seek(0, TSeekOrigin::soEnd);
        both.Write("Z", 1);
        both.Seek(0, TSeekOrigin::soBeginning);
        char all[12] = {};
        EXPECT_EQ(both.Read(all, 11), 11U);
        EXPECT_STREQ(all, "AB23456789Z") << "opening for write alone does not truncate";
    }
    EXPECT_EQ(ErrorOf(Name("a.bin"), 3), "Invalid argument");
}

TEST_F(FileStream, WideNamesReachTheFileSystemAsUtf8) {
    const std::u16string name = Name("") + u"menu \u00e7\u00e3o \U0001F3B5.wav";
    {
        TAuFileStream stream(name, TAuFileStream::fmCreate);
        stream.Write("x", 1);
    }
    EXPECT_TRUE(fs::exists(FFolder / "menu \xc3\xa7\xc3\xa3o \xf0\x9f\x8e\xb5.wav"));
}

TEST(Utf16, ConversionsRoundTripAndReplaceMalformedText) {
    const std::string text = "a\xc3\xa7\xe2\x82\xac\xf0\x9f\x8e\xb5";
    EXPECT_EQ(Utf8ToUtf16(text), u"a\u00e7\u20ac\U0001F3B5");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf8ToUtf16("\xff"
                          "a\xc3"),
              u"\ufffda\ufffd");
    EXPECT_EQ(Utf8ToUtf16("\xc0\xaf"), u"\ufffd") << "overlong form";
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"b"),
              "\xef\xbf\xbd"
              "b");
}

}  // namespace
}  // namespace quorvel
