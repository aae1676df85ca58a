#include "board/text_lines.h"

#include <QIODevice>

namespace board {

namespace {

constexpr qint64 kBlockBytes = 64 * 1024;

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

int TextLineSource::take()
{
    const int c = peek();
    if (c >= 0)
        ++pos_;
    return c;
}

TextLineSource::Result TextLineSource::next(QString& line, bool& overlong)
{
    line.clear();
    overlong = false;
    int c = take();
    if (c == -2)
        return Result::ReadError;
    if (c == -1)
        return Result::End;
    for (;;) {
        if (c == '\n')
            break;
        if (c == '\r') {
            if (peek() == '\n')
                ++pos_;
            break;
        }
        if (line.size() < maxLength_)
            line.append(QChar(static_cast<char16_t>(c)));
        else
            overlong = true;
        c = take();
        if (c == -2)
            return Result::ReadError;
        if (c == -1)
            break;
    }
    ++lines_;
    return Result::Line;
}

} // namespace board
