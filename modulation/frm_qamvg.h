#pragma once

// frmQAMVG: the modulation vector generator window. Four tabs hold the parameter sets of the four external
// generator programs (QAM, polar QAM, GMSK/EDGE, SDPSK); each set is kept in its generator's parameter
// file, which the window reads when it opens, writes before each run and writes again when it closes. A
// run mirrors the generator's console text into the console box and reports its error file.

#include "boardui/form_names.h"
#include "modulation/param_files.h"
#include "modulation/program_settings.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace mvg {
class GeneratorRun;
}

class frmQAMVG : public ui::Form {
public:
    static inline const QString& FormName = formnames::frmQAMVG;
    frmQAMVG();

    // Tabs of sstTabs.
    enum TabIndex : int {
        kTabQam = 0,
        kTabPolar = 1,
        kTabGmsk = 2,
        kTabSdpsk = 3,
        kTabDebug = 4,
        kTabAbout = 5
    };

    // True while a generator runs; the simulator window reads it when it loads.
    bool Busy = false;

    // ---- paths and debug flag ----
    void IniVars();
    const mvg::GeneratorFiles& files(mvg::Generator generator) const
    {
        return files_[static_cast<size_t>(generator)];
    }
    bool debugFlag() const { return debug_; }

    // ---- parameter files ----
    bool WriteQAMParamFile(const QString& path) { return writeParamFile(mvg::Generator::Qam, path); }
    bool WriteQPParamFile(const QString& path) { return writeParamFile(mvg::Generator::Polar, path); }
    bool WriteGEParamFile(const QString& path) { return writeParamFile(mvg::Generator::Gmsk, path); }
    bool WriteSDPSKParamFile(const QString& path) { return writeParamFile(mvg::Generator::Sdpsk, path); }
    void ReadQAMParamFile(const QString& path) { readParamFile(mvg::Generator::Qam, path); }
    void ReadQPParamFile(const QString& path) { readParamFile(mvg::Generator::Polar, path); }
    void ReadGEParamFile(const QString& path) { readParamFile(mvg::Generator::Gmsk, path); }
    void ReadSDPSKParamFile(const QString& path) { readParamFile(mvg::Generator::Sdpsk, path); }
    // Replaces the file with the tab's fields; false (with a message) when it could not be written.
    bool writeParamFile(mvg::Generator generator, const QString& path);
    // The tab's fields from the file, as far as it reads (a missing file changes nothing).
    void readParamFile(mvg::Generator generator, const QString& path);

    // ---- vector counts ----
    int32_t CalcVectors(mvg::Generator generator) const;
    int32_t CalcMaxSymbols(mvg::Generator generator, int32_t limit) const;
    void UpdateQAMVects() { updateVects(mvg::Generator::Qam); }
    void UpdateQPVects() { updateVects(mvg::Generator::Polar); }
    void UpdateGEVects() { updateVects(mvg::Generator::Gmsk); }
    void UpdateSDPSKVects() { updateVects(mvg::Generator::Sdpsk); }
    void updateVects(mvg::Generator generator);
    int32_t maxSymbols(mvg::Generator generator) const { return maxSymbols_[static_cast<size_t>(generator)]; }

    // ---- runs ----
    // Generate: the tab's parameter file, then a run of its generator (mvg::GeneratorRun) reported in the
    // console box; the Generate buttons wait meanwhile.
    void generate(mvg::Generator generator);

    // ---- controls ----
    ui::TabStrip sstTabs{this, QStringLiteral("sstTabs")};
    ui::TextBox txtConsoleOutput{this, QStringLiteral("txtConsoleOutput"), -1, true};
    ui::Label lblMinWidth{this, QStringLiteral("lblMinWidth")};
    ui::Label lblMinHeight{this, QStringLiteral("lblMinHeight")};

    // QAM
    ui::TextBox txtNumSymbols{this, QStringLiteral("txtNumSymbols")};
    ui::ComboBox lstQAMLevel{this, QStringLiteral("lstQAMLevel"), -1, ui::vbComboDropdownList};
    ui::ComboBox lstFilterType{this, QStringLiteral("lstFilterType"), -1, ui::vbComboDropdownList};
    ui::TextBox txtFilterTAPs{this, QStringLiteral("txtFilterTAPs")};
    ui::TextBox txtFilterCoefVal{this, QStringLiteral("txtFilterCoefVal")};
    ui::TextBox txtFilterUpsampleFact{this, QStringLiteral("txtFilterUpsampleFact")};
    ui::TextBox txtFiltROFact{this, QStringLiteral("txtFiltROFact")};
    ui::ComboBox lstFilterWindowType{this, QStringLiteral("lstFilterWindowType"), -1,
                                     ui::vbComboDropdownList};
    ui::Label lblKaiserWROF{this, QStringLiteral("lblKaiserWROF")};
    ui::TextBox txtKaiserWROF{this, QStringLiteral("txtKaiserWROF")};
    ui::TextBox txtNumOfOutBits{this, QStringLiteral("txtNumOfOutBits")};
    ui::TextBox txtQAMVGOutputFile{this, QStringLiteral("txtQAMVGOutputFile")};
    ui::CommandButton cmdQAMSaveAs{this, QStringLiteral("cmdQAMSaveAs")};
    ui::ComboBox lstQAMOutputDataFormat{this, QStringLiteral("lstQAMOutputDataFormat"), -1,
                                        ui::vbComboDropdownList};
    ui::Frame fraQAMDebugOptions{this, QStringLiteral("fraQAMDebugOptions")};
    ui::CheckBox chkDebugModeQAM{this, QStringLiteral("chkDebugModeQAM")};
    ui::TextBox txtGraphPoints{this, QStringLiteral("txtGraphPoints")};
    ui::TextBox txtAttenuationVal{this, QStringLiteral("txtAttenuationVal")};
    ui::CommandButton cmdGenerateQAMData{this, QStringLiteral("cmdGenerateQAMData")};
    ui::CommandButton cmdMaxQAMSymbols{this, QStringLiteral("cmdMaxQAMSymbols")};
    ui::Label lblQAMOutputVects{this, QStringLiteral("lblQAMOutputVects")};
    ui::ControlArray<ui::Label> lblFieldErrQAM{this, QStringLiteral("lblFieldErrQAM"), 15};

    // QAM (Polar)
    ui::TextBox txtNumSymbolsQP{this, QStringLiteral("txtNumSymbolsQP")};
    ui::ComboBox lstQAMLevelQP{this, QStringLiteral("lstQAMLevelQP"), -1, ui::vbComboDropdownList};
    ui::ComboBox lstFilterTypeQP{this, QStringLiteral("lstFilterTypeQP"), -1, ui::vbComboDropdownList};
    ui::TextBox txtFilterTAPsQP{this, QStringLiteral("txtFilterTAPsQP")};
    ui::TextBox txtFilterCoefValQP{this, QStringLiteral("txtFilterCoefValQP")};
    ui::TextBox txtFilterUpsampleFactQP{this, QStringLiteral("txtFilterUpsampleFactQP")};
    ui::TextBox txtFiltROFactQP{this, QStringLiteral("txtFiltROFactQP")};
    ui::ComboBox lstFilterWindowTypeQP{this, QStringLiteral("lstFilterWindowTypeQP"), -1,
                                       ui::vbComboDropdownList};
    ui::Label lblKaiserWROFQP{this, QStringLiteral("lblKaiserWROFQP")};
    ui::TextBox txtKaiserWROFQP{this, QStringLiteral("txtKaiserWROFQP")};
    ui::TextBox txtNumOfOutBitsQP{this, QStringLiteral("txtNumOfOutBitsQP")};
    ui::Frame fraQPDebugOptions{this, QStringLiteral("fraQPDebugOptions")};
    ui::CheckBox chkDebugModeQP{this, QStringLiteral("chkDebugModeQP")};
    ui::TextBox txtPhaseBitsQP{this, QStringLiteral("txtPhaseBitsQP")};
    ui::TextBox txtAmplitudeBitsQP{this, QStringLiteral("txtAmplitudeBitsQP")};
    ui::TextBox txtPhaseOutputFileQP{this, QStringLiteral("txtPhaseOutputFileQP")};
    ui::CommandButton cmdPhaseSaveAsQP{this, QStringLiteral("cmdPhaseSaveAsQP")};
    ui::TextBox txtAMPOutputFileQP{this, QStringLiteral("txtAMPOutputFileQP")};
    ui::CommandButton cmdAmpSaveAsQP{this, QStringLiteral("cmdAmpSaveAsQP")};
    ui::TextBox txtOutputFileQP{this, QStringLiteral("txtOutputFileQP")};
    ui::CommandButton cmdSaveAsQP{this, QStringLiteral("cmdSaveAsQP")};
    ui::TextBox txtGraphPointsQP{this, QStringLiteral("txtGraphPointsQP")};
    ui::TextBox txtAttenuationValQP{this, QStringLiteral("txtAttenuationValQP")};
    ui::CommandButton cmdGenerateQPData{this, QStringLiteral("cmdGenerateQPData")};
    ui::CommandButton Command8{this, QStringLiteral("Command8")};
    ui::Label lblQPOutputVects{this, QStringLiteral("lblQPOutputVects")};
    ui::CommandButton cmdQPSaveAs{this, QStringLiteral("cmdQPSaveAs")};
    ui::CommandButton cmdViewSymolsBinQP{this, QStringLiteral("cmdViewSymolsBinQP")};
    ui::CommandButton cmdViewSymolsDecQP{this, QStringLiteral("cmdViewSymolsDecQP")};
    ui::CommandButton cmdViewSymolsHexQP{this, QStringLiteral("cmdViewSymolsHexQP")};
    ui::CommandButton cmdShowFilterResponseQP{this, QStringLiteral("cmdShowFilterResponseQP")};
    ui::ControlArray<ui::Label> lblFieldErrQP{this, QStringLiteral("lblFieldErrQP"), 18};

    // GMSK \ EDGE
    ui::TextBox txtNumSymbolsGMSK{this, QStringLiteral("txtNumSymbolsGMSK")};
    ui::ComboBox lstModTypeGMSK{this, QStringLiteral("lstModTypeGMSK"), -1, ui::vbComboDropdownList};
    ui::TextBox txtFilterSpanValGMSK{this, QStringLiteral("txtFilterSpanValGMSK")};
    ui::TextBox txtCoeficientResGMSK{this, QStringLiteral("txtCoeficientResGMSK")};
    ui::TextBox txtUpSamplingFactGMSK{this, QStringLiteral("txtUpSamplingFactGMSK")};
    ui::Label lblNormBWGMSK{this, QStringLiteral("lblNormBWGMSK")};
    ui::TextBox txtNormBWGMSK{this, QStringLiteral("txtNormBWGMSK")};
    ui::Label lblModIndexGMSK{this, QStringLiteral("lblModIndexGMSK")};
    ui::TextBox txtModIndexGMSK{this, QStringLiteral("txtModIndexGMSK")};
    ui::TextBox txtNumOfOutBitsGMSK{this, QStringLiteral("txtNumOfOutBitsGMSK")};
    ui::Frame fraGMSKDebugOptions{this, QStringLiteral("fraGMSKDebugOptions")};
    ui::CheckBox chkDebugModeGE{this, QStringLiteral("chkDebugModeGE")};
    ui::CheckBox chkFullLengthDataGE{this, QStringLiteral("chkFullLengthDataGE")};
    ui::TextBox txtOutputFileGMSKE{this, QStringLiteral("txtOutputFileGMSKE")};
    ui::CommandButton cmdSaveAsGMSKE{this, QStringLiteral("cmdSaveAsGMSKE")};
    ui::ComboBox lstOutputDataFormatGMSK{this, QStringLiteral("lstOutputDataFormatGMSK"), -1,
                                         ui::vbComboDropdownList};
    ui::TextBox txtGraphPointsGMSK{this, QStringLiteral("txtGraphPointsGMSK")};
    ui::TextBox txtAttenuationGMSK{this, QStringLiteral("txtAttenuationGMSK")};
    ui::CommandButton cmdGenerateGMSKData{this, QStringLiteral("cmdGenerateGMSKData")};
    ui::CommandButton cmdMaxGESymbols{this, QStringLiteral("cmdMaxGESymbols")};
    ui::Label lblNumOutVectsGMSK{this, QStringLiteral("lblNumOutVectsGMSK")};
    ui::CommandButton cmdGMSKSaveAs{this, QStringLiteral("cmdGMSKSaveAs")};
    ui::ControlArray<ui::Label> lblFieldErrGE{this, QStringLiteral("lblFieldErrGE"), 11};

    // SDPSK
    ui::TextBox txtNumSymbolsSDPSK{this, QStringLiteral("txtNumSymbolsSDPSK")};
    ui::ComboBox lstFilterTypeSDPSK{this, QStringLiteral("lstFilterTypeSDPSK"), -1, ui::vbComboDropdownList};
    ui::TextBox txtFilterTAPsSDPSK{this, QStringLiteral("txtFilterTAPsSDPSK")};
    ui::TextBox txtFilterCoefValSDPSK{this, QStringLiteral("txtFilterCoefValSDPSK")};
    ui::TextBox txtFilterUpsampleFactSDPSK{this, QStringLiteral("txtFilterUpsampleFactSDPSK")};
    ui::TextBox txtFiltROFactSDPSK{this, QStringLiteral("txtFiltROFactSDPSK")};
    ui::ComboBox lstFilterWindowTypeSDPSK{this, QStringLiteral("lstFilterWindowTypeSDPSK"), -1,
                                          ui::vbComboDropdownList};
    ui::TextBox txtKaiserWROFSDPSK{this, QStringLiteral("txtKaiserWROFSDPSK")};
    ui::TextBox txtNumOfOutBitsSDPSK{this, QStringLiteral("txtNumOfOutBitsSDPSK")};
    ui::Frame fraSDPSKDebug{this, QStringLiteral("fraSDPSKDebug")};
    ui::CheckBox chkDebugModeSDPSK{this, QStringLiteral("chkDebugModeSDPSK")};
    ui::TextBox txtAttenuationValSDPSK{this, QStringLiteral("txtAttenuationValSDPSK")};
    ui::TextBox txtGraphPointsSDPSK{this, QStringLiteral("txtGraphPointsSDPSK")};
    ui::TextBox txtOutputFileSDPSK{this, QStringLiteral("txtOutputFileSDPSK")};
    ui::CommandButton cmdSaveAsSDPSK{this, QStringLiteral("cmdSaveAsSDPSK")};
    ui::ComboBox lstOutputDataFormatSDPSK{this, QStringLiteral("lstOutputDataFormatSDPSK"), -1,
                                          ui::vbComboDropdownList};
    ui::CommandButton cmdGenSDPSKData{this, QStringLiteral("cmdGenSDPSKData")};
    ui::CommandButton cmdMaxSDPSKSymbols{this, QStringLiteral("cmdMaxSDPSKSymbols")};
    ui::Label lblOutputVectsSDPSK{this, QStringLiteral("lblOutputVectsSDPSK")};
    ui::CommandButton cmdSDPSKSaveAs{this, QStringLiteral("cmdSDPSKSaveAs")};
    ui::ControlArray<ui::Label> lblFieldErrSDPSK{this, QStringLiteral("lblFieldErrSDPSK"), 17};

    // Debug and About
    ui::CommandButton Command1{this, QStringLiteral("Command1")};
    ui::CommandButton Command2{this, QStringLiteral("Command2")};
    ui::Label lblTitle{this, QStringLiteral("lblTitle")};
    ui::Label lblDDSWeb{this, QStringLiteral("lblDDSWeb")};

protected:
    void buildUi(QWidget* window) override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    // Construction by concern.
    void setCaptions();
    void fillLists();
    void setInitialValues();
    void bindHandlers();
    void bindFieldChecks();

    // The field checks as the user types (the rules themselves: field_rules.h).
    struct RangeRule {
        ui::TextBox* box;
        bool integer;
        double min;
        double max;
        QString message;
        ui::Label* marker;
    };
    struct CountRule {
        ui::TextBox* box;
        mvg::Generator generator;
        bool updateFirst;
        ui::Label* marker; // nullptr: no numeric test
    };
    void checkRange(const RangeRule& rule);
    void checkCountField(const CountRule& rule);
    // A generator's tab: its symbol and upsampling boxes; its count label and the label's marker.
    std::pair<const ui::TextBox*, const ui::TextBox*> countBoxes(mvg::Generator generator) const;
    std::pair<ui::Label*, ui::Label*> countLabel(mvg::Generator generator);

    void lstFilterWindowType_Click(ui::ComboBox& list, ui::TextBox& kaiser, ui::Label& label);
    void lstModTypeGMSK_Click();
    void chooseOutputName(ui::TextBox& box, mvg::Generator generator, const QString& title);
    void saveOutputFile(mvg::Generator generator, bool proposeOutputFile);
    void maxSymbols_Click(mvg::Generator generator, ui::TextBox& symbols);
    void viewSymbolFile(const QString& extension);
    void lblDDSWeb_Click();

    void endRun(mvg::Generator generator);
    void appendToConsole(const QString& text);
    // Closing the window (or the main window) during a run: false when the user keeps the run going.
    bool stopRunToClose(int unloadMode);

    // The run under way, while its program may run.
    mvg::GeneratorRun* activeRun_ = nullptr;

    std::array<mvg::GeneratorFiles, mvg::kGeneratorCount> files_;
    std::array<int32_t, mvg::kGeneratorCount> maxSymbols_{-1, -1, -1, -1};
    bool debug_ = false;
};
