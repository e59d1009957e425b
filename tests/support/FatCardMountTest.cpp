#include <sys/stat.h>
#include <sys/vfs.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "FatCardMount.h"

namespace {

// FUSE file systems report this type in statfs.
constexpr long kFuseMagic = 0x65735546;

TEST(FatCardMount, MountsAnEmptyWritableFuseFolderAndRemovesEverythingAfterwards) {
    std::string workFolder;
    {
        FatCardMount card;
        if (!card.mounted()) GTEST_SKIP() << "no FAT card mount: " << card.skipReason();
        ASSERT_EQ(card.folder().back(), '/');
        workFolder = std::filesystem::path(card.folder()).parent_path().parent_path().string();

        struct statfs info {};
        ASSERT_EQ(::statfs(card.folder().c_str(), &info), 0);
        EXPECT_EQ(info.f_type, kFuseMagic);
        EXPECT_TRUE(std::filesystem::is_empty(card.folder()));

        std::ofstream(card.folder() + "001.txt", std::ios::binary) << "line\r\n";
        std::ifstream in(card.folder() + "001.txt", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "line\r\n");
    }
    EXPECT_FALSE(std::filesystem::exists(workFolder)) << "the image and mount point outlive the fixture";
}

}  // namespace
