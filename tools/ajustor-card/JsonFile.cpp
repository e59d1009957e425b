#include "JsonFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace quorvel::card_tool {

namespace {

using Json = nlohmann::ordered_json;

std::string notPlainFile(const std::string& path) {
    return path + ": is not a plain file (a FIFO, device or socket); give a JSON file";
}

std::string tooLarge(const std::string& path) {
    return path + ": is larger than " + std::to_string(kMaxJsonBytes >> 20) +
           " MB, far more than any configuration; nothing was read";
}

// Thrown from the parser's callback to stop at the first value past a limit,
// before the parser goes on through the rest of the input.
struct PastLimit {
    std::string message;
};

// Counts the members of every open object and array; the parser itself keeps
// no recursion, so the depth is bounded only by this count.
class Limits {
public:
    explicit Limits(const std::string& path) : path_(path) {}

    bool operator()(int depth, Json::parse_event_t event, Json&) {
        switch (event) {
            case Json::parse_event_t::object_start:
            case Json::parse_event_t::array_start:
                arrayMember();
                if (depth >= kMaxJsonDepth) {
                    throw PastLimit{path_ + ": nests arrays and objects more than " + std::to_string(kMaxJsonDepth) +
                                    " deep, far more than any configuration"};
                }
                open_.push_back({0, event == Json::parse_event_t::object_start});
                break;
            case Json::parse_event_t::object_end:
            case Json::parse_event_t::array_end:
                open_.pop_back();
                break;
            case Json::parse_event_t::key:
                countMember();
                break;
            case Json::parse_event_t::value:
                arrayMember();
                break;
        }
        return true;
    }

private:
    struct Open {
        std::size_t members;
        bool object;
    };

    // An object's members are counted by their keys.
    void arrayMember() {
        if (!open_.empty() && !open_.back().object) countMember();
    }

    void countMember() {
        if (++open_.back().members <= kMaxJsonMembers) return;
        throw PastLimit{path_ + ": holds an object or array of more than " + std::to_string(kMaxJsonMembers) +
                        " members, far more than any configuration"};
    }

    const std::string& path_;
    std::vector<Open> open_;
};

}  // namespace

std::optional<std::string> checkJsonInput(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return std::nullopt;
    if (!S_ISREG(status.st_mode)) return notPlainFile(path);
    if (static_cast<std::uint64_t>(status.st_size) > kMaxJsonBytes) return tooLarge(path);
    return std::nullopt;
}

std::variant<Json, ExitCode> readJsonFile(const std::string& path, std::ostream& err) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const int handle = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        err << path << ": " << std::strerror(errno) << '\n';
        return ExitCode::CardFailure;
    }
    std::string text;
    std::optional<std::string> refusal;
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        refusal = notPlainFile(path);
    } else {
        // One byte past the limit tells a file that grew since it was checked.
        text.resize(kMaxJsonBytes + 1);
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = ::read(handle, text.data() + got, text.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                err << path << ": " << std::strerror(errno) << '\n';
                ::close(handle);
                return ExitCode::CardFailure;
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
    }
    ::close(handle);
    if (refusal) {
        err << *refusal << '\n';
        return ExitCode::ValueRefused;
    }
    return parseJson(text, path, err);
}

std::variant<Json, ExitCode> parseJson(const std::string& text, const std::string& path, std::ostream& err) {
    if (text.size() > kMaxJsonBytes) {
        err << tooLarge(path) << '\n';
        return ExitCode::ValueRefused;
    }
    try {
        return Json::parse(text, Limits(path));
    } catch (const PastLimit& past) {
        err << past.message << '\n';
        return ExitCode::ValueRefused;
    } catch (const nlohmann::json::exception& error) {
        err << path << ": not JSON: " << error.what() << '\n';
        return ExitCode::CardFailure;
    }
}

}  // namespace quorvel::card_tool
