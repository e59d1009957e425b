#include "audio/pipeline/AuInput.h"

#include "audio/pipeline/AuException.h"
#include "audio/pipeline/FastCopy.h"

#include <algorithm>
#include <exception>

namespace quorvel {

TAuInput::~TAuInput() {
    std::vector<TAuInputUser*> users;
    {
        std::lock_guard lock(FUsersLock);
        users.swap(FUsers);
    }
    for (TAuInputUser* user : users) user->InputRemoved(*this);
}

int TAuInput::GetDurationSeconds() { return 0; }

std::int64_t TAuInput::GetFrameCount() { return 0; }

void TAuInput::SetHighBitPass(bool Value) { FKeepHighBit = Value; }

bool TAuInput::ReadPeeked(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    if (FPeekLength == 0) return false;
    Bytes = std::min(Bytes, FPeekLength - FPeekOffset);
    Buffer = FPeekBuffer.data() + FPeekOffset;
    FPeekOffset += Bytes;
    FPosition += Bytes;
    if (FPeekOffset == FPeekLength) {
        FPeekOffset = 0;
        FPeekLength = 0;
    }
    return true;
}

void TAuInput::Read(const std::uint8_t*& Buffer, std::uint32_t& Bytes) {
    std::lock_guard lock(FDataLock);
    if (!ReadPeeked(Buffer, Bytes)) DoRead(Buffer, Bytes);
}

void TAuInput::ForceClose() {
    try {
        Close();
    } catch (...) {
        // Forcing a close must succeed whatever the subclass reports.
    }
    FBusy = false;
}

void TAuInput::PeekAhead(std::uint32_t Bytes) {
    std::lock_guard lock(FDataLock);
    if (FPeekLength > 0) return;
    const std::uint8_t* buffer = nullptr;
    std::uint32_t count = Bytes;
    Read(buffer, count);
    if (FPeekBuffer.size() < count) FPeekBuffer.resize(count);
    if (count != 0 && buffer != nullptr) {
        FastCopy(FPeekBuffer.data(), buffer, count);
        FPeekLength = count;
        FPosition -= count;
    }
}

void TAuInput::SpareHookA() {}

void TAuInput::SpareHookB() {}

void TAuInput::Open() {
    std::lock_guard lock(FDataLock);
    FEndReached = false;
    try {
        DoOpen();
    } catch (const std::exception& error) {
        FEndReached = true;
        throw EAuException(error.what());
    } catch (...) {
        FEndReached = true;
        throw EAuException("The source could not be opened");
    }
}

void TAuInput::Close() {
    std::lock_guard lock(FDataLock);
    FPeekLength = 0;
    FPeekOffset = 0;
    DoClose();
}

void TAuInput::AddUser(TAuInputUser& User) {
    std::lock_guard lock(FUsersLock);
    FUsers.push_back(&User);
}

void TAuInput::RemoveUser(TAuInputUser& User) {
    std::lock_guard lock(FUsersLock);
    std::erase(FUsers, &User);
}

std::uint32_t CopyFromInput(TAuInput& Input, void* Dest, std::uint32_t Bytes) {
    const std::uint8_t* buffer = nullptr;
    Input.Read(buffer, Bytes);
    if (buffer != nullptr && Bytes != 0) FastCopy(Dest, buffer, Bytes);
    return Bytes;
}

std::uint32_t FillFromInput(TAuInput& Input, void* Dest, std::uint32_t Bytes, bool& Ended) {
    auto* dest = static_cast<std::uint8_t*>(Dest);
    std::uint32_t total = 0;
    Ended = false;
    while (total < Bytes) {
        const std::uint32_t got = CopyFromInput(Input, dest + total, Bytes - total);
        if (got == 0) {
            Ended = true;
            break;
        }
        total += got;
    }
    return total;
}

}  // namespace quorvel
