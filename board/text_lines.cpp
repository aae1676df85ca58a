#include "board/text_lines.h"

#include <QIODevice>

namespace board {

namespace {

constexpr qint64 kBlockBytes = qint64{64} * 1024;

} // namespace

TextLineSource::TextLineSource(QIODevice& device, qsizetype maxLineLength)
    : device_(device), maxLength_(maxLineLength < 0 ? 0 : maxLineLength)
{
}

bool TextLineSource::fill()
{
    if (atEnd_ || error_)
        return false;
    buffer_.resize(kBlockBytes);
    const qint64 n = device_.read(buffer_.data(), kBlockBytes);
    pos_ = 0;
    if (n <= 0) {
        buffer_.clear();
        (n < 0 ? error_ : atEnd_) = true;
        return false;
    }
    buffer_.resize(n);
    return true;
}

int TextLineSource::peek()
{
    if (pos_ >= buffer_.size() && !fill())
        return error_ ? -2 : -1;
    return static_cast<unsigned char>(buffer_[pos_]);
}

TextLineSource::Result TextLineSource::next(QString& line, bool& overlong)
{
    // The line's storage is kept from one line to the next.
    line.resize(0);
    overlong = false;
    const int first = peek();
    if (first == -2)
        return Result::ReadError;
    if (first == -1)
        return Result::End;
    qsizetype scanned = 0;
    for (;;) {
        if (scanned > kMaxLineBytes)
            return Result::ReadError; // no data file of ours has such a line: it may never end
        if (pos_ >= buffer_.size() && !fill()) {
            if (error_)
                return Result::ReadError;
            break; // a last line without an end
        }
        // The run of the line in this block, taken as a whole.
        const char* data = buffer_.constData();
        const qsizetype size = buffer_.size();
        qsizetype k = pos_;
        while (k < size && data[k] != '\n' && data[k] != '\r')
            ++k;
        const qsizetype room = maxLength_ - line.size();
        const qsizetype run = k - pos_;
        scanned += run;
        if (run > room)
            overlong = true;
        if (const qsizetype kept = run < room ? run : room; kept > 0)
            line.append(QLatin1String(data + pos_, kept));
        pos_ = k;
        if (k < size) {
            // The end of the line; the peek may load the next block.
            const bool carriageReturn = data[k] == '\r';
            ++pos_;
            if (carriageReturn && peek() == '\n')
                ++pos_;
            break;
        }
    }
    ++lines_;
    return Result::Line;
}

} // namespace board
