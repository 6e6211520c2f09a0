#pragma once

#include <string>

#include "link/device_backend.h"

// A link that cannot be had on this build or machine: every open fails with the reason given.
class UnavailableBackend : public DeviceBackend {
public:
    explicit UnavailableBackend(std::string reason) : m_reason(std::move(reason)) {}

    bool Open(ULONG) override { return false; }
    bool SetTimeout(ULONG, ULONG, ULONG) override { return false; }
    bool WriteData(ULONG, const void*, ULONG* length) override {
        *length = 0;
        return false;
    }
    void Close(ULONG) override {}
    std::string LastError() const override { return m_reason; }

private:
    std::string m_reason;
};
