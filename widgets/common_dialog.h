#pragma once

#include "platform/ui/dialog_service.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>

class QPrinter;

// Flag bits of the file dialogs, in the numbering callers pass in and read back.
namespace filedlg {
constexpr int32_t ReadOnly = 0x1;
constexpr int32_t OverwritePrompt = 0x2;
constexpr int32_t HideReadOnly = 0x4;
constexpr int32_t EnableHook = 0x20;
constexpr int32_t EnableTemplate = 0x40;
constexpr int32_t AllowMultiSelect = 0x200;
constexpr int32_t ExtensionDifferent = 0x400;
constexpr int32_t PathMustExist = 0x800;
constexpr int32_t FileMustExist = 0x1000;
} // namespace filedlg

// Flag bits of the font dialog.
namespace fontdlg {
constexpr int32_t ScreenFonts = 0x1;
constexpr int32_t PrinterFonts = 0x2;
constexpr int32_t EnableHook = 0x8;
constexpr int32_t EnableTemplate = 0x10;
constexpr int32_t InitToLogFont = 0x40;
constexpr int32_t Effects = 0x100;
constexpr int32_t EnableTemplateHandle = 0x200;
constexpr int32_t LimitSize = 0x2000;
} // namespace fontdlg

// Flag bits of the print dialog.
namespace printdlg {
constexpr int32_t Selection = 0x1;
constexpr int32_t PageNumbers = 0x2;
constexpr int32_t NoSelection = 0x4;
constexpr int32_t NoPageNumbers = 0x8;
constexpr int32_t Collate = 0x10;
constexpr int32_t PrintToFile = 0x20;
constexpr int32_t NoWarning = 0x80;
constexpr int32_t ReturnDC = 0x100;
constexpr int32_t UseDevModeCopies = 0x40000;
constexpr int32_t DisablePrintToFile = 0x80000;
constexpr int32_t HidePrintToFile = 0x100000;
} // namespace printdlg

// The colour value of a cancelled colour dialog.
constexpr uint32_t kNoColour = 0xFFFFFFFF;

// The common dialogs behind calls whose arguments are plain values passed by reference: a window asks for
// a file in one call and reads the user's choices back from the same variables. Make one object per use.
// Everything goes through ui::dialogService(), so tests script the dialogs.
//
// Booleans are C++ bools; an owner of -1 means no owner window. The dialog methods (but VBPageSetupDlg) are
// true only when the dialog returned 1 (APIReturn); a cancel gives false and the failure values below.
class cCommonDialog {
public:
    int32_t APIReturn() const { return apiReturn_; }
    int32_t ExtendedError() const { return extendedError_; }

    // Open dialog. Filter is the classic text "Setup Files (*.stp)|*.stp|All Files (*.*)|*.*" (':' also
    // separates); FilterIndex is 1-based.
    // Success: FileName (full path; with several files chosen, their folder), FileTitle (name only),
    //   Flags (as sent, with ReadOnly set when the box was ticked, ExtensionDifferent when the chosen name's
    //   extension is not DefaultExt), FilterIndex (the entry the user ended on), Filter (that entry as
    //   description, NUL, patterns), ReadOnly set true when the box was ticked.
    // Cancel: FileName and FileTitle empty, Flags 0, FilterIndex -1, Filter empty.
    bool VBGetOpenFileName(QString& FileName, QString& FileTitle, bool FileMustExist, bool MultiSelect,
                           bool& ReadOnly, bool HideReadOnly, QString& Filter, int32_t& FilterIndex,
                           const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt,
                           int32_t Owner, int32_t& Flags);
    // Save dialog: FileName in is the proposed name. Success as for open. Cancel: FileName and FileTitle
    // empty, Flags 0, FilterIndex 0, Filter the NUL-separated text that was sent.
    bool VBGetSaveFileName(QString& FileName, QString& FileTitle, bool OverWritePrompt, QString& Filter,
                           int32_t& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                           const QString& DefaultExt, int32_t Owner, int32_t& Flags);
    // The name part of a path ("C:/x/Setup.stp" -> "Setup.stp"); empty for a name that is no file name.
    QString VBGetFileTitle(const QString& FileName) const;

    // Colour dialog: Color in is the colour shown first; success gives the chosen colour, cancel kNoColour.
    // The custom colours of this object go to the dialog and take what the user left there.
    bool VBChooseColor(uint32_t& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen, int32_t Owner,
                       int32_t unused = 0);
    // Custom colour 0-15 (first use fills the table with system colours 0-15); -1 / ignored elsewhere.
    uint32_t CustomColor(int index);
    void setCustomColor(int index, uint32_t colour);

    // Font dialog: CurFont in and out (name, size, bold, italic, underline, strike-out, weight). A PrinterDC
    // of -1 becomes 0 (no printer context here); any other value asks for printer fonts. Color non-zero
    // offers the effects; MinSize/MaxSize non-zero limit the size. Success writes back Flags, Color and
    // CurFont; cancel writes nothing.
    bool VBChooseFont(QFont& CurFont, int32_t& PrinterDC, int32_t Owner, uint32_t& Color, int32_t MinSize,
                      int32_t MaxSize, int32_t& Flags);

    // Print dialog. hDC out is the printer the user set up (what the program paints on). PrintRange: 0 all,
    // 1 pages, 2 selection. Printer, when given, receives copies, orientation, paper size and quality.
    bool VBPrintDlg(std::shared_ptr<QPrinter>& hDC, int32_t& PrintRange, bool DisablePageNumbers,
                    int32_t& FromPage, int32_t& ToPage, bool DisableSelection, int32_t& Copies,
                    bool ShowPrintToFile, bool DisablePrintToFile, bool& PrintToFile, bool& Collate,
                    bool PreventWarning, int32_t Owner, ui::PrinterSettings* Printer = nullptr,
                    int32_t unused = 0);

    // Page setup: margins in inches (Units 0, sent in thousandths) or millimetres (other Units, sent in
    // hundredths), read back rounded to whole units. True when the user confirmed.
    bool VBPageSetupDlg(int32_t Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                        bool DisablePrinter, int32_t& LeftMargin, int32_t MinLeftMargin, int32_t& RightMargin,
                        int32_t MinRightMargin, int32_t& TopMargin, int32_t MinTopMargin,
                        int32_t& BottomMargin, int32_t MinBottomMargin, int32_t& PaperSize,
                        int32_t& Orientation, int32_t& PrintQuality, int32_t Units,
                        ui::PrinterSettings* Printer = nullptr, int32_t unused = 0);

    // The printer settings the last print or page-setup dialog returned.
    const ui::PrinterSettings& DeviceMode() const { return deviceMode_; }
    // Every file the last confirmed open or save dialog returned (several with multiple selection).
    const QStringList& SelectedFiles() const { return selectedFiles_; }

    // The filter text as the dialog gets it: every '|' and ':' becomes NUL, and two NULs end it.
    static QString DialogFilterText(const QString& filter);
    // The n-th (1-based) "description NUL patterns" pair of a NUL-separated filter text; empty when absent.
    static QString FilterPair(const QString& dialogFilterText, int n);
    // The default extension as handed to the platform dialog: without a leading '.', and spelt like a
    // "*.ext" pattern of the filter that names the same extension in other letter case, so that a saved
    // file always matches its own filter where file names are case-sensitive ("STP" with "*.stp" -> "stp").
    static QString DialogDefaultExtension(const QString& defaultExt, const QString& filter);

private:
    void startCall();
    void fillCustomColours();
    bool fileDialog(bool open, QString& FileName, QString& FileTitle, QString& Filter, int32_t& FilterIndex,
                    const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt, int32_t Owner,
                    int32_t& Flags);

    int32_t apiReturn_ = 0;
    int32_t extendedError_ = 0;
    std::array<uint32_t, 16> customColours_{};
    bool customColoursFilled_ = false;
    ui::PrinterSettings deviceMode_;
    QStringList selectedFiles_;
};
