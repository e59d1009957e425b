#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel {

// Conversions between little-endian integer PCM and 32-bit float samples
// (nominal range -1..1). Counts are samples; integer buffers need no
// alignment. They allocate nothing.

void U8ToFloat(const void* Source, float* Destination, std::size_t Count);
void S16ToFloat(const void* Source, float* Destination, std::size_t Count);
void S24ToFloat(const void* Source, float* Destination, std::size_t Count);
void S32ToFloat(const void* Source, float* Destination, std::size_t Count);

// Except FloatToU8, these first clamp Source in place: >= 1 to 1, <= -1 and
// NaN to -1.
void FloatToU8(const float* Source, void* Destination, std::size_t Count);
void FloatToS16(float* Source, void* Destination, std::size_t Count);
void FloatToS24(float* Source, void* Destination, std::size_t Count);
void FloatToS32(float* Source, void* Destination, std::size_t Count);

// Float data read from files, to 32-bit integers in place. Doubles are
// packed from the start, so the first half of the buffer holds the result.
void SinglesToS32InPlace(void* Buffer, std::size_t ByteCount);
void DoublesToS32InPlace(void* Buffer, std::size_t ByteCount);

// In place on float frames. MonoToStereo needs room for 2 x Frames floats.
void StereoToMono(float* Buffer, std::size_t Frames);
void MonoToStereo(float* Buffer, std::size_t Frames);
// The mean of each frame's Channels samples, in place, for Channels > 2.
void ManyToMono(float* Buffer, std::size_t Frames, std::size_t Channels);

// Acc + X[0]*C[0] + ... + X[Count-1]*C[Count-1], summed in extended precision.
void DotAccumulate(const float* X, const float* C, float& Acc, std::size_t Count);

}  // namespace quorvel
