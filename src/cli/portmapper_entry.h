#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace valdrix::cli {

// A TCP program's entry in this machine's portmapper (rpcbind), through which VISA tools find
// a VXI-11 device; removed when this goes. A crash leaves the entry behind: the next start
// finds nobody serving it and replaces it.
class PortmapperEntry {
public:
    struct Registration {
        std::unique_ptr<PortmapperEntry> entry;  // nothing when not registered
        std::string why;                         // why not, for the log
    };
    // Whether the program can be registered at all: a portmapper runs and no live server holds
    // the entry. Empty when it can; else why not, for the log.
    static std::string WhyNotAvailable(std::uint32_t program, std::uint32_t version);
    static Registration Register(std::uint32_t program, std::uint32_t version, std::uint16_t port);
    ~PortmapperEntry();
    PortmapperEntry(const PortmapperEntry&) = delete;
    PortmapperEntry& operator=(const PortmapperEntry&) = delete;

private:
    PortmapperEntry(std::uint32_t program, std::uint32_t version)
        : m_program(program), m_version(version) {}

    std::uint32_t m_program;
    std::uint32_t m_version;
};

}  // namespace valdrix::cli
