#include "FullCard.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "CardToolRun.h"

bool onPath(const std::string& program) { return std::system(("command -v " + program + " >/dev/null").c_str()) == 0; }

FullCard makeFullCard(const ScratchCard& card) {
    FullCard full;
    full.password = "857";
    std::vector<std::string> set = {"set", card.folder()};
    // Menus 0 to 8 reach one another from menu 0; menu 9 is reached by nothing.
    for (int menu = 0; menu < 10; ++menu) {
        for (int option = 0; option < 10; ++option) {
            const std::string first =
                option == 1 && menu < 8 ? "M" + std::to_string(menu + 1) : std::to_string(2000 + menu * 10 + option);
            const std::string second = option == 9 ? "*" + std::to_string(menu) + "#" : "";
            const std::string path = "menus." + std::to_string(menu) + "." + std::to_string(option);
            set.push_back(path + ".target1=" + first);
            full.targets.push_back(first);
            if (!second.empty()) {
                set.push_back(path + ".target2=" + second);
                full.targets.push_back(second);
            }
        }
    }
    const char* times[] = {"07:15", "09:40", "13:05", "19:50"};
    for (const char* day : {"Fer", "Dom", "Seg", "Ter", "Qua", "Qui", "Sex", "Sab"}) {
        for (int slot = 0; slot < 4; ++slot) {
            const std::string path = std::string("timetable.") + day + "." + std::to_string(slot);
            set.push_back(path + ".time=" + times[slot]);
            set.push_back(path + ".menu=" + std::to_string(slot % 2));
        }
    }
    full.times.assign(std::begin(times), std::end(times));
    const char* holidays[] = {"01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "25/12", "24/06", "08/12"};
    for (int i = 0; i < 10; ++i) {
        set.push_back("holidays." + std::to_string(i) + "=" + holidays[i]);
        full.holidays.push_back(holidays[i]);
    }
    for (const char* value : {"restrictedExtensions.0=4101", "restrictedExtensions.1=4102", "settings.pabxType=4",
                              "settings.ringsToAnswer=2", "settings.lowerExtension=300", "settings.upperExtension=200",
                              "settings.greeting=true", "accessCodes.restoreCode=*12"}) {
        set.emplace_back(value);
    }
    set.push_back("accessCodes.password=" + full.password);

    const ToolRun init = runCardTool({"init", card.folder()});
    EXPECT_EQ(init.status, 0) << init.err;
    const ToolRun filled = runCardTool(set);
    EXPECT_EQ(filled.status, 0) << filled.err;
    for (const char* name : {"100", "101", "102", "103", "104", "105", "106", "107", "108", "109", "132"}) {
        const std::string command =
            "sox -n -r 8000 -b 16 -c 1 '" + card.folder() + "/" + name + ".wav' synth 1.5 sine 440 vol 0.3 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    return full;
}
