#include "operations/history/HistoryRecorder.h"

#include "operations/history/CardHistory.h"

namespace quorvel {
namespace {

class HistoryRecorder final : public CardRecorder {
public:
    explicit HistoryRecorder(const std::string& folder) : history_(folder) {}

    std::string beforeWrite() override {
        std::string error = history_.recordStartIfNew();
        if (error.empty()) error = history_.record("Alterações encontradas no cartão");
        return told(error);
    }

    std::string afterWrite(const std::string& action, const std::vector<std::string>&) override {
        return told(history_.record(action));
    }

private:
    static std::string told(const std::string& error) {
        return error.empty() ? error : "Nothing recorded in the card's history: " + error;
    }

    CardHistory history_;
};

}  // namespace

std::unique_ptr<CardRecorder> makeHistoryRecorder(const std::string& folder) {
    return std::make_unique<HistoryRecorder>(folder);
}

}  // namespace quorvel
