#pragma once

#include "interface/WirePacer.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// Hands one SysEx message to a port as consecutive parts of its raw bytes (F0 in the first part,
// F7 in the last, so the wire still carries one message), each held for its own wire time on the
// pacer's timeline. For ports that take a message only whole and only as long as it fits a buffer:
// no part outgrows the buffer, and each has left it before the next arrives.
class SysexPartSender final
{
public:
    // Hands one part to the port at once; false when the port refused it.
    using SendPart = std::function<bool (const std::uint8_t* data, std::size_t size)>;

    // The pacer is shared with the port's other sends, so parts and whole messages keep one timeline.
    SysexPartSender (WirePacer& pacer, std::size_t maxPartSize);

    // Sends the message in parts of at most maxPartSize bytes, each part once the previous one's
    // wire time has passed; returns with the last part handed over, its wire time still to come
    // (the pacer's finish waits for it). Stops at the first part the port refuses and returns
    // false (the rest would not make a whole message any more).
    bool send (const std::uint8_t* message, std::size_t size, const SendPart& sendPart);

private:
    WirePacer& pacer;
    const std::size_t maxPartSize;
};
