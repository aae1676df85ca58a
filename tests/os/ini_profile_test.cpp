#include "platform/os/ini_document.h"
#include "platform/os/ini_profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniProfile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString file() const { return dir.filePath(QStringLiteral("test.ini")); }
    void writeBytes(const QByteArray& bytes) const
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readBytes() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString get(const char* section, const char* key, const char* def = "<default>") const
    {
        return os::GetPrivateProfileString(QString::fromUtf8(section), QString::fromUtf8(key),
                                           QString::fromUtf8(def), file());
    }

    QTemporaryDir dir;
};

TEST_F(IniProfile, ReadsKeysWithoutRegardToCaseOrBlanks)
{
    writeBytes("[Paths]\n"
               "  Path =  \\Tovrindir\\Tovrin.exe  \n"
               "Spaced=a value with  blanks\n"
               "Quoted=\" keeps inner blanks \"\n"
               "Empty=\n"
               "[Other]\n"
               "Path=other\n");
    EXPECT_EQ(get("paths", "PATH"), QStringLiteral("\\Tovrindir\\Tovrin.exe"));
    EXPECT_EQ(get(" Paths ", " path "), QStringLiteral("\\Tovrindir\\Tovrin.exe"));
    EXPECT_EQ(get("Paths", "spaced"), QStringLiteral("a value with  blanks"));
    EXPECT_EQ(get("Paths", "Quoted"), QStringLiteral(" keeps inner blanks "));
    EXPECT_EQ(get("Paths", "Empty"), QString());
    EXPECT_EQ(get("Other", "Path"), QStringLiteral("other"));
}

TEST_F(IniProfile, MissingFileSectionOrKeyGivesTheDefaultExactly)
{
    EXPECT_EQ(get("S", "K", "  default with blanks "), QStringLiteral("  default with blanks "));
    writeBytes("[S]\nA=1\n");
    EXPECT_EQ(get("S", "B", "dflt"), QStringLiteral("dflt"));
    EXPECT_EQ(get("T", "A", "dflt"), QStringLiteral("dflt"));
    EXPECT_EQ(get("S", "", "dflt"), QStringLiteral("dflt"));
    EXPECT_EQ(os::GetPrivateProfileInt(QStringLiteral("S"), QStringLiteral("B"), -7, file()), -7);
    EXPECT_TRUE(os::GetPrivateProfileSection(QStringLiteral("T"), file()).isEmpty());
}

TEST_F(IniProfile, FirstSectionAndFirstKeyOfANameCount)
{
    writeBytes("[S]\nk=first\nK=second\n[s]\nk=third\nonly=here\n");
    EXPECT_EQ(get("S", "k"), QStringLiteral("first"));
    EXPECT_EQ(get("S", "only"), QStringLiteral("<default>"));
}

TEST_F(IniProfile, LongValuesAreReturnedWhole)
{
    const QString value = QString(500, QLatin1Char('x')) + QStringLiteral("\\end");
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("S"), QStringLiteral("Long"), value, file()));
    EXPECT_EQ(get("S", "Long"), value);
}

TEST_F(IniProfile, ReadsAnyLineEnds)
{
    for (const QByteArray& bytes : {QByteArray("[S]\r\nA=1\r\nB=2\r\n"), QByteArray("[S]\nA=1\nB=2"),
                                    QByteArray("[S]\rA=1\rB=2\r"), QByteArray("[S]\r\nA=1\nB=2\r")}) {
        writeBytes(bytes);
        EXPECT_EQ(get("S", "A"), QStringLiteral("1")) << bytes.toStdString();
        EXPECT_EQ(get("S", "B"), QStringLiteral("2")) << bytes.toStdString();
    }
}

struct IntCase {
    const char* value;
    int32_t expected;
};

class IniInt : public IniProfile, public ::testing::WithParamInterface<IntCase> {};

TEST_P(IniInt, ReadsTheLeadingWholeNumber)
{
    writeBytes(QByteArray("[S]\nN=") + GetParam().value + "\n");
    EXPECT_EQ(os::GetPrivateProfileInt(QStringLiteral("S"), QStringLiteral("N"), 99, file()),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, IniInt,
                         ::testing::Values(IntCase{"42", 42}, IntCase{" -17 ", -17}, IntCase{"+5", 5},
                                           IntCase{"12abc", 12}, IntCase{"abc", 0}, IntCase{"", 99},
                                           IntCase{"99999999999", 2147483647},
                                           IntCase{"-99999999999", -2147483647 - 1}, IntCase{"0x10", 0}));

TEST_F(IniProfile, WritingCreatesFileSectionAndKeyWithCrLf)
{
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("ZR4470 Simulator"), QStringLiteral("DataFile"),
                                              QStringLiteral("C:\\sim dir\\data.txt"), file()));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("zr4470 simulator"), QStringLiteral("Other"),
                                              QStringLiteral("2"), file()));
    EXPECT_EQ(readBytes(), QByteArray("[ZR4470 Simulator]\r\nDataFile=C:\\sim dir\\data.txt\r\nOther=2\r\n"));
    EXPECT_EQ(get("ZR4470 SIMULATOR", "datafile"), QStringLiteral("C:\\sim dir\\data.txt"));
}

TEST_F(IniProfile, UpdatingAKeyKeepsEveryOtherLineAsItWas)
{
    writeBytes("; settings\n[A]\nkey = old\n; note\nx=1\n\n[B]\ny=2\n");
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("a"), QStringLiteral("KEY"),
                                              QStringLiteral("new"), file()));
    ASSERT_TRUE(
        os::WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("z"), QStringLiteral("3"), file()));
    ASSERT_TRUE(
        os::WritePrivateProfileString(QStringLiteral("C"), QStringLiteral("w"), QStringLiteral("4"), file()));
    EXPECT_EQ(readBytes(),
              QByteArray("; settings\r\n[A]\r\nkey=new\r\n; note\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"
                         "\r\n[C]\r\nw=4\r\n"));
}

TEST_F(IniProfile, NullValueDeletesTheKeyAndNullKeyTheSection)
{
    writeBytes("[A]\nk=1\nk=2\nm=3\n[B]\nn=4\n[a]\nk=5\n");
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("K"), QString(), file()));
    EXPECT_EQ(get("A", "k"), QStringLiteral("<default>"));
    EXPECT_EQ(get("A", "m"), QStringLiteral("3"));
    ASSERT_TRUE(os::WritePrivateProfileString(QStringLiteral("a"), QString(), QString(), file()));
    EXPECT_EQ(readBytes(), QByteArray("[B]\r\nn=4\r\n"));
    // An empty (not null) value is a value.
    ASSERT_TRUE(
        os::WritePrivateProfileString(QStringLiteral("B"), QStringLiteral("n"), QStringLiteral(""), file()));
    EXPECT_EQ(get("B", "n"), QString());
}

TEST_F(IniProfile, DeletingFromAMissingFileCreatesNothing)
{
    EXPECT_TRUE(os::WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("k"), QString(), file()));
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(IniProfile, RefusesTextThatWouldBreakTheFileAndChangesNothing)
{
    writeBytes("[A]\nk=1\n");
    const QByteArray before = readBytes();
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("k"),
                                               QStringLiteral("1\r\n[Evil]\r\nx=1"), file()));
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("a=b"),
                                               QStringLiteral("1"), file()));
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("A\nB"), QStringLiteral("k"),
                                               QStringLiteral("1"), file()));
    EXPECT_FALSE(os::WritePrivateProfileString(QString(), QStringLiteral("k"), QStringLiteral("1"), file()));
    EXPECT_FALSE(
        os::WritePrivateProfileSection(QStringLiteral("A"), QStringList{QStringLiteral("[B]")}, file()));
    EXPECT_EQ(readBytes(), before);
}

TEST_F(IniProfile, WriteIntoAFolderOrUnreadableFileFails)
{
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1"),
                                               dir.path()));
    EXPECT_FALSE(os::WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1"),
                                               dir.filePath(QStringLiteral("no/such/folder/x.ini"))));
}

TEST_F(IniProfile, SectionsReadAndReplaced)
{
    writeBytes("[S]\n a = 1 \n; comment\nb=2\nlone\n\n[T]\nc=3\n");
    EXPECT_EQ(os::GetPrivateProfileSection(QStringLiteral("s"), file()),
              (QStringList{QStringLiteral("a=1"), QStringLiteral("b=2"), QStringLiteral("lone")}));
    EXPECT_EQ(os::GetPrivateProfileSectionNames(file()),
              (QStringList{QStringLiteral("S"), QStringLiteral("T")}));
    EXPECT_EQ(os::GetPrivateProfileKeyNames(QStringLiteral("S"), file()),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("lone")}));

    ASSERT_TRUE(
        os::WritePrivateProfileSection(QStringLiteral("S"), QString::fromUtf8("x=9\0y=8\0\0", 9), file()));
    EXPECT_EQ(readBytes(), QByteArray("[S]\r\nx=9\r\ny=8\r\n\r\n[T]\r\nc=3\r\n"));
    ASSERT_TRUE(
        os::WritePrivateProfileSection(QStringLiteral("New"), QStringList{QStringLiteral("q=1")}, file()));
    EXPECT_EQ(get("new", "Q"), QStringLiteral("1"));
}

TEST_F(IniProfile, KeepsBytesOfAFileThatIsNotUtf8)
{
    writeBytes("[S]\ncity=M\xfcnchen\nk=1\n");
    EXPECT_EQ(get("S", "city"), QString::fromUtf8("M\xc3\xbcnchen"));
    ASSERT_TRUE(
        os::WritePrivateProfileString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("2"), file()));
    EXPECT_EQ(readBytes(), QByteArray("[S]\r\ncity=M\xfcnchen\r\nk=2\r\n"));
}

TEST(IniDocument, OddBytesParseWithoutHarm)
{
    static const char raw[] = "\xef\xbb\xbf[S]\nk\0ey=v\0al\n[unclosed\nx=1\n]\n=novalue\n[]\ny=2";
    const QByteArray bytes(raw, sizeof(raw) - 1);
    const os::IniDocument document = os::IniDocument::parse(bytes);
    EXPECT_EQ(document.value(QStringLiteral("S"), QStringLiteral("key")), QStringLiteral("val"));
    // "[unclosed" is no header: x stays in S.
    EXPECT_EQ(document.value(QStringLiteral("S"), QStringLiteral("x")), QStringLiteral("1"));
    EXPECT_FALSE(document.value(QStringLiteral(""), QStringLiteral("y")).has_value());
    // Lines nobody changed come back byte for byte.
    QByteArray expected = bytes;
    expected.replace("\n", "\r\n");
    EXPECT_EQ(document.serialize(), expected + "\r\n");
}

} // namespace
