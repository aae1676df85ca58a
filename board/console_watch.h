#pragma once

// Looks for texts in everything a child program writes, however much that is, while keeping only a few
// characters of it: the console box shows the first part of the output, but the run is judged on all of it.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <vector>

class ConsoleWatch {
public:
    struct Text {
        QString text;
        Qt::CaseSensitivity caseSensitivity = Qt::CaseSensitive;
    };

    explicit ConsoleWatch(std::vector<Text> texts = {});

    // The next piece of the output as the program wrote it (local 8-bit text; a character or a text split
    // between two pieces is still found).
    void feed(const QByteArray& bytes);

    // How often texts()[index] occurs in the output fed so far; each search starts one character after the
    // start of the previous find.
    qint64 count(size_t index) const { return index < counts_.size() ? counts_[index] : 0; }
    bool found(size_t index) const { return count(index) > 0; }
    const std::vector<Text>& texts() const { return texts_; }

private:
    std::vector<Text> texts_;
    std::vector<qint64> counts_;
    QStringDecoder decoder_;
    QString carry_; // the last characters fed, fewer than the longest text
    qsizetype carryLimit_ = 0;
};
