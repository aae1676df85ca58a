// The Profiles window's fields: handler binding, the value boxes' clock and focus, the spin bars of the
// single-tone form and the CCI rate's tool tip. The value boxes themselves are rows of the value-field kit
// (frm_profile_table.cpp).

#include "profiles/frm_profile.h"

#include "board/num_base.h"
#include "board/system_clock.h"
#include "board/text_util.h"
#include "boardui/text_selection.h"
#include "profiles/profile_entry.h"

#include "platform/ui/forms.h"

#include <limits>

using namespace profiles;

// ---- binding ----

void frmProfile::bindHandlers()
{
    using ui::TextBox;
    // Every value box and both step boxes select their whole text when clicked or entered.
    for (auto* array : {&txtOutFreqQD, &txtPhaseOffsetQD, &txtOSFValQD, &txtCCIValQD, &txtRAMSegBeginAddr,
                        &txtRAMSegFinalAddr, &txtRAMSegAddrRampRate, &txtOutFreqST, &txtPhOSpinStepST,
                        &txtPhaseOffsetST, &txtAmpScaleStepST, &txtAmpScaleST}) {
        array->on(&TextBox::Click, [array](int index) { SelectAllText((*array)(index)); });
        array->on(&TextBox::GotFocus, [array](int index) { SelectAllText((*array)(index)); });
    }

    txtCCIValQD.bind(&ui::TextBox::Change, this, &frmProfile::txtCCIValQD_Change);
    txtPhOSpinStepST.on(&TextBox::KeyPress, [this](int, int& key) { txtStepBox_KeyPress(key); });
    txtAmpScaleStepST.on(&TextBox::KeyPress, [this](int, int& key) { txtStepBox_KeyPress(key); });
    vscAmpScaleSpinST.bind(&ui::ScrollBar::Change, this, &frmProfile::vscAmpScaleSpinST_Change);
    vscPhaseOSpinST.bind(&ui::ScrollBar::Change, this, &frmProfile::vscPhaseOSpinST_Change);

    // The check boxes and lists are bound by buildFieldTable, the value boxes by their rows.
    optProfileSel.bind(&ui::OptionButton::Click, this, &frmProfile::optProfileSel_Click);
    ui::bind(cmdLoad.Click, this, &frmProfile::cmdLoad_Click);
    ui::bind(tmrLoadFlash.Timer, this, &frmProfile::tmrLoadFlash_Timer);
}

// ---- the clock and the focus ----

QString frmProfile::sysClockText() const
{
    return SysClockText();
}

void frmProfile::focusLoad()
{
    if (cmdLoad.Enabled())
        cmdLoad.SetFocus();
}

void frmProfile::txtStepBox_KeyPress(int& keyAscii)
{
    keyAscii = KeyFilterNoSign(KeyFilterSignedInt(keyAscii));
}

void frmProfile::txtCCIValQD_Change(int index)
{
    const WordEntry entry = readWordEntry(txtCCIValQD(index).Text(), std::numeric_limits<int16_t>::min(),
                                          std::numeric_limits<int16_t>::max());
    if (entry.kind != FieldEntry::InRange)
        return;
    txtCCIValQD(index).setToolTipText(QStringLiteral("Hex: ") + cbaseDec2Hex(entry.value, 2) +
                                      QStringLiteral("   Bin: ") + cbaseDec2Bin(entry.value, 6));
}

// ---- spin bars: step the word and write the profile to the chip at once ----

void frmProfile::vscAmpScaleSpinST_Change(int index)
{
    values_.spin(vscAmpScaleSpinST(index), txtAmpScaleStepST(index), txtAmpScaleST(index), 999);
}

void frmProfile::vscPhaseOSpinST_Change(int index)
{
    values_.spin(vscPhaseOSpinST(index), txtPhOSpinStepST(index), txtPhaseOffsetST(index), 999);
}
