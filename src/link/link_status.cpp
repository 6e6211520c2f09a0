#include "link/link_status.h"

#include <fmt/format.h>
#include <string_view>

#include "link/ch375.h"

namespace valdrix::link {

namespace {

WriteTally& Tally() {
    static WriteTally tally;
    return tally;
}

std::string LineOf(const void* frame, ULONG length) {
    std::string_view line(static_cast<const char*>(frame), length);
    if (line.ends_with('\n')) line.remove_suffix(1);
    return std::string(line);
}

class CountingBackend : public DeviceBackend {
public:
    explicit CountingBackend(std::unique_ptr<DeviceBackend> backend)
        : m_backend(std::move(backend)) {}

    bool Open(ULONG index) override { return m_backend->Open(index); }
    bool SetTimeout(ULONG index, ULONG writeMs, ULONG readMs) override {
        return m_backend->SetTimeout(index, writeMs, readMs);
    }
    void Close(ULONG index) override { m_backend->Close(index); }
    std::string LastError() const override { return m_backend->LastError(); }
    std::string Advice() const override { return m_backend->Advice(); }

    bool WriteData(ULONG index, const void* buffer, ULONG* length) override {
        const ULONG wanted = *length;
        const bool written = m_backend->WriteData(index, buffer, length);
        WriteTally& tally = Tally();
        if (written && *length == wanted) {
            ++tally.linesWritten;
            return written;
        }
        ++tally.failedWrites;
        tally.lastFailedLine = LineOf(buffer, wanted);
        tally.lastFailure = written ? fmt::format("only {} of {} bytes reached the instrument",
                                                  *length, wanted)
                                    : m_backend->LastError();
        return written;
    }

private:
    std::unique_ptr<DeviceBackend> m_backend;
};

}  // namespace

const WriteTally& Writes() { return Tally(); }

std::unique_ptr<DeviceBackend> CountingWrites(std::unique_ptr<DeviceBackend> backend) {
    return std::make_unique<CountingBackend>(std::move(backend));
}

void UseLink(const LinkChoice& choice) { InstallDeviceBackend(CountingWrites(MakeBackend(choice))); }

void DropLink() { InstallDeviceBackend(nullptr); }

}  // namespace valdrix::link
