#include "ScratchCard.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

ScratchCard::ScratchCard() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ajustor-card-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch card folder");
    }
    path_ = pattern;
}

ScratchCard::~ScratchCard() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchCard::read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + name);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ScratchCard::write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary | std::ios::trunc) << bytes;
}

std::map<std::string, std::string> ScratchCard::snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        const std::string name = entry.path().filename().string();
        // Hidden files, like the lock writers take, are not card files.
        if (name.front() == '.') {
            continue;
        }
        files[name] = read(name);
    }
    return files;
}

std::string line(const std::string& record) { return record + "\r\n"; }

std::string cardName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.txt", number);
    return name;
}

const std::string kDefaultHolidayLine = "        01012104010507091210021115112512";
