// A private message bus with a mocked disk service (udisks2), made the
// system bus of this process and of the programs it starts: card readers,
// their volumes and a system disk without hardware. The service starts on
// the first call and logs the methods called on it. Needs dbus-daemon and
// Python's dbusmock; where either is missing the fixture says why.
#pragma once

#include <string>
#include <vector>

class UdisksMock {
public:
    struct Volume {
        std::string name;  // the device's name under /dev: "sdb1"
        std::string label;
        std::string uuid;
        std::string type = "vfat";
        std::string mountPoint;  // empty when not mounted
        bool readOnly = false;
        bool removable = true;  // false: a system disk
        bool busy = false;      // unmounting fails as with a file open on it
        std::string mountTo;    // where mounting puts it
    };

    // `serveDisks` false: the bus runs, but no disk service answers on it.
    explicit UdisksMock(const std::vector<Volume>& volumes, bool serveDisks = true);
    ~UdisksMock();
    UdisksMock(const UdisksMock&) = delete;
    UdisksMock& operator=(const UdisksMock&) = delete;

    bool running() const { return daemon_ > 0; }
    const std::string& skipReason() const { return skipReason_; }

    // The names of the methods called on the disk service, in order.
    std::vector<std::string> calls() const;
    // A card inserted or pulled out while the programs run; false on failure.
    bool insert(const Volume& volume);
    bool pull(const std::string& name);

private:
    bool callMock(const std::string& method, const std::string& argument);

    std::string folder_;
    std::string skipReason_;
    std::string previousAddress_;
    bool hadAddress_ = false;
    int daemon_ = -1;
};
