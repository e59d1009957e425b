// A card folder with its own history folder, and git run on the repository.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "CardTestSupport.h"

namespace quorvel::testing {

// A card of the 113 initial files and two prompts, whose histories live in a
// data folder of its own (XDG_DATA_HOME) for as long as it exists.
class HistoryCard {
public:
    HistoryCard();
    ~HistoryCard();

    const TemporaryFolder& card() const { return card_; }
    const TemporaryFolder& data() const { return data_; }

private:
    TemporaryFolder card_;
    TemporaryFolder data_;
    std::string oldDataHome_;
    bool hadDataHome_ = false;
};

struct GitRun {
    int status = -1;
    std::string output;  // standard output and error together
};

// Runs git with `arguments` on the bare repository `repository`.
GitRun runGit(const std::string& repository, const std::string& arguments);

// The files of the repository's HEAD, name to bytes, as git itself reads them.
std::map<std::string, std::string> headFiles(const std::string& repository);

}  // namespace quorvel::testing
