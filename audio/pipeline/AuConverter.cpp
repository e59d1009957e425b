#include "audio/pipeline/AuConverter.h"

namespace quorvel {

TAuConverter::~TAuConverter() {
    if (TAuInput* input = FInput) input->RemoveUser(*this);
}

void TAuConverter::SetInput(TAuInput* Value) {
    if (Value == this) return;
    std::lock_guard lock(FDataLock);
    TAuInput* old = FInput;
    if (FBusy) {
        if (old != nullptr) old->Close();
        if (Value != nullptr) Value->Open();
    }
    if (old != nullptr) old->RemoveUser(*this);
    if (Value != nullptr) Value->AddUser(*this);
    FInput = Value;
}

void TAuConverter::InputRemoved(TAuInput& Removed) {
    // The source is being destroyed: it can no longer be closed, only dropped.
    std::lock_guard lock(FDataLock);
    if (FInput == &Removed) FInput = nullptr;
}

int TAuConverter::GetBitsPerSample() {
    TAuInput* input = FInput;
    if (input == nullptr) return 0;
    const int bits = input->GetBitsPerSample();
    return FKeepHighBit ? bits : (bits & ~128);
}

int TAuConverter::GetChannels() {
    TAuInput* input = FInput;
    return input != nullptr ? input->GetChannels() : 0;
}

int TAuConverter::GetSampleRate() {
    TAuInput* input = FInput;
    return input != nullptr ? input->GetSampleRate() : 0;
}

void TAuConverter::Read(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    std::lock_guard lock(FDataLock);
    if (FEndReached) {
        Buffer = nullptr;
        Bytes = 0;
        return;
    }
    DoRead(Buffer, Bytes);
    if (!DoReadSetsPosition()) FPosition += Bytes;
    const std::int64_t size = FSize;
    const std::int64_t position = FPosition;
    if (size > 0 && position > size) {
        // Nothing past Size is handed out; Position keeps the untrimmed sum.
        const std::int64_t excess = position - size;
        Bytes = excess >= Bytes ? 0 : Bytes - static_cast<std::uint32_t>(excess);
        FEndReached = true;
    }
    if (Bytes == 0) FEndReached = true;
}

void TAuConverter::PeekAhead(std::uint32_t Bytes) {
    if (TAuInput* input = FInput) input->PeekAhead(Bytes);
}

void TAuConverter::SpareHookA() {
    if (TAuInput* input = FInput) input->SpareHookA();
}

void TAuConverter::SpareHookB() {
    if (TAuInput* input = FInput) input->SpareHookB();
}

}  // namespace quorvel
