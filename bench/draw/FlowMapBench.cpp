// The map follows every load and save of the window, and the report is made
// on demand: on a full card folder (every menu, slot and holiday, eleven
// prompts) both are measured beside the card's own load, in the same run.
#include <benchmark/benchmark.h>
#include <cstdlib>

#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/CallFlowModel.h"
#include "config/CardSequences.h"
#include "draw/CardReport.h"
#include "draw/FlowMap.h"

namespace {

using namespace quorvel;

std::string le16(unsigned value) { return {char(value & 0xFF), char(value >> 8 & 0xFF)}; }
std::string le32(std::uint32_t value) { return le16(value & 0xFFFF) + le16(value >> 16); }

// Three seconds of a 440 Hz tone, 8 kHz 16-bit mono PCM.
std::string promptBytes() {
    const std::uint32_t rate = 8000;
    std::string samples;
    for (std::uint32_t i = 0; i < 3 * rate; ++i) {
        samples += le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(i * 0.3456))));
    }
    const std::string format = le16(1) + le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16);
    const std::string chunks =
        "fmt " + le32(16) + format + "data" + le32(static_cast<std::uint32_t>(samples.size())) + samples;
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

class FullCardFixture {
public:
    FullCardFixture() {
        path_ = std::filesystem::temp_directory_path() / "quorvel-bench-flow-map";
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        CardFolder card(folder());
        if (!ensureCardFiles(card).ok()) std::abort();
        DeviceConfiguration config;
        // Every option of menu m leads to an extension and on to menu m + 1.
        for (int menu = 0; menu < kMenuCount; ++menu) {
            for (int option = 0; option < kOptionCount; ++option) {
                config.menus[menu][option] = {std::to_string(2000 + menu * 10 + option),
                                              {'M', static_cast<char>('0' + (menu + 1) % kMenuCount)},
                                              false};
            }
        }
        const char* times[] = {"07:00", "08:30", "12:00", "18:00"};
        for (auto& day : config.timetable) {
            for (int slot = 0; slot < kSlotCount; ++slot) day.slots[slot] = {times[slot], slot};
        }
        const char* holidays[] = {"01/01", "21/04", "01/05", "07/09", "12/10",
                                  "02/11", "15/11", "25/12", "24/06", "08/12"};
        for (int i = 0; i < kHolidayCount; ++i) config.holidays[i] = holidays[i];
        if (!saveConfiguration(card, config).ok()) std::abort();
        const std::string prompt = promptBytes();
        for (const char* name : {"100", "101", "102", "103", "104", "105", "106", "107", "108", "109", "132"}) {
            std::ofstream(path_ / (std::string(name) + ".wav"), std::ios::binary) << prompt;
        }
    }
    ~FullCardFixture() { std::filesystem::remove_all(path_); }

    std::string folder() const { return path_.string() + "/"; }
    std::filesystem::path path() const { return path_; }

    DeviceConfiguration load() const {
        DeviceConfiguration config;
        if (!loadConfiguration(CardFolder(folder()), config).ok()) std::abort();
        return config;
    }

private:
    std::filesystem::path path_;
};

void BM_LoadCard(benchmark::State& state) {
    FullCardFixture fixture;
    for (auto _ : state) benchmark::DoNotOptimize(fixture.load());
}
BENCHMARK(BM_LoadCard)->Unit(benchmark::kMillisecond);

// What the window adds to a load: the check, the model, the layout and one
// full drawing of the map.
void BM_MapBuiltAndDrawn(benchmark::State& state) {
    FullCardFixture fixture;
    const DeviceConfiguration config = fixture.load();
    QImage image(1200, 2600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const FlowMap map = layoutFlowMap(buildCallFlowModel(config, fixture.folder()));
        image.fill(Qt::white);
        QPainter painter(&image);
        paintFlowMap(painter, map);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_MapBuiltAndDrawn)->Unit(benchmark::kMillisecond);

// What `ajustor-card report` does after the load: survey every prompt, draw and write the PDF.
void BM_ReportWritten(benchmark::State& state) {
    FullCardFixture fixture;
    const DeviceConfiguration config = fixture.load();
    const std::string pdf = (fixture.path() / "report.pdf").string();
    for (auto _ : state) {
        const ReportContents contents = cardReportContents(config, fixture.folder(), QDateTime::currentDateTime());
        if (writeCardReport(contents, pdf) != 0) state.SkipWithError("the report could not be written");
    }
}
BENCHMARK(BM_ReportWritten)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
