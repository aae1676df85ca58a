// The texts the RAM windows and the scale-factor and ramp-rate dialogs show: users know them, and files
// and manuals quote them, spelling included.

#include "common/register_window_fixture.h"

#include "profiles/frm_edit_osf.h"
#include "profiles/frm_edit_ram_addr_rr.h"
#include "profiles/frm_qducrsr.h"
#include "profiles/frm_ram_debug.h"
#include "profiles/register_windows.h"

#include <functional>

namespace {

class RamWindowTexts : public regtest::RegisterWindowTest {
protected:
    RamWindowTexts() { RegisterProfilesWindows(); }
};

QStringList items(const ui::ComboBox& list)
{
    QStringList out;
    for (int k = 0; k < list.ListCount(); ++k)
        out << list.List(k);
    return out;
}

struct TextCase {
    const char* expected;
    std::function<QString()> shown;
};

TEST_F(RamWindowTexts, WindowsShowTheirOwnWording)
{
    auto& seg = ui::form<frmQDUCRSR>();
    auto& test = ui::form<frmRAMDebug>();
    auto& osf = ui::form<frmEditOSF>();
    auto& qm = ui::form<frmEditOSF_QM>();
    auto& rr = ui::form<frmEditRAMAddrRR>();
    const TextCase cases[] = {
        {"QDUC RAM Control", [&] { return seg.Caption(); }},
        {"RAM Segment 1", [&] { return seg.fraProfileRAM(1).Caption(); }},
        {"Address Step Rate:", [&] { return seg.lblRAMSegAddrRampRate(1).Caption(); }},
        {"Select the RAM mode", [&] { return seg.cmbRAMSegModeControl(1).ToolTipText(); }},
        {"Set ISFC Pin High", [&] { return seg.cmdSetISFCPin(1).Caption(); }},
        {"Specify a RAM File to Save RAM Data to", [&] { return seg.cmdChooseSavePath.ToolTipText(); }},
        {"View the selected RAM file in the default viewer",
         [&] { return seg.cmdViewSavedFile.ToolTipText(); }},
        {"RAM I/O Window", [&] { return test.Caption(); }},
        {"Output Data Format:", [&] { return test.lblOutputDataFormat(0).Caption(); }},
        {"After dumping the RAM the file in Notepad", [&] { return test.chkOpen.ToolTipText(); }},
        {"Select the RAM data format written to the file.",
         [&] { return test.cmbDumpDataFormat.ToolTipText(); }},
        {"Output Scale Factor:", [&] { return osf.lblActualPhaseDelay.Caption(); }},
        {" Output Scale Factor:", [&] { return qm.lblActualPhaseDelay.Caption(); }},
        {"Sets the output scale factor hexadecimal register value",
         [&] { return qm.txtHexVal.ToolTipText(); }},
        {"Register Values", [&] { return osf.Frame1.Caption(); }},
        {"&OK", [&] { return osf.cmdOK.Caption(); }},
        {"Ramp Rate Register Values", [&] { return rr.fraRampRate.Caption(); }},
        {"Edit RAM Address Ramp Rate", [&] { return rr.Caption(); }},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.shown(), QString::fromUtf8(c.expected));

    const QStringList segmentFormats{"RAW Binary", "RAW Hex", "RAW Decimal",
                                     "Signed Integer (Modulation File)"};
    const QStringList testFormats{"RAW Binary", "RAW Hex", "RAW Decimal", "Modulation File (Signed Integer)"};
    EXPECT_EQ(items(seg.cmbLoadOptions), segmentFormats);
    EXPECT_EQ(items(seg.cmbDumpDataFormat), segmentFormats);
    EXPECT_EQ(items(test.cmbLoadOptions), testFormats);
    EXPECT_EQ(items(test.cmbDumpDataFormat), testFormats);
}

} // namespace
