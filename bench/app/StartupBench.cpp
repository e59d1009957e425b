// Start-up of the window on a full card folder, from process start to the
// window shown with every card file loaded. Each run is a fresh process
// (this program started again in child mode), so library loading, Qt
// initialisation and the first paint are counted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include "app/MainFormQuorvel.h"
#include "shell/MessageBoxes.h"

namespace {

const char* const kChildMode = "--open-window";
QString benchProgram;

// A start-up error would open a box; counted instead, it fails the run.
class CountingMessageBoxes final : public quorvel::MessageBoxes {
public:
    void showMessage(QWidget*, const QString&) override { ++shown; }
    void showError(QWidget*, const QString&) override { ++shown; }
    bool confirm(QWidget*, const QString&) override { return ++shown, false; }
    std::optional<int> askNumber(QWidget*, const QString&, int, int, int) override { return ++shown, std::nullopt; }
    void beep() override {}

    int shown = 0;
};

// Child mode: open the window on `folder`, wait until it is on screen and painted, end.
int openWindowOnce(int argc, char* argv[], const QString& folder) {
    QApplication application(argc, argv);
    CountingMessageBoxes boxes;
    quorvel::TMainFormQuorvel window(folder, boxes);
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    window.repaint();
    return boxes.shown == 0 ? 0 : 1;
}

bool runChild(const QString& folder) {
    QProcess child;
    child.start(benchProgram, {QString::fromLatin1(kChildMode), folder});
    return child.waitForFinished(30000) && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}

void BM_WindowStartOnFullCard(benchmark::State& state) {
    QTemporaryDir card;
    const QString folder = card.path() + QLatin1Char('/');
    // The first start creates the 113 card files; the measured ones find them.
    if (!runChild(folder)) {
        state.SkipWithError("the window did not open");
        return;
    }
    for (auto _ : state) {
        if (!runChild(folder)) {
            state.SkipWithError("the window did not open");
            return;
        }
    }
}
BENCHMARK(BM_WindowStartOnFullCard)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], kChildMode) == 0) {
        return openWindowOnce(1, argv, QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication application(argc, argv);
    benchProgram = QCoreApplication::applicationFilePath();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
