#pragma once

#include "audio/pipeline/AuOutput.h"
#include "audio/pipeline/AuStream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quorvel {

enum TFileOutputMode { foRewrite = 0, foAppend = 1 };

// A sink that writes a stream, its own unless one is assigned from outside.
class TAuStreamedOutput : public TAuOutput {
public:
    TAuStream* Stream() const { return FStream; }
    bool StreamAssigned() const { return FStreamAssigned; }
    // Writes to Value without taking it over; none returns to an own stream.
    void SetStream(TAuStream* Value);

protected:
    void AdoptStream(std::unique_ptr<TAuStream> Owned);
    // Releases an own stream; an assigned one is left open.
    void ReleaseStream();

    TAuStream* FStream = nullptr;

private:
    std::unique_ptr<TAuStream> FOwnedStream;
    bool FStreamAssigned = false;
};

// Base of the file writers: the file name and how the file is opened.
class TAuFileOut : public TAuStreamedOutput {
public:
    const std::string& FileName() const { return FFileName; }
    const std::u16string& WideFileName() const { return FWideFileName; }
    void SetFileName(const std::string& Value);

    TFileOutputMode FileMode() const { return FFileMode; }
    // This base writes whole files only: it keeps foRewrite whatever is asked.
    virtual void SetFileMode(TFileOutputMode Value);
    std::uint16_t ShareMode() const { return FShareMode; }
    void SetShareMode(std::uint16_t Value) { FShareMode = Value; }

protected:
    // For PrepareOutput: the own stream on WideFileName with the given mode.
    void OpenOwnStream(std::uint16_t Mode);

    TFileOutputMode FFileMode = foRewrite;

private:
    std::string FFileName;
    std::u16string FWideFileName;
    std::uint16_t FShareMode = 0;
};

}  // namespace quorvel
