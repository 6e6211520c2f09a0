// Start-up of the panel against the floor of a bare Qt dialog with an eight-page tab widget,
// side by side in one run: the time from entering main() to the first idle moment of the event
// loop with the window shown, and the peak resident memory. Each sample is a fresh process, so
// that fonts and plug-ins load as they do for an operator.
// Targets: start to idle at most 1.5 times the bare dialog, peak memory at most 1.3 times.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/valdrix_dlg.h"
#include "framework/template_fonts.h"
#include "link/instrument.h"
#include "link/simulated_instrument.h"
#include "res/names_valdrix.h"
#include "res/resource_ids.h"

using namespace valdrix::gui;

using namespace valdrix::link;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSamples = 15;

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Shows the window and reports through the pipe how long it took to reach the first idle moment.
int RunOnce(int argc, char** argv, bool panel, int reportFd) {
    const auto start = Clock::now();
    QApplication application(argc, argv);
    Instrument instrument;
    std::unique_ptr<CValdrixDlg> dialog;
    QDialog bare;
    if (panel) {
        InstallProductTexts(ValdrixNames());
        RegisterFontSubstitutes();
        instrument.Use(std::make_unique<SimulatedInstrument>(false));
        dialog = std::make_unique<CValdrixDlg>(instrument);
        dialog->Create(IDD_VALDRIX_DIALOG, nullptr);
        dialog->GetSafeHwnd()->show();
    } else {
        auto* tabs = new QTabWidget(&bare);
        for (int page = 0; page < 8; ++page) tabs->addTab(new QWidget, QString::number(page));
        (new QVBoxLayout(&bare))->addWidget(tabs);
        bare.resize(1034, 701);
        bare.show();
    }
    double elapsed = 0;
    QTimer::singleShot(0, [&] {
        elapsed = MillisSince(start);
        QApplication::quit();
    });
    QApplication::exec();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double sample[2] = {elapsed, static_cast<double>(usage.ru_maxrss)};
    return write(reportFd, sample, sizeof sample) == sizeof sample ? 0 : 1;
}

struct Sample {
    double millis;
    double peakKiB;
};

Sample Measure(char* self, bool panel) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execl(self, self, panel ? "panel" : "bare", fd.c_str(), "-platform", "offscreen", nullptr);
        _exit(127);
    }
    close(fds[1]);
    double sample[2] = {0, 0};
    const bool read = ::read(fds[0], sample, sizeof sample) == sizeof sample;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return read ? Sample{sample[0], sample[1]} : Sample{};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && (std::strcmp(argv[1], "panel") == 0 || std::strcmp(argv[1], "bare") == 0)) {
        return RunOnce(argc, argv, std::strcmp(argv[1], "panel") == 0, std::atoi(argv[2]));
    }
    std::vector<double> panelMs, bareMs, panelKiB, bareKiB;
    for (int i = 0; i < kSamples; ++i) {
        const Sample bare = Measure(argv[0], false);
        const Sample panel = Measure(argv[0], true);
        bareMs.push_back(bare.millis);
        bareKiB.push_back(bare.peakKiB);
        panelMs.push_back(panel.millis);
        panelKiB.push_back(panel.peakKiB);
    }
    const double timeRatio = Median(panelMs) / Median(bareMs);
    const double memoryRatio = Median(panelKiB) / Median(bareKiB);
    std::printf("start to idle: panel %.1f ms, bare dialog %.1f ms: %.2fx (target <= 1.5x)\n",
                Median(panelMs), Median(bareMs), timeRatio);
    std::printf("peak memory:   panel %.0f KiB, bare dialog %.0f KiB: %.2fx (target <= 1.3x)\n",
                Median(panelKiB), Median(bareKiB), memoryRatio);
    return timeRatio <= 1.5 && memoryRatio <= 1.3 ? 0 : 1;
}
