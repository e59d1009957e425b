#pragma once

namespace quorvel {

// The kinds of WAVE data that the reader tells apart and the writer produces.
enum TWavType {
    wtUnsupported = 0,
    wtPCM = 1,
    wtDVIADPCM = 2,
    wtMSADPCM = 3,
    wtACM = 4,
    wtIEEEFloat = 5,
    wtExtPCM = 6,
    wtExtIEEEFloat = 7
};

}  // namespace quorvel
