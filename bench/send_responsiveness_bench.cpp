// How long the event loop stands still while a send with a 500 ms pause runs, with the real
// clock and the file link: the longest gap between the ticks of a 5 ms timer, once while the
// sender's worker runs the send and the reports come back as queued calls, and once, as the
// reference, while the same send runs on the event loop's own thread.
// Target: the longest gap during the send under 50 ms, against about 500 ms for the reference.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "link/file_backend.h"
#include "link/instrument.h"
#include "pages/model/paced_sender.h"

using namespace valdrix::link;

using namespace valdrix::model;

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

const CommandSequence kSequence = {{"FUNCtion SINusoid", {}, {500}}, {"OUTPut ON", {}, {}}};

// Ticks every 5 ms and keeps the longest gap between two ticks.
class Ticker {
public:
    Ticker() {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const auto now = Clock::now();
            m_longest = std::max(m_longest, Millis(now - m_last).count());
            m_last = now;
        });
        m_timer.start(5);
    }
    double Longest() const { return m_longest; }

private:
    QTimer m_timer;
    Clock::time_point m_last = Clock::now();
    double m_longest = 0;
};

double LongestGapThroughTheSender(Instrument& instrument) {
    PacedSender sender(instrument);
    Ticker ticker;
    bool ended = false;
    QObject context;
    sender.Queue(kSequence, {}, [&](const SendReport&) {
        QMetaObject::invokeMethod(
            &context, [&ended] { ended = true; }, Qt::QueuedConnection);
    });
    while (!ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return ticker.Longest();
}

double LongestGapOnTheEventLoop(Instrument& instrument) {
    Ticker ticker;
    QTimer::singleShot(20, [&instrument] { SendSequence(instrument, kSequence); });
    QTimer::singleShot(700, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    return ticker.Longest();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    Instrument instrument(
        std::make_unique<FileBackend>(folder.filePath("frames.bin").toStdString()));
    if (instrument.Open(false) != OpenResult::Opened) return 1;
    const double throughSender = LongestGapThroughTheSender(instrument);
    const double onTheLoop = LongestGapOnTheEventLoop(instrument);
    std::printf("longest event loop gap during a send with a 500 ms pause (ms): %.1f\n",
                throughSender);
    std::printf("the same send on the event loop's thread, for reference (ms): %.1f\n", onTheLoop);
    const bool met = throughSender < 50;
    std::printf("the event loop runs during the pause: %s\n", met ? "met" : "NOT MET");
    return met ? 0 : 1;
}
