// A real FAT16 file system for tests: a fresh image made with mkfs.vfat and
// mounted through FUSE with fusefat, the way a technician's card is often
// mounted. Needs /dev/fuse and the right to mount; where either is missing
// the fixture says why instead of mounting.
#pragma once

#include <string>

class FatCardMount {
public:
    FatCardMount();
    ~FatCardMount();
    FatCardMount(const FatCardMount&) = delete;
    FatCardMount& operator=(const FatCardMount&) = delete;

    bool mounted() const { return mounted_; }
    // The mount point, ending with '/'.
    const std::string& folder() const { return folder_; }
    // Why it could not mount, when !mounted().
    const std::string& skipReason() const { return skipReason_; }

private:
    bool mount();

    std::string workFolder_;
    std::string image_;
    std::string folder_;
    std::string skipReason_;
    bool mounted_ = false;
};
