#include "audio/pipeline/FileOut.h"

#include "audio/pipeline/FileStream.h"
#include "audio/pipeline/Utf16.h"

namespace quorvel {

void TAuStreamedOutput::SetStream(TAuStream* Value) {
    FOwnedStream.reset();
    FStream = Value;
    FStreamAssigned = Value != nullptr;
}

void TAuStreamedOutput::AdoptStream(std::unique_ptr<TAuStream> Owned) {
    FOwnedStream = std::move(Owned);
    FStream = FOwnedStream.get();
    FStreamAssigned = false;
}

void TAuStreamedOutput::ReleaseStream() {
    if (!FOwnedStream) return;
    FOwnedStream.reset();
    FStream = nullptr;
}

void TAuFileOut::SetFileName(const std::string& Value) {
    FWideFileName = Utf8ToUtf16(Value);
    FFileName = Value;
}

void TAuFileOut::SetFileMode(TFileOutputMode) { FFileMode = foRewrite; }

void TAuFileOut::OpenOwnStream(std::uint16_t Mode) {
    AdoptStream(std::make_unique<TAuFileStream>(FWideFileName, Mode));
}

}  // namespace quorvel
