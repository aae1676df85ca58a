#include "platform/ui/colors.h"
#include "widgets/common_dialog.h"

#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

uint32_t ownerHandle(int32_t owner)
{
    return owner == -1 ? 0u : static_cast<uint32_t>(owner);
}

// A margin times its scale, kept within 32 bits (the dialog cannot take more anyway).
int scaledToDialog(int32_t value, int scale)
{
    const int64_t scaled = static_cast<int64_t>(value) * scale;
    return static_cast<int>(std::clamp<int64_t>(scaled, std::numeric_limits<int32_t>::min(),
                                                std::numeric_limits<int32_t>::max()));
}

int32_t scaledFromDialog(int value, int scale)
{
    return static_cast<int32_t>(std::lround(static_cast<double>(value) / scale));
}

void copyToPrinter(const ui::PrinterSettings& settings, ui::PrinterSettings* printer)
{
    if (!printer)
        return;
    printer->copies = settings.copies;
    printer->orientation = settings.orientation;
    printer->paperSize = settings.paperSize;
    printer->printQuality = settings.printQuality;
}

ui::FontChoice fontChoiceOf(const QFont& font)
{
    ui::FontChoice choice;
    choice.name = font.family();
    // The dialog gets the size in tenths of a point.
    choice.size = std::round(font.pointSizeF() * 10.0) / 10.0;
    choice.weight = font.weight();
    choice.bold = font.weight() >= QFont::Bold;
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strikethrough = font.strikeOut();
    return choice;
}

void applyFontChoice(const ui::FontChoice& choice, QFont& font)
{
    if (!choice.name.isEmpty())
        font.setFamily(choice.name);
    if (choice.size > 0)
        font.setPointSizeF(std::round(choice.size * 10.0) / 10.0);
    int weight = std::clamp(choice.weight, 1, 1000);
    if (choice.bold && weight < QFont::Bold)
        weight = QFont::Bold;
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    font.setStrikeOut(choice.strikethrough);
}

} // namespace

void cCommonDialog::fillCustomColours()
{
    if (customColoursFilled_)
        return;
    for (uint32_t i = 0; i < customColours_.size(); ++i)
        customColours_[i] = ui::resolveColour(0x80000000u | i);
    customColoursFilled_ = true;
}

uint32_t cCommonDialog::CustomColor(int index)
{
    fillCustomColours();
    if (index < 0 || index >= static_cast<int>(customColours_.size()))
        return kNoColour;
    return customColours_[static_cast<size_t>(index)];
}

void cCommonDialog::setCustomColor(int index, uint32_t colour)
{
    fillCustomColours();
    if (index >= 0 && index < static_cast<int>(customColours_.size()))
        customColours_[static_cast<size_t>(index)] = colour;
}

bool cCommonDialog::VBChooseColor(uint32_t& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen,
                                  int32_t Owner, int32_t)
{
    fillCustomColours();
    ui::ColorDialogRequest request;
    // A system colour starts the dialog on what it shows now.
    request.color = ui::resolveColour(Color);
    request.anyColor = AnyColor;
    request.fullOpen = FullOpen;
    request.disableFullOpen = DisableFullOpen;
    request.customColors = customColours_;
    request.ownerHwnd = ownerHandle(Owner);
    const ui::ColorDialogResult result = ui::dialogService().chooseColor(request);
    apiReturn_ = result.accepted ? 1 : 0;
    if (!result.accepted) {
        Color = kNoColour;
        return false;
    }
    Color = result.color;
    customColours_ = result.customColors;
    return true;
}

bool cCommonDialog::VBChooseFont(QFont& CurFont, int32_t& PrinterDC, int32_t Owner, uint32_t& Color,
                                 int32_t MinSize, int32_t MaxSize, int32_t& Flags)
{
    startCall();
    int32_t flags = Flags;
    if (PrinterDC == -1) {
        // There is no printer device context on this platform: printer fonts come from the dialog itself.
        PrinterDC = 0;
    } else {
        flags |= fontdlg::PrinterFonts;
    }
    if ((flags & fontdlg::PrinterFonts) == 0)
        flags |= fontdlg::ScreenFonts;
    if (Color != 0)
        flags |= fontdlg::Effects;
    if (MinSize != 0 || MaxSize != 0)
        flags |= fontdlg::LimitSize;
    flags &= ~(fontdlg::EnableHook | fontdlg::EnableTemplate | fontdlg::EnableTemplateHandle);
    flags |= fontdlg::InitToLogFont;

    ui::FontDialogRequest request;
    request.font = fontChoiceOf(CurFont);
    request.color = Color;
    request.effects = (flags & fontdlg::Effects) != 0;
    if ((flags & fontdlg::LimitSize) != 0) {
        request.minSize = MinSize;
        request.maxSize = MaxSize;
    }
    request.printerFonts = (flags & fontdlg::PrinterFonts) != 0;
    request.ownerHwnd = ownerHandle(Owner);
    const ui::FontDialogResult result = ui::dialogService().chooseFont(request);
    apiReturn_ = result.accepted ? 1 : 0;
    if (!result.accepted)
        return false;
    Flags = flags;
    Color = result.color;
    applyFontChoice(result.font, CurFont);
    return true;
}

bool cCommonDialog::VBPrintDlg(std::shared_ptr<QPrinter>& hDC, int32_t& PrintRange, bool DisablePageNumbers,
                               int32_t& FromPage, int32_t& ToPage, bool DisableSelection, int32_t& Copies,
                               bool ShowPrintToFile, bool DisablePrintToFile, bool& PrintToFile,
                               bool& Collate, bool PreventWarning, int32_t Owner,
                               ui::PrinterSettings* Printer, int32_t)
{
    startCall();
    int32_t flags = printdlg::UseDevModeCopies | printdlg::ReturnDC;
    if (DisablePageNumbers)
        flags |= printdlg::NoPageNumbers;
    if (DisablePrintToFile)
        flags |= printdlg::DisablePrintToFile;
    if (DisableSelection)
        flags |= printdlg::NoSelection;
    if (PrintToFile)
        flags |= printdlg::PrintToFile;
    if (!ShowPrintToFile)
        flags |= printdlg::HidePrintToFile;
    if (PreventWarning)
        flags |= printdlg::NoWarning;
    if (Collate)
        flags |= printdlg::Collate;
    if (PrintRange == 1)
        flags |= printdlg::PageNumbers;
    else if (PrintRange == 2)
        flags |= printdlg::Selection;

    ui::PrintDialogRequest request;
    request.printRange = (flags & printdlg::PageNumbers) ? 1 : (flags & printdlg::Selection) ? 2 : 0;
    request.fromPage = FromPage;
    request.toPage = ToPage;
    request.minPage = 1;
    request.maxPage = 65535;
    request.collate = (flags & printdlg::Collate) != 0;
    request.disablePageNumbers = (flags & printdlg::NoPageNumbers) != 0;
    request.disableSelection = (flags & printdlg::NoSelection) != 0;
    request.showPrintToFile = (flags & printdlg::HidePrintToFile) == 0;
    request.disablePrintToFile = (flags & printdlg::DisablePrintToFile) != 0;
    request.printToFile = (flags & printdlg::PrintToFile) != 0;
    request.ownerHwnd = static_cast<uint32_t>(Owner);
    const ui::PrintDialogResult result = ui::dialogService().print(request);
    apiReturn_ = result.accepted ? 1 : 0;
    if (!result.accepted)
        return false;

    hDC = result.printer;
    PrintRange = result.printRange == 1 ? 1 : result.printRange == 2 ? 2 : 0;
    FromPage = result.fromPage;
    ToPage = result.toPage;
    PrintToFile = result.printToFile;
    deviceMode_ = result.settings;
    Copies = deviceMode_.copies;
    Collate = deviceMode_.collate;
    copyToPrinter(deviceMode_, Printer);
    return true;
}

bool cCommonDialog::VBPageSetupDlg(int32_t Owner, bool DisableMargins, bool DisableOrientation,
                                   bool DisablePaper, bool DisablePrinter, int32_t& LeftMargin,
                                   int32_t MinLeftMargin, int32_t& RightMargin, int32_t MinRightMargin,
                                   int32_t& TopMargin, int32_t MinTopMargin, int32_t& BottomMargin,
                                   int32_t MinBottomMargin, int32_t& PaperSize, int32_t& Orientation,
                                   int32_t& PrintQuality, int32_t Units, ui::PrinterSettings* Printer,
                                   int32_t)
{
    startCall();
    const int scale = Units == 0 ? 1000 : 100;
    ui::PageSetupRequest request;
    request.units = Units == 0 ? 0 : 1;
    request.disableMargins = DisableMargins;
    request.disableOrientation = DisableOrientation;
    request.disablePaper = DisablePaper;
    request.disablePrinter = DisablePrinter;
    request.margins = {scaledToDialog(LeftMargin, scale), scaledToDialog(TopMargin, scale),
                       scaledToDialog(RightMargin, scale), scaledToDialog(BottomMargin, scale)};
    request.minimumMargins = {scaledToDialog(MinLeftMargin, scale), scaledToDialog(MinTopMargin, scale),
                              scaledToDialog(MinRightMargin, scale), scaledToDialog(MinBottomMargin, scale)};
    request.ownerHwnd = static_cast<uint32_t>(Owner);
    const ui::PageSetupResult result = ui::dialogService().pageSetup(request);
    apiReturn_ = result.accepted ? 1 : 0;
    if (!result.accepted)
        return false;

    LeftMargin = scaledFromDialog(result.margins.left, scale);
    TopMargin = scaledFromDialog(result.margins.top, scale);
    RightMargin = scaledFromDialog(result.margins.right, scale);
    BottomMargin = scaledFromDialog(result.margins.bottom, scale);
    deviceMode_ = result.settings;
    PaperSize = deviceMode_.paperSize;
    Orientation = deviceMode_.orientation;
    PrintQuality = deviceMode_.printQuality;
    copyToPrinter(deviceMode_, Printer);
    return true;
}
