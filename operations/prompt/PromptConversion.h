#pragma once

#include "audio/formats/WMIn.h"
#include "audio/formats/WaveIn.h"
#include "audio/formats/WaveOut.h"
#include "audio/pipeline/AudioConverter.h"
#include "audio/pipeline/FastResampler.h"
#include "operations/levelling/Levelling.h"
#include "operations/prompt/PromptLeveller.h"

#include <functional>
#include <string>

namespace quorvel {

struct TPromptRequest {
    std::string CardFolder;  // ends in a path separator
    int PromptIndex = 0;     // 0..9 for the menus, 10 for the Vinheta
    std::string SourcePath;
    TLevelMode Level = TLevelMode::Peak;
    bool Trim = false;  // cut silence before and after the speech
};

enum class TPromptOutcome {
    Installed,  // the new prompt replaced the old one
    Invalid,    // the source is neither a readable MP3 nor a readable WAV; nothing was touched
    Failed,     // a stage failed; the old prompt stays
};

struct TPromptResult {
    TPromptOutcome Outcome = TPromptOutcome::Invalid;
    std::string Error;       // for Failed
    std::string PromptName;  // "105.wav"
    TPromptSummary Summary;  // for Installed
};

// What the workflow tells its driver, always on the driver's thread.
struct TPromptEvents {
    std::function<void(const std::string& Text)> Log;
    std::function<void(const TPromptResult& Result)> Finished;
};

// Turns an MP3 or WAV recording into a menu's 16-bit mono prompt: an MP3 is
// decoded to an intermediate WAV (MP3In1 -> WaveOut2), the WAV is converted
// to mono (WaveIn1 -> AudioConverter1 -> WaveOut1), the result is levelled
// and renamed over the prompt. Each stage starts when the one before has
// ended: the sinks' done events come in through DecodeDone and MonoDone,
// which the driver calls from its event loop (the pipeline's dispatcher).
// Intermediate files get names of their own in the card folder and are gone
// when the workflow ends, whatever the outcome.
class TPromptConversion {
public:
    TPromptConversion();
    TPromptConversion(const TPromptConversion&) = delete;
    TPromptConversion& operator=(const TPromptConversion&) = delete;
    ~TPromptConversion();

    TMP3In& MP3In1() { return FMP3In1; }
    TWaveIn& WaveIn1() { return FWaveIn1; }
    TAudioConverter& AudioConverter1() { return FAudioConverter1; }
    TFastResampler& FastResampler1() { return FFastResampler1; }
    TWaveOut& WaveOut2() { return FWaveOut2; }
    TWaveOut& WaveOut1() { return FWaveOut1; }

    bool Running() const { return FStage != TStage::Idle; }
    // Starts the workflow; an invalid source ends it at once (Finished is
    // called before Begin returns).
    void Begin(TPromptRequest Request, TPromptEvents Events);
    void DecodeDone();
    void MonoDone();
    // Routes both sinks' done events to the two calls above, for a driver
    // without handlers of its own; progress goes to Progress.
    void ConnectSinkEvents(std::function<void(int Percent)> Progress);

private:
    enum class TStage { Idle, Decoding, Converting };

    void StartMono(const std::string& Source);
    void Invalid();
    void Fail(const std::string& Error);
    void Finish(TPromptResult Result);
    void RemoveTemporaries();
    void Log(const std::string& Text) const;

    // Sources before sinks: a sink, destroyed first, stops reading them.
    TMP3In FMP3In1;
    TWaveIn FWaveIn1;
    TAudioConverter FAudioConverter1;
    TFastResampler FFastResampler1;
    TWaveOut FWaveOut2;
    TWaveOut FWaveOut1;

    TStage FStage = TStage::Idle;
    TPromptRequest FRequest;
    TPromptEvents FEvents;
    std::string FPromptName;
    std::string FIntermediate;  // the decoded MP3
    std::string FMono;          // the mono result, levelled in place
};

}  // namespace quorvel
