#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CardTestSupport.h"
#include "operations/history/CardId.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// /proc, /dev and /sys of a machine with one disk `sdz` whose partition
// `sdz1` has the file system UUID 4A1B-22C3.
struct Machine {
    std::string mountPoint;  // as mountinfo writes it
    std::string source;
    std::string bus;  // the disk's place in /sys/devices
    std::string removable;
};

TEST(CardId, TheVolumeUuidNamesTheRootOfARemovableVolumeAndAHashAnyOtherFolder) {
    TemporaryFolder card;
    const std::string real = fs::canonical(card.path()).string();
    const std::vector<std::pair<Machine, bool>> cases = {
        {{real, "/dev/sdz1", "pci0000:00/usb1/1-1", "0"}, true},
        {{real, "/dev/sdz1", "pci0000:00/ata1", "1"}, true},
        {{real, "/dev/sdz1", "pci0000:00/ata1", "0"}, false},
        {{real, "/dev/mmcblk9p1", "pci0000:00/ata1", "1"}, false},  // no UUID link to it
        {{fs::path(real).parent_path().string(), "/dev/sdz1", "pci0000:00/usb1/1-1", "1"}, false},
        {{real, "tmpfs", "pci0000:00/usb1/1-1", "1"}, false},
    };
    std::string hash;
    for (const auto& [machine, byUuid] : cases) {
        TemporaryFolder root;
        writeText(root.path() / "proc/self/mountinfo",
                  "22 1 0:21 / / rw - ext4 /dev/sda1 rw\n"
                  "80 22 8:1 / " +
                      machine.mountPoint + " rw,nosuid shared:1 - vfat " + machine.source + " rw\n");
        const fs::path disk = root.path() / "sys/devices" / machine.bus / "block/sdz";
        writeText(disk / "removable", machine.removable + "\n");
        writeText(disk / "sdz1/partition", "1\n");
        fs::create_directories(root.path() / "sys/class/block");
        fs::create_directory_symlink(disk / "sdz1", root.path() / "sys/class/block/sdz1");
        fs::create_directories(root.path() / "dev/disk/by-uuid");
        writeText(root.path() / "dev/sdz1", "");
        fs::create_symlink("../../sdz1", root.path() / "dev/disk/by-uuid/4A1B-22C3");

        const std::string id = cardId(card.folder(), root.path().string());
        if (byUuid) {
            EXPECT_EQ(id, "4A1B-22C3") << machine.bus << " " << machine.removable;
        } else {
            EXPECT_TRUE(id.starts_with("pasta-")) << id;
            if (hash.empty()) hash = id;
            EXPECT_EQ(id, hash);
        }
    }
}

TEST(CardId, OneFolderReachedByTwoPathsIsOneCard) {
    TemporaryFolder card;
    TemporaryFolder other;
    fs::create_directory_symlink(card.path(), other.path() / "link");
    EXPECT_EQ(cardId((other.path() / "link").string() + "/"), cardId(card.path().string()));
    EXPECT_NE(cardId(other.path().string()), cardId(card.path().string()));
}

TEST(CardId, MountPointsAreReadAsMountinfoEscapesThem) {
    const std::string mountinfo =
        "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw,errors=continue\n"
        "37 36 8:17 / /media/t\\303\\251cnico/CART\\303\\203O\\040A rw - vfat /dev/sdb1 rw\n"
        "38 36 8:33 / /media/over rw - vfat /dev/sdc1 rw\n"
        "39 38 8:49 / /media/over rw - vfat /dev/sdd1 rw\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/mnt/parent", "/dev/root"},
        {"/media/técnico/CARTÃO A", "/dev/sdb1"},
        {"/media/técnico/CARTÃO\\040A", ""},
        {"/media/over", "/dev/sdd1"},
        {"/media", ""},
    };
    for (const auto& [mountPoint, source] : cases) EXPECT_EQ(mountSource(mountinfo, mountPoint), source) << mountPoint;
}

}  // namespace
}  // namespace quorvel::testing
