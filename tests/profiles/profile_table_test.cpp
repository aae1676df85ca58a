// The Profiles window's field table walked whole: it names exactly the fields below, each check box and list
// of the form shown stores into the pending map, LOAD puts the field on the chip and the refresh shows it
// back; each value box shows its field's word from the map.

#include "profile_fixture.h"

#include "board/globals.h"

#include "platform/ui/test_doubles.h"

#include <algorithm>
#include <tuple>
#include <vector>

using namespace profiletest;

namespace {

// A control of every profile, its bits in the profile's register, the form that shows it and the index
// (= field value) a user picks to set it.
struct Expected {
    const char* control;
    int hi;
    int lo;
    int16_t form;
    int on;
};

constexpr int16_t kQDUC = frmProfile::kFormQDUC;
constexpr int16_t kRAM = frmProfile::kFormRAM;
constexpr int16_t kTone = frmProfile::kFormSingleTone;

const Expected kProfileFields[] = {
    {"txtOutFreqQD", 31, 0, kQDUC, 0},          {"txtPhaseOffsetQD", 47, 32, kQDUC, 0},
    {"txtOSFValQD", 55, 48, kQDUC, 0},          {"chkInvCCIQD", 56, 56, kQDUC, 1},
    {"chkSpectralInvQD", 57, 57, kQDUC, 1},     {"txtCCIValQD", 63, 58, kQDUC, 0},
    {"txtOutFreqST", 31, 0, kTone, 0},          {"txtPhaseOffsetST", 47, 32, kTone, 0},
    {"txtAmpScaleST", 61, 48, kTone, 0},        {"cmbRAMSegModeControl", 2, 0, kRAM, 4},
    {"chkRAMZeroCrossing", 3, 3, kRAM, 1},      {"chkRAMNoDwellActive", 5, 5, kRAM, 1},
    {"txtRAMSegBeginAddr", 23, 14, kRAM, 0},    {"txtRAMSegFinalAddr", 39, 30, kRAM, 0},
    {"txtRAMSegAddrRampRate", 55, 40, kRAM, 0},
};

// The window-wide check boxes: control, register, bit.
const std::tuple<const char*, int16_t, int> kWindowBits[] = {
    {"chkUseProfileOSK", 0x01, 24}, {"chkClearCCI", 0x00, 21},  {"chkInvSincEn", 0x00, 22},
    {"chkEnableSineOut", 0x00, 16}, {"chkQFirstData", 0x01, 8},
};

const Expected* expectedFor(const regwin::FieldRow& row)
{
    for (const Expected& e : kProfileFields)
        if (row.control->Name() == QLatin1String(e.control))
            return &e;
    return nullptr;
}

class ProfileTable : public ProfileWindowTest {
protected:
    // The operating mode and run mode that show a form.
    void showForm(int16_t form)
    {
        giRunMode = form == kRAM ? 4 : 0;
        setOperatingMode(form == kQDUC ? 0 : 1, form == kRAM);
    }
};

TEST_F(ProfileTable, NamesEveryFieldOfTheWindowOnce)
{
    using Row = std::tuple<QString, int, int, int, int>;
    std::vector<Row> table;
    for (const regwin::FieldRow& row : open().fields().rows())
        table.emplace_back(row.control->Name(), row.control->Index(), row.field.addr, row.field.hi,
                           row.field.lo);
    std::vector<Row> expected;
    for (int n = 0; n < 8; ++n)
        for (const Expected& e : kProfileFields)
            expected.emplace_back(QString::fromLatin1(e.control), n, 0x0E + n, e.hi, e.lo);
    for (const auto& [control, addr, bit] : kWindowBits)
        expected.emplace_back(QString::fromLatin1(control), -1, addr, bit, bit);
    std::sort(table.begin(), table.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(table, expected);
}

TEST_F(ProfileTable, EveryChoiceReachesTheMapAndTheChipAndComesBack)
{
    plugBoard();
    setAutoIOUpdate(false);
    frmProfile& w = open();
    int flipped = 0;
    for (const int16_t form : {kQDUC, kRAM, kTone}) {
        showForm(form);
        w.RefreshFormVals();
        for (const regwin::FieldRow& row : w.fields().rows()) {
            if (row.kind == regwin::FieldRow::Kind::Custom)
                continue;
            const Expected* e = expectedFor(row);
            if (e ? e->form != form : form != kQDUC)
                continue;
            flipRow(
                row, e ? e->on : 1, static_cast<uint64_t>(e ? e->on : 1), [&] { w.cmdLoad.click(); },
                [&] { w.RefreshFormVals(); });
            ++flipped;
        }
    }
    // Four per profile and the five window-wide boxes.
    EXPECT_EQ(flipped, 8 * 5 + 5);
    EXPECT_TRUE(ui::testing::messageBoxes().shown.empty());
}

TEST_F(ProfileTable, ValueBoxesKeepTheMapsWordInTheirTag)
{
    frmProfile& w = open();
    for (const int16_t form : {kQDUC, kRAM, kTone}) {
        showForm(form);
        for (const regwin::FieldRow& row : w.fields().rows()) {
            const Expected* e = expectedFor(row);
            if (row.kind != regwin::FieldRow::Kind::Custom || !e || e->form != form)
                continue;
            SCOPED_TRACE(row.control->Name().toStdString());
            // A word with its top and bottom bits set, different for each profile.
            const int width = e->hi - e->lo + 1;
            const uint64_t word =
                (uint64_t{1} << (width - 1)) | static_cast<uint64_t>(row.control->Index() + 1);
            setPendingField(row.field.addr, e->hi, e->lo, word);
            w.RefreshFormVals();
            EXPECT_EQ(static_cast<ui::TextBox*>(row.control)->Tag, QString::number(word));
        }
    }
}

} // namespace

namespace {

TEST_F(ProfileTable, LoadRefusedDuringATransferKeepsClearCCIAndTheIndicator)
{
    plugBoard();
    frmProfile& w = open();
    w.chkClearCCI.click();
    ui::testing::clock().advance(200);
    ASSERT_TRUE(w.lblLoadFlash.Visible());
    auto& boxes = ui::testing::messageBoxes();
    ASSERT_TRUE(boxes.shown.empty());
    boxes.expect(QStringLiteral("The board is busy with another transfer.\r\n"
                                "Nothing was loaded: press LOAD again when it has finished."));
    // LOAD pressed while the board object waits in the middle of reading a profile register.
    bool clicked = false;
    bool shownAfter = false;
    const auto timer = ui::testing::clock().startTimer(100, [&] {
        if (clicked)
            return;
        clicked = true;
        w.cmdLoad.click();
        shownAfter = w.lblLoadFlash.Visible();
    });
    bd().USBSerialReadPKT(0x0F);
    ui::testing::clock().stopTimer(timer);
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(shownAfter) << "a LOAD that wrote nothing does not hide the indicator";
    EXPECT_EQ(chip().bufferRegister(0x00) >> 21 & 1U, 0U) << "nothing reached the chip";
    EXPECT_EQ(w.chkClearCCI.Value(), 1) << "Clear CCI waits for the LOAD that sends it";
    EXPECT_EQ(pendingField(0x00, 21, 21), 1U);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("LOAD"));
    EXPECT_EQ(boxes.shown[0].buttons, ui::vbExclamation);
    EXPECT_TRUE(w.cmdLoad.Enabled());
    EXPECT_EQ(w.MousePointer(), ui::vbDefault);
}

} // namespace
