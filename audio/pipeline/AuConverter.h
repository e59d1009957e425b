#pragma once

#include "audio/pipeline/AuInput.h"

namespace quorvel {

// Base of every filter: a source that pulls from another source (Input).
class TAuConverter : public TAuInput, private TAuInputUser {
public:
    ~TAuConverter() override;

    TAuInput* Input() const { return FInput; }
    virtual void SetInput(TAuInput* Value);

    int GetBitsPerSample() override;
    int GetChannels() override;
    int GetSampleRate() override;
    void Read(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override;
    void PeekAhead(std::uint32_t Bytes) override;
    void SpareHookA() override;
    void SpareHookB() override;

protected:
    // A filter whose DoRead keeps Position itself returns true, so that Read
    // does not add the delivered count a second time.
    virtual bool DoReadSetsPosition() const { return false; }

private:
    void InputRemoved(TAuInput& Removed) override;

    std::atomic<TAuInput*> FInput{nullptr};
};

}  // namespace quorvel
