#include "operations/history/CardHistory.h"

#include <fcntl.h>
#include <git2.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>

#include "config/CardFiles.h"
#include "config/PromptFile.h"
#include "operations/history/BlobCache.h"
#include "operations/history/CardId.h"

namespace quorvel {

namespace fs = std::filesystem;

namespace {

// Owners of libgit2 handles.
template <typename T, void (*Free)(T*)>
struct Owned {
    T* handle = nullptr;
    Owned() = default;
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() {
        if (handle != nullptr) Free(handle);
    }
    T** out() { return &handle; }
    T* get() const { return handle; }
};
using Commit = Owned<git_commit, git_commit_free>;
using Tree = Owned<git_tree, git_tree_free>;
using Blob = Owned<git_blob, git_blob_free>;
using Config = Owned<git_config, git_config_free>;
using Signature = Owned<git_signature, git_signature_free>;
using Builder = Owned<git_treebuilder, git_treebuilder_free>;
using Walk = Owned<git_revwalk, git_revwalk_free>;
using Odb = Owned<git_odb, git_odb_free>;

std::string gitError(const std::string& where) {
    const git_error* error = git_error_last();
    return where + ": " + (error != nullptr && error->message != nullptr ? error->message : "unknown git error");
}

std::string dataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share";
}

// The card's plain files a version holds: the card files and the prompts.
const std::vector<std::string>& historyFileNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (int number : cardFileNumbers()) list.push_back(cardFileName(number));
        for (int prompt = 0; prompt < PromptCount; ++prompt) list.push_back(*promptFileName(prompt));
        return list;
    }();
    return names;
}

bool isHistoryFile(const std::string& name) {
    static const std::set<std::string> names(historyFileNames().begin(), historyFileNames().end());
    return names.count(name) != 0;
}

// The whole file; false with `error` set, or with it empty when the file is absent.
bool readFile(const std::string& path, std::string& bytes, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) error = path + ": " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    char block[65536];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got > 0) {
            bytes.append(block, static_cast<std::size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            error = path + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

std::string writeFile(const std::string& path, const char* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return path + ": " + std::strerror(errno);
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            const std::string error = path + ": " + std::strerror(put < 0 ? errno : ENOSPC);
            ::close(fd);
            return error;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return ::close(fd) == 0 ? std::string() : path + ": " + std::strerror(errno);
}

std::string loginName() {
    if (const passwd* user = ::getpwuid(::geteuid()); user != nullptr && user->pw_name[0] != '\0') {
        return user->pw_name;
    }
    const char* name = std::getenv("LOGNAME");
    return name != nullptr && name[0] != '\0' ? name : "ajustor";
}

std::string configured(git_config* config, const char* key) {
    git_buf value = GIT_BUF_INIT;
    if (config == nullptr || git_config_get_string_buf(&value, config, key) != 0) return {};
    std::string text(value.ptr, value.size);
    git_buf_dispose(&value);
    return text;
}

// git's configured name and e-mail, else the login name at this machine.
int makeSignature(git_repository* repo, git_signature** signature) {
    Config config;
    if (git_repository_config_snapshot(config.out(), repo) != 0) git_error_clear();
    std::string name = configured(config.get(), "user.name");
    std::string email = configured(config.get(), "user.email");
    if (name.empty()) name = loginName();
    if (email.empty()) {
        char host[256] = "localhost";
        ::gethostname(host, sizeof host - 1);
        email = loginName() + "@" + host;
    }
    return git_signature_now(signature, name.c_str(), email.c_str());
}

std::map<std::string, git_oid> treeEntries(const git_tree* tree) {
    std::map<std::string, git_oid> entries;
    if (tree == nullptr) return entries;
    for (std::size_t i = 0; i < git_tree_entrycount(tree); ++i) {
        const git_tree_entry* entry = git_tree_entry_byindex(tree, i);
        entries.emplace(git_tree_entry_name(entry), *git_tree_entry_id(entry));
    }
    return entries;
}

// Names added, changed or removed from `before` to `after`, in name order.
std::vector<std::string> changedNames(const git_tree* before, const git_tree* after) {
    const std::map<std::string, git_oid> old = treeEntries(before);
    const std::map<std::string, git_oid> now = treeEntries(after);
    std::vector<std::string> names;
    for (const auto& [name, id] : now) {
        const auto found = old.find(name);
        if (found == old.end() || git_oid_cmp(&found->second, &id) != 0) names.push_back(name);
    }
    for (const auto& [name, id] : old) {
        if (now.count(name) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string isoTime(git_time_t seconds, int offsetMinutes) {
    const std::time_t local = static_cast<std::time_t>(seconds) + offsetMinutes * 60;
    std::tm parts{};
    gmtime_r(&local, &parts);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
    const int offset = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return std::string(text) + zone;
}

std::string oidText(const git_oid& id) {
    char hex[GIT_OID_HEXSZ + 1];
    git_oid_tostr(hex, sizeof hex, &id);
    return hex;
}

// One writer of a repository at a time, across processes; the kernel drops
// the lock with a killed writer, so any git lock file found while holding it
// was left by one and can go.
class WriterLock {
public:
    explicit WriterLock(const std::string& repository) {
        fd_ = ::open((repository + "/quorvel-writer").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            error_ = repository + "/quorvel-writer: " + std::strerror(errno);
            return;
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                error_ = repository + "/quorvel-writer: " + std::strerror(errno);
                return;
            }
        }
        removeLeftovers(repository);
    }
    ~WriterLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    const std::string& error() const { return error_; }

private:
    static void removeLeftovers(const std::string& repository) {
        std::error_code ignored;
        fs::remove(repository + "/HEAD.lock", ignored);
        fs::remove(repository + "/index.lock", ignored);
        for (const fs::directory_entry& entry : fs::directory_iterator(repository + "/refs/heads", ignored)) {
            if (entry.path().extension() == ".lock") fs::remove(entry.path(), ignored);
        }
        // Objects half written by a killed writer: libgit2 renames each into
        // place only once it is whole.
        for (const fs::directory_entry& entry : fs::directory_iterator(repository + "/objects", ignored)) {
            if (entry.path().filename().string().starts_with("tmp_object")) fs::remove(entry.path(), ignored);
        }
    }

    int fd_ = -1;
    std::string error_;
};

}  // namespace

std::string historyFolder() { return dataHome() + "/ajustor-quorvel/historico/"; }

std::string shortVersionId(const std::string& id) { return id.substr(0, 7); }

CardHistory::CardHistory(const std::string& folder)
    : folder_(folder.empty() || folder.back() == '/' ? folder : folder + "/"),
      cardId_(quorvel::cardId(folder)),
      repository_(historyFolder() + cardId_ + ".git"),
      repo_(nullptr, git_repository_free) {
    git_libgit2_init();
}

CardHistory::~CardHistory() {
    repo_.reset();
    git_libgit2_shutdown();
}

std::string CardHistory::open(bool create) {
    if (repo_) return {};
    git_repository* repo = nullptr;
    std::error_code error;
    if (!fs::exists(repository_ + "/HEAD", error)) {
        if (!create) return repository_ + ": no history yet";
        // Made whole under another name and renamed into place, so a writer
        // killed meanwhile never leaves half a repository under the card's name.
        const std::string building = repository_ + ".new-" + std::to_string(::getpid());
        fs::remove_all(building, error);
        git_repository_init_options options = GIT_REPOSITORY_INIT_OPTIONS_INIT;
        options.flags = GIT_REPOSITORY_INIT_BARE | GIT_REPOSITORY_INIT_MKPATH;
        options.description = "Historico de um cartao do Ajustor Quorvel";
        if (git_repository_init_ext(&repo, building.c_str(), &options) != 0) return gitError(repository_);
        git_repository_free(repo);
        repo = nullptr;
        if (::rename(building.c_str(), repository_.c_str()) != 0) {
            const int renameError = errno;
            fs::remove_all(building, error);
            // Another writer made it first.
            if (renameError != EEXIST && renameError != ENOTEMPTY) {
                return repository_ + ": " + std::strerror(renameError);
            }
        }
    }
    if (git_repository_open_bare(&repo, repository_.c_str()) != 0) return gitError(repository_);
    repo_.reset(repo);
    return {};
}

std::string CardHistory::recordStartIfNew() { return commitCard("Estado antes da primeira gravação", true); }

std::string CardHistory::record(const std::string& action) { return commitCard(action, false); }

std::string CardHistory::commitCard(const std::string& action, bool onlyIfEmpty) {
    if (std::string error = open(true); !error.empty()) return error;
    git_repository* repo = repo_.get();
    WriterLock lock(repository_);
    if (!lock.error().empty()) return lock.error();

    Commit parent;
    Tree parentTree;
    git_oid head;
    const int headError = git_reference_name_to_id(&head, repo, "HEAD");
    if (headError == 0) {
        if (onlyIfEmpty) {
            latest_ = oidText(head);
            return {};
        }
        if (git_commit_lookup(parent.out(), repo, &head) != 0 || git_commit_tree(parentTree.out(), parent.get()) != 0) {
            return gitError(repository_);
        }
    } else if (headError != GIT_ENOTFOUND && headError != GIT_EUNBORNBRANCH) {
        return gitError(repository_);
    }
    git_error_clear();

    Builder builder;
    if (git_treebuilder_new(builder.out(), repo, nullptr) != 0) return gitError(repository_);
    Odb odb;
    if (git_repository_odb(odb.out(), repo) != 0) return gitError(repository_);
    BlobCache cache(repository_ + "/quorvel-blobs");
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t nowNs = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    std::string bytes;
    for (const std::string& name : historyFileNames()) {
        const std::string path = folder_ + name;
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) continue;
            return path + ": " + std::strerror(errno);
        }
        if (!S_ISREG(status.st_mode)) continue;
        const FileStamp stamp = stampOf(status);
        git_oid blob;
        // A kept id whose blob is gone (pruned by hand) is hashed again.
        const std::string kept = cache.find(name, stamp);
        bool inserted = !kept.empty() && git_oid_fromstr(&blob, kept.c_str()) == 0 &&
                        git_treebuilder_insert(nullptr, builder.get(), name.c_str(), &blob, GIT_FILEMODE_BLOB) == 0;
        if (!inserted) {
            git_error_clear();
            std::string error;
            if (!readFile(path, bytes, error)) {
                if (error.empty()) continue;
                return error;
            }
            // Most files are as recorded before: an object already stored is
            // left alone rather than written again (which touches its time).
            if (git_odb_hash(&blob, bytes.data(), bytes.size(), GIT_OBJECT_BLOB) != 0 ||
                (!git_odb_exists(odb.get(), &blob) &&
                 git_blob_create_from_buffer(&blob, repo, bytes.data(), bytes.size()) != 0) ||
                git_treebuilder_insert(nullptr, builder.get(), name.c_str(), &blob, GIT_FILEMODE_BLOB) != 0) {
                return gitError(repository_);
            }
        }
        cache.keep(name, stamp, oidText(blob), nowNs);
    }
    // Only a speed-up: a cache that cannot be written costs the next record a full read.
    cache.save();
    git_oid treeId;
    Tree tree;
    if (git_treebuilder_write(&treeId, builder.get()) != 0 || git_tree_lookup(tree.out(), repo, &treeId) != 0) {
        return gitError(repository_);
    }
    if (parent.get() != nullptr && git_oid_equal(&treeId, git_tree_id(parentTree.get()))) {
        latest_ = oidText(head);
        return {};
    }

    std::string message = action + "\n\n";
    for (const std::string& name : changedNames(parentTree.get(), tree.get())) message += name + "\n";
    Signature signature;
    if (makeSignature(repo, signature.out()) != 0) return gitError(repository_);
    const git_commit* parents[] = {parent.get()};
    git_oid commit;
    // Every object is written before HEAD's branch moves to the new commit.
    if (git_commit_create(&commit, repo, "HEAD", signature.get(), signature.get(), nullptr, message.c_str(), tree.get(),
                          parent.get() != nullptr ? 1 : 0, parents) != 0) {
        return gitError(repository_);
    }
    latest_ = oidText(commit);
    return {};
}

std::string CardHistory::versions(std::vector<HistoryVersion>& list) {
    list.clear();
    std::error_code missing;
    if (!repo_ && !fs::exists(repository_ + "/HEAD", missing)) return {};
    if (std::string error = open(false); !error.empty()) return error;
    Walk walk;
    if (git_revwalk_new(walk.out(), repo_.get()) != 0) return gitError(repository_);
    git_revwalk_sorting(walk.get(), GIT_SORT_TOPOLOGICAL | GIT_SORT_TIME);
    const int pushed = git_revwalk_push_head(walk.get());
    if (pushed == GIT_ENOTFOUND || pushed == GIT_EUNBORNBRANCH) {
        git_error_clear();
        return {};
    }
    if (pushed != 0) return gitError(repository_);
    git_oid id;
    while (git_revwalk_next(&id, walk.get()) == 0) {
        Commit commit;
        Tree tree;
        if (git_commit_lookup(commit.out(), repo_.get(), &id) != 0 || git_commit_tree(tree.out(), commit.get()) != 0) {
            return gitError(repository_);
        }
        Commit parent;
        Tree parentTree;
        if (git_commit_parentcount(commit.get()) > 0 && (git_commit_parent(parent.out(), commit.get(), 0) != 0 ||
                                                         git_commit_tree(parentTree.out(), parent.get()) != 0)) {
            return gitError(repository_);
        }
        const std::string message = git_commit_message(commit.get());
        list.push_back({oidText(id), isoTime(git_commit_time(commit.get()), git_commit_time_offset(commit.get())),
                        message.substr(0, message.find('\n')), changedNames(parentTree.get(), tree.get()).size()});
    }
    return {};
}

std::string CardHistory::resolve(const std::string& rev, std::string& id) {
    if (std::string error = open(false); !error.empty()) return error;
    if (rev.size() > 1 && rev[0] == '~' && rev.find_first_not_of("0123456789", 1) == std::string::npos) {
        const unsigned long back = std::strtoul(rev.c_str() + 1, nullptr, 10);
        Commit commit;
        git_oid head;
        if (git_reference_name_to_id(&head, repo_.get(), "HEAD") != 0 ||
            git_commit_lookup(commit.out(), repo_.get(), &head) != 0) {
            return rev + ": the card's history has no version";
        }
        for (unsigned long step = 0; step < back; ++step) {
            Commit parent;
            if (git_commit_parentcount(commit.get()) == 0) {
                return rev + ": the card's history has only " + std::to_string(step + 1) + " versions";
            }
            if (git_commit_parent(parent.out(), commit.get(), 0) != 0) return gitError(repository_);
            std::swap(commit.handle, parent.handle);
        }
        id = oidText(*git_commit_id(commit.get()));
        return {};
    }
    if (rev.size() < 7 || rev.size() > GIT_OID_HEXSZ ||
        rev.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return rev + ": not a version (a commit id of at least 7 characters, or ~N)";
    }
    git_oid prefix;
    Commit commit;
    git_oid_fromstrn(&prefix, rev.c_str(), rev.size());
    const int found = git_commit_lookup_prefix(commit.out(), repo_.get(), &prefix, rev.size());
    git_error_clear();
    if (found == GIT_EAMBIGUOUS) return rev + ": more than one version starts so";
    if (found != 0) return rev + ": no such version in " + repository_;
    id = oidText(*git_commit_id(commit.get()));
    return {};
}

std::string CardHistory::read(const std::string& id, VersionFiles& files) {
    files.clear();
    if (std::string error = open(false); !error.empty()) return error;
    git_oid oid;
    Commit commit;
    Tree tree;
    if (git_oid_fromstr(&oid, id.c_str()) != 0 || git_commit_lookup(commit.out(), repo_.get(), &oid) != 0 ||
        git_commit_tree(tree.out(), commit.get()) != 0) {
        return gitError(repository_);
    }
    for (std::size_t i = 0; i < git_tree_entrycount(tree.get()); ++i) {
        const git_tree_entry* entry = git_tree_entry_byindex(tree.get(), i);
        // Only card files: a fetched version may hold anything.
        const std::string name = git_tree_entry_name(entry);
        if (git_tree_entry_type(entry) != GIT_OBJECT_BLOB || !isHistoryFile(name)) continue;
        Blob blob;
        if (git_blob_lookup(blob.out(), repo_.get(), git_tree_entry_id(entry)) != 0) return gitError(repository_);
        files.emplace(name, std::string(static_cast<const char*>(git_blob_rawcontent(blob.get())),
                                        static_cast<std::size_t>(git_blob_rawsize(blob.get()))));
    }
    return {};
}

std::string CardHistory::writeInto(const std::string& id, const std::string& folder) {
    VersionFiles files;
    if (std::string error = read(id, files); !error.empty()) return error;
    for (const auto& [name, bytes] : files) {
        if (std::string error = writeFile((fs::path(folder) / name).string(), bytes.data(), bytes.size());
            !error.empty()) {
            return error;
        }
    }
    return {};
}

bool CardHistory::cardHolds(const std::string& id) {
    VersionFiles files;
    if (!read(id, files).empty()) return false;
    for (const auto& [name, bytes] : files) {
        std::string card;
        std::string error;
        if (!readFile(folder_ + name, card, error) || card != bytes) return false;
    }
    return true;
}

}  // namespace quorvel
