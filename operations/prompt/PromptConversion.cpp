#include "operations/prompt/PromptConversion.h"

#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptTrim.h"

#include <cstdio>
#include <exception>
#include <future>
#include <system_error>
#include <utility>

namespace quorvel {

namespace {

// "Voz do Menu 5: recepcao.mp3", as the card's history names the install.
std::string HistoryAction(const TPromptRequest& Request) {
    const std::string owner =
        Request.PromptIndex == VinhetaPromptIndex ? "Vinheta" : "Menu " + std::to_string(Request.PromptIndex);
    return "Voz do " + owner + ": " + Request.SourcePath.substr(Request.SourcePath.find_last_of('/') + 1);
}

const char* const DecodingText = "Convertendo arquivos mp3 para wav aguarde...";
const char* const DecodedText = "Arquivo convertido com sucesso!Aguarde...";
const char* const ConvertingText = "Convertendo aguarde wav para mono...";
const char* const ConvertedText = "Arquivo convertido com sucesso! Aguarde...";
const char* const FinishedText = "Processos de conversão finalizados...";
const char* const InvalidText = "Arquivo de áudio inválido ou não suportado.";
const char* const FailedText = "Falha na conversão: ";

}  // namespace

TPromptConversion::TPromptConversion() {
    FMP3In1.SetLoop(false);
    FMP3In1.SetEndSample(-1);
    FMP3In1.SetHighPrecision(false);
    FMP3In1.SetOutputChannels(cnMonoOrStereo);
    FWaveOut2.SetInput(&FMP3In1);
    FWaveOut2.SetWavType(wtPCM);
    FWaveOut2.SetBlockSize(512);
    FWaveOut2.SetShareMode(0);
    FWaveOut2.SetFileMode(foRewrite);
    FWaveOut2.SetCreateNonMsHeaders(true);

    FWaveIn1.SetLoop(false);
    FWaveIn1.SetEndSample(-1);
    FAudioConverter1.SetInput(&FWaveIn1);
    FAudioConverter1.SetMode(msmMonoToBoth);
    FWaveOut1.SetInput(&FAudioConverter1);
    FWaveOut1.SetWavType(wtPCM);
    FWaveOut1.SetBlockSize(512);
    FWaveOut1.SetShareMode(0);
    FWaveOut1.SetFileMode(foRewrite);
    FWaveOut1.SetCreateNonMsHeaders(false);
}

TPromptConversion::~TPromptConversion() {
    FWaveOut2.Cancel(false);
    FWaveOut1.Cancel(false);
    RemoveTemporaries();
}

void TPromptConversion::ConnectSinkEvents(std::function<void(int Percent)> Progress) {
    FWaveOut2.SetOnDone([this](TAuOutput&) { DecodeDone(); });
    FWaveOut1.SetOnDone([this](TAuOutput&) { MonoDone(); });
    FWaveOut2.SetOnProgress([Progress](TAuOutput& Sink) { Progress(Sink.PercentDone()); });
    FWaveOut1.SetOnProgress([Progress](TAuOutput& Sink) { Progress(Sink.PercentDone()); });
}

void TPromptConversion::Log(const std::string& Text) const {
    if (FEvents.Log) FEvents.Log(Text);
}

void TPromptConversion::Begin(TPromptRequest Request, TPromptEvents Events) {
    if (Running()) return;
    FRequest = std::move(Request);
    FEvents = std::move(Events);
    FPromptName = promptFileName(FRequest.PromptIndex).value_or("");
    if (FPromptName.empty()) {
        Fail("menu desconhecido");
        return;
    }
    switch (ClassifyPromptSource(FRequest.SourcePath)) {
        case TPromptSourceKind::Other:
            Invalid();
            return;
        case TPromptSourceKind::Wav:
            StartMono(FRequest.SourcePath);
            return;
        case TPromptSourceKind::Mp3:
            break;
    }
    FMP3In1.SetFileName(FRequest.SourcePath);
    if (!FMP3In1.IsValid()) {
        Invalid();
        return;
    }
    try {
        FIntermediate = ReserveTemporaryPrompt(FRequest.CardFolder);
        FWaveOut2.SetFileName(FIntermediate);
        Log(DecodingText);
        FStage = TStage::Decoding;
        FWaveOut2.Start();
    } catch (const std::exception& error) {
        Fail(error.what());
    }
}

void TPromptConversion::DecodeDone() {
    if (FStage != TStage::Decoding) return;
    if (const std::string error = FWaveOut2.ErrorText(); !error.empty()) {
        Fail(error);
        return;
    }
    Log(DecodedText);
    StartMono(FIntermediate);
}

void TPromptConversion::StartMono(const std::string& Source) {
    FWaveIn1.SetFileName(Source);
    if (!FWaveIn1.IsValid()) {
        Invalid();
        return;
    }
    try {
        FMono = ReserveTemporaryPrompt(FRequest.CardFolder);
        FWaveOut1.SetFileName(FMono);
        FAudioConverter1.SetOutBitsPerSample(16);
        FAudioConverter1.SetOutChannels(1);
        FWaveOut1.SetWavType(wtPCM);
        Log(ConvertingText);
        FStage = TStage::Converting;
        FWaveOut1.Start();
    } catch (const std::exception& error) {
        Fail(error.what());
    }
}

void TPromptConversion::MonoDone() {
    if (FStage != TStage::Converting) return;
    if (const std::string error = FWaveOut1.ErrorText(); !error.empty()) {
        Fail(error);
        return;
    }
    Log(ConvertedText);
    // The decoded MP3 is done with: the file system frees its space while
    // the mono file is levelled, and is through before the end is told.
    FWaveIn1.SetFileName({});
    std::future<void> intermediateRemoved;
    if (const std::string intermediate = std::exchange(FIntermediate, {}); !intermediate.empty()) {
        try {
            intermediateRemoved = std::async(std::launch::async, [intermediate] { std::remove(intermediate.c_str()); });
        } catch (const std::system_error&) {
            // No thread to spare: removed now, before the levelling.
            std::remove(intermediate.c_str());
        }
    }
    const auto removed = [&intermediateRemoved] {
        if (intermediateRemoved.valid()) intermediateRemoved.wait();
    };
    TPromptResult result;
    CardResult installed;
    try {
        if (FRequest.Trim) TrimPromptFile(FMono);
        result.Summary = LevelPromptFile(FMono, FRequest.Level);
        installed = InstallPrompt(FMono, FRequest.CardFolder + FPromptName, realFileSystem(), HistoryAction(FRequest));
    } catch (const std::exception& error) {
        installed = CardResult::failed(error.what());
    }
    removed();
    if (!installed.ok()) {
        Fail(installed.message);
        return;
    }
    FMono.clear();
    Log(FinishedText);
    result.Outcome = TPromptOutcome::Installed;
    Finish(std::move(result));
}

void TPromptConversion::Invalid() {
    Log(InvalidText);
    Finish({});
}

void TPromptConversion::Fail(const std::string& Error) {
    Log(FailedText + Error);
    TPromptResult result;
    result.Outcome = TPromptOutcome::Failed;
    result.Error = Error;
    Finish(std::move(result));
}

void TPromptConversion::Finish(TPromptResult Result) {
    FStage = TStage::Idle;
    RemoveTemporaries();
    Result.PromptName = FPromptName;
    if (FEvents.Finished) FEvents.Finished(Result);
}

void TPromptConversion::RemoveTemporaries() {
    // The readers let go of the files first.
    FMP3In1.SetFileName({});
    FWaveIn1.SetFileName({});
    for (std::string* temporary : {&FIntermediate, &FMono}) {
        if (!temporary->empty()) std::remove(temporary->c_str());
        temporary->clear();
    }
}

}  // namespace quorvel
