// FIFO data files against the emulated board FIFO: both layouts word for word, the lines that read and
// those that do not, the limits, and the line count the caller checks first.

#include "files_fixture.h"

#include "board/fifo_file.h"
#include "platform/runtime/locale_info.h"
#include "platform/ui/app.h"
#include "platform/usb/emulated_fifo.h"

#include <QFile>
#include <QIODevice>

using namespace evalbdtest;
using namespace filestest;

namespace {

class FifoFiles : public FilesTest {
protected:
    void SetUp() override
    {
        FilesTest::SetUp();
        bd->USBResetFIFO();
        clearRecords();
    }
    usb::EmulatedFifo& fifo() { return *board().fifo(); }
};

// A file of `size` bytes of short lines ("7" CR LF over and over), made as it is read, that keeps count of
// the bytes handed out.
class ShortLinesDevice : public QIODevice {
public:
    explicit ShortLinesDevice(qint64 size) : size_(size) { open(QIODevice::ReadOnly); }
    qint64 bytesHandedOut() const { return handedOut_; }
    bool isSequential() const override { return false; }
    qint64 size() const override { return size_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min(maxSize, size_ - handedOut_);
        for (qint64 i = 0; i < n; ++i)
            data[i] = "7\r\n"[(handedOut_ + i) % 3];
        handedOut_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 size_;
    qint64 handedOut_ = 0;
};

// The 16 FIFO words of one SXI sample pair, built bit by bit: data bit 5 carries I, bit 4 carries Q, the
// sample's most significant bit first (or least significant first when reversed).
std::vector<uint32_t> sxiWords(int32_t i, int32_t q, bool reverse, bool offsetBinary)
{
    const uint32_t iv = static_cast<uint32_t>(i + (offsetBinary ? 32768 : 0)) & 0xFFFF;
    const uint32_t qv = static_cast<uint32_t>(q + (offsetBinary ? 32768 : 0)) & 0xFFFF;
    std::vector<uint32_t> words;
    for (int k = 0; k < 16; ++k) {
        const int bit = reverse ? k : 15 - k;
        words.push_back(((iv >> bit) & 1U) * 32 + ((qv >> bit) & 1U) * 16);
    }
    return words;
}

TEST_F(FifoFiles, PlainLayoutWordForWord)
{
    writeFile("plain.txt", crlfText({"4096", "  4096  ", "-1", "2.5", "3.5", "131071", "0", "-131072"}));
    ASSERT_TRUE(ebLoadFIFOFile(path("plain.txt")));
    // Eighteen bits of each value reach the FIFO; 2.5 and 3.5 round to the even neighbours.
    EXPECT_EQ(fifo().contents(), (std::vector<uint32_t>{4096, 4096, 0x3FFFF, 2, 4, 131071, 0, 0x20000}));
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
    expectCleanProtocol();
}

TEST_F(FifoFiles, NumbersInTheUsersFormat)
{
    rt::ScopedNumberLocale comma(QLatin1Char(','));
    writeFile("comma.txt", crlfText({"1,5", "7"}));
    ASSERT_TRUE(ebLoadFIFOFile(path("comma.txt")));
    EXPECT_EQ(fifo().contents(), (std::vector<uint32_t>{2, 7}));
}

TEST_F(FifoFiles, SxiLayoutWordForWordWithEveryFlagPair)
{
    const int32_t samples[] = {-32767, 3, -1, 0, 12345, -32768};
    QStringList lines;
    for (int32_t s : samples)
        lines << QString::number(s);
    writeFile("sxi.txt", crlfText(lines));
    for (const bool reverse : {false, true}) {
        for (const bool offsetBinary : {false, true}) {
            SCOPED_TRACE(testing::Message() << "reverse " << reverse << " offset " << offsetBinary);
            bd->USBResetFIFO();
            clearRecords();
            ASSERT_TRUE(ebLoadFIFOFileSXI(path("sxi.txt"), reverse, offsetBinary));
            std::vector<uint32_t> expected;
            for (int p = 0; p < 3; ++p) {
                const std::vector<uint32_t> pair =
                    sxiWords(samples[2 * p], samples[2 * p + 1], reverse, offsetBinary);
                expected.insert(expected.end(), pair.begin(), pair.end());
            }
            EXPECT_EQ(fifo().contents(), expected);
            expectCleanProtocol();
        }
    }
}

TEST_F(FifoFiles, FilesThatLoadNothing)
{
    QStringList hundred;
    for (int k = 0; k < 100; ++k)
        hundred << QString::number(k);
    QStringList withBlank = hundred;
    withBlank.insert(50, QString());
    QStringList withWord = hundred;
    withWord.insert(99, QStringLiteral("abc"));

    struct Case {
        const char* what;
        QByteArray text;
        bool sxi;
    };
    const Case cases[] = {
        {"a blank line among 100", crlfText(withBlank), false},
        {"a word among 100", crlfText(withWord), false},
        {"a number beyond 32 bits", crlfText({"1", "2147483648"}), false},
        {"a number below 32 bits", crlfText({"-2147483649"}), false},
        {"two numbers on a line", crlfText({"12 34"}), false},
        {"an empty file", QByteArray(), false},
        {"an empty SXI file", QByteArray(), true},
        {"an odd number of SXI lines", crlfText({"1", "2", "3"}), true},
        {"a bad SXI line", crlfText({"1", "x"}), true},
        {"a line far too long", QByteArray(1000, '1') + "\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile("bad.txt", c.text);
        clearRecords();
        ui::setScreenMousePointer(0);
        const bool loaded =
            c.sxi ? ebLoadFIFOFileSXI(path("bad.txt"), false, false) : ebLoadFIFOFile(path("bad.txt"));
        EXPECT_FALSE(loaded);
        EXPECT_EQ(bulkCount(), 0);
        EXPECT_TRUE(events.empty());
        EXPECT_EQ(ui::ScreenMousePointer(), 0);
    }
    EXPECT_FALSE(ebLoadFIFOFile(path("missing.txt")));
    EXPECT_EQ(fifo().stored(), 0);
}

TEST_F(FifoFiles, SizeLimits)
{
    QStringList lines(8192, QStringLiteral("1"));
    writeFile("sxi8192.txt", crlfText(lines));
    EXPECT_EQ(ebCountFileLines(path("sxi8192.txt")), 8192);
    ASSERT_TRUE(ebLoadFIFOFileSXI(path("sxi8192.txt"), false, false));
    EXPECT_EQ(fifo().stored(), 8192 / 2 * 16);

    lines << QStringLiteral("1") << QStringLiteral("1");
    writeFile("sxi8194.txt", crlfText(lines));
    bd->USBResetFIFO();
    clearRecords();
    EXPECT_FALSE(ebLoadFIFOFileSXI(path("sxi8194.txt"), false, false));
    EXPECT_EQ(bulkCount(), 0);

    QStringList plain(65537, QStringLiteral("2"));
    writeFile("plain65537.txt", crlfText(plain));
    EXPECT_EQ(ebCountFileLines(path("plain65537.txt")), 65537);
    EXPECT_FALSE(ebLoadFIFOFile(path("plain65537.txt")));
    EXPECT_EQ(bulkCount(), 0);
}

TEST_F(FifoFiles, FailedTransferIsAFailure)
{
    writeFile("plain.txt", crlfText({"1", "2"}));
    drv.failTransfer(0, 3, 2);
    EXPECT_FALSE(ebLoadFIFOFile(path("plain.txt")));
    EXPECT_EQ(ui::ScreenMousePointer(), 0);
}

TEST_F(FifoFiles, LineCounts)
{
    struct Case {
        QByteArray text;
        int lines;
    };
    const Case cases[] = {
        {"", 0},       {"1", 1},          {"1\r\n", 1}, {"1\r\n2", 2}, {"1\n2\n", 2},
        {"1\r2\r", 2}, {"1\r\n\r\n2", 3}, {"\r\n", 1},  {"\n\r", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        writeFile("count.txt", c.text);
        EXPECT_EQ(ebCountFileLines(path("count.txt")), c.lines);
    }
    EXPECT_EQ(ebCountFileLines(path("missing.txt")), -1);
    EXPECT_EQ(ebCountFileLines(QString()), -1);
}

TEST_F(FifoFiles, CrLfSplitAcrossReadBlocksIsOneLineEnd)
{
    // The reader takes the file in blocks of 64 KiB; a CR at the end of one block and the LF at the start
    // of the next end one line, not two.
    QByteArray text(65536, '7');
    text[65535] = '\r';
    text.append("\n5\r\n");
    text.replace(0, 2, "\r\n");
    writeFile("blocks.txt", text);
    EXPECT_EQ(ebCountFileLines(path("blocks.txt")), 3);
}

TEST(FifoLineCount, AFileFarOverTheLimitIsReadNoFurtherThanTheLimitPlusOne)
{
    // A gigabyte of short lines: counting all of it took the program many seconds.
    const qint64 gigabyte = qint64{1} << 30;
    const qint64 block = 64 * 1024; // what the reader takes at a time
    struct Case {
        qint64 size;
        qint64 stopAt;
        qint64 lines;
    } cases[] = {
        {gigabyte, board::kFifoFileMaxLines + 1, board::kFifoFileMaxLines + 1},
        {gigabyte, board::kFifoSxiFileMaxLines + 1, board::kFifoSxiFileMaxLines + 1},
        {3 * 65536, board::kFifoFileMaxLines + 1, 65536}, // exactly at the limit: counted to the end
        {3 * 100, board::kFifoFileMaxLines + 1, 100},
        {gigabyte, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stopAt);
        ShortLinesDevice file(c.size);
        EXPECT_EQ(board::countTextLines(file, c.stopAt), c.lines);
        EXPECT_LE(file.bytesHandedOut(), 3 * c.stopAt + block) << "read no further than needed";
    }
}

TEST_F(FifoFiles, AHugeFileIsCountedOnlyUpToTheLimitPlusOne)
{
    // 70000 short lines, then a gigabyte hole (sparse: nothing on the disk) that reads as one endless line.
    writeFile("huge.txt", QByteArray("1\r\n").repeated(70000));
    {
        QFile file(path("huge.txt"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(qint64{1} << 30));
    }
    EXPECT_EQ(ebCountFileLines(path("huge.txt"), board::kFifoFileMaxLines + 1), board::kFifoFileMaxLines + 1);
    EXPECT_EQ(ebCountFileLines(path("huge.txt"), 10), 10);
    EXPECT_EQ(ebCountFileLines(path("huge.txt"), -5), 0);
    EXPECT_FALSE(ebLoadFIFOFile(path("huge.txt")));
    EXPECT_EQ(bulkCount(), 0);
}

} // namespace
