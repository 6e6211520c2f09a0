#include "link/ch375.h"

#include "link/owed_line_end.h"

#include <optional>
#include <set>
#include <utility>

namespace valdrix::link {

namespace {

struct Link {
    std::unique_ptr<DeviceBackend> backend;
    std::set<ULONG> openDevices;
    // Devices that hold the start of a line cut short: the next frame must end it first.
    std::set<ULONG> owingLineEnd;
    // Where the installed link keeps a line end it owes across runs, when it does.
    std::optional<OwedLineEndMarker> marker;
};

Link& TheLink() {
    static Link link;
    return link;
}

constexpr char kNoBackend[] = "no instrument link is configured";

}  // namespace

HANDLE CH375OpenDevice(ULONG index) {
    Link& link = TheLink();
    if (!link.backend || !link.backend->Open(index)) return INVALID_HANDLE_VALUE;
    link.openDevices.insert(index);
    return static_cast<HANDLE>(index);
}

bool CH375SetTimeout(ULONG index, ULONG writeTimeoutMs, ULONG readTimeoutMs) {
    Link& link = TheLink();
    return link.backend && link.backend->SetTimeout(index, writeTimeoutMs, readTimeoutMs);
}

bool CH375WriteData(ULONG index, const void* buffer, ULONG* length) {
    Link& link = TheLink();
    return link.backend && link.backend->WriteData(index, buffer, length);
}

void CH375CloseDevice(ULONG index) {
    Link& link = TheLink();
    if (link.backend) link.backend->Close(index);
    link.openDevices.erase(index);
}

bool CH375IsDeviceOpen(ULONG index) { return TheLink().openDevices.count(index) != 0; }

std::string CH375LastError() {
    const Link& link = TheLink();
    return link.backend ? link.backend->LastError() : kNoBackend;
}

bool CH375OwesLineEnd(ULONG index) {
    const Link& link = TheLink();
    return link.owingLineEnd.count(index) != 0 || (link.marker && link.marker->Exists());
}

std::optional<std::string> CH375SetOwesLineEnd(ULONG index, bool owes) {
    Link& link = TheLink();
    if (owes) {
        link.owingLineEnd.insert(index);
    } else {
        link.owingLineEnd.erase(index);
    }
    return link.marker ? link.marker->Set(owes) : std::nullopt;
}

void KeepOwedLineEndsAcrossRuns(const LinkChoice& choice) { TheLink().marker.emplace(choice); }

std::string InstrumentAdvice() {
    const Link& link = TheLink();
    return link.backend ? link.backend->Advice() : DeviceBackend::kUsbAdvice;
}

std::unique_ptr<DeviceBackend> InstallDeviceBackend(std::unique_ptr<DeviceBackend> backend) {
    Link& link = TheLink();
    link.openDevices.clear();
    link.owingLineEnd.clear();
    link.marker.reset();
    return std::exchange(link.backend, std::move(backend));
}

}  // namespace valdrix::link
