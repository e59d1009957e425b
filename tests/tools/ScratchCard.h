// A fresh card folder under the temporary directory, removed afterwards, and
// byte-level access to its files.
#pragma once

#include <filesystem>
#include <map>
#include <string>

class ScratchCard {
public:
    ScratchCard();
    ~ScratchCard();
    ScratchCard(const ScratchCard&) = delete;
    ScratchCard& operator=(const ScratchCard&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string folder() const { return path_.string(); }

    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    // Every file of the folder but hidden ones, name to bytes.
    std::map<std::string, std::string> snapshot() const;

private:
    std::filesystem::path path_;
};

// A record followed by the CR LF that ends every written card line.
std::string line(const std::string& record);
// "%03d.txt": the name of card file `number`.
std::string cardName(int number);
// The 40 columns of a new holiday file.
extern const std::string kDefaultHolidayLine;
