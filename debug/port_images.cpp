#include "debug/port_images.h"

#include "board/bit_helpers.h"

int PortImages::indexOf(int16_t port)
{
    for (size_t k = 0; k < kPorts.size(); ++k)
        if (kPorts[k] == port)
            return static_cast<int>(k);
    return -1;
}

void PortImages::read(cZR4470XEvalBd& board, bool boardSelected)
{
    for (size_t k = 0; k < kPorts.size(); ++k) {
        const std::optional<uint8_t> fetched = boardSelected ? board.FetchPortValue(kPorts[k]) : std::nullopt;
        images_[k] = fetched.value_or(static_cast<uint8_t>(board.USBGetPortBuffVal(kPorts[k])));
    }
}

uint8_t PortImages::image(int16_t port) const
{
    const int k = indexOf(port);
    return k < 0 ? uint8_t{0} : images_[static_cast<size_t>(k)];
}

bool PortImages::line(int16_t port, int bit) const
{
    return ebTestBit(image(port), static_cast<int16_t>(bit)) == 1;
}

void PortImages::setLine(int16_t port, int bit, bool on)
{
    const int k = indexOf(port);
    if (k >= 0)
        images_[static_cast<size_t>(k)] =
            ebSetBit(images_[static_cast<size_t>(k)], static_cast<int16_t>(bit), on);
}

void PortImages::apply(cZR4470XEvalBd& board, int16_t port) const
{
    if (indexOf(port) < 0)
        return;
    board.USBSetPortBuffVal(port, image(port));
    board.USBWritePortBuffVal(port);
}
