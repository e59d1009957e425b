#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "ScratchCard.h"
#include "operations/history/CardHistory.h"

namespace {

using nlohmann::json;

// A card whose writes made four versions: the empty folder before the
// first write, after init, after one set, after another.
class HistoryCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", data.folder().c_str(), 1);
        for (const std::vector<std::string>& write :
             {std::vector<std::string>{"init", card.folder()},
              {"set", card.folder(), "menus.1.1.target1=2001"},
              {"set", card.folder(), "menus.1.1.target1=2002", "holidays.2=25/12"}}) {
            const ToolRun run = runCardTool(write);
            ASSERT_EQ(run.status, 0) << run.err;
        }
        const json listed = history();
        for (const json& version : listed["versions"]) ids.push_back(version["id"]);
        ASSERT_EQ(ids.size(), 4u);
    }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

    json history() const {
        const ToolRun run = runCardTool({"history", card.folder()});
        EXPECT_EQ(run.status, 0) << run.err;
        return json::parse(run.out);
    }

    ScratchCard data;
    ScratchCard card;
    std::vector<std::string> ids;  // newest first
};

TEST_F(HistoryCommand, DiffComparesVersionsWithCardsAndEachOther) {
    const std::string dir = card.folder();
    struct Case {
        std::vector<std::string> operands;
        int status;
        std::vector<std::string> paths;  // of the differences printed
    };
    const std::vector<Case> cases = {
        {{dir + "@~1", dir}, 3, {"holidays.2", "menus.1.1.target1"}},
        {{dir + "@~2", dir + "@~1"}, 3, {"menus.1.1.target1"}},
        {{dir + "@" + ids[0].substr(0, 7), dir}, 0, {}},
        {{dir, dir + "@" + ids[2]}, 3, {"holidays.2", "menus.1.1.target1"}},
        {{dir + "@~4", dir}, 1, {}},
        {{dir + "@abc", dir}, 1, {}},
        {{dir + "/absent@~1", dir}, 64, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"diff"};
        arguments.insert(arguments.end(), c.operands.begin(), c.operands.end());
        const ToolRun run = runCardTool(arguments);
        EXPECT_EQ(run.status, c.status) << c.operands[0] << " " << c.operands[1] << ": " << run.err;
        if (c.status == 1) {
            EXPECT_NE(run.err, "");
        }
        if (c.status != 0 && c.status != 3) continue;
        std::vector<std::string> paths;
        const json printed = json::parse(run.out);
        for (const json& difference : printed["differences"]) paths.push_back(difference["path"]);
        EXPECT_EQ(paths, c.paths) << c.operands[0];
    }
}

TEST_F(HistoryCommand, RestoreBringsAVersionBackAndIsItselfAVersion) {
    const ToolRun restored = runCardTool({"history", card.folder(), "--restore", ids[1].substr(0, 9)});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(runCardTool({"diff", card.folder() + "@" + ids[1], card.folder()}).status, 0);
    const json listed = history();
    const quorvel::CardHistory expected(card.folder());
    EXPECT_EQ(listed["card"], expected.cardId());
    EXPECT_EQ(listed["repository"], expected.repository());
    // Newest first; a set writes every card file, so the first one rewrites what init made.
    const std::vector<std::pair<std::string, int>> rows = {{"Restauração da versão " + ids[1].substr(0, 7), 3},
                                                           {"set menus.1.1.target1=2002 holidays.2=25/12", 3},
                                                           {"set menus.1.1.target1=2001", -1},
                                                           {"Criação dos arquivos do cartão", 113},
                                                           {"Estado antes da primeira gravação", 0}};
    ASSERT_EQ(listed["versions"].size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(listed["versions"][i]["id"], ids[i - 1]);
        }
        EXPECT_EQ(listed["versions"][i]["action"], rows[i].first);
        if (rows[i].second >= 0) {
            EXPECT_EQ(listed["versions"][i]["paths"], rows[i].second);
        }
    }

    const ToolRun refused = runCardTool({"history", card.folder(), "--restore", "~9"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("~9"), std::string::npos) << refused.err;
    EXPECT_EQ(history()["versions"].size(), 5u);
}

}  // namespace
