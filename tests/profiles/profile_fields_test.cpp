#include "profile_fixture.h"
#include "qstring_print.h"

#include "board/globals.h"
#include "profiles/box_edit_dialogs.h"
#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/register_windows.h"
#include "shell/mdi_main.h"

#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace profiletest;

constexpr int kProfile = 1;
constexpr int16_t kRegister = 0x0F;
// Every bit set but the ones a field case writes, so that a splice that touches its neighbours shows.
constexpr uint64_t kBackground = 0x5A5A5A5A5A5A5A5AULL;

enum class Field {
    FreqQD,
    FreqST,
    PhaseQD,
    PhaseST,
    Amplitude,
    OutputScale,
    CCIRate,
    BeginAddr,
    FinalAddr,
    RampRate
};

struct FieldBits {
    int hi;
    int lo;
};

FieldBits bitsOf(Field field)
{
    switch (field) {
    case Field::FreqQD:
    case Field::FreqST:
        return {31, 0};
    case Field::PhaseQD:
    case Field::PhaseST:
        return {47, 32};
    case Field::Amplitude:
        return {61, 48};
    case Field::OutputScale:
        return {55, 48};
    case Field::CCIRate:
        return {63, 58};
    case Field::BeginAddr:
        return {23, 14};
    case Field::FinalAddr:
        return {39, 30};
    case Field::RampRate:
        return {55, 40};
    }
    return {0, 0};
}

ui::TextBox& boxOf(frmProfile& w, Field field, int n)
{
    switch (field) {
    case Field::FreqQD:
        return w.txtOutFreqQD(n);
    case Field::FreqST:
        return w.txtOutFreqST(n);
    case Field::PhaseQD:
        return w.txtPhaseOffsetQD(n);
    case Field::PhaseST:
        return w.txtPhaseOffsetST(n);
    case Field::Amplitude:
        return w.txtAmpScaleST(n);
    case Field::OutputScale:
        return w.txtOSFValQD(n);
    case Field::CCIRate:
        return w.txtCCIValQD(n);
    case Field::BeginAddr:
        return w.txtRAMSegBeginAddr(n);
    case Field::FinalAddr:
        return w.txtRAMSegFinalAddr(n);
    case Field::RampRate:
        return w.txtRAMSegAddrRampRate(n);
    }
    return w.txtOutFreqQD(n);
}

class ProfileFields : public ProfileWindowTest {
protected:
    frmProfile* w = nullptr;

    // Shows the form that holds the field.
    void showFormOf(Field field)
    {
        switch (field) {
        case Field::FreqST:
        case Field::PhaseST:
        case Field::Amplitude:
            setOperatingMode(1);
            break;
        case Field::BeginAddr:
        case Field::FinalAddr:
        case Field::RampRate:
            setOperatingMode(1, true);
            giRunMode = 4;
            break;
        default:
            setOperatingMode(0);
            break;
        }
        w = &openShown();
        w->RefreshFormVals();
    }

    uint64_t expectedRegister(Field field, uint64_t word) const
    {
        const FieldBits b = bitsOf(field);
        const uint64_t mask = ((uint64_t{1} << (b.hi - b.lo + 1)) - 1) << b.lo;
        return (kBackground & ~mask) | ((word << b.lo) & mask);
    }
};

// ---- every field's clip and reset ----

struct EntryCase {
    const char* name;
    Field field;
    const char* input;
    bool pasted;       // past the key filters
    const char* shown; // the text afterwards
    uint64_t word;     // the field's bits afterwards
    const char* title; // the information box's title, or nullptr for none
};

std::ostream& operator<<(std::ostream& out, const EntryCase& c)
{
    return out << c.name;
}

class FieldEntry : public ProfileFields, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(FieldEntry, ClipsOrResetsAndSplicesTheWordIntoItsBits)
{
    const EntryCase c = GetParam();
    setPending(kRegister, kBackground);
    showFormOf(c.field);
    ui::TextBox& box = boxOf(*w, c.field, kProfile);
    if (c.title)
        ui::testing::messageBoxes().answer(ui::vbOK);
    if (c.pasted)
        pasteAndEnter(box, QString::fromUtf8(c.input));
    else
        retype(box, QString::fromUtf8(c.input) + QStringLiteral("\r"));
    EXPECT_EQ(box.Text(), QString::fromUtf8(c.shown));
    EXPECT_EQ(pending(kRegister), expectedRegister(c.field, c.word))
        << "field "
        << ((pending(kRegister) >> bitsOf(c.field).lo) &
            ((uint64_t{1} << (bitsOf(c.field).hi - bitsOf(c.field).lo + 1)) - 1));
    const auto& boxes = ui::testing::messageBoxes().shown;
    if (c.title) {
        ASSERT_EQ(boxes.size(), 1U);
        EXPECT_EQ(boxes[0].title, QString::fromUtf8(c.title));
        EXPECT_EQ(boxes[0].buttons, ui::vbOKOnly | ui::vbInformation);
    } else {
        EXPECT_TRUE(boxes.empty()) << boxes.front().prompt.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldEntry,
    ::testing::Values(
        EntryCase{"FrequencyQuantised", Field::FreqQD, "100", false, "100.00000009", 429496730, nullptr},
        EntryCase{"FrequencySingleTone", Field::FreqST, "500", false, "500.00000000", 2147483648ULL, nullptr},
        EntryCase{"FrequencyAtTheClock", Field::FreqQD, "1000", false, "999.99999977", 4294967295ULL,
                  "Output Frequency to High!!!"},
        // Rounds to 2^32, which the 32 bits would hold as 0 Hz: the highest word instead.
        EntryCase{"FrequencyJustBelowTheClock", Field::FreqST, "999.9999999", false, "999.99999977",
                  4294967295ULL, nullptr},
        EntryCase{"FrequencyNotANumber", Field::FreqQD, "1-2", true, "0.00000000", 0, nullptr},
        EntryCase{"FrequencyNegative", Field::FreqQD, "-5", true, "0.00000000", 0, nullptr},
        EntryCase{"FrequencyBeyondItsType", Field::FreqQD, "1e400", true, "999.99999977", 4294967295ULL,
                  "Output Frequency to High!!!"},
        EntryCase{"PhaseRight", Field::PhaseQD, "90", false, "90.000", 16384, nullptr},
        EntryCase{"PhaseShownMaximum", Field::PhaseST, "359.995", false, "359.995", 65535, nullptr},
        EntryCase{"PhaseFullTurn", Field::PhaseQD, "360", false, "359.995", 65535,
                  "Maximum Phase Offset Exceeded!!!"},
        EntryCase{"PhaseBelowHalfAStep", Field::PhaseST, "0.0027", false, "0.000", 0, nullptr},
        EntryCase{"PhaseNegative", Field::PhaseQD, "-10", true, "0.000", 0,
                  "Maximum Phase Offset Exceeded!!!"},
        EntryCase{"PhaseNotANumber", Field::PhaseST, "x", true, "0.000", 0, nullptr},
        EntryCase{"AmplitudeHalf", Field::Amplitude, "0.5", false, "0.50000", 8192, nullptr},
        EntryCase{"AmplitudeFullScaleClippedSilently", Field::Amplitude, "1", false, "0.99994", 16383,
                  nullptr},
        EntryCase{"AmplitudeNegative", Field::Amplitude, "-0.5", true, "0.00000", 0, nullptr},
        EntryCase{"AmplitudeBeyondItsType", Field::Amplitude, "1e999", true, "0.99994", 16383, nullptr},
        EntryCase{"OutputScaleOneAndAHalf", Field::OutputScale, "1.5", false, "1.5000000", 192, nullptr},
        EntryCase{"OutputScaleTwoClippedSilently", Field::OutputScale, "2", false, "1.9921875", 255, nullptr},
        EntryCase{"OutputScaleTruncated", Field::OutputScale, "1.99", false, "1.9843750", 254, nullptr},
        EntryCase{"OutputScaleNotANumber", Field::OutputScale, "junk", true, "0.0000000", 0, nullptr},
        EntryCase{"CCIRateTooHigh", Field::CCIRate, "64", false, "2", 2, nullptr},
        EntryCase{"CCIRateZero", Field::CCIRate, "0", false, "2", 2, nullptr},
        EntryCase{"CCIRateHighest", Field::CCIRate, "63", false, "63", 63, nullptr},
        EntryCase{"CCIRateFractionUp", Field::CCIRate, ".6", true, "1", 1, nullptr},
        EntryCase{"CCIRateHalfTiesToEvenZero", Field::CCIRate, ".5", true, "2", 2, nullptr},
        EntryCase{"CCIRateNegative", Field::CCIRate, "-1", true, "2", 2, nullptr},
        EntryCase{"BeginAddressTooHigh", Field::BeginAddr, "1024", false, "0", 0, nullptr},
        EntryCase{"BeginAddressHighest", Field::BeginAddr, "1023", false, "1023", 1023, nullptr},
        EntryCase{"BeginAddressFractionTiesToEven", Field::BeginAddr, "12.5", true, "12", 12, nullptr},
        EntryCase{"FinalAddressFractionTiesToEven", Field::FinalAddr, "13.5", true, "14", 14, nullptr},
        EntryCase{"BeginAddressNegative", Field::BeginAddr, "-3", true, "0", 0, nullptr},
        EntryCase{"FinalAddress", Field::FinalAddr, "17", false, "17", 17, nullptr},
        EntryCase{"FinalAddressNotANumber", Field::FinalAddr, "1-", true, "0", 0, nullptr},
        EntryCase{"RampRateOneMicrosecond", Field::RampRate, "1", false, "1.0000", 250, nullptr},
        EntryCase{"RampRateOneWord", Field::RampRate, "0.004", false, "0.0040", 1, nullptr},
        EntryCase{"RampRateTooLong", Field::RampRate, "300", false, "262.1400", 65535,
                  "Maximum Ramp Rate Time Exceeded!!!"},
        EntryCase{"RampRateNegative", Field::RampRate, "-1", true, "0.0000", 0,
                  "Maximum Ramp Rate Time Exceeded!!!"},
        EntryCase{"RampRateNotANumber", Field::RampRate, "..", true, "0.0000", 0, nullptr}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

TEST_F(ProfileFields, ClippingMessagesSayWhatTheRangeIs)
{
    showFormOf(Field::FreqQD);
    ui::testing::messageBoxes().answer({ui::vbOK, ui::vbOK});
    retype(w->txtOutFreqQD(0), QStringLiteral("1200\r"));
    retype(w->txtPhaseOffsetQD(0), QStringLiteral("400\r"));
    const auto& boxes = ui::testing::messageBoxes().shown;
    ASSERT_EQ(boxes.size(), 2U);
    EXPECT_EQ(boxes[0].prompt, QStringLiteral("The DDS output frequency can not exceed the system clock."));
    EXPECT_EQ(boxes[1].prompt,
              QStringLiteral("The vaid range for the Phase Offset is 0.000 Deg to 359.995 Deg.\r\n"
                             "The value entered has been clipped!"));
}

TEST_F(ProfileFields, LeavingABoxValidatesItAndSendsTheFocusToLoad)
{
    showFormOf(Field::FreqQD);
    ui::TextBox& box = w->txtOutFreqQD(2);
    retype(box, QStringLiteral("250"));
    ASSERT_TRUE(box.hasFocus());
    // The click on another box validates this one, whose validation sends the focus to LOAD.
    w->txtPhaseOffsetQD(2).SetFocus();
    EXPECT_EQ(box.Text(), QStringLiteral("250.00000000"));
    EXPECT_EQ(box.Tag, QStringLiteral("1073741824"));
    EXPECT_EQ(pendingField(0x10, 31, 0), 1073741824U);
    EXPECT_TRUE(w->cmdLoad.hasFocus());
    // The count and address boxes keep the focus.
    retype(w->txtCCIValQD(2), QStringLiteral("7\r"));
    EXPECT_TRUE(w->txtCCIValQD(2).hasFocus());
    EXPECT_EQ(pendingField(0x10, 63, 58), 7U);
}

TEST_F(ProfileFields, FrequencyKeysRefuseSignsExponentsAndASecondSeparator)
{
    showFormOf(Field::FreqQD);
    ui::TextBox& box = w->txtOutFreqQD(0);
    retype(box, QStringLiteral("-1e2.5.+3"));
    EXPECT_EQ(box.Text(), QStringLiteral("12.53"));
    // The phase box takes an exponent (it has no rule against it), but no sign either.
    retype(w->txtPhaseOffsetQD(0), QStringLiteral("-1e1"));
    EXPECT_EQ(w->txtPhaseOffsetQD(0).Text(), QStringLiteral("1E1"));
    type(w->txtPhaseOffsetQD(0), QStringLiteral("\r"));
    EXPECT_EQ(w->txtPhaseOffsetQD(0).Text(), QStringLiteral("9.998"));
}

TEST_F(ProfileFields, FrequencyBoxLetsOneMoreIntegerDigitInFrontOfTheSeparator)
{
    showFormOf(Field::FreqQD);
    ui::TextBox& box = w->txtOutFreqQD(0);
    retype(box, QStringLiteral("5\r"));
    ASSERT_EQ(box.Text(), QStringLiteral("4.99999989"));
    EXPECT_EQ(box.MaxLength(), 10);
    clickInto(box);
    box.setSelStart(0);
    box.setSelLength(0);
    type(box, QStringLiteral("1"));
    EXPECT_EQ(box.Text(), QStringLiteral("14.99999989"));
    EXPECT_EQ(box.MaxLength(), 11);
}

// ---- spin bars ----

TEST_F(ProfileFields, AmplitudeSpinWrapsAndWritesTheProfileToTheChipAtOnce)
{
    plugBoard();
    setOperatingMode(1);
    setPendingField(0x12, 61, 48, 16383);
    w = &open();
    const int updatesBefore = chip().ioUpdateCount();
    clearTraffic();
    w->vscAmpScaleSpinST(4).stepUp();
    EXPECT_EQ(w->txtAmpScaleST(4).Text(), QStringLiteral("0.00000"));
    EXPECT_EQ(w->txtAmpScaleST(4).Tag, QStringLiteral("0"));
    EXPECT_EQ(w->vscAmpScaleSpinST(4).Value(), 0);
    EXPECT_EQ(pendingField(0x12, 61, 48), 0U);
    EXPECT_EQ(written(0x12), pending(0x12));
    EXPECT_EQ(chip().activeRegister(0x12), pending(0x12));
    EXPECT_EQ(chip().ioUpdateCount(), updatesBefore + 1);
    // No LOAD was pressed: the other registers went nowhere.
    EXPECT_EQ(chip().completedWrites(), 1);
}

TEST_F(ProfileFields, PhaseSpinStepsByItsStepBoxAndWrapsBelowZero)
{
    setOperatingMode(1);
    w = &open();
    w->txtPhOSpinStepST(6).setText(QStringLiteral("3"));
    w->vscPhaseOSpinST(6).stepDown();
    EXPECT_EQ(w->txtPhaseOffsetST(6).Tag, QStringLiteral("65533"));
    EXPECT_EQ(w->txtPhaseOffsetST(6).Text(), QStringLiteral("359.984"));
    EXPECT_EQ(pendingField(0x14, 47, 32), 65533U);
    w->vscPhaseOSpinST(6).stepUp();
    EXPECT_EQ(pendingField(0x14, 47, 32), 0U);
    // An empty step box steps nothing.
    w->txtPhOSpinStepST(6).setText(QString());
    w->vscPhaseOSpinST(6).stepUp();
    EXPECT_EQ(pendingField(0x14, 47, 32), 0U);
    EXPECT_EQ(w->vscPhaseOSpinST(6).Value(), 0);
}

// ---- check boxes and lists ----

TEST_F(ProfileFields, CheckBoxesAndTheModeListWriteTheirBits)
{
    frmProfile& win = open();
    win.chkSpectralInvQD(3).setValue(1);
    win.chkInvCCIQD(3).setValue(1);
    win.chkRAMZeroCrossing(3).setValue(1);
    win.chkRAMNoDwellActive(3).setValue(1);
    win.cmbRAMSegModeControl(3).setListIndex(3);
    EXPECT_EQ(pendingField(0x11, 57, 56), 3U);
    EXPECT_EQ(pendingField(0x11, 5, 5), 1U);
    EXPECT_EQ(pendingField(0x11, 3, 3), 1U);
    EXPECT_EQ(pendingField(0x11, 2, 0), 3U);
    win.chkRAMNoDwellActive(3).setValue(0);
    EXPECT_EQ(pendingField(0x11, 5, 5), 0U);

    win.chkEnableSineOut.setValue(1);
    win.chkClearCCI.setValue(1);
    win.chkInvSincEn.setValue(1);
    win.chkQFirstData.setValue(1);
    EXPECT_EQ(pendingField(0x00, 22, 21), 3U);
    EXPECT_EQ(pendingField(0x00, 16, 16), 1U);
    EXPECT_EQ(pendingField(0x01, 8, 8), 1U);
}

// ---- edit dialogs ----

TEST_F(ProfileFields, CancelledFrequencyDialogLeavesTheRegister)
{
    setPending(0x0E, kBackground);
    showFormOf(Field::FreqQD);
    ui::testing::onModal<frmEditOutFreq>([](frmEditOutFreq& dialog) { dialog.CancelButton.click(); });
    doubleClick(w->txtOutFreqQD(0));
    EXPECT_EQ(ui::testing::modalShows(), QStringList{QStringLiteral("frmEditOutFreq")});
    EXPECT_EQ(pending(0x0E), kBackground);
}

TEST_F(ProfileFields, AfterOkInTheFrequencyDialogTheFieldShowsNoPartialSelection)
{
    showFormOf(Field::FreqQD);
    ui::TextBox& box = w->txtOutFreqQD(0);
    box.setText(QStringLiteral("1.5"));
    box.setSelStart(0);
    box.setSelLength(3); // the whole of the old, shorter text
    ui::testing::onModal<frmEditOutFreq>([](frmEditOutFreq& dialog) {
        dialog.txtOutputFreqVal.setText(QStringLiteral("123.456789"));
        dialog.OKButton.click();
    });
    doubleClick(box);
    ASSERT_GT(box.Text().size(), 3);
    // The focus has gone on to LOAD: the field shows either no selection or the whole new text.
    const bool whole = box.SelStart() == 0 && box.SelLength() == box.Text().size();
    EXPECT_TRUE(box.SelLength() == 0 || whole) << box.Text().toStdString() << " selected from "
                                               << box.SelStart() << ", " << box.SelLength() << " characters";
}

TEST_F(ProfileFields, PhaseDialogStoresItsWordIntoTheRegisterAsItIsAfterTheDialog)
{
    showFormOf(Field::PhaseST);
    ui::testing::onModal<frmEditPhaseOffset1>([this](frmEditPhaseOffset1& dialog) {
        QApplication::setActiveWindow(dialog.frameWidget()->window());
        // Something else changes the same profile while the dialog is open.
        setPendingField(0x13, 31, 0, 12345);
        retype(dialog.txtDecVal, QStringLiteral("16384\r"));
        dialog.cmdOK.click();
    });
    doubleClick(w->txtPhaseOffsetST(5));
    EXPECT_EQ(w->txtPhaseOffsetST(5).Text(), QStringLiteral("90.000"));
    EXPECT_EQ(pendingField(0x13, 47, 32), 16384U);
    EXPECT_EQ(pendingField(0x13, 31, 0), 12345U);
    // Back in the window, LOAD has the focus.
    QApplication::setActiveWindow(mdi->frameWidget()->window());
    EXPECT_TRUE(w->cmdLoad.hasFocus());
}

TEST_F(ProfileFields, ScaleAndRampRateDoubleClicksOpenTheirDialogsAndCancelKeepsTheRegister)
{
    RegisterProfilesWindows();
    for (const QString& name :
         {QStringLiteral("frmEditOSF"), QStringLiteral("frmEditOSF_QM"), QStringLiteral("frmEditRAMAddrRR")})
        ui::testing::onModal(name, [](ui::Form& dialog) { dialog.Unload(); });
    setPending(0x0E, kBackground);
    showFormOf(Field::Amplitude);
    doubleClick(w->txtAmpScaleST(0));
    showFormOf(Field::OutputScale);
    doubleClick(w->txtOSFValQD(0));
    doubleClick(w->txtCCIValQD(0));
    showFormOf(Field::RampRate);
    doubleClick(w->txtRAMSegAddrRampRate(0));
    EXPECT_EQ(ui::testing::modalShows(),
              (QStringList{QStringLiteral("frmEditOSF"), QStringLiteral("frmEditOSF_QM"),
                           QStringLiteral("frmEditRAMAddrRR")}));
    EXPECT_EQ(pending(0x0E), kBackground);
}

// An amplitude dialog as the later one will be: it answers with a word of its own.
class AmplitudeDialogStandIn : public ui::Form, public profiles::BoxEditDialog {
public:
    AmplitudeDialogStandIn() : Form(QStringLiteral("frmEditOSF")) {}
    void ShowEditDialog(ui::TextBox& box) override
    {
        shownWith = box.Tag;
        box.Tag = QStringLiteral("4096");
        box.setText(QStringLiteral("0.25000"));
    }
    QString shownWith;
};

TEST_F(ProfileFields, AmplitudeDoubleClickStoresTheWordTheNamedDialogLeftInTheTag)
{
    setPendingField(0x0E, 61, 48, 100);
    showFormOf(Field::Amplitude);
    AmplitudeDialogStandIn dialog;
    dialog.Load();
    doubleClick(w->txtAmpScaleST(0));
    EXPECT_EQ(dialog.shownWith, QStringLiteral("100"));
    EXPECT_EQ(pendingField(0x0E, 61, 48), 4096U);
    EXPECT_TRUE(w->cmdLoad.hasFocus());
}

// A click into any value box or step box of any profile selects its whole text; the CCI rate's tool tip
// follows what is typed in every profile.
TEST_F(ProfileFields, ClickSelectsTheWholeTextAndTheCCIToolTipFollowsTheRate)
{
    const Field fields[] = {Field::FreqQD,    Field::FreqST,      Field::PhaseQD, Field::PhaseST,
                            Field::Amplitude, Field::OutputScale, Field::CCIRate, Field::BeginAddr,
                            Field::FinalAddr, Field::RampRate};
    w = &open();
    for (const Field field : fields)
        for (int n = 0; n < 8; ++n) {
            ui::TextBox& box = boxOf(*w, field, n);
            box.setSelStart(0);
            box.setSelLength(0);
            box.Click();
            EXPECT_EQ(box.SelLength(), box.Text().size()) << static_cast<int>(field) << " in profile " << n;
        }
    for (int n = 0; n < 8; ++n)
        for (ui::TextBox* step : {&w->txtPhOSpinStepST(n), &w->txtAmpScaleStepST(n)}) {
            step->setSelLength(0);
            step->Click();
            EXPECT_EQ(step->SelLength(), step->Text().size()) << "step box of profile " << n;
        }
    for (const auto& [typed, tip] :
         {std::pair{"5", "Hex: 05   Bin: 000101"}, std::pair{"63", "Hex: 3F   Bin: 111111"}})
        for (int n = 0; n < 8; ++n) {
            w->txtCCIValQD(n).setText(QString::fromLatin1(typed));
            EXPECT_EQ(w->txtCCIValQD(n).ToolTipText(), QString::fromLatin1(tip)) << "profile " << n;
        }
}

TEST_F(ProfileFields, StepBoxesOfEveryProfileTakeDigitsOnly)
{
    w = &open();
    for (int n = 0; n < 8; ++n)
        for (ui::TextBox* step : {&w->txtPhOSpinStepST(n), &w->txtAmpScaleStepST(n)}) {
            step->setText(QString());
            type(*step, QStringLiteral("-1.5e+2"));
            EXPECT_EQ(step->Text(), QStringLiteral("152")) << "profile " << n;
        }
}

} // namespace
