// The value boxes of the three windows that hold them (Profiles, the RAM segment window, OSK Control) as one
// kind of field: the same entry in a box of the same kind reads, clips and reports alike in every window.

#include "sweep_fixture.h"

#include "profiles/frm_profile.h"
#include "profiles/frm_qducrsr.h"

#include <functional>

namespace {

using namespace sweeptest;
using regtest::pasteAndEnter;

enum class Window { Profiles, RamSegment, OskControl };

const char* const kPhaseTitle = "Maximum Phase Offset Exceeded!!!";
const char* const kRateTitle = "Maximum Ramp Rate Time Exceeded!!!";
const char* const kClockTitle = "Invalid Parameter Passed";
const char* const kPhaseText =
    "The vaid range for the Phase Offset is 0.000 Deg to 359.995 Deg.\r\nThe value entered has been clipped!";
// With the 1000 MHz clock the longest time is 4 x 65535 / 1000 us; the RAM address step rates read from 0 up.
const char* const kStepRateText = "The vaid range for the Address Step Rate Time is 0.0000\u00B5s to "
                                  "262.14\u00B5s .\r\nThe value entered will be clipped!";
const char* const kSweepRateText = "The vaid range for the Amplitude Address Ramp Rate Time is "
                                   "262.1400\u00B5s to 0\u00B5s .\r\nThe value entered will be clipped!";
const char* const kClockText =
    "Invalid system clock value.\r\nA ramp rate time cannot be converted while the "
    "system clock is not a positive number; the ramp rate word stays as it is.";

struct Case {
    const char* name;
    Window window;
    const char* box; // the box's name; "(0)" for element 0 of an array
    const char* clock;
    const char* typed;
    const char* text; // the box afterwards; nullptr: as it was before
    uint64_t word;    // the field afterwards
    RegisterField field;
    const char* title; // nullptr: no message
    const char* message;
};

class ValueFieldKinds : public SweepWindowTest, public ::testing::WithParamInterface<Case> {
protected:
    ui::TextBox& open(const Case& c)
    {
        ui::Form* window = nullptr;
        switch (c.window) {
        case Window::Profiles: {
            // Single tone with the RAM enabled shows the RAM segment form, whose boxes include the step rate;
            // single tone without it the phase box.
            const bool ramForm = QString::fromLatin1(c.box).startsWith(QStringLiteral("txtRAMSeg"));
            setOperatingMode(1, ramForm);
            giRunMode = 4;
            frmProfile& profiles = ui::form<frmProfile>();
            profiles.Show();
            profiles.RefreshFormVals();
            window = &profiles;
            break;
        }
        case Window::RamSegment: {
            frmQDUCRSR& ram = ui::form<frmQDUCRSR>();
            ram.Show();
            ram.RefreshFormVals();
            window = &ram;
            break;
        }
        case Window::OskControl:
            window = &openSweep();
            break;
        }
        QString name = QString::fromLatin1(c.box);
        int index = -1;
        if (name.endsWith(QStringLiteral("(0)"))) {
            name.chop(3);
            index = 0;
        }
        auto* box = dynamic_cast<ui::TextBox*>(window->control(name, index));
        EXPECT_NE(box, nullptr) << c.box;
        return *box;
    }
};

TEST_P(ValueFieldKinds, EntryReadsClipsAndReportsAlikeInEveryWindow)
{
    const Case c = GetParam();
    setPendingField(c.field, 7);
    ui::TextBox& box = open(c);
    ASSERT_EQ(pendingField(c.field), 7u);
    const QString before = box.Text();
    setClock(QString::fromLatin1(c.clock));
    auto& messages = ui::testing::messageBoxes();
    if (c.title)
        messages.expect(QString::fromUtf8(c.message), ui::vbOK);
    pasteAndEnter(box, QString::fromUtf8(c.typed));
    EXPECT_EQ(box.Text(), c.text ? QString::fromUtf8(c.text) : before);
    EXPECT_EQ(pendingField(c.field), c.word);
    ASSERT_EQ(boxes().size(), c.title ? 1u : 0u);
    if (c.title) {
        EXPECT_EQ(boxes()[0].title, QString::fromLatin1(c.title));
    }
}

constexpr RegisterField kProfileRate{0x0E, 55, 40};
constexpr RegisterField kProfilePhase{0x0E, 47, 32};
constexpr RegisterField kProfileFreq{0x0E, 31, 0};
constexpr RegisterField kSegmentRate{0x05, 47, 32};

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueFieldKinds,
    ::testing::Values(
        // A pasted negative phase is clipped to 0 with the phase message.
        Case{"ProfilesNegativePhase", Window::Profiles, "txtPhaseOffsetST(0)", "1000", "-1", "0.000", 0,
             kProfilePhase, kPhaseTitle, kPhaseText},
        Case{"OskNegativePhase",
             Window::OskControl,
             "txtPhaseOffsetST",
             "1000",
             "-1",
             "0.000",
             0,
             {kPOW, 15, 0},
             kPhaseTitle,
             kPhaseText},
        Case{"OskPhaseAbove",
             Window::OskControl,
             "txtLSSweepPhase1",
             "400",
             "400",
             "359.995",
             65535,
             {kLSPR, 63, 48},
             kPhaseTitle,
             kPhaseText},
        // A pasted negative time is clipped to 0 with the ramp-rate message, worded once.
        Case{"ProfilesNegativeTime", Window::Profiles, "txtRAMSegAddrRampRate(0)", "1000", "-3", "0.0000", 0,
             kProfileRate, kRateTitle, kStepRateText},
        Case{"RamNegativeTime", Window::RamSegment, "txtRAMSegAddrRampRate(0)", "1000", "-3", "0.0000", 0,
             kSegmentRate, kRateTitle, kStepRateText},
        Case{"OskNegativeTime",
             Window::OskControl,
             "txtASKRR",
             "1000",
             "-3",
             "0.0000",
             0,
             {kASF, 31, 16},
             kRateTitle,
             kSweepRateText},
        Case{"ProfilesLongTime", Window::Profiles, "txtRAMSegAddrRampRate(0)", "1000", "300", "262.1400",
             65535, kProfileRate, kRateTitle, kStepRateText},
        Case{"RamLongTime", Window::RamSegment, "txtRAMSegAddrRampRate(0)", "1000", "300", "262.1400", 65535,
             kSegmentRate, kRateTitle, kStepRateText},
        Case{"OskLongTime",
             Window::OskControl,
             "txtASKRR",
             "1000",
             "300",
             "262.1400",
             65535,
             {kASF, 31, 16},
             kRateTitle,
             kSweepRateText},
        // A clock that converts nothing keeps the word and the text, and says why.
        Case{"ProfilesFrequencyNoClock", Window::Profiles, "txtOutFreqST(0)", "0", "5", nullptr, 7,
             kProfileFreq, kClockTitle, kClockText},
        Case{"ProfilesTimeNoClock", Window::Profiles, "txtRAMSegAddrRampRate(0)", "abc", "5", nullptr, 7,
             kProfileRate, kClockTitle, kClockText},
        Case{"RamTimeNoClock", Window::RamSegment, "txtRAMSegAddrRampRate(0)", "0", "5", nullptr, 7,
             kSegmentRate, kClockTitle, kClockText},
        Case{"OskFrequencyNoClock",
             Window::OskControl,
             "txtLSSweepFreq0",
             "-5",
             "5",
             nullptr,
             7,
             {kLSPR, 31, 0},
             kClockTitle,
             kClockText},
        Case{"OskTimeNoClock",
             Window::OskControl,
             "txtLSRisingRR",
             "0",
             "5",
             nullptr,
             7,
             {kLSRR, 15, 0},
             kClockTitle,
             kClockText},
        // Addresses and plain words: out of range they take their fallback without a word; the box shows
        // the word the register gets.
        Case{"ProfilesAddressHalf",
             Window::Profiles,
             "txtRAMSegBeginAddr(0)",
             "1000",
             "12.5",
             "12",
             12,
             {0x0E, 23, 14},
             nullptr,
             nullptr},
        Case{"RamAddressHalf",
             Window::RamSegment,
             "txtRAMSegBeginAddr(0)",
             "1000",
             "12.5",
             "12",
             12,
             {0x05, 15, 6},
             nullptr,
             nullptr},
        Case{"RamAddressNegative",
             Window::RamSegment,
             "txtRAMSegFinalAddr(0)",
             "1000",
             "-2",
             "0",
             0,
             {0x05, 31, 22},
             nullptr,
             nullptr},
        Case{"ProfilesCCIOutside",
             Window::Profiles,
             "txtCCIValQD(0)",
             "1000",
             "64",
             "2",
             2,
             {0x0E, 63, 58},
             nullptr,
             nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Leaving a box as it was shown commits nothing new: no message, even without a usable clock.
TEST_F(SweepWindowTest, LeavingAnUntouchedBoxSaysNothing)
{
    frmFreqAndSweep& sweep = openSweep();
    pasteAndEnter(sweep.txtOutFreqST, QStringLiteral("100"));
    setClock(QStringLiteral("0"));
    regtest::type(sweep.txtOutFreqST, QStringLiteral("\r"));
    EXPECT_EQ(sweep.txtOutFreqST.Text(), QStringLiteral("100.00000009"));
    EXPECT_EQ(pending(kFTW), 429496730u);
    EXPECT_TRUE(boxes().empty());
}

} // namespace
