// The card session: one lock shared by the writers of a process, the check
// for outside changes where no lock can be had, the safety copy of a
// restore, and the history told of every write.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CardTestSupport.h"
#include "config/CardFiles.h"
#include "config/CardSequences.h"
#include "operations/session/CardSession.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using testing::TemporaryFolder;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::shared_ptr<CardSession> cardSession(const TemporaryFolder& card) {
    EXPECT_TRUE(ensureCardFiles(CardFolder(card.folder())).ok());
    return CardSession::open(card.folder(), "test session");
}

TEST(CardSession, WritersOfOneProcessShareTheLockAndTheFirstCleansUp) {
    TemporaryFolder card;
    const auto session = cardSession(card);
    EXPECT_EQ(CardSession::open(card.folder() + "./", "other name"), session) << "one session per card";
    card.write("qvsab12c.tmp", "left by a killed save");

    CardSession::Hold save = session->hold(milliseconds(0), false).hold;
    ASSERT_TRUE(save);
    EXPECT_FALSE(card.exists("qvsab12c.tmp"));
    card.write("qvp0000z.wav", "a conversion's prompt, under way");
    CardSession::Hold conversion = session->hold(milliseconds(0), false).hold;
    ASSERT_TRUE(conversion) << "a second writer of the process is not refused";
    EXPECT_TRUE(card.exists("qvp0000z.wav")) << "only the first hold cleans up";

    CardLock otherProgram(card.folder(), "ajustor-card set");
    save.release();
    EXPECT_EQ(otherProgram.lockForWriting(milliseconds(0), false), CardLockResult::Busy);
    conversion.release();
    EXPECT_EQ(otherProgram.lockForWriting(milliseconds(0), false), CardLockResult::Taken);
    otherProgram.releaseWriting();
}

class RecordingRecorder final : public CardRecorder {
public:
    explicit RecordingRecorder(std::vector<std::string>& log) : log_(log) {}
    std::string beforeWrite() override {
        log_.push_back("before");
        return {};
    }
    std::string afterWrite(const std::string& action, const std::vector<std::string>& names) override {
        log_.push_back(action + " " + std::to_string(names.size()));
        return "history folder is read-only";
    }

private:
    std::vector<std::string>& log_;
};

TEST(CardSession, EveryWriteIsRecordedAndAFailingHistoryIsToldOnce) {
    std::vector<std::string> log;
    CardSession::setRecorderFactory([&log](const std::string&) { return std::make_unique<RecordingRecorder>(log); });
    TemporaryFolder card;
    const auto session = cardSession(card);
    CardSession::setRecorderFactory({});
    const CardSession::Hold hold = session->hold(milliseconds(0), false).hold;
    DeviceConfiguration config;
    EXPECT_TRUE(session->load(config).ok());
    config.menus[3][1].target1 = "201";
    EXPECT_TRUE(session->save(config, "Gravar").ok());
    EXPECT_TRUE(session->save(config, "Limpar").ok());
    EXPECT_EQ(log, (std::vector<std::string>{"before", "Gravar 113", "before", "Limpar 113"}));
    EXPECT_EQ(session->takeNotices(), std::vector<std::string>{"history folder is read-only"});
    EXPECT_TRUE(session->takeNotices().empty());
    EXPECT_EQ(card.read("031.txt"), "201     0\r\n");
}

// Where no lock can be had, a write compares the card with what was read.
TEST(CardSession, WithoutALockAChangeMadeMeanwhileIsNotWrittenOver) {
    TemporaryFolder locks;
    ::chmod(locks.folder().c_str(), 0755);
    std::filesystem::create_directory(locks.path() / ("ajustor-quorvel-" + std::to_string(::geteuid())));
    ::chmod((locks.path() / ("ajustor-quorvel-" + std::to_string(::geteuid()))).c_str(), 0755);
    const std::string runtime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    const std::string temporary = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", locks.folder().c_str(), 1);
    TemporaryFolder card;
    const auto session = cardSession(card);
    CardSession::HoldResult held = session->hold(milliseconds(0), false);
    EXPECT_EQ(held.lock, CardLockResult::NoLocking) << "the lock folder is open to others";
    DeviceConfiguration config;
    EXPECT_TRUE(session->load(config).ok());
    card.write("031.txt", "999     0\r\n");
    config.menus[0][1].target1 = "7";
    const CardResult result = session->save(config, "set");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.state, CardState::Unchanged);
    EXPECT_EQ(card.read("031.txt"), "999     0\r\n");
    EXPECT_EQ(card.read("001.txt"), "\r\n");
    runtime.empty() ? ::unsetenv("XDG_RUNTIME_DIR") : ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    temporary.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", temporary.c_str(), 1);
}

TEST(CardSession, ARestoreKeepsTheCardsFilesFirstAndAWriteDuringACopyIsRefused) {
    TemporaryFolder dataHome;
    ::setenv("XDG_DATA_HOME", dataHome.folder().c_str(), 1);
    TemporaryFolder card;
    TemporaryFolder backup;
    const auto session = cardSession(card);
    card.write("105.wav", "the card's prompt");
    backup.write("031.txt", "201 M2  1\r\n");
    backup.write("105.wav", "the backup's prompt");
    const CardSession::Hold hold = session->hold(milliseconds(0), false).hold;
    std::string safety;
    std::vector<std::string> refusedMeanwhile;
    CardSession::CopyProgress progress;
    progress.starting = [&](std::size_t, std::size_t, const std::string&) {
        // A write started from within the copy's report cannot run before it ends.
        CardWrite write = session->newWrite();
        write.put(session->card().cardFilePath("001.txt"), "x\r\n");
        refusedMeanwhile.push_back(session->commit(write, "meanwhile").message);
    };
    EXPECT_TRUE(session->restore(backup.folder(), "Restauração", safety, progress).ok());
    EXPECT_EQ(refusedMeanwhile.size(), 2u);
    for (const std::string& message : refusedMeanwhile) EXPECT_FALSE(message.empty());
    EXPECT_EQ(card.read("031.txt"), "201 M2  1\r\n");
    EXPECT_EQ(card.read("105.wav"), "the backup's prompt");
    EXPECT_EQ(card.read("001.txt"), "\r\n");
    ASSERT_FALSE(safety.empty());
    EXPECT_EQ(safety.rfind(dataHome.path().string(), 0), 0u) << safety;
    EXPECT_NE(safety.find("/ajustor-quorvel/antes-da-restauracao/"), std::string::npos) << safety;
    EXPECT_EQ(readFile(safety + "105.wav"), "the card's prompt");
    EXPECT_EQ(readFile(safety + "031.txt"), "\r\n");
    ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace quorvel
