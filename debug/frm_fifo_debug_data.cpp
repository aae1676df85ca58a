// The FIFO debug window's trip points, typed data words, ramp and file load.

#include "debug/frm_fifo_debug.h"

#include "board/evalbd.h"
#include "board/sound.h"
#include "board/utility.h"
#include "debug/frm_fifo_control.h"
#include "shell/mdi_main.h"
#include "shell/startup.h"
#include "widgets/open_file_dialog.h"

#include "platform/os/program_folder.h"
#include "platform/ui/app.h"
#include "platform/ui/forms.h"
#include "platform/ui/msgbox.h"

#include <cmath>

namespace {

constexpr int kRampWords = 65536;
constexpr int kHexDigitsPerWord = 8;
constexpr int32_t kTripPointLimit = 65536;

QString withoutBlanks(const QString& text)
{
    QString out = text;
    out.remove(QLatin1Char(' '));
    return out;
}

void reportLoad(bool ok)
{
    if (!ok)
        ui::MsgBox(QStringLiteral("FIFO Load Error!"), ui::vbInformation, QStringLiteral("Error"));
}

} // namespace

// ---- trip points ----

std::optional<int32_t> frmFIFODebug::tripPoint(const QString& text)
{
    QString plain = text.trimmed();
    if (gsDecimalSep != QStringLiteral("."))
        plain.replace(gsDecimalSep, QStringLiteral("."));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    // Whole numbers as the classic conversion makes them: halves to even.
    const double whole = std::nearbyint(value);
    if (whole < 0 || whole >= kTripPointLimit)
        return std::nullopt;
    return static_cast<int32_t>(whole);
}

int32_t frmFIFODebug::validTripPoint(ui::TextBox& box, const QString& startValue)
{
    if (const std::optional<int32_t> value = tripPoint(box.Text()))
        return *value;
    PlaySoundAsync(QStringLiteral("SystemDefault"));
    box.setText(startValue);
    return *tripPoint(startValue);
}

void frmFIFODebug::txtPAE_Validate(bool& cancel)
{
    (void)cancel;
    validTripPoint(txtPAE, kDefaultEmptyTrip);
}

void frmFIFODebug::txtPAF_Validate(bool& cancel)
{
    (void)cancel;
    validTripPoint(txtPAF, kDefaultFullTrip);
}

void frmFIFODebug::cmdProgramFlags_Click()
{
    const int32_t empty = validTripPoint(txtPAE, kDefaultEmptyTrip);
    const int32_t full = validTripPoint(txtPAF, kDefaultFullTrip);
    if (goEvalBd)
        goEvalBd->USBProgFIFOFlags(empty, full);
}

// ---- data ----

std::optional<std::vector<int32_t>> frmFIFODebug::dataWords(const QString& text)
{
    const QString digits = withoutBlanks(text);
    if (digits.isEmpty() || digits.size() % kHexDigitsPerWord != 0)
        return std::nullopt;
    std::vector<int32_t> words;
    words.reserve(static_cast<size_t>(digits.size() / kHexDigitsPerWord));
    for (qsizetype at = 0; at < digits.size(); at += kHexDigitsPerWord) {
        bool ok = false;
        const uint32_t word = digits.mid(at, kHexDigitsPerWord).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        words.push_back(static_cast<int32_t>(word));
    }
    return words;
}

void frmFIFODebug::txtFifoData_Change()
{
    const qsizetype digits = withoutBlanks(txtFifoData.Text()).size();
    FIFOWC.setCaption(QString::number(digits / kHexDigitsPerWord));
    // A pasted text may hold other characters, and an empty field has no word to write.
    cmdWriteData.setEnabled(dataWords(txtFifoData.Text()).has_value());
}

void frmFIFODebug::cmdWriteData_Click()
{
    const std::optional<std::vector<int32_t>> words = dataWords(txtFifoData.Text());
    if (!words || !goEvalBd)
        return;
    reportLoad(goEvalBd->USBLoadFIFOData(*words));
}

void frmFIFODebug::Command1_Click()
{
    if (!goEvalBd)
        return;
    std::vector<int32_t> ramp(kRampWords);
    for (int i = 0; i < kRampWords; ++i)
        ramp[static_cast<size_t>(i)] = i;
    reportLoad(goEvalBd->USBLoadFIFOData(ramp));
}

void frmFIFODebug::cmdSelFIFOFile_Click()
{
    const mdiMain* main = ui::loadedForm<mdiMain>();
    const std::optional<QString> chosen = chooseFileToOpen(
        QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"), os::programFolder(),
        QStringLiteral("Load FIFO File"), QString(), main ? static_cast<int32_t>(main->hWnd()) : -1);
    ui::DoEvents();
    ui::DoEvents();
    if (chosen) {
        txtFIFOFile.setText(*chosen);
        cmdLoadFIFOFile.setEnabled(FileExists(txtFIFOFile.Text()));
    }
}

void frmFIFODebug::cmdLoadFIFOFile_Click()
{
    if (!goEvalBd)
        return;
    // As the FIFO control window loads a plain file: transmission stopped, FIFO reset, then the file.
    transmitter_.stop();
    ui::DoEvents();
    if (!goEvalBd)
        return;
    goEvalBd->USBResetFIFO();
    loadFifoFileWithMessages(txtFIFOFile.Text(), false, false, false);
}
