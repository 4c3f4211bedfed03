#include "interface/SysexPartSender.h"

#include <algorithm>

SysexPartSender::SysexPartSender (WirePacer& pacerToUse, std::size_t maxPartSizeToUse)
    : pacer (pacerToUse), maxPartSize (std::max<std::size_t> (1, maxPartSizeToUse))
{
}

bool SysexPartSender::send (const std::uint8_t* message, std::size_t size, const SendPart& sendPart)
{
    for (std::size_t offset = 0; offset < size;)
    {
        const auto partSize = std::min (maxPartSize, size - offset);
        bool accepted = false;

        pacer.start (partSize, [&] { accepted = sendPart (message + offset, partSize); });

        if (!accepted)
            return false;

        offset += partSize;
    }

    return true;
}
