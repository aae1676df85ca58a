#pragma once

// Line-by-line reading of the board module's data files, as the classic line input reads them: CR, LF or
// CR LF ends a line; a last line without an end still counts; nothing after the last end makes no extra
// line. Bytes are taken as Latin-1 (the files are plain ASCII). The file is read in blocks, so a reader
// that stops early never pulls in the rest of a large file.

#include <QByteArray>
#include <QString>

class QIODevice;

namespace board {

class TextLineSource {
public:
    // A line is read up to this many bytes; one longer (a device or a file without line ends that does
    // not end) is a read error.
    static constexpr qsizetype kMaxLineBytes = 1024 * 1024;

    // Lines longer than maxLineLength characters are handed out cut to that length and marked overlong.
    TextLineSource(QIODevice& device, qsizetype maxLineLength);

    enum class Result { Line, End, ReadError };
    // The next line (without its end) into `line`; `overlong` tells whether characters were dropped.
    Result next(QString& line, bool& overlong);
    // Lines handed out so far.
    qsizetype lineCount() const { return lines_; }

private:
    // The next byte without taking it, or -1 at the end (-2 on a read error).
    int peek();
    bool fill();

    QIODevice& device_;
    qsizetype maxLength_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool atEnd_ = false;
    bool error_ = false;
    qsizetype lines_ = 0;
};

} // namespace board
