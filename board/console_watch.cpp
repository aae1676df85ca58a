#include "board/console_watch.h"

#include <algorithm>

ConsoleWatch::ConsoleWatch(std::vector<Text> texts)
    : texts_(std::move(texts)), counts_(texts_.size(), 0), decoder_(QStringDecoder::System)
{
    for (const Text& text : texts_)
        carryLimit_ = std::max(carryLimit_, text.text.size() - 1);
}

void ConsoleWatch::feed(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    const QString piece = decoder_(bytes);
    if (piece.isEmpty())
        return;
    const QString window = carry_ + piece;
    for (size_t i = 0; i < texts_.size(); ++i) {
        const QString& text = texts_[i].text;
        if (text.isEmpty())
            continue;
        // A find that lay wholly in the carried characters was counted with the piece before.
        qsizetype from = std::max<qsizetype>(0, carry_.size() - text.size() + 1);
        for (qsizetype at = window.indexOf(text, from, texts_[i].caseSensitivity); at >= 0;
             at = window.indexOf(text, at + 1, texts_[i].caseSensitivity))
            ++counts_[i];
    }
    carry_ = window.right(carryLimit_);
}
