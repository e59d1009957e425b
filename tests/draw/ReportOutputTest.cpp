// Where `ajustor-card report` puts its PDF: whole or not at all, in place of
// a file or a link, never into a device, folder or FIFO.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

namespace fs = std::filesystem;

const std::string kEarlier = "%PDF-1.4 an earlier report\n%%EOF\n";

enum class Before { Nothing, EarlierReport, Folder, Fifo, LinkToEarlier };

struct OutputCase {
    const char* name;
    const char* output;  // in the scratch folder, unless absolute
    Before before;
    int status;
    const char* said;  // part of the error output
    std::optional<unsigned long> fileSizeLimit;
};

void PrintTo(const OutputCase& c, std::ostream* out) { *out << c.name; }

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

bool isWholePdf(const fs::path& path) {
    const std::string pdf = contents(path);
    return pdf.starts_with("%PDF-") && pdf.ends_with("%%EOF\n") && pdf != kEarlier;
}

// The report's temporary files left in `folder`.
int temporaries(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().starts_with("qvr");
    return count;
}

class ReportOutput : public ::testing::TestWithParam<OutputCase> {
protected:
    // A platform chosen for a desktop, without its display: the report must
    // not depend on either.
    void SetUp() override {
        ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        if (const char* display = std::getenv("DISPLAY")) display_ = display;
        ::unsetenv("DISPLAY");
    }
    void TearDown() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (display_) ::setenv("DISPLAY", display_->c_str(), 1);
    }

    ScratchCard card;
    std::optional<std::string> display_;
};

TEST_P(ReportOutput, WholeReportOrEarlierFileKept) {
    const OutputCase& c = GetParam();
    const fs::path output = fs::path(c.output).is_absolute() ? fs::path(c.output) : card.path() / c.output;
    const fs::path earlier = card.path() / "earlier.pdf";
    switch (c.before) {
        case Before::Nothing:
            break;
        case Before::EarlierReport:
            write(output, kEarlier);
            break;
        case Before::Folder:
            fs::create_directory(output);
            break;
        case Before::Fifo:
            ASSERT_EQ(::mkfifo(output.c_str(), 0600), 0);
            break;
        case Before::LinkToEarlier:
            write(earlier, kEarlier);
            fs::create_symlink(earlier, output);
            break;
    }

    const ToolRun run = runCardTool({"report", card.folder(), output.string()}, c.fileSizeLimit);

    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_EQ(temporaries(card.path()), 0);
    if (c.before == Before::LinkToEarlier) {
        EXPECT_EQ(contents(earlier), kEarlier);
    }
    if (c.status == 0) {
        EXPECT_FALSE(fs::is_symlink(output));
        EXPECT_TRUE(isWholePdf(output));
    } else if (c.before == Before::EarlierReport) {
        EXPECT_EQ(contents(output), kEarlier);
    } else if (c.before == Before::Folder) {
        EXPECT_TRUE(fs::is_directory(output));
    } else if (c.before == Before::Fifo) {
        EXPECT_TRUE(fs::is_fifo(output));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, ReportOutput,
    ::testing::Values(
        OutputCase{"NewFile", "r.pdf", Before::Nothing, 0, "", std::nullopt},
        OutputCase{"EarlierFileReplaced", "r.pdf", Before::EarlierReport, 0, "", std::nullopt},
        OutputCase{"LinkReplacedNotFollowed", "r.pdf", Before::LinkToEarlier, 0, "", std::nullopt},
        OutputCase{"FileSizeLimitKeepsEarlier", "r.pdf", Before::EarlierReport, 1, "the report was not written", 4096},
        OutputCase{"MissingFolder", "missing/r.pdf", Before::Nothing, 1, "No such file or directory", std::nullopt},
        OutputCase{"DeviceRefused", "/dev/full", Before::Nothing, 1, "is not a plain file", std::nullopt},
        OutputCase{"FolderRefused", "r.pdf", Before::Folder, 1, "is not a plain file", std::nullopt},
        OutputCase{"FifoRefused", "r.pdf", Before::Fifo, 1, "is not a plain file", std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

// A 64 KB tmpfs, unmounted before the scratch folder holding it is removed.
struct SmallFileSystem {
    explicit SmallFileSystem(const fs::path& where) : path(where) {
        fs::create_directory(path);
        if (::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=64k") != 0) error = std::strerror(errno);
    }
    ~SmallFileSystem() {
        if (error.empty()) ::umount(path.c_str());
    }
    fs::path path;
    std::string error;
};

TEST(ReportOutputFull, FullFileSystemKeepsTheEarlierReport) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const SmallFileSystem filesystem(card.path() / "small");
    if (!filesystem.error.empty()) {
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << filesystem.error << "); mounting needs root";
    }
    const fs::path& small = filesystem.path;
    const fs::path output = small / "r.pdf";
    write(output, kEarlier);
    // Fill what room is left.
    write(small / "fill", std::string(64 * 1024, 'x'));

    const ToolRun run = runCardTool({"report", card.folder(), output.string()});

    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_EQ(contents(output), kEarlier);
    EXPECT_EQ(temporaries(small), 0);
}

}  // namespace
