#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>

#include "HistoryTestSupport.h"
#include "operations/history/CardHistory.h"
#include "operations/history/VersionFolder.h"

namespace quorvel::testing {
namespace {

void expectSound(const std::string& repository) {
    const GitRun fsck = runGit(repository, "fsck --strict --no-dangling");
    EXPECT_EQ(fsck.status, 0) << fsck.output;
    EXPECT_EQ(fsck.output, "");
}

struct Step {
    std::string action;
    std::map<std::string, std::string> writes;  // an empty text removes the file
    std::size_t paths;                          // 0: nothing to record
};

TEST(CardHistory, EveryRecordIsOneVersionOfTheChangedFilesNewestFirst) {
    HistoryCard card;
    CardHistory history(card.card().folder());
    const std::vector<Step> steps = {
        {"Estado inicial", {}, 115},
        {"set menus.1.1.target1=2001", {{"011.txt", "2001\r\n"}}, 1},
        {"Voz do Menu 5: recepcao.mp3", {{"105.wav", std::string(9000, 'r')}}, 1},
        {"nada mudou", {{"011.txt", "2001\r\n"}}, 0},
        {"Limpar", {{"011.txt", "\r\n"}, {"012.txt", "x\r\n"}, {"105.wav", ""}}, 3},
        // The same bytes as another prompt: one blob for both.
        {"Voz da Vinheta", {{"109.wav", std::string(4000, 'a')}}, 1},
    };
    std::vector<const Step*> recorded;
    for (const Step& step : steps) {
        for (const auto& [name, bytes] : step.writes) {
            if (bytes.empty()) {
                card.card().remove(name);
            } else {
                card.card().write(name, bytes);
            }
        }
        ASSERT_EQ(history.record(step.action), "") << step.action;
        if (step.paths > 0) recorded.push_back(&step);
    }

    std::vector<HistoryVersion> versions;
    ASSERT_EQ(history.versions(versions), "");
    ASSERT_EQ(versions.size(), recorded.size());
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const Step& step = *recorded[recorded.size() - 1 - i];
        EXPECT_EQ(versions[i].action, step.action);
        EXPECT_EQ(versions[i].paths, step.paths) << step.action;
        EXPECT_EQ(versions[i].id.size(), 40u);
        EXPECT_TRUE(versions[i].time.size() == 25 && versions[i].time[10] == 'T') << versions[i].time;
    }
    EXPECT_EQ(history.latest(), versions.front().id);
    EXPECT_EQ(runGit(history.repository(), "rev-list --count HEAD").output, std::to_string(recorded.size()) + "\n");
    EXPECT_EQ(runGit(history.repository(), "log -1 --format=%B HEAD").output, "Voz da Vinheta\n\n109.wav\n\n");
    EXPECT_EQ(runGit(history.repository(), "rev-parse HEAD:109.wav HEAD:100.wav").output.substr(0, 41),
              runGit(history.repository(), "rev-parse HEAD:100.wav").output);
    expectSound(history.repository());
    EXPECT_EQ(headFiles(history.repository()), card.card().snapshot());
}

TEST(CardHistory, VersionsAreNamedByIdPrefixOrStepsBack) {
    HistoryCard card;
    CardHistory history(card.card().folder());
    std::vector<std::string> ids;
    for (const char* bytes : {"a\r\n", "b\r\n", "c\r\n"}) {
        card.card().write("001.txt", bytes);
        // The start is recorded for a card without history only.
        ASSERT_EQ(ids.empty() ? history.recordStartIfNew() : history.record(bytes), "");
        ASSERT_EQ(history.recordStartIfNew(), "");
        ids.insert(ids.begin(), history.latest());
    }
    struct Case {
        std::string rev;
        std::string id;  // empty: refused
    };
    const std::vector<Case> cases = {
        {"~0", ids[0]},   {"~2", ids[2]},
        {"~3", ""},       {ids[1].substr(0, 7), ids[1]},
        {ids[2], ids[2]}, {ids[1].substr(0, 6), ""},
        {"0000000", ""},  {"~", ""},
        {"~1x", ""},      {"HEAD", ""},
    };
    for (const Case& c : cases) {
        std::string id;
        const std::string error = history.resolve(c.rev, id);
        if (c.id.empty()) {
            EXPECT_NE(error, "") << c.rev;
            EXPECT_NE(error.find(c.rev), std::string::npos) << error;
        } else {
            EXPECT_EQ(error, "") << c.rev;
            EXPECT_EQ(id, c.id) << c.rev;
        }
    }

    VersionFolder version;
    ASSERT_EQ(version.materialise(card.card().folder(), "~2"), "");
    EXPECT_EQ(version.version(), ids[2]);
    auto expected = card.card().snapshot();
    expected["001.txt"] = "a\r\n";
    std::map<std::string, std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(version.path())) {
        std::ifstream in(entry.path(), std::ios::binary);
        written[entry.path().filename().string()].assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(written, expected);
    EXPECT_FALSE(history.cardHolds(ids[2]));
    EXPECT_TRUE(history.cardHolds(ids[0]));
}

TEST(CardHistory, AnUnwritableHistoryIsReportedAndTheCardLeftAlone) {
    HistoryCard card;
    card.data().write("not-a-folder", "x");
    ::setenv("XDG_DATA_HOME", (card.data().path() / "not-a-folder").c_str(), 1);
    const auto before = card.card().snapshot();
    CardHistory history(card.card().folder());
    const std::string error = history.record("Gravar");
    EXPECT_NE(error.find(history.repository()), std::string::npos) << error;
    EXPECT_EQ(history.latest(), "");
    std::vector<HistoryVersion> versions;
    EXPECT_EQ(history.versions(versions), "");
    EXPECT_TRUE(versions.empty());
    EXPECT_EQ(card.card().snapshot(), before);
}

// A prompt rewritten with bytes of the same length and its old modification
// time put back (as copies that keep times do) is still seen to change.
TEST(CardHistory, AFileRewrittenUnderItsOldTimeIsRecorded) {
    HistoryCard card;
    const std::filesystem::path prompt = card.card().path() / "100.wav";
    const auto old = std::filesystem::last_write_time(prompt) - std::chrono::hours(24);
    std::filesystem::last_write_time(prompt, old);
    CardHistory history(card.card().folder());
    ASSERT_EQ(history.record("Inicial"), "");
    ASSERT_EQ(history.record("nada"), "");
    card.card().write("100.wav", std::string(4000, 'b'));
    std::filesystem::last_write_time(prompt, old);
    ASSERT_EQ(history.record("Voz do Menu 0"), "");
    EXPECT_EQ(headFiles(history.repository()), card.card().snapshot());
}

// Writers that each change a file and record, over and over, killed at
// random points of that work.
TEST(CardHistory, KilledWritersLeaveASoundRepositoryAndTheNextRecordGoesOn) {
    HistoryCard card;
    const std::string folder = card.card().folder();
    std::mt19937 random(std::random_device{}());
    for (int writer = 0; writer < 20; ++writer) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(progress[0]);
            CardHistory history(folder);
            for (int round = 0;; ++round) {
                card.card().write("001.txt", std::to_string(writer) + "-" + std::to_string(round) + "\r\n");
                card.card().write("105.wav", std::string(100000 + round, static_cast<char>('a' + writer)));
                if (!history.record("Gravar").empty()) ::_exit(1);
                if (::write(progress[1], "+", 1) != 1) ::_exit(1);
            }
        }
        ::close(progress[1]);
        // Killed after 0 to 2 records, somewhere in the next one.
        const int records = std::uniform_int_distribution<int>(0, 2)(random);
        char mark;
        for (int i = 0; i < records; ++i) ASSERT_EQ(::read(progress[0], &mark, 1), 1) << "writer " << writer;
        volatile unsigned spin = std::uniform_int_distribution<unsigned>(0, 4000000)(random);
        while (spin > 0) spin = spin - 1;
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(progress[0]);
        EXPECT_TRUE(WIFSIGNALED(status)) << "writer " << writer << " ended by itself: " << status;
    }
    CardHistory history(folder);
    expectSound(history.repository());
    // What a writer killed between taking git's locks and renaming leaves.
    std::string branch = runGit(history.repository(), "symbolic-ref HEAD").output;
    branch.pop_back();
    for (const std::string& leftover : {std::string("HEAD.lock"), branch + ".lock", std::string("index.lock"),
                                        std::string("objects/tmp_object_git2_a1b2c3")}) {
        std::ofstream(history.repository() + "/" + leftover) << "partial";
    }
    card.card().write("001.txt", "after\r\n");
    ASSERT_EQ(history.record("Gravar"), "");
    expectSound(history.repository());
    EXPECT_EQ(headFiles(history.repository()), card.card().snapshot());
}

}  // namespace
}  // namespace quorvel::testing
