#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace valdrix::cli {

// How one client of the bridge reaches it: the bytes of its lines come in, its answers go out.
// A raw socket connection is one; a VXI-11 link, which carries the same lines inside RPC calls,
// is another. The owner hears of a change from the event loop only, never from inside one of its
// own calls, so that it may act on the channel safely.
class ClientChannel {
public:
    virtual ~ClientChannel() = default;

    // The bytes received and not yet taken.
    virtual const std::string& Received() const = 0;
    virtual void Take(std::size_t bytes) = 0;
    // The client sends no more.
    virtual bool ReceiveEnded() const = 0;
    // Nothing more can be sent to the client.
    virtual bool Broken() const = 0;
    // Queues answers for the client.
    virtual void Send(std::string_view bytes) = 0;
    virtual std::size_t Unsent() const = 0;
    // Takes in what has arrived without waiting for the event loop.
    virtual void ReadNow() = 0;
};

}  // namespace valdrix::cli
