#include "link/link_status.h"

#include <fmt/format.h>
#include <string_view>
#include <utility>

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

    bool Open(ULONG index) override {
        m_lastFrameFailed = false;
        return m_backend->Open(index);
    }
    bool SetTimeout(ULONG index, ULONG writeMs, ULONG readMs) override {
        return m_backend->SetTimeout(index, writeMs, readMs);
    }
    void Close(ULONG index) override { m_backend->Close(index); }
    std::string LastError() const override { return m_backend->LastError(); }
    std::string Advice() const override { return m_backend->Advice(); }

    bool WriteData(ULONG index, const void* buffer, ULONG* length) override {
        const ULONG wanted = *length;
        const bool lineEnd = wanted == 1 && *static_cast<const char*>(buffer) == '\n';
        const bool written = m_backend->WriteData(index, buffer, length);
        const bool whole = written && *length == wanted;
        // The line end that follows a cut-short line at once is part of that line's failure,
        // which stays the one named.
        const bool afterCut = std::exchange(m_lastFrameFailed, !whole && !lineEnd);
        WriteTally& tally = Tally();
        if (whole) {
            if (!lineEnd) ++tally.linesWritten;
            return written;
        }
        ++tally.failedWrites;
        if (lineEnd && afterCut) return written;
        tally.lastFailed = lineEnd ? std::string("the line end owed since an earlier send")
                                   : "\"" + LineOf(buffer, wanted) + "\"";
        tally.lastFailure = written ? fmt::format("only {} of {} bytes reached the instrument",
                                                  *length, wanted)
                                    : m_backend->LastError();
        return written;
    }

private:
    std::unique_ptr<DeviceBackend> m_backend;
    bool m_lastFrameFailed = false;
};

}  // namespace

const WriteTally& Writes() { return Tally(); }

std::unique_ptr<DeviceBackend> CountingWrites(std::unique_ptr<DeviceBackend> backend) {
    return std::make_unique<CountingBackend>(std::move(backend));
}

void UseLink(const LinkChoice& choice) {
    InstallDeviceBackend(CountingWrites(MakeBackend(choice)));
    KeepOwedLineEndsAcrossRuns(choice);
}

void DropLink() { InstallDeviceBackend(nullptr); }

}  // namespace valdrix::link
