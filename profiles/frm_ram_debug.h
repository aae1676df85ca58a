#pragma once

// frmRAMDebug ("RAM I/O Window"): a small test window for the chip's RAM. It loads a RAM data file into
// the RAM through the segment register the ISFC line selects, and reads the whole RAM into "RAMDump.txt"
// in the program folder, optionally showing it in the desktop's text viewer.

#include "boardui/form_names.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>

class frmRAMDebug : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmRAMDebug;
    frmRAMDebug();

    // Where the dump goes: "RAMDump.txt" in the program folder.
    static QString dumpPath();

    ui::Label lblRAMFile{this, QStringLiteral("lblRAMFile")};
    ui::TextBox txtRAWRAMFile{this, QStringLiteral("txtRAWRAMFile")};
    ui::CommandButton cmdSelRAMFile{this, QStringLiteral("cmdSelRAMFile")};
    // 0 the dump format's label, 1 the load format's.
    ui::ControlArray<ui::Label> lblOutputDataFormat{this, QStringLiteral("lblOutputDataFormat"), 2};
    ui::ComboBox cmbLoadOptions{this, QStringLiteral("cmbLoadOptions"), -1, ui::vbComboDropdownList};
    ui::CommandButton cmdLoadRAMFile{this, QStringLiteral("cmdLoadRAMFile")};
    ui::Label lblLoadRAWRAMFile{this, QStringLiteral("lblLoadRAWRAMFile")};
    ui::ComboBox cmbDumpDataFormat{this, QStringLiteral("cmbDumpDataFormat"), -1, ui::vbComboDropdownList};
    ui::CheckBox chkOpen{this, QStringLiteral("chkOpen")};
    ui::CommandButton cmdRAMReadTest{this, QStringLiteral("cmdRAMReadTest")};
    ui::Label lblRAMDump{this, QStringLiteral("lblRAMDump")};
    ui::Shape shpShape{this, QStringLiteral("shpShape")};

    void txtRAWRAMFile_Change();
    void cmdSelRAMFile_Click();
    void cmdLoadRAMFile_Click();
    void cmdRAMReadTest_Click();

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
};
