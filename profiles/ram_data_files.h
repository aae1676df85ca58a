#pragma once

// What the RAM windows (the RAM segment window and the RAM test window) say and ask about RAM data files:
// the formats the segment window offers, whether a path can take a file, and the message of a load.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace ramwin {

// The RAM data file formats, in the order of the format lists (the index is the format code).
QStringList segmentWindowFormats();
// Whether a file can be (re)written at `path` (its folder exists and takes files; an existing file can be
// replaced). Asked before any transfer, so that a dump never reads the RAM for a file it cannot write.
bool canWriteFile(const QString& path);
// The message of an ebLoadRAMFile result (0 loaded, 1 bad file or failed transfer, 4 no file named).
void showRamLoadResult(int16_t code);

} // namespace ramwin
