#include "audio/formats/AudioStream.h"

#include <cstdio>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace quorvel {

namespace {

constexpr int kIoBufferSize = 64 * 1024;

int ReadPacket(void* Opaque, std::uint8_t* Buffer, int Size) {
    auto* stream = static_cast<TAudioStream*>(Opaque);
    std::uint32_t done = 0;
    if (Size <= 0 || !stream->Read(Buffer, static_cast<std::uint32_t>(Size), done)) return AVERROR_EOF;
    return static_cast<int>(done);
}

std::int64_t SeekPacket(void* Opaque, std::int64_t Offset, int Whence) {
    auto* stream = static_cast<TAudioStream*>(Opaque);
    try {
        switch (Whence & ~AVSEEK_FORCE) {
            case AVSEEK_SIZE:
                return stream->Stat();
            case SEEK_SET:
                stream->Seek(Offset, TSeekOrigin::soBeginning);
                break;
            case SEEK_CUR:
                stream->Seek(Offset, TSeekOrigin::soCurrent);
                break;
            case SEEK_END:
                stream->Seek(Offset, TSeekOrigin::soEnd);
                break;
            default:
                return AVERROR(EINVAL);
        }
        return stream->Position();
    } catch (...) {
        return AVERROR(EIO);
    }
}

}  // namespace

bool TAudioStream::Read(void* Buffer, std::uint32_t Count, std::uint32_t& Done) {
    try {
        Done = static_cast<std::uint32_t>(FWrapped.Read(Buffer, Count));
    } catch (...) {
        Done = 0;
    }
    return Done > 0;
}

void TAudioStream::Seek(std::int64_t Offset, TSeekOrigin Origin) { FWrapped.Seek(Offset, Origin); }

AVIOContext* TAudioStream::NewIoContext() {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    if (buffer == nullptr) return nullptr;
    AVIOContext* context = avio_alloc_context(buffer, kIoBufferSize, 0, this, ReadPacket, nullptr, SeekPacket);
    if (context == nullptr) av_free(buffer);
    return context;
}

void TAudioStream::FreeIoContext(AVIOContext*& Context) {
    if (Context == nullptr) return;
    av_freep(&Context->buffer);
    avio_context_free(&Context);
}

}  // namespace quorvel
