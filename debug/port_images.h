#pragma once

// The register debug window's images of the board's port A, port E and CTL lines: read from the board,
// edited a line at a time, and sent back whole. The window shows a line per box; what a port holds and
// when it is sent is kept here.

#include "board/evalbd.h"

#include <array>
#include <cstdint>

class PortImages {
public:
    // The ports the window drives by hand, in the order it shows them.
    static constexpr std::array<int16_t, 3> kPorts = {kPortA, kPortE, kPortCtl};

    // Takes each port as the firmware answers it now (only while a board is selected). A port that cannot
    // be read keeps what the port buffer holds: a failed read taken as every line low would have Auto
    // Apply drive chip select and the reset lines low.
    void read(cZR4470XEvalBd& board, bool boardSelected);

    // The image of a port (0 for a port the window does not drive), and one line of it.
    uint8_t image(int16_t port) const;
    bool line(int16_t port, int bit) const;
    // Sets or clears one line of the image; the board is not told until `apply`.
    void setLine(int16_t port, int bit, bool on);
    // Puts the port's image into the board's port buffer and sends it.
    void apply(cZR4470XEvalBd& board, int16_t port) const;

private:
    // The place of a port in `kPorts`, -1 for one the window does not drive.
    static int indexOf(int16_t port);
    std::array<uint8_t, kPorts.size()> images_{};
};
