#include <gtest/gtest.h>

#include "CardTestSupport.h"
#include "operations/history/BlobCache.h"

namespace quorvel::testing {
namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
const std::string kBlob(40, 'e');

TEST(BlobCache, AnIdIsKeptForAQuietFileAndFoundOnlyUnderTheSameStamp) {
    const FileStamp stamp{7, 4000, 100 * kSecond, 100 * kSecond};
    struct Case {
        const char* what;
        std::int64_t recordedAt;  // when the record kept it
        FileStamp seen;           // the stamp at the next record
        bool found;
    };
    const std::vector<Case> cases = {
        {"quiet and unchanged", 104 * kSecond, stamp, true},
        {"modified within the FAT time step before the record", 102 * kSecond, stamp, false},
        {"other inode", 104 * kSecond, {8, 4000, 100 * kSecond, 100 * kSecond}, false},
        {"other size", 104 * kSecond, {7, 4001, 100 * kSecond, 100 * kSecond}, false},
        {"modified again", 104 * kSecond, {7, 4000, 105 * kSecond, 105 * kSecond}, false},
        {"old time put back", 104 * kSecond, {7, 4000, 100 * kSecond, 105 * kSecond}, false},
    };
    for (const Case& c : cases) {
        TemporaryFolder folder;
        const std::string file = folder.folder() + "blobs";
        BlobCache first(file);
        first.keep("100.wav", stamp, kBlob, c.recordedAt);
        ASSERT_EQ(first.save(), "");
        const BlobCache next(file);
        EXPECT_EQ(next.find("100.wav", c.seen), c.found ? kBlob : "") << c.what;
        EXPECT_EQ(next.find("101.wav", c.seen), "") << c.what;
    }
}

}  // namespace
}  // namespace quorvel::testing
