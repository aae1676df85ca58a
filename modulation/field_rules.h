#pragma once

// The rules of the generator window's parameter fields, apart from the window: which text a range field
// takes, how many data vectors a tab's symbols and upsampling factor give, the largest symbol count the
// boards' FIFO holds, and what the count label says about it.

#include <QString>
#include <cstdint>

namespace mvg {

// The evaluation boards' FIFO holds this many data vectors.
constexpr int32_t kFifoVectors = 65536;

inline const QString kAttenuationMessage = QStringLiteral("Attenuation value must be > 0 and < 1!");
inline const QString kCoefficientMessage =
    QStringLiteral("Filter Coefficient Resolution must be > 0 and < 30!");
inline const QString kRollOffMessage = QStringLiteral("Filter roll-off factor must be > 0 and < 1!");
inline const QString kOutputBitsMessage =
    QStringLiteral("Output quantization must be a positive integer value!");

enum class RangeVerdict {
    InRange,
    NotNumeric, // not a number at all: a beep and the marker
    OutOfRange, // a number outside the bounds, or too large for its conversion: the message and the marker
};

// A range field's text against its inclusive bounds; `integer` fields convert as 16-bit whole numbers.
RangeVerdict judgeRange(const QString& text, bool integer, double min, double max);

// 2 x symbols x upsampling factor, both converted as 32-bit whole numbers (ties to even); -1 when one does
// not convert or the product leaves 32 bits.
int32_t vectorCount(const QString& symbols, const QString& upsampling);

// The largest symbol count whose vectors stay within `limit`; -1 when the factor does not convert or is 0.
int32_t largestSymbolCount(const QString& upsampling, int32_t limit);

// What a tab's count label shows for a vector count and largest symbol count.
struct VectorCountText {
    QString caption;
    QString toolTip;
    bool marker = false;      // the count's error marker is shown
    bool fifoWarning = false; // the count exceeds the FIFO: the user is warned
};
VectorCountText describeVectorCount(int32_t vectors, int32_t largestSymbols);

// The warning shown when a count exceeds the FIFO.
QString fifoWarningText();

// Whether an output-file box names a folder that does not exist (a bare name lies in the generator's
// folder, which is there).
bool outputFolderMissing(const QString& text);

// The keys the whole-number and decimal fields take (no sign in either).
int filterWholeNumberKey(int keyAscii);
int filterDecimalKey(int keyAscii);

} // namespace mvg
