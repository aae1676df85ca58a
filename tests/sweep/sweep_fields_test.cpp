// The OSK Control window's value fields as the user types, pastes, spins and double-clicks them.

#include "sweep_fixture.h"

#include "profiles/box_edit_dialogs.h"
#include "profiles/frm_edit_osf.h"
#include "profiles/frm_edit_out_freq.h"
#include "profiles/frm_edit_phase_offset1.h"
#include "profiles/frm_edit_ram_addr_rr.h"

namespace {

using namespace sweeptest;
using regtest::pasteAndEnter;

const QString kUnusableClock =
    QStringLiteral("Invalid system clock value.\r\nA ramp rate time cannot be converted while the system "
                   "clock is not a positive number; the ramp rate word stays as it is.");

struct Entry {
    const char* field;
    const char* typed;
    const char* text;
    uint64_t word;
    RegisterField bits;
    const char* title; // "" : no message
};

class SweepFieldTest : public SweepWindowTest, public ::testing::WithParamInterface<Entry> {};

TEST_P(SweepFieldTest, CommitConvertsClipsAndStoresTheWord)
{
    const Entry& entry = GetParam();
    frmFreqAndSweep& sweep = openSweep();
    auto* box = dynamic_cast<ui::TextBox*>(sweep.control(QString::fromLatin1(entry.field)));
    ASSERT_NE(box, nullptr);
    const QString title = QString::fromLatin1(entry.title);
    if (!title.isEmpty())
        ui::testing::messageBoxes().answer(ui::vbOK);
    pasteAndEnter(*box, QString::fromUtf8(entry.typed));
    EXPECT_EQ(box->Text(), QString::fromUtf8(entry.text));
    EXPECT_EQ(box->Tag, QString::number(entry.word));
    EXPECT_EQ(pendingField(entry.bits), entry.word);
    if (title.isEmpty()) {
        EXPECT_TRUE(boxes().empty());
    } else {
        ASSERT_EQ(boxes().size(), 1U);
        EXPECT_EQ(boxes()[0].title, title);
    }
}

const char* const kFreqTitle = "Output Frequency to High!!!";
const char* const kPhaseTitle = "Maximum Phase Offset Exceeded!!!";
const char* const kRateTitle = "Maximum Ramp Rate Time Exceeded!!!";

INSTANTIATE_TEST_SUITE_P(
    Kinds, SweepFieldTest,
    ::testing::Values(Entry{"txtOutFreqST", "100", "100.00000009", 429496730, {kFTW, 31, 0}, ""},
                      Entry{"txtOutFreqST", "1000", "999.99999977", 4294967295, {kFTW, 31, 0}, kFreqTitle},
                      // Less than half a step below the clock: the top word, never 0 Hz.
                      Entry{"txtOutFreqST", "999.9999999", "999.99999977", 4294967295, {kFTW, 31, 0}, ""},
                      Entry{"txtOutFreqST",
                            "99999999999999999999999999",
                            "999.99999977",
                            4294967295,
                            {kFTW, 31, 0},
                            kFreqTitle},
                      Entry{"txtOutFreqST", "-5", "0.00000000", 0, {kFTW, 31, 0}, ""},
                      Entry{"txtLSSweepFreq1", "100", "100.00000009", 429496730, {kLSPR, 63, 32}, ""},
                      Entry{"txtLSFallingDFW1", "0.001", "0.00100001", 4295, {kLSDPR, 63, 32}, ""},
                      Entry{"txtPhaseOffsetST", "359.995", "359.995", 65535, {kPOW, 15, 0}, ""},
                      Entry{"txtPhaseOffsetST", "360", "359.995", 65535, {kPOW, 15, 0}, kPhaseTitle},
                      Entry{"txtPhaseOffsetST", "1E3", "359.995", 65535, {kPOW, 15, 0}, kPhaseTitle},
                      // A pasted negative phase or time is clipped to 0, and said so.
                      Entry{"txtPhaseOffsetST", "-1", "0.000", 0, {kPOW, 15, 0}, kPhaseTitle},
                      Entry{"txtLSFallingDPW1", "180", "180.000", 32768, {kLSDPR, 63, 48}, ""},
                      Entry{"txtAmpScaleST", "1", "0.99994", 16383, {kASF, 15, 2}, ""},
                      Entry{"txtAmpScaleST", "0.5", "0.50000", 8192, {kASF, 15, 2}, ""},
                      Entry{"txtAmpScaleST", "abc", "0.00000", 0, {kASF, 15, 2}, ""},
                      Entry{"txtLSSweepAmp0", "0.25", "0.25000", 4096, {kLSPR, 31, 18}, ""},
                      Entry{"txtASKRR", "0.004", "0.0040", 1, {kASF, 31, 16}, ""},
                      Entry{"txtLSRisingRR", "300", "262.1400", 65535, {kLSRR, 15, 0}, kRateTitle},
                      Entry{"txtLSFallingRR", "-3", "0.0000", 0, {kLSRR, 31, 16}, kRateTitle}));

TEST_F(SweepWindowTest, LimitMessagesReadAsTheUserSeesThem)
{
    frmFreqAndSweep& sweep = openSweep();
    const struct {
        ui::TextBox* box;
        const char* typed;
        const char* title;
        const char* prompt;
    } cases[] = {
        {&sweep.txtLSSweepFreq0, "2000", kFreqTitle,
         "The DDS output frequency can not exceed the system clock."},
        {&sweep.txtLSRisingDPW0, "400", kPhaseTitle,
         "The vaid range for the Phase Offset is 0.000 Deg to 359.995 Deg.\r\nThe value entered has been "
         "clipped!"},
        {&sweep.txtASKRR, "300", kRateTitle,
         "The vaid range for the Amplitude Address Ramp Rate Time is 262.1400\u00B5s to 0\u00B5s .\r\nThe "
         "value "
         "entered will be clipped!"},
        {&sweep.txtLSRisingRR, "300", kRateTitle,
         "The vaid range for the Rising Sweep Ramp Rate Time is 262.1400\u00B5s to 0\u00B5s .\r\nThe value "
         "entered will be clipped!"},
        {&sweep.txtLSFallingRR, "300", kRateTitle,
         "The vaid range for the Falling Sweep Ramp Rate Time is 262.1400\u00B5s to 0\u00B5s .\r\nThe value "
         "entered will be clipped!"},
    };
    for (const auto& c : cases) {
        boxes().clear();
        ui::testing::messageBoxes().expect(QString::fromUtf8(c.prompt), ui::vbOK);
        pasteAndEnter(*c.box, QString::fromLatin1(c.typed));
        ASSERT_EQ(boxes().size(), 1U) << c.box->Name().toStdString();
        EXPECT_EQ(boxes()[0].title, QString::fromLatin1(c.title));
        EXPECT_EQ(boxes()[0].buttons, ui::vbOKOnly | ui::vbInformation);
    }
}

TEST_F(SweepWindowTest, FrequencyFieldTakesASecondIntegerDigitButNoThird)
{
    frmFreqAndSweep& sweep = openSweep();
    QApplication::setActiveWindow(sweep.frameWidget()->window());
    pasteAndEnter(sweep.txtOutFreqST, QStringLiteral("5"));
    ASSERT_EQ(sweep.txtOutFreqST.Text(), QStringLiteral("4.99999989"));
    EXPECT_EQ(sweep.txtOutFreqST.MaxLength(), 10) << "the commit fits the length to the text";
    auto typeAtStart = [&](const QString& keys) {
        regtest::clickInto(sweep.txtOutFreqST);
        sweep.txtOutFreqST.setSelStart(0);
        sweep.txtOutFreqST.setSelLength(0);
        regtest::type(sweep.txtOutFreqST, keys);
    };
    typeAtStart(QStringLiteral("5\r"));
    EXPECT_EQ(sweep.txtOutFreqST.Text(), QStringLiteral("54.99999993"));
    EXPECT_EQ(pending(kFTW), 236223201U);
    typeAtStart(QStringLiteral("5"));
    EXPECT_EQ(sweep.txtOutFreqST.Text(), QStringLiteral("54.99999993"));
}

TEST_F(SweepWindowTest, KeyFiltersRefuseExponentsWhereTheyMeanNothing)
{
    frmFreqAndSweep& sweep = openSweep();
    QApplication::setActiveWindow(sweep.frameWidget()->window());
    regtest::retype(sweep.txtOutFreqST, QStringLiteral("1e2.5.0"));
    EXPECT_EQ(sweep.txtOutFreqST.Text(), QStringLiteral("12.50"));
    regtest::retype(sweep.txtPhaseOffsetST, QStringLiteral("1e2"));
    EXPECT_EQ(sweep.txtPhaseOffsetST.Text(), QStringLiteral("1E2"));
    regtest::type(sweep.txtPhaseOffsetST, QStringLiteral("\r"));
    EXPECT_EQ(sweep.txtPhaseOffsetST.Text(), QStringLiteral("99.998"));
    EXPECT_TRUE(sweep.cmdLoad.hasFocus()) << "a commit hands the focus to LOAD";
}

TEST_F(SweepWindowTest, CommaLocaleTypesAndShowsWithTheComma)
{
    rt::ScopedNumberLocale comma{QChar(u',')};
    gsDecimalSep = QStringLiteral(",");
    giDecimalSepCode = ',';
    frmFreqAndSweep& sweep = openSweep();
    QApplication::setActiveWindow(sweep.frameWidget()->window());
    const struct {
        ui::TextBox* box;
        const char* typed;
        const char* text;
        const char* tag;
        const char* message; // "" : none
    } cases[] = {
        {&sweep.txtOutFreqST, "12,5,3\r", "12,52999995", "53815940", ""},
        {&sweep.txtPhaseOffsetST, "12,5,3\r", "12,530", "2281", ""},
        {&sweep.txtAmpScaleST, "0,5\r", "0,50000", "8192", ""},
        {&sweep.txtLSRisingRR, "300\r", "262,1400", "65535",
         "The vaid range for the Rising Sweep Ramp Rate Time is 262,1400\u00B5s to 0\u00B5s .\r\nThe value "
         "entered will be clipped!"},
    };
    for (const auto& c : cases) {
        const QString message = QString::fromUtf8(c.message);
        if (!message.isEmpty())
            ui::testing::messageBoxes().expect(message, ui::vbOK);
        regtest::retype(*c.box, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.box->Text(), QString::fromLatin1(c.text));
        EXPECT_EQ(c.box->Tag, QString::fromLatin1(c.tag));
    }
    EXPECT_EQ(boxes().size(), 1U);
}

TEST_F(SweepWindowTest, AClockThatIsNoPositiveNumberConvertsNothing)
{
    frmFreqAndSweep& sweep = openSweep();
    pasteAndEnter(sweep.txtOutFreqST, QStringLiteral("100"));
    pasteAndEnter(sweep.txtASKRR, QStringLiteral("0.004"));
    auto& messages = ui::testing::messageBoxes();
    for (const char* clock : {"0", "-5", "abc"}) {
        setClock(QString::fromLatin1(clock));
        sweep.UpdateFreqsAndRRs();
        // Each commit says why it converts nothing.
        messages.expect(kUnusableClock, ui::vbOK);
        messages.expect(kUnusableClock, ui::vbOK);
        pasteAndEnter(sweep.txtOutFreqST, QStringLiteral("7"));
        pasteAndEnter(sweep.txtASKRR, QStringLiteral("1"));
        EXPECT_EQ(sweep.txtOutFreqST.Text(), QStringLiteral("100.00000009")) << clock;
        EXPECT_EQ(sweep.txtASKRR.Text(), QStringLiteral("0.0040")) << clock;
        EXPECT_EQ(pending(kFTW), 429496730U) << clock;
        EXPECT_EQ(pendingField({kASF, 31, 16}), 1U) << clock;
    }
    // A word that changes meanwhile has no value to show: the old word's text does not stay in view.
    setPending(kFTW, 858993459);
    sweep.RefreshFormVals();
    EXPECT_EQ(sweep.txtOutFreqST.Text(), QString());
    EXPECT_EQ(sweep.txtASKRR.Text(), QStringLiteral("0.0040"));
    messages.expect(kUnusableClock, ui::vbOK);
    pasteAndEnter(sweep.txtOutFreqST, QStringLiteral("7"));
    EXPECT_EQ(pending(kFTW), 858993459U);
    // The Control window passes a new clock on: the words are shown at 500 MHz.
    setClock(QStringLiteral("500"));
    EXPECT_EQ(sweep.txtOutFreqST.Text(), QStringLiteral("99.99999998"));
    EXPECT_EQ(sweep.txtASKRR.Text(), QStringLiteral("0.0080"));
    ASSERT_EQ(boxes().size(), 7u);
    for (const auto& box : boxes())
        EXPECT_EQ(box.title, QStringLiteral("Invalid Parameter Passed"));
}

TEST_F(SweepWindowTest, SpinBarsWrapAndWriteTheRegisterAtOnce)
{
    plugBoard();
    setAutoIOUpdate(false);
    setPendingField({kASF, 15, 2}, 16383);
    frmFreqAndSweep& sweep = openSweep();
    clearTraffic();
    const int pulses = chip().ioUpdateCount();
    ASSERT_TRUE(sweep.vscAmpScaleSpinST.stepUp());
    EXPECT_EQ(sweep.txtAmpScaleST.Tag, QStringLiteral("0"));
    EXPECT_EQ(sweep.txtAmpScaleST.Text(), QStringLiteral("0.00000"));
    EXPECT_EQ(sweep.vscAmpScaleSpinST.Value(), 0);
    ASSERT_TRUE(sweep.vscPhaseOSpinST.stepDown());
    EXPECT_EQ(sweep.txtPhaseOffsetST.Tag, QStringLiteral("65535"));
    EXPECT_EQ(sweep.txtPhaseOffsetST.Text(), QStringLiteral("359.995"));
    const QList<regtest::SerialWrite> writes = serialWrites();
    ASSERT_EQ(writes.size(), 2);
    EXPECT_EQ(writes[0].addr, kASF);
    EXPECT_EQ(RegisterField({kASF, 15, 2}).of(writes[0].value), 0U);
    EXPECT_EQ(writes[1], (regtest::SerialWrite{kPOW, QStringLiteral("1111111111111111")}));
    EXPECT_EQ(chip().ioUpdateCount(), pulses + 2) << "pulsed though Auto is off";
    EXPECT_EQ(written(kPOW), 65535U);
}

TEST_F(SweepWindowTest, AStepBoxWithoutAWholeNumberStepsNothing)
{
    plugBoard();
    frmFreqAndSweep& sweep = openSweep();
    pasteAndEnter(sweep.txtPhaseOffsetST, QStringLiteral("90"));
    clearTraffic();
    for (const char* step : {"", "abc", "40000", "-1"}) {
        sweep.txtPhOSpinStepST.setText(QString::fromLatin1(step));
        sweep.vscPhaseOSpinST.stepUp();
        EXPECT_EQ(sweep.txtPhaseOffsetST.Tag, QStringLiteral("16384")) << step;
        EXPECT_EQ(sweep.vscPhaseOSpinST.Value(), 0) << step;
    }
    EXPECT_TRUE(serialWrites().isEmpty());
    sweep.txtPhOSpinStepST.setText(QStringLiteral("70000"));
    sweep.txtAmpScaleStepST.setText(QStringLiteral("32767"));
    sweep.vscAmpScaleSpinST.stepUp();
    EXPECT_EQ(sweep.txtAmpScaleST.Tag, QStringLiteral("16383")) << "32767 mod 16384";
}

TEST_F(SweepWindowTest, PhaseDialogStoresTheTagAcceptedOrNot)
{
    frmFreqAndSweep& sweep = openSweep();
    setPending(kLSPR, 0x0000ABCD00000000ULL);
    sweep.RefreshFormVals();
    ui::testing::onModal<frmEditPhaseOffset1>([](frmEditPhaseOffset1& dialog) { dialog.cmdCancel.click(); });
    regtest::doubleClick(sweep.txtLSSweepPhase1);
    EXPECT_EQ(pending(kLSPR), 0x0000ABCD00000000ULL);
    ui::testing::onModal<frmEditPhaseOffset1>([](frmEditPhaseOffset1& dialog) {
        QApplication::setActiveWindow(dialog.frameWidget()->window());
        regtest::retype(dialog.txtDecVal, QStringLiteral("16384\r"));
        dialog.cmdOK.SetFocus();
        dialog.cmdOK.click();
    });
    regtest::doubleClick(sweep.txtLSSweepPhase1);
    EXPECT_EQ(pending(kLSPR), 0x4000ABCD00000000ULL) << "bits 63:48 only";
    EXPECT_EQ(sweep.txtLSSweepPhase1.Text(), QStringLiteral("90.000"));
}

// The real amplitude and ramp-rate dialogs as the user answers them: Cancel keeps the word, OK's word goes
// into the field's bits and the rest of the register stays.
TEST_F(SweepWindowTest, AmplitudeAndRampRateDialogsStoreTheWordOkHandsBack)
{
    frmFreqAndSweep& sweep = openSweep();
    struct {
        QString word;
        bool ok = false;
        QStringList seen; // caption and decimal view as each dialog opened
    } answer;
    auto respond = [&answer](ui::Form& dialog, ui::TextBox& decimalView, ui::CommandButton& ok,
                             ui::CommandButton& cancel) {
        answer.seen << dialog.Caption() + QLatin1Char(':') + decimalView.Text();
        QApplication::setActiveWindow(dialog.frameWidget()->window());
        regtest::retype(decimalView, answer.word + QLatin1Char('\r'));
        ui::CommandButton& button = answer.ok ? ok : cancel;
        button.SetFocus();
        button.click();
    };
    ui::testing::onModal<frmEditOSF>([&](frmEditOSF& d) { respond(d, d.txtDecVal, d.cmdOK, d.cmdCancel); });
    ui::testing::onModal<frmEditRAMAddrRR>(
        [&](frmEditRAMAddrRR& d) { respond(d, d.txtDec, d.OKButton, d.CancelButton); });
    const char* const scale = "Edit Output Scale Factor:16383";
    const struct {
        ui::TextBox* box;
        RegisterField bits;
        const char* opened;
        const char* typed;
        const char* tag;
        const char* text;
        uint64_t registerAfterOk; // every other bit stays set
    } cases[] = {
        {&sweep.txtAmpScaleST, {kASF, 15, 2}, scale, "8192", "08192", "0.50000", 0xFFFF8003ULL},
        {&sweep.txtLSSweepAmp0, {kLSPR, 31, 18}, scale, "4096", "04096", "0.25000", 0xFFFFFFFF4003FFFFULL},
        {&sweep.txtLSSweepAmp1, {kLSPR, 63, 50}, scale, "2", "00002", "0.00012", 0x000BFFFFFFFFFFFFULL},
        {&sweep.txtLSRisingDAW0, {kLSDPR, 31, 18}, scale, "1", "00001", "0.00006", 0xFFFFFFFF0007FFFFULL},
        {&sweep.txtLSFallingDAW1,
         {kLSDPR, 63, 50},
         scale,
         "12288",
         "12288",
         "0.75000",
         0xC003FFFFFFFFFFFFULL},
        {&sweep.txtASKRR,
         {kASF, 31, 16},
         "Edit Amplitude Ramp Rate:65535",
         "1",
         "00001",
         "0.0040",
         0x0001FFFFULL},
        {&sweep.txtLSRisingRR,
         {kLSRR, 15, 0},
         "Edit Rising Sweep Ramp Rate:65535",
         "250",
         "00250",
         "1.0000",
         0xFFFF00FAULL},
        {&sweep.txtLSFallingRR,
         {kLSRR, 31, 16},
         "Edit Falling Sweep Ramp Rate:65535",
         "40000",
         "40000",
         "160.0000",
         0x9C40FFFFULL},
    };
    for (const auto& c : cases) {
        const std::string name = c.box->Name().toStdString();
        setPending(c.bits.addr, ~0ULL);
        sweep.RefreshFormVals();
        const uint64_t allSet = pending(c.bits.addr);
        const QString tag = c.box->Tag;
        const QString text = c.box->Text();
        answer.word = QString::fromLatin1(c.typed);
        answer.ok = false;
        answer.seen.clear();
        regtest::doubleClick(*c.box);
        EXPECT_EQ(pending(c.bits.addr), allSet) << name;
        EXPECT_EQ(c.box->Tag, tag) << name;
        EXPECT_EQ(c.box->Text(), text) << name;
        answer.ok = true;
        regtest::doubleClick(*c.box);
        EXPECT_EQ(pending(c.bits.addr), c.registerAfterOk) << name;
        EXPECT_EQ(c.box->Tag, QString::fromLatin1(c.tag)) << name;
        EXPECT_EQ(c.box->Text(), QString::fromLatin1(c.text)) << name;
        EXPECT_EQ(answer.seen, QStringList(2, QString::fromLatin1(c.opened))) << name;
    }
    EXPECT_EQ(ui::testing::modalShows().size(), 16);
}

// An amplitude dialog answering words the real one never hands back: the word stored is kept within the
// field, and the text shows that word.
class AmplitudeDialogStandIn : public ui::Form, public profiles::BoxEditDialog {
public:
    AmplitudeDialogStandIn() : Form(QStringLiteral("frmEditOSF")) {}
    void ShowEditDialog(ui::TextBox& box) override
    {
        box.Tag = QString::fromLatin1(answer.tag);
        box.setText(QString::fromLatin1(answer.text));
    }
    struct Answer {
        const char* tag;
        const char* text;
    } answer{};
};

TEST_F(SweepWindowTest, AmplitudeDialogWordIsKeptWithinTheField)
{
    frmFreqAndSweep& sweep = openSweep();
    setPending(kLSDPR, 0xFFFFFFFF0003FFFFULL);
    AmplitudeDialogStandIn dialog;
    dialog.Load();
    const struct {
        AmplitudeDialogStandIn::Answer answer;
        uint64_t word;
        const char* text;
    } cases[] = {
        {{"-5", "-0.00031"}, 0, "0.00000"},
        {{"99999", "6.10345"}, 16383, "0.99994"},
        {{"abc", "abc"}, 0, "0.00000"},
    };
    for (const auto& c : cases) {
        dialog.answer = c.answer;
        regtest::doubleClick(sweep.txtLSRisingDAW0);
        EXPECT_EQ(pendingField({kLSDPR, 31, 18}), c.word) << c.answer.tag;
        EXPECT_EQ(sweep.txtLSRisingDAW0.Tag, QString::number(c.word)) << c.answer.tag;
        EXPECT_EQ(sweep.txtLSRisingDAW0.Text(), QString::fromLatin1(c.text)) << c.answer.tag;
        EXPECT_EQ(pendingField({kLSDPR, 17, 0}), 0x3FFFFU) << "the bits below stay";
    }
}

// A ramp-rate dialog answering a word beyond 16 bits, which the real one never hands back.
class RampRateDialogStandIn : public ui::Form, public profiles::RampRateEditDialog {
public:
    RampRateDialogStandIn() : Form(QStringLiteral("frmEditRAMAddrRR")) {}
    void ShowEditDialog(ui::TextBox& box, const QString&, const QString&) override
    {
        box.Tag = QStringLiteral("70000");
    }
};

TEST_F(SweepWindowTest, RampRateDialogWordBeyondSixteenBitsIsKeptAtTheTop)
{
    frmFreqAndSweep& sweep = openSweep();
    RampRateDialogStandIn rampRate;
    rampRate.Load();
    regtest::doubleClick(sweep.txtLSFallingRR);
    EXPECT_EQ(pending(kLSRR), 0xFFFF0000U);
    EXPECT_EQ(sweep.txtLSFallingRR.Tag, QStringLiteral("65535"));
    EXPECT_EQ(sweep.txtLSFallingRR.Text(), QStringLiteral("262.1400"));
}

TEST_F(SweepWindowTest, DialogsOpenWithTheirFieldsCaptions)
{
    frmFreqAndSweep& sweep = openSweep();
    QStringList captions;
    for (ui::TextBox* box : {&sweep.txtOutFreqST, &sweep.txtLSSweepFreq0, &sweep.txtLSSweepFreq1,
                             &sweep.txtLSRisingDFW0, &sweep.txtLSFallingDFW1}) {
        ui::testing::onModal<frmEditOutFreq>([&](frmEditOutFreq& dialog) {
            captions << dialog.Caption();
            dialog.CancelButton.click();
        });
        regtest::doubleClick(*box);
    }
    EXPECT_EQ(captions,
              (QStringList{"Edit output frequency", "Edit Sweep Frequency 0", "Edit Sweep Frequency 1",
                           "Edit Sweep Rising Step Size", "Edit Sweep Falling Step Size"}));
    // The ramp-rate dialog converts with the Control window's clock: 65535 steps last 262.14 us at 1000 MHz.
    QStringList rampRates;
    ui::testing::onModal<frmEditRAMAddrRR>([&](frmEditRAMAddrRR& dialog) {
        rampRates << dialog.Caption() + QLatin1Char('@') + QString::number(dialog.maxRRTime());
        dialog.CancelButton.click();
    });
    for (ui::TextBox* box : {&sweep.txtASKRR, &sweep.txtLSRisingRR, &sweep.txtLSFallingRR})
        regtest::doubleClick(*box);
    EXPECT_EQ(rampRates, (QStringList{"Edit Amplitude Ramp Rate@262.14", "Edit Rising Sweep Ramp Rate@262.14",
                                      "Edit Falling Sweep Ramp Rate@262.14"}));
}

TEST_F(SweepWindowTest, SpinWithoutBoardStepsThePendingWordQuietly)
{
    frmFreqAndSweep& sweep = openSweep();
    sweep.vscAmpScaleSpinST.stepUp();
    EXPECT_EQ(sweep.txtAmpScaleST.Text(), QStringLiteral("0.00006"));
    EXPECT_EQ(pendingField({kASF, 15, 2}), 1U);
    EXPECT_EQ(writtenField({kASF, 15, 2}), 0U) << "the write went nowhere";
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SweepWindowTest, FrequencyDialogStoresTheTagAcceptedOrNot)
{
    frmFreqAndSweep& sweep = openSweep();
    pasteAndEnter(sweep.txtLSSweepFreq0, QStringLiteral("100"));
    ui::testing::onModal<frmEditOutFreq>([](frmEditOutFreq& dialog) {
        EXPECT_EQ(dialog.Caption(), QStringLiteral("Edit Sweep Frequency 0"));
        dialog.CancelButton.click();
    });
    regtest::doubleClick(sweep.txtLSSweepFreq0);
    EXPECT_EQ(pendingField({kLSPR, 31, 0}), 429496730U);
    ui::testing::onModal<frmEditOutFreq>([](frmEditOutFreq& dialog) {
        QApplication::setActiveWindow(dialog.frameWidget()->window());
        regtest::retype(dialog.txtTWDec, QStringLiteral("1000\r"));
        dialog.OKButton.SetFocus();
        dialog.OKButton.click();
    });
    regtest::doubleClick(sweep.txtLSSweepFreq0);
    EXPECT_EQ(pendingField({kLSPR, 31, 0}), 1000U);
    EXPECT_EQ(pendingField({kLSPR, 63, 32}), 0U);
}

} // namespace
