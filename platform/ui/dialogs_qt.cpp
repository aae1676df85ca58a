#include "platform/ui/colors.h"
#include "platform/ui/dialog_service.h"
#include "platform/ui/event_nesting.h"
#include "platform/ui/forms.h"
#include "platform/ui/minimised_modal_watch.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <cmath>

namespace ui {

namespace {

QWidget* ownerWidget(uint32_t ownerHwnd)
{
    if (Form* form = Forms::fromHwnd(ownerHwnd); form && form->widget())
        return form->widget()->window();
    return QApplication::activeWindow();
}

QFont toQFont(const FontChoice& choice)
{
    QFont font(choice.name);
    if (choice.size > 0)
        font.setPointSizeF(choice.size);
    int weight = std::clamp(choice.weight, 1, 1000);
    if (choice.bold && weight < QFont::Bold)
        weight = QFont::Bold;
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    font.setStrikeOut(choice.strikethrough);
    return font;
}

FontChoice fromQFont(const QFont& font)
{
    FontChoice choice;
    choice.name = font.family();
    choice.size = font.pointSizeF();
    choice.weight = font.weight();
    choice.bold = font.weight() >= QFont::Bold;
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strikethrough = font.strikeOut();
    return choice;
}

PrinterSettings settingsOf(const QPrinter& printer)
{
    PrinterSettings settings;
    settings.printerName = printer.printerName();
    settings.copies = printer.copyCount();
    settings.collate = printer.collateCopies();
    settings.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    settings.paperSize = classicPaperSize(printer.pageLayout().pageSize().id());
    settings.printQuality = printer.resolution();
    return settings;
}

class QtDialogService : public DialogService {
public:
    FileDialogResult openFile(const FileDialogRequest& request) override { return fileDialog(request); }
    FileDialogResult saveFile(const FileDialogRequest& request) override { return fileDialog(request); }

    ColorDialogResult chooseColor(const ColorDialogRequest& request) override
    {
        ColorDialogResult result;
        result.customColors = request.customColors;
        for (int i = 0; i < 16; ++i)
            QColorDialog::setCustomColor(i, toQColor(request.customColors[static_cast<size_t>(i)]));
        QColorDialog dialog(toQColor(request.color), ownerWidget(request.ownerHwnd));
        if (!request.title.isEmpty())
            dialog.setWindowTitle(request.title);
        if (run(dialog)) {
            result.accepted = true;
            result.color = fromQColor(dialog.selectedColor());
        }
        for (int i = 0; i < 16; ++i)
            result.customColors[static_cast<size_t>(i)] = fromQColor(QColorDialog::customColor(i));
        return result;
    }

    FontDialogResult chooseFont(const FontDialogRequest& request) override
    {
        FontDialogResult result;
        result.font = request.font;
        result.color = request.color;
        QFontDialog dialog(toQFont(request.font), ownerWidget(request.ownerHwnd));
        if (!request.title.isEmpty())
            dialog.setWindowTitle(request.title);
        if (!run(dialog))
            return result;
        result.accepted = true;
        result.font = fromQFont(dialog.selectedFont());
        // Qt's dialog has no size limits: the chosen size is kept within them.
        if (request.minSize > 0)
            result.font.size = std::max<double>(result.font.size, request.minSize);
        if (request.maxSize > 0)
            result.font.size = std::min<double>(result.font.size, request.maxSize);
        return result;
    }

    PrintDialogResult print(const PrintDialogRequest& request) override
    {
        auto printer = std::make_shared<QPrinter>();
        printer->setCopyCount(std::max(1, request.copies));
        printer->setCollateCopies(request.collate);
        QPrintDialog dialog(printer.get(), ownerWidget(request.ownerHwnd));
        dialog.setOption(QAbstractPrintDialog::PrintToFile,
                         request.showPrintToFile && !request.disablePrintToFile);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, !request.disableSelection);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, !request.disablePageNumbers);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
        const int minPage = std::max(1, request.minPage);
        const int maxPage = std::max(minPage, request.maxPage);
        dialog.setMinMax(minPage, maxPage);
        if (request.fromPage >= minPage && request.toPage <= maxPage && request.fromPage <= request.toPage)
            dialog.setFromTo(request.fromPage, request.toPage);
        if (request.printRange == 1 && !request.disablePageNumbers)
            dialog.setPrintRange(QAbstractPrintDialog::PageRange);
        else if (request.printRange == 2 && !request.disableSelection)
            dialog.setPrintRange(QAbstractPrintDialog::Selection);
        PrintDialogResult result;
        if (!run(dialog))
            return result;
        result.accepted = true;
        result.printRange = dialog.printRange() == QAbstractPrintDialog::PageRange   ? 1
                            : dialog.printRange() == QAbstractPrintDialog::Selection ? 2
                                                                                     : 0;
        result.fromPage = dialog.fromPage();
        result.toPage = dialog.toPage();
        result.printToFile = !printer->outputFileName().isEmpty();
        result.settings = settingsOf(*printer);
        result.printer = printer;
        return result;
    }

    PageSetupResult pageSetup(const PageSetupRequest& request) override
    {
        QPrinter printer;
        const double scale = request.units == 0 ? 1000.0 : 100.0;
        const QPageLayout::Unit unit = request.units == 0 ? QPageLayout::Inch : QPageLayout::Millimeter;
        QPageLayout layout = printer.pageLayout();
        if (request.paperSize != 0)
            layout.setPageSize(
                QPageSize(static_cast<QPageSize::PageSizeId>(qtPageSizeId(request.paperSize))));
        if (request.orientation == 1 || request.orientation == 2)
            layout.setOrientation(request.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
        layout.setUnits(unit);
        const auto toMargins = [scale](const PageMargins& m) {
            return QMarginsF(m.left / scale, m.top / scale, m.right / scale, m.bottom / scale);
        };
        layout.setMinimumMargins(toMargins(request.minimumMargins));
        layout.setMargins(toMargins(request.margins)); // refused (kept) when outside the page
        printer.setPageLayout(layout);

        QPageSetupDialog dialog(&printer, ownerWidget(request.ownerHwnd));
        PageSetupResult result;
        if (!run(dialog))
            return result;
        result.accepted = true;
        const QMarginsF margins = printer.pageLayout().margins(unit);
        const auto scaled = [scale](double v) { return static_cast<int>(std::lround(v * scale)); };
        result.margins = {scaled(margins.left()), scaled(margins.top()), scaled(margins.right()),
                          scaled(margins.bottom())};
        result.settings = settingsOf(printer);
        return result;
    }

private:
    // The folder of the file the user last confirmed in a file dialog of the program; empty before that.
    static QString& lastChosenFolder()
    {
        static QString folder;
        return folder;
    }

    static bool run(QDialog& dialog)
    {
        detail::NestingScope nesting(detail::NestingScope::Kind::WaitForUser);
        detail::MinimisedModalWatch::install();
        return dialog.exec() == QDialog::Accepted;
    }

    static FileDialogResult fileDialog(const FileDialogRequest& request)
    {
        const bool open = request.kind == FileDialogRequest::Kind::Open;
        const auto filters = parseClassicFilter(request.filter);
        QStringList nameFilters;
        for (const FileFilter& f : filters)
            nameFilters << qtNameFilter(f);

        // No folder asked for: the dialog starts where the user's last confirmed file dialog left off.
        const QString startFolder =
            request.initialFolder.isEmpty() ? lastChosenFolder() : request.initialFolder;
        QFileDialog dialog(ownerWidget(request.ownerHwnd), request.title, startFolder);
        dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        // Qt's own dialog matches the filters without regard to case; a desktop's native one may not, and a
        // "*.stp" filter must still show a file saved as "SETUP.STP".
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setFileMode(
            open ? (request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile)
                 : QFileDialog::AnyFile);
        if (!nameFilters.isEmpty()) {
            dialog.setNameFilters(nameFilters);
            const int index = std::clamp(request.filterIndex, 1, static_cast<int>(nameFilters.size()));
            dialog.selectNameFilter(nameFilters[index - 1]);
        }
        if (!request.defaultExtension.isEmpty())
            dialog.setDefaultSuffix(request.defaultExtension);
        if (!open && !request.overwritePrompt)
            dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);

        FileDialogResult result;
        result.readOnly = request.readOnlyChecked;
        if (!run(dialog) || dialog.selectedFiles().isEmpty())
            return result;
        result.accepted = true;
        result.fileNames = dialog.selectedFiles();
        result.fileName = result.fileNames.first();
        lastChosenFolder() = QFileInfo(result.fileName).absolutePath();
        const qsizetype chosen = nameFilters.indexOf(dialog.selectedNameFilter());
        result.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : std::max(1, request.filterIndex);
        return result;
    }
};

DialogService*& installedService()
{
    static DialogService* service = nullptr;
    return service;
}

} // namespace

DialogService& dialogService()
{
    if (DialogService* service = installedService())
        return *service;
    static QtDialogService real;
    return real;
}

void setDialogService(DialogService* service)
{
    installedService() = service;
}

} // namespace ui
