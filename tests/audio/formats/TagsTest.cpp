#include "WavTestSupport.h"

#include "audio/formats/APEv2Tags.h"
#include "audio/formats/Id3v1Tags.h"
#include "audio/formats/Id3v2Tags.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace quorvel::test {
namespace {

bool Ffmpeg(const std::string& Arguments) { return Shell("ffmpeg -nostdin -y -v error " + Arguments); }

// A descriptor on a scratch file, closed with the object.
class TOpenFile {
public:
    TOpenFile(const std::filesystem::path& File, const std::vector<std::uint8_t>& Bytes) {
        WriteFile(File, Bytes);
        Handle = ::open(File.c_str(), O_RDWR);
    }
    ~TOpenFile() { ::close(Handle); }
    int Handle;
};

std::vector<std::uint8_t> Id3v1Block(const std::string& Comment, std::uint8_t Byte125, std::uint8_t Byte126,
                                     std::uint8_t Genre) {
    std::vector<std::uint8_t> block(128, 0);
    std::memcpy(block.data(), "TAG", 3);
    std::memcpy(&block[3], "  Title\t", 8);
    std::memcpy(&block[93], "1999", 4);
    std::memcpy(&block[97], Comment.data(), Comment.size());
    block[125] = Byte125;
    block[126] = Byte126;
    block[127] = Genre;
    return block;
}

// An ID3v2 tag of the given version holding the given frames.
std::vector<std::uint8_t> Id3v2Tag(std::uint8_t Version, const std::vector<std::uint8_t>& Frames,
                                   std::uint8_t Revision = 0, std::uint8_t SizeHigh = 0) {
    const std::size_t size = Frames.size();
    std::vector<std::uint8_t> tag = {'I',
                                     'D',
                                     '3',
                                     Version,
                                     Revision,
                                     0,
                                     SizeHigh,
                                     0,
                                     static_cast<std::uint8_t>(size >> 7),
                                     static_cast<std::uint8_t>(size & 0x7F)};
    tag.insert(tag.end(), Frames.begin(), Frames.end());
    return tag;
}

std::vector<std::uint8_t> Frame(const char* Id, std::vector<std::uint8_t> Body) {
    std::vector<std::uint8_t> frame(Id, Id + 4);
    const std::size_t size = Body.size();
    for (int shift = 24; shift >= 0; shift -= 8) frame.push_back(static_cast<std::uint8_t>(size >> shift));
    frame.insert(frame.end(), {0, 0});
    frame.insert(frame.end(), Body.begin(), Body.end());
    return frame;
}

class Tags : public WavFiles {};

TEST_F(Tags, Id3v1CommentAndTrackLayout) {
    std::vector<std::uint8_t> file(300, 'x');
    const auto block = Id3v1Block("A comment", 0, 7, 200);
    file.insert(file.end(), block.begin(), block.end());
    TOpenFile open(Path("a.mp3"), file);
    TId3v1Tags tags;
    ASSERT_TRUE(tags.Detect(open.Handle));
    ASSERT_TRUE(tags.ReadFrom(open.Handle));
    EXPECT_EQ(tags.Title(), "Title");
    EXPECT_EQ(tags.Year(), 1999);
    EXPECT_EQ(tags.Comment(), "A comment");
    EXPECT_EQ(tags.Track(), 7);
    EXPECT_EQ(tags.GenreId(), 12);
    EXPECT_EQ(tags.Genre(), "Other");
    tags.SetGenre(" rock ");
    EXPECT_EQ(tags.GenreId(), 17);
    tags.SetGenre("no such genre");
    EXPECT_EQ(tags.GenreId(), 17);

    TOpenFile empty(Path("b.mp3"), {});
    ASSERT_TRUE(tags.WriteTo(empty.Handle));
    const auto written = ReadFile(Path("b.mp3"));
    ASSERT_EQ(written.size(), 128U);
    EXPECT_EQ(written[125], 0);
    EXPECT_EQ(written[126], 7);
    EXPECT_EQ(written[127], 17);
    EXPECT_EQ(std::string(written.begin() + 97, written.begin() + 106), "A comment");
}

TEST_F(Tags, Id3v1WithoutTrackKeepsThirtyCommentBytes) {
    const std::string comment(30, 'c');
    TOpenFile open(Path("a.mp3"), Id3v1Block(comment.substr(0, 28), 'c', 'c', 17));
    TId3v1Tags tags;
    ASSERT_TRUE(tags.ReadFrom(open.Handle));
    EXPECT_EQ(tags.Comment(), comment);
    EXPECT_EQ(tags.Track(), 0);
    TOpenFile shortFile(Path("c.mp3"), std::vector<std::uint8_t>(100, 'T'));
    EXPECT_FALSE(tags.Detect(shortFile.Handle));
    EXPECT_FALSE(tags.ReadFrom(shortFile.Handle));
    EXPECT_FALSE(tags.ReadFrom(-1));
}

TEST_F(Tags, Id3v2TextEncodings) {
    struct TCase {
        std::vector<std::uint8_t> Body;
        std::u16string Title;
    };
    const TCase cases[] = {
        {{1, 0xFF, 0xFE, 'O', 0, 0xE1, 0, 0, 0, 'x', 0}, u"O\u00e1"},  // UTF-16 with a byte-order mark
        {{2, 'O', 0, 'i', 0}, u""},                                    // encoding 2 is not read
        {{0, 'L', 0xE1, 0, 'x'}, u"L\u00e1"},                          // Latin-1 up to the zero
        {{3, 'S', 0xC3, 0xA9}, u"S\u00e9"},                            // UTF-8
    };
    for (const TCase& c : cases) {
        TOpenFile open(Path("a.mp3"), Id3v2Tag(3, Frame("TIT2", c.Body)));
        TId3v2Tags tags;
        ASSERT_TRUE(tags.ReadFrom(open.Handle));
        EXPECT_EQ(tags.Title(), c.Title);
    }
}

TEST_F(Tags, Id3v2HeaderRefusals) {
    const auto frames = Frame("TIT2", {0, 'a'});
    const std::vector<std::uint8_t> refused[] = {
        Id3v2Tag(5, frames),
        Id3v2Tag(1, frames),
        Id3v2Tag(3, frames, 0xFF),
        Id3v2Tag(3, frames, 0, 0x80),
        // A tag larger than the file is not a tag.
        Id3v2Tag(3, frames, 0, 0x01),
    };
    for (const auto& bytes : refused) {
        TOpenFile open(Path("a.mp3"), bytes);
        TId3v2Tags tags;
        EXPECT_FALSE(tags.Detect(open.Handle));
        EXPECT_FALSE(tags.ReadFrom(open.Handle));
        EXPECT_EQ(::lseek(open.Handle, 0, SEEK_CUR), 0);
    }
}

TEST_F(Tags, Id3v2FrameLargerThanTheTagEndsTheParse) {
    auto frames = Frame("TALB", {0, 'a', 'l'});
    auto huge = Frame("TIT2", {0, 't'});
    huge[4] = 0x7F;  // claims about two gigabytes
    frames.insert(frames.end(), huge.begin(), huge.end());
    auto file = Id3v2Tag(3, frames);
    file.insert(file.end(), 100, 0xEE);
    TOpenFile open(Path("a.mp3"), file);
    TId3v2Tags tags;
    ASSERT_TRUE(tags.ReadFrom(open.Handle));
    EXPECT_EQ(tags.Album(), u"al");
    EXPECT_EQ(tags.Title(), u"");
    EXPECT_EQ(::lseek(open.Handle, 0, SEEK_CUR), static_cast<off_t>(file.size() - 100));
}

TEST_F(Tags, Id3v2VersionTwoFramesUseThreeLetterIds) {
    const std::vector<std::uint8_t> frames = {'T', 'T', '2', 0, 0, 3, 0, 'h', 'i', 'T', 'A', 'L', 0, 0, 2, 0, 'a'};
    TOpenFile open(Path("a.mp3"), Id3v2Tag(2, frames));
    TId3v2Tags tags;
    ASSERT_TRUE(tags.ReadFrom(open.Handle));
    EXPECT_FALSE(tags.NewVersion());
    EXPECT_EQ(tags.Title(), u"hi");
    EXPECT_EQ(tags.Album(), u"a");
}

TEST_F(Tags, Id3v2WriteInsertsPaddedTagBeforeTheContent) {
    const std::vector<std::uint8_t> content = {1, 2, 3, 4, 5};
    TOpenFile open(Path("a.mp3"), content);
    TId3v2Tags tags;
    tags.SetTitle(u"Hello world");  // 10 + 1 + 11 = 22 bytes of frames
    ASSERT_TRUE(tags.WriteTo(open.Handle));
    const auto written = ReadFile(Path("a.mp3"));
    ASSERT_EQ(written.size(), content.size() + 48);
    EXPECT_TRUE(std::equal(content.begin(), content.end(), written.end() - 5));
    const std::vector<std::uint8_t> header = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 38};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), written.begin()));
    EXPECT_EQ(std::string(written.begin() + 10, written.begin() + 14), "TIT2");
    EXPECT_EQ(written[32], 0);  // padding right after the only frame

    ::lseek(open.Handle, 0, SEEK_SET);
    TId3v2Tags again;
    ASSERT_TRUE(again.ReadFrom(open.Handle));
    EXPECT_EQ(again.Title(), u"Hello world");
    EXPECT_EQ(::lseek(open.Handle, 0, SEEK_CUR), 48);
}

TEST_F(Tags, Id3v2OfAPeerToolReadsBack) {
    for (const char* version : {"3", "4"}) {
        const auto file = Path(std::string("peer") + version + ".mp3");
        ASSERT_TRUE(Ffmpeg("-f lavfi -i sine=duration=0.2 -c:a libmp3lame -id3v2_version " + std::string(version) +
                           " -metadata title='Canção' -metadata artist=Zé -metadata album='Lado B'"
                           " -metadata genre=Samba -metadata track=3 '" +
                           file.string() + "'"));
        const int handle = ::open(file.c_str(), O_RDONLY);
        TId3v2Tags tags;
        ASSERT_TRUE(tags.ReadFrom(handle)) << version;
        ::close(handle);
        EXPECT_EQ(tags.Title(), u"Canção") << version;
        EXPECT_EQ(tags.Artist(), u"Zé") << version;
        EXPECT_EQ(tags.Album(), u"Lado B") << version;
        EXPECT_EQ(tags.Genre(), u"Samba") << version;
        EXPECT_EQ(tags.Track(), "3") << version;
    }
}

TEST_F(Tags, SetsKeepTheirNamesAndTrackChanges) {
    TAPEv2Tags ape;
    EXPECT_EQ(ape.Count(), 25);
    EXPECT_TRUE(ape.Empty());
    ape.SetBarCode("123");
    EXPECT_EQ(ape.AsString("ean/upc"), "123");
    EXPECT_FALSE(ape.Empty());
    TAPEv2Tags copy;
    copy.SetValue("no such name", std::string("x"));
    EXPECT_FALSE(copy.Changed());
    copy.Assign(ape);
    EXPECT_EQ(copy.BarCode(), "123");
    EXPECT_EQ(copy.AsInteger("EAN/UPC"), 123);
    TId3v2Tags id3;
    EXPECT_EQ(id3.Count(), 24);
    EXPECT_EQ(id3.NameByIndex(24), "");
}

}  // namespace
}  // namespace quorvel::test
