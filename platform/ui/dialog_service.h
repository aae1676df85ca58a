#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QPrinter;

namespace ui {

class Form;

// The common dialogs (open and save file, colour, font, print, page setup) as plain requests and results.
// The real service shows Qt's dialogs; tests install a scripted one (scripted_dialogs.h). The system's own
// dialog class builds its classic arguments on top of these.

// One entry of a file filter: what the user reads and the patterns it stands for.
struct FileFilter {
    QString description; // "Setup Files (*.stp)"
    QString patterns;    // "*.stp", several separated by ';'
};

// Parses the classic filter text "Text (*.txt)|*.txt|All (*.*)|*.*" (pairs separated by '|'; ':' is
// accepted as a separator too). A trailing description without patterns is kept with an empty pattern.
std::vector<FileFilter> parseClassicFilter(const QString& filter);
// The classic text for a list of filters, and the one pair "description|patterns".
QString classicFilterText(const std::vector<FileFilter>& filters);
// The Qt name filter shown for an entry: the description, with its patterns in parentheses where the
// description does not show them already; "*.*" stands for every file ("*") as it does classically.
QString qtNameFilter(const FileFilter& filter);

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString fileName;             // initial name (may include a folder)
    QString filter;               // classic form, see parseClassicFilter
    int filterIndex = 1;          // 1-based entry selected at first
    QString initialFolder;        // empty: where the last file dialog of the program left off
    QString defaultExtension;     // appended to a typed name without extension ("STP" -> name.STP)
    bool fileMustExist = false;   // open
    bool pathMustExist = false;   // open and save: the folder must exist
    bool overwritePrompt = false; // save: ask before replacing a file
    bool multiSelect = false;     // open
    bool readOnlyChecked = false; // open: the read-only box ticked at first
    bool hideReadOnly = false;    // open: no read-only box
    uint32_t ownerHwnd = 0;       // the owner window's handle, 0 for none
};

struct FileDialogResult {
    bool accepted = false;
    QString fileName;      // the chosen file with its folder
    QStringList fileNames; // every chosen file (multiple selection), fileName first
    int filterIndex = 0;   // 1-based entry the user ended on
    bool readOnly = false;
};

struct ColorDialogRequest {
    uint32_t color = 0; // 0x00BBGGRR shown at first
    bool anyColor = true;
    bool fullOpen = false;
    bool disableFullOpen = false;
    std::array<uint32_t, 16> customColors{};
    QString title;
    uint32_t ownerHwnd = 0;
};

struct ColorDialogResult {
    bool accepted = false;
    uint32_t color = 0;
    std::array<uint32_t, 16> customColors{}; // as the user left them
};

struct FontChoice {
    QString name;
    double size = 8.0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int weight = 400; // 100-900, 400 normal, 700 bold
};

struct FontDialogRequest {
    FontChoice font;
    uint32_t color = 0;
    bool effects = false; // offer colour, underline and strike-out
    int minSize = 0;      // 0: no limit
    int maxSize = 0;
    bool printerFonts = false;
    QString title;
    uint32_t ownerHwnd = 0;
};

struct FontDialogResult {
    bool accepted = false;
    FontChoice font;
    uint32_t color = 0;
};

struct PrintDialogRequest {
    int printRange = 0; // 0 all, 1 pages, 2 selection
    int fromPage = 1;
    int toPage = 1;
    int minPage = 1;
    int maxPage = 65535;
    int copies = 1;
    bool collate = false;
    bool disablePageNumbers = false;
    bool disableSelection = false;
    bool showPrintToFile = true;
    bool disablePrintToFile = false;
    bool printToFile = false;
    uint32_t ownerHwnd = 0;
};

// Paper and quality in the classic numbering: paper 1 letter, 5 legal, 8 A3, 9 A4, 11 A5 (0 other);
// orientation 1 portrait, 2 landscape; print quality in dots per inch.
struct PrinterSettings {
    QString printerName;
    int copies = 1;
    bool collate = false;
    int orientation = 1;
    int paperSize = 0;
    int printQuality = 0;
};

struct PrintDialogResult {
    bool accepted = false;
    int printRange = 0;
    int fromPage = 0;
    int toPage = 0;
    bool printToFile = false;
    PrinterSettings settings;
    // The printer as the user set it up; nullptr when cancelled (and from the scripted dialogs).
    std::shared_ptr<QPrinter> printer;
};

// Margins are in thousandths of an inch (units 0) or hundredths of a millimetre (any other units).
struct PageMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct PageSetupRequest {
    int units = 0;
    PageMargins margins;
    PageMargins minimumMargins;
    bool disableMargins = false;
    bool disableOrientation = false;
    bool disablePaper = false;
    bool disablePrinter = false;
    int paperSize = 0;   // classic numbering, 0 keeps the printer's
    int orientation = 0; // 1 portrait, 2 landscape, 0 keeps the printer's
    uint32_t ownerHwnd = 0;
};

struct PageSetupResult {
    bool accepted = false;
    PageMargins margins;
    PrinterSettings settings;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual FileDialogResult openFile(const FileDialogRequest& request) = 0;
    virtual FileDialogResult saveFile(const FileDialogRequest& request) = 0;
    virtual ColorDialogResult chooseColor(const ColorDialogRequest& request) = 0;
    virtual FontDialogResult chooseFont(const FontDialogRequest& request) = 0;
    virtual PrintDialogResult print(const PrintDialogRequest& request) = 0;
    virtual PageSetupResult pageSetup(const PageSetupRequest& request) = 0;
};

DialogService& dialogService();
void setDialogService(DialogService* service); // nullptr restores the Qt dialogs

// A file request goes to openFile or saveFile by its kind.
FileDialogResult showFileDialog(const FileDialogRequest& request);

// Classic paper numbers for Qt page sizes and back (0 / A4 for sizes without a classic number).
int classicPaperSize(int qtPageSizeId);
int qtPageSizeId(int classicPaperSize);

} // namespace ui
