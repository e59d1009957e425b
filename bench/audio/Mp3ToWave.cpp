// Decodes an MP3 into a WAV file through the prompt conversion's first chain
// (TMP3In into TWaveOut), for timing against ffmpeg and measuring memory.
#include "audio/formats/WMIn.h"
#include "audio/formats/WaveOut.h"
#include "audio/pipeline/WindowDispatcher.h"

#include <atomic>
#include <iostream>

int main(int argc, char** argv) {
    using namespace quorvel;
    if (argc != 3) {
        std::cerr << "usage: mp3_to_wave IN.mp3 OUT.wav\n";
        return 64;
    }
    TMP3In input;
    input.SetFileName(argv[1]);
    TWaveOut output;
    output.SetFileName(argv[2]);
    output.SetInput(&input);
    std::atomic<bool> done{false};
    output.SetOnDone([&](TAuOutput&) { done = true; });
    output.Start();
    WaitDraining([&] { return done.load(); });
    if (!output.ErrorText().empty()) {
        std::cerr << output.ErrorText() << "\n";
        return 1;
    }
    return 0;
}
