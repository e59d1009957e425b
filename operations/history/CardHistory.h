// Every write of a card kept as a version of its plain files in a bare git
// repository of its own, which a firm can push to and fetch from with git.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct git_repository;

namespace quorvel {

struct HistoryVersion {
    std::string id;         // the commit's full hexadecimal id
    std::string time;       // ISO 8601 with the writer's offset: 2026-12-09T14:05:33-03:00
    std::string action;     // the message's first line: "Gravar", "set menus.1.1.target1=2001"...
    std::size_t paths = 0;  // files added, changed or removed since the version before
};

// A version's card files, name to bytes.
using VersionFiles = std::map<std::string, std::string>;

// "$XDG_DATA_HOME/ajustor-quorvel/historico/", or under "$HOME/.local/share"
// when XDG_DATA_HOME is unset, empty or relative.
std::string historyFolder();

// The first seven characters of a version id, as messages show it.
std::string shortVersionId(const std::string& id);

// The history of one card folder. Every call returns an empty text when it
// worked and otherwise why not, naming the repository or file concerned; it
// never throws, so a history that cannot be written never stops a card write.
class CardHistory {
public:
    explicit CardHistory(const std::string& folder);
    ~CardHistory();
    CardHistory(const CardHistory&) = delete;
    CardHistory& operator=(const CardHistory&) = delete;

    const std::string& cardId() const { return cardId_; }
    const std::string& repository() const { return repository_; }

    // Records the card's files as they are now when the history holds no
    // version yet: the state a first write starts from.
    std::string recordStartIfNew();
    // Records the card's files as one version whose message is `action`
    // followed by the paths that changed; records nothing when none did.
    std::string record(const std::string& action);
    // The newest version after the last record, empty before any.
    const std::string& latest() const { return latest_; }

    // Newest first; empty when the card has no history yet.
    std::string versions(std::vector<HistoryVersion>& list);
    // `rev` is a version id or a prefix of at least 7 characters of one, or
    // "~N" for N versions before the newest.
    std::string resolve(const std::string& rev, std::string& id);
    // The card files the version `id` holds.
    std::string read(const std::string& id, VersionFiles& files);
    // Writes the card files of version `id` into `folder`.
    std::string writeInto(const std::string& id, const std::string& folder);
    // Whether the card folder holds every file of version `id` as it was.
    bool cardHolds(const std::string& id);

private:
    std::string open(bool create);
    std::string commitCard(const std::string& action, bool onlyIfEmpty);

    std::string folder_;
    std::string cardId_;
    std::string repository_;
    std::string latest_;
    std::unique_ptr<git_repository, void (*)(git_repository*)> repo_;
};

}  // namespace quorvel
