// The driver's pipe-information layout as the USB object reads it, and which pipes may move data which way.

#include "board/ezusb_requests.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace ezusbreq;

TEST(EzusbRequests, PipeInformationLayout)
{
    std::array<uint8_t, usb::kPipeInfoSize> info{};
    // Six pipes: the count is a 32-bit little-endian number; each record carries its endpoint address.
    info[kPipeCountOffset] = 6;
    info[kPipeCountOffset + 1] = 0x01; // 262: the count's upper bytes are read too
    const uint8_t endpoints[6] = {0x01, 0x81, 0x02, 0x06, 0x84, 0x88};
    for (int pipe = 0; pipe < 6; ++pipe)
        info[kPipeRecordsStart + kPipeRecordSize * pipe + kEndpointOffset] = endpoints[pipe];
    EXPECT_EQ(pipeCount(info.data()), 262U);
    for (int pipe = 0; pipe < 6; ++pipe)
        EXPECT_EQ(pipeEndpoint(info.data(), pipe), endpoints[pipe]) << pipe;
    EXPECT_EQ(pipeEndpoint(info.data(), kMaxPipes - 1), 0) << "the last record lies inside the buffer";
    static_assert(kPipeRecordsStart + kPipeRecordSize * kMaxPipes == usb::kPipeInfoSize);
}

TEST(EzusbRequests, EndpointDirections)
{
    struct Case {
        uint8_t endpoint;
        bool in;
    };
    for (const Case& c : {Case{0x00, false}, Case{0x01, false}, Case{0x7F, false}, Case{0x80, false},
                          Case{0x81, true}, Case{0x86, true}, Case{0xFF, true}})
        EXPECT_EQ(isInEndpoint(c.endpoint), c.in) << int(c.endpoint);
}

TEST(EzusbRequests, EachPipeMovesDataOnlyItsOwnWay)
{
    struct Case {
        int32_t pipe;
        bool readFits;
        bool writeFits;
    };
    const Case cases[] = {
        {0, false, true},                   // commands
        {1, true, false},                   // replies
        {2, true, true},                    // not used by the firmware: either way
        {3, false, true},                   // serial and FIFO data
        {4, true, true},  {5, true, false}, // read-back words
        {16, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pipeDirectionFits(c.pipe, true), c.readFits) << "read on pipe " << c.pipe;
        EXPECT_EQ(pipeDirectionFits(c.pipe, false), c.writeFits) << "write on pipe " << c.pipe;
    }
}

} // namespace
