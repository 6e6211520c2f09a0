// What our USB layer adds to a write: Instrument::Write of a typical line through the libusb
// backend, against the bare libusb_bulk_transfer of the same bytes, both on a CH372 that
// umockdev emulates. The emulation's round trip dominates both; the difference is the cost of
// the device call, the backend and its checks. Run it under umockdev-run as CTest does
// (`ctest --test-dir build/ci -L bench -V` shows the command).
#include <benchmark/benchmark.h>
#include <libusb.h>

#include <memory>
#include <string>

#include "link/instrument.h"
#include "link/libusb_backend.h"

using namespace valdrix::link;

namespace {

constexpr std::uint16_t kVendor = 0x4348;
constexpr std::uint16_t kProduct = 0x5537;
constexpr unsigned char kBulkOut = 0x02;
// The Continuous page's direct line; the emulated chip's replay takes exactly this frame.
const std::string kFrame = std::string(BENCH_LINE) + "\n";

void Ch375WriteData(benchmark::State& state) {
    Instrument instrument(std::make_unique<LibusbBackend>());
    if (instrument.Open(false) != OpenResult::Opened) {
        state.SkipWithError(instrument.LastError().c_str());
        return;
    }
    for (auto _ : state) {
        auto length = static_cast<ULONG>(kFrame.size());
        if (!instrument.Write(kFrame.data(), &length)) {
            state.SkipWithError(instrument.LastError().c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFrame.size()));
}
BENCHMARK(Ch375WriteData)->Unit(benchmark::kMicrosecond);

void BareBulkTransfer(benchmark::State& state) {
    libusb_context* context = nullptr;
    libusb_init(&context);
    libusb_device_handle* handle = libusb_open_device_with_vid_pid(context, kVendor, kProduct);
    if (handle == nullptr || libusb_claim_interface(handle, 0) != 0) {
        state.SkipWithError("cannot open the emulated chip");
    } else {
        std::string frame = kFrame;
        auto* data = reinterpret_cast<unsigned char*>(frame.data());
        for (auto _ : state) {
            int transferred = 0;
            if (libusb_bulk_transfer(handle, kBulkOut, data, static_cast<int>(frame.size()),
                                     &transferred, kWriteTimeoutMs) != 0) {
                state.SkipWithError("the bulk transfer failed");
                break;
            }
        }
        state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(frame.size()));
        libusb_release_interface(handle, 0);
    }
    if (handle != nullptr) libusb_close(handle);
    libusb_exit(context);
}
BENCHMARK(BareBulkTransfer)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
