#include "audio/pipeline/FastCopy.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {

namespace {

void PlainCopy(void* Destination, const void* Source, std::size_t Count) {
    if (Count != 0) std::memcpy(Destination, Source, Count);
}

using TCopyRoutine = void (*)(void*, const void*, std::size_t);

TCopyRoutine ChooseCopy() {
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();  // runs during static initialisation, before the library's own
    if (__builtin_cpu_supports("sse2")) return BlockCopy16;
#endif
    return PlainCopy;
}

const TCopyRoutine ChosenCopy = ChooseCopy();

}  // namespace

void BlockCopy16(void* Destination, const void* Source, std::size_t Count) {
    auto* dest = static_cast<std::uint8_t*>(Destination);
    const auto* src = static_cast<const std::uint8_t*>(Source);
    const auto misalign = [](const void* p) { return reinterpret_cast<std::uintptr_t>(p) & 15U; };
    if (misalign(dest) != misalign(src) || Count < 16) {
        PlainCopy(dest, src, Count);
        return;
    }
    // Equal alignment: bring the destination to 16 bytes with the widest
    // single moves that fit, then move whole blocks.
    if ((misalign(dest) & 1U) != 0) {
        *dest++ = *src++;
        --Count;
    }
    if ((misalign(dest) & 2U) != 0) {
        std::memcpy(dest, src, 2);
        dest += 2;
        src += 2;
        Count -= 2;
    }
    if ((misalign(dest) & 4U) != 0) {
        std::memcpy(dest, src, 4);
        dest += 4;
        src += 4;
        Count -= 4;
    }
    if ((misalign(dest) & 8U) != 0) {
        std::memcpy(dest, src, 8);
        dest += 8;
        src += 8;
        Count -= 8;
    }
#if defined(__SSE2__)
    for (; Count >= 64; Count -= 64, dest += 64, src += 64) {
        const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(src + 16));
        const __m128i c = _mm_load_si128(reinterpret_cast<const __m128i*>(src + 32));
        const __m128i d = _mm_load_si128(reinterpret_cast<const __m128i*>(src + 48));
        _mm_store_si128(reinterpret_cast<__m128i*>(dest), a);
        _mm_store_si128(reinterpret_cast<__m128i*>(dest + 16), b);
        _mm_store_si128(reinterpret_cast<__m128i*>(dest + 32), c);
        _mm_store_si128(reinterpret_cast<__m128i*>(dest + 48), d);
    }
    for (; Count >= 16; Count -= 16, dest += 16, src += 16)
        _mm_store_si128(reinterpret_cast<__m128i*>(dest), _mm_load_si128(reinterpret_cast<const __m128i*>(src)));
#endif
    PlainCopy(dest, src, Count);
}

void FastCopy(void* Destination, const void* Source, std::size_t Count) { ChosenCopy(Destination, Source, Count); }

bool FastCopyUsesBlocks() { return ChosenCopy == BlockCopy16; }

}  // namespace quorvel
