// The whole of valdrix-cli but main(), on any argument vector and standard input, with a link
// that records every frame. Whatever the input: the exit status is 0, 1 or 2; a usage error
// writes nothing; every frame is printable ASCII ended by one 0x0A, 1023 bytes at most; and
// standard output lists exactly the frames written.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "pages/model/pause.h"

using namespace valdrix::cli;
using namespace valdrix::link;

namespace {

class FrameRecorder : public DeviceBackend {
public:
    explicit FrameRecorder(std::vector<std::string>& frames) : m_frames(frames) {}
    bool Open(ULONG) override { return true; }
    bool SetTimeout(ULONG, ULONG, ULONG) override { return true; }
    bool WriteData(ULONG, const void* buffer, ULONG* length) override {
        m_frames.emplace_back(static_cast<const char*>(buffer), *length);
        return true;
    }
    void Close(ULONG) override {}
    std::string LastError() const override { return {}; }

private:
    std::vector<std::string>& m_frames;
};

class NoPause : public valdrix::model::PauseClock {
public:
    void Sleep(unsigned) override {}
};

bool ValidFrame(const std::string& frame) {
    if (frame.empty() || frame.size() > 1023 || frame.back() != '\n') return false;
    for (std::size_t i = 0; i + 1 < frame.size(); ++i) {
        const auto byte = static_cast<unsigned char>(frame[i]);
        if (byte < 0x20 || byte > 0x7E) return false;
    }
    return true;
}

// Arguments are separated by zero bytes; a second zero byte in a row starts standard input.
void Split(const std::string& input, std::vector<std::string>& arguments, std::string& stdinText) {
    const std::size_t inputStart = input.find(std::string("\0\0", 2));
    const std::string args = input.substr(0, inputStart);
    if (inputStart != std::string::npos) stdinText = input.substr(inputStart + 2);
    std::size_t start = 0;
    for (std::size_t zero; (zero = args.find('\0', start)) != std::string::npos; start = zero + 1) {
        arguments.push_back(args.substr(start, zero - start));
    }
    arguments.push_back(args.substr(start));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NoPause noPause;
    valdrix::model::InstallPauseClock(&noPause);
    std::vector<std::string> arguments;
    std::string stdinText;
    Split(std::string(reinterpret_cast<const char*>(data), size), arguments, stdinText);
    // serve listens on a socket until a signal ends it, and list looks at the machine's real USB:
    // neither is a run of a moment on a recorded link.
    for (const char* ownWork : {"serve", "list"}) {
        if (std::find(arguments.begin(), arguments.end(), ownWork) != arguments.end()) return 0;
    }
    std::vector<std::string> frames;
    std::istringstream in(stdinText);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(arguments, in, out, err, [&frames](const LinkChoice&) {
        return std::make_unique<FrameRecorder>(frames);
    });
    if (status < 0 || status > 2) std::abort();
    if (status == 2 && !frames.empty()) std::abort();
    std::string listed;
    for (const std::string& frame : frames) {
        if (!ValidFrame(frame)) std::abort();
        listed += frame;
    }
    if (!frames.empty() && out.str() != listed) std::abort();
    return 0;
}
