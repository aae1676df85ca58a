#include "modulation_fixture.h"

#include "modulation/param_file_fields.h"
#include "modulation/param_files.h"

#include <functional>

namespace {

using modtest::readAll;
using modtest::writeFile;
using mvg::Generator;

struct FreshFile {
    Generator generator;
    QByteArray bytes;
};

// A fresh window's four files, whatever the locale's decimal separator.
const FreshFile kFreshFiles[] = {
    {Generator::Qam,
     "1000\r\n0\r\n0\r\n64\r\n0\r\n8\r\n0.22\r\n0\r\n1\r\n18\r\nModulationData.txt\r\n0\r\n0\r\n800\r\n"
     "0.5\r\n"},
    {Generator::Polar,
     "1000\r\n0\r\n0\r\n64\r\n0\r\n8\r\n0.22\r\n0\r\n1\r\n18\r\n0\r\n8\r\n8\r\n\r\n\r\n\r\n800\r\n"
     "0.5\r\n"},
    {Generator::Gmsk, "1000\r\n0\r\n5\r\n18\r\n8\r\n0.3\r\n0.5\r\n18\r\n0\r\n0\r\n\r\n0\r\n800\r\n0\r\n"},
    {Generator::Sdpsk, "1000\r\n0\r\n64\r\n0\r\n8\r\n0.22\r\n0\r\n1\r\n18\r\n0\r\n0.5\r\n800\r\n\r\n0\r\n"},
};

class ParamFiles : public modtest::ModulationTest {};

TEST_F(ParamFiles, FreshTabsWriteTheirLinesWithPointsInEveryLocale)
{
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        rt::ScopedNumberLocale locale(separator);
        frmQAMVG& window = openGenerator();
        EXPECT_EQ(window.txtFiltROFact.Text(),
                  separator == u',' ? QStringLiteral("0,22") : QStringLiteral("0.22"));
        for (const FreshFile& fresh : kFreshFiles) {
            const QString file = path(QStringLiteral("out.txt"));
            ASSERT_TRUE(window.writeParamFile(fresh.generator, file));
            EXPECT_EQ(readAll(file), fresh.bytes)
                << static_cast<int>(fresh.generator) << " sep " << separator.toLatin1();
        }
        closeWindows();
    }
}

TEST_F(ParamFiles, ACommaTypedUnderACommaLocaleIsWrittenWithAPointAndReadBackWithTheComma)
{
    rt::ScopedNumberLocale locale(QChar(u','));
    standIn(modtest::kSdpskProgram, "exit 0\n");
    frmQAMVG& window = openGenerator();
    regtest::retype(window.txtAttenuationValSDPSK, QStringLiteral("0,75"));
    window.lstFilterWindowTypeSDPSK.setListIndex(6);
    window.txtOutputFileSDPSK.setText(QStringLiteral("  v1.2.txt "));
    const QString file = path(QStringLiteral("sdpsk.txt"));
    ASSERT_TRUE(window.WriteSDPSKParamFile(file));
    const QStringList lines = QString::fromLatin1(readAll(file)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[10], QStringLiteral("0.75"));
    EXPECT_EQ(lines[6], QStringLiteral("0")); // the window line is always "0"
    EXPECT_EQ(lines[12], QStringLiteral("  v1.2.txt "));

    window.txtAttenuationValSDPSK.setText(QStringLiteral("0"));
    window.ReadSDPSKParamFile(file);
    EXPECT_EQ(window.txtAttenuationValSDPSK.Text(), QStringLiteral("0,75"));
    EXPECT_EQ(window.txtOutputFileSDPSK.Text(), QStringLiteral("v1.2.txt"));
    EXPECT_EQ(window.lstFilterWindowTypeSDPSK.ListIndex(), 0);
}

TEST_F(ParamFiles, EveryLineOfEveryTabComesBackIntoItsControl)
{
    frmQAMVG* window = &openGenerator();
    for (Generator generator : mvg::kAllGenerators) {
        // Values unlike the fresh ones, by line kind.
        int n = 0;
        for (const mvg::ParamLine& line : mvg::paramLines(generator)) {
            ui::Control* control = window->control(line.control);
            if (auto* box = dynamic_cast<ui::TextBox*>(control))
                box->setText(line.kind == mvg::LineKind::Decimal ? QStringLiteral("0.%1").arg(++n)
                                                                 : QStringLiteral("%1").arg(++n));
            else if (auto* list = dynamic_cast<ui::ComboBox*>(control))
                list->setListIndex(1);
            else if (auto* check = dynamic_cast<ui::CheckBox*>(control))
                check->setValue(1);
        }
        const QString file = path(QStringLiteral("round.txt"));
        ASSERT_TRUE(window->writeParamFile(generator, file));
        const QByteArray written = readAll(file);
        // Back to fresh fields, then read.
        closeWindows();
        frmQAMVG& again = openGenerator();
        again.readParamFile(generator, file);
        ASSERT_TRUE(again.writeParamFile(generator, file));
        EXPECT_EQ(readAll(file), written) << static_cast<int>(generator);
        closeWindows();
        window = &openGenerator();
    }
}

struct Blanks {
    Generator generator;
    const char* box;
    QString text;
    int line; // 1-based
    QByteArray written;
};

TEST_F(ParamFiles, BlanksAroundATextAreTrimmedOnlyOnTheLinesThatTrimThem)
{
    rt::ScopedNumberLocale comma(QChar(u','));
    const Blanks cases[] = {
        {Generator::Qam, "txtNumSymbols", QStringLiteral(" 7 "), 1, "7"},
        {Generator::Qam, "txtFilterCoefVal", QStringLiteral(" 3 "), 5, "3"},
        {Generator::Qam, "txtGraphPoints", QStringLiteral(" 9 "), 14, "9"},
        {Generator::Qam, "txtQAMVGOutputFile", QStringLiteral(" a.txt "), 11, " a.txt "},
        {Generator::Polar, "txtNumSymbolsQP", QStringLiteral(" 7 "), 1, " 7 "},
        {Generator::Polar, "txtFilterCoefValQP", QStringLiteral(" 3 "), 5, " 3 "},
        {Generator::Polar, "txtKaiserWROFQP", QStringLiteral(" 2,5 "), 9, "2.5"},
        {Generator::Gmsk, "txtNormBWGMSK", QStringLiteral(" 0,4 "), 6, "0.4"},
        {Generator::Gmsk, "txtGraphPointsGMSK", QStringLiteral(" 9 "), 13, " 9 "},
        {Generator::Sdpsk, "txtFilterUpsampleFactSDPSK", QStringLiteral(" 4 "), 5, "4"},
        {Generator::Sdpsk, "txtNumOfOutBitsSDPSK", QStringLiteral(" 12 "), 9, " 12 "},
    };
    frmQAMVG& window = openGenerator();
    for (const Blanks& c : cases) {
        dynamic_cast<ui::TextBox&>(*window.control(QLatin1String(c.box))).setText(c.text);
        const QString file = path(QStringLiteral("blanks.txt"));
        ASSERT_TRUE(window.writeParamFile(c.generator, file));
        EXPECT_EQ(readAll(file).split('\n').value(c.line - 1), c.written + "\r") << c.box;
    }
}

struct ShortOrBadFile {
    const char* what;
    QByteArray bytes;
    QString attenuation; // txtAttenuationVal after the read
    int format;          // lstQAMOutputDataFormat after the read
};

TEST_F(ParamFiles, AReadStopsAtAMissingLineOrAListLineOutOfRangeKeepingWhatWasRead)
{
    const QByteArray head = "2000\r\n1\r\n1\r\n32\r\n4\r\n4\r\n0.3\r\n0\r\n1\r\n12\r\nmine.txt\r\n";
    const ShortOrBadFile cases[] = {
        {"14 lines", head + "3\r\n1\r\n900\r\n", QStringLiteral("0.5"), 3},
        {"format 9", head + "9\r\n1\r\n900\r\n0.7\r\n", QStringLiteral("0.5"), 0},
        {"format -1", head + "-1\r\n1\r\n900\r\n0.7\r\n", QStringLiteral("0.5"), 0},
        {"format x", head + "x\r\n1\r\n900\r\n0.7\r\n", QStringLiteral("0.5"), 0},
        {"whole, LF only", QByteArray(head + "5\r\n1\r\n900\r\n0.7").replace("\r\n", "\n"),
         QStringLiteral("0.7"), 5},
    };
    for (const ShortOrBadFile& c : cases) {
        frmQAMVG& window = openGenerator();
        const QString file = path(QStringLiteral("qam.txt"));
        writeFile(file, c.bytes);
        window.ReadQAMParamFile(file);
        EXPECT_EQ(window.txtNumSymbols.Text(), QStringLiteral("2000")) << c.what;
        EXPECT_EQ(window.txtQAMVGOutputFile.Text(), QStringLiteral("mine.txt")) << c.what;
        EXPECT_EQ(window.txtAttenuationVal.Text(), c.attenuation) << c.what;
        EXPECT_EQ(window.lstQAMOutputDataFormat.ListIndex(), c.format) << c.what;
        closeWindows();
    }
}

struct WholeLine {
    Generator generator;
    int line; // 1-based
    const char* value;
    bool stops;
    // The message the value read into its box brings up, if any.
    QString boxTitle = {};
    QString boxText = {};
};

TEST_F(ParamFiles, ANumberBeyondAWholeNumberFieldsTypeStopsTheReadThere)
{
    // 16-bit: the coefficient resolutions and the QAM output bits; every other digits-only field 32-bit.
    const WholeLine cases[] = {
        {Generator::Qam, 5, "32768", true},
        {Generator::Qam, 5, "-32768", false, QStringLiteral("Invalid Value"),
         QStringLiteral("Filter Coefficient Resolution must be > 0 and < 30!")},
        {Generator::Qam, 5, "abc", false},
        {Generator::Qam, 10, "40000", true},
        {Generator::Qam, 1, "40000", false, QStringLiteral("Warning!"),
         QStringLiteral(
             "The output vectors exceed the ZR2250 and ZR4470 Evaluation Boards\r\n65K FIFO size.")},
        {Generator::Qam, 1, "2147483648", true},
        {Generator::Polar, 5, "99999", true},
        {Generator::Polar, 13, "99999", false},
        {Generator::Gmsk, 4, "99999", false},
        {Generator::Gmsk, 5, "1E10", true},
        {Generator::Sdpsk, 4, "32767.5", true},
        {Generator::Sdpsk, 12, "-2147483649", true},
        {Generator::Sdpsk, 9, "2147483647", false},
    };
    for (const WholeLine& c : cases) {
        const FreshFile& fresh = kFreshFiles[static_cast<int>(c.generator)];
        QList<QByteArray> lines = fresh.bytes.split('\n');
        lines.removeLast();
        const QByteArray freshValue = lines[c.line - 1].chopped(1);
        const QByteArray freshLast = lines.back().chopped(1);
        const QByteArray last = c.generator == Generator::Sdpsk ? "3" : "0.25";
        lines[c.line - 1] = QByteArray(c.value) + "\r";
        lines.back() = last + "\r";
        const QString file = path(QStringLiteral("whole.txt"));
        writeFile(file, lines.join('\n') + "\n");

        frmQAMVG& window = openGenerator();
        const size_t before = ui::testing::messageBoxes().shown.size();
        if (!c.boxText.isEmpty())
            ui::testing::messageBoxes().expect(c.boxText, ui::vbOK);
        window.readParamFile(c.generator, file);
        const std::vector<ui::testing::MessageBoxRecord>& shown = ui::testing::messageBoxes().shown;
        ASSERT_EQ(shown.size(), before + (c.boxText.isEmpty() ? 0 : 1)) << c.value << " on line " << c.line;
        if (!c.boxText.isEmpty()) {
            EXPECT_EQ(shown.back().title, c.boxTitle) << c.value << " on line " << c.line;
        }
        const std::vector<mvg::ParamLine>& table = mvg::paramLines(c.generator);
        const auto& box = dynamic_cast<const ui::TextBox&>(*window.control(table[c.line - 1].control));
        EXPECT_EQ(box.Text(), QLatin1String(c.stops ? freshValue : QByteArray(c.value)))
            << c.value << " on line " << c.line;
        EXPECT_EQ(mvg::paramValueOf(window.control(table.back().control), table.back()),
                  QLatin1String(c.stops ? freshLast : last))
            << c.value << " on line " << c.line;
        closeWindows();
    }
}

TEST_F(ParamFiles, ABlankQamOutputLineReadsAsTheDefaultFileInTheProgramFolder)
{
    frmQAMVG& window = openGenerator();
    const QString file = path(QStringLiteral("qam.txt"));
    writeFile(file,
              "1000\r\n0\r\n0\r\n64\r\n0\r\n8\r\n0.22\r\n0\r\n1\r\n18\r\n   \r\n0\r\n0\r\n800\r\n0.5\r\n");
    window.ReadQAMParamFile(file);
    EXPECT_EQ(window.txtQAMVGOutputFile.Text(), path(QStringLiteral("ModulationData.txt")));
}

TEST_F(ParamFiles, OpeningReadsAndClosingWritesOnlyThePresentGeneratorsFiles)
{
    standIn(modtest::kGmskProgram, "exit 0\n");
    writeFile(path(QStringLiteral("Kelmardir/mod_parameters.txt")),
              "1200\r\n1\r\n5\r\n18\r\n4\r\n0.3\r\n0.5\r\n18\r\n0\r\n1\r\nedge.txt\r\n2\r\n800\r\n0.25\r\n");
    frmQAMVG& window = openGenerator();
    EXPECT_EQ(window.txtNumSymbolsGMSK.Text(), QStringLiteral("1200"));
    EXPECT_EQ(window.lstModTypeGMSK.ListIndex(), 1);
    EXPECT_EQ(window.chkFullLengthDataGE.Value(), 1);
    EXPECT_EQ(window.lblNumOutVectsGMSK.Caption(), QStringLiteral("9600"));
    EXPECT_EQ(window.sstTabs.Tab(), frmQAMVG::kTabGmsk);
    EXPECT_FALSE(window.sstTabs.TabEnabled(frmQAMVG::kTabQam));
    EXPECT_FALSE(window.chkDebugModeQAM.Enabled());
    EXPECT_FALSE(window.sstTabs.TabVisible(frmQAMVG::kTabPolar));
    EXPECT_FALSE(window.sstTabs.TabVisible(frmQAMVG::kTabDebug));

    window.txtNumSymbolsGMSK.setText(QStringLiteral("1300"));
    ASSERT_TRUE(window.Unload());
    EXPECT_TRUE(
        readAll(path(QStringLiteral("Kelmardir/mod_parameters.txt"))).startsWith("1300\r\n1\r\n5\r\n"));
    for (const char* absent : {"Tovrindir", "Quorlendir", "Sovanedir"})
        EXPECT_FALSE(QFile::exists(path(QLatin1String(absent) + QStringLiteral("/mod_parameters.txt"))))
            << absent;
}

TEST_F(ParamFiles, TheIniFileMovesAGeneratorAndItsFilesElsewhere)
{
    writeFile(path(QStringLiteral("ModVectorGen.ini")),
              "[QAM Vector Generator]\r\nPath=\\Other dir\\q.exe\r\nParameterFile=p.txt\r\n");
    frmQAMVG& window = openGenerator();
    const mvg::GeneratorFiles& qam = window.files(Generator::Qam);
    EXPECT_EQ(qam.program, path(QStringLiteral("Other dir/q.exe")));
    EXPECT_EQ(qam.parameterFile, path(QStringLiteral("Other dir/p.txt")));
    EXPECT_EQ(qam.outputFile, path(QStringLiteral("Other dir/Interleaved_data.txt")));
    EXPECT_EQ(window.files(Generator::Polar).outputFile, path(QStringLiteral("Quorlendir/Polar_mode.txt")));
    EXPECT_EQ(window.files(Generator::Sdpsk).parameterFile,
              path(QStringLiteral("Sovanedir/mod_parameters.txt")));
}

TEST_F(ParamFiles, TheDebugTabNeedsExactlyTheDebugCommandLine)
{
    for (const auto& [line, shown] :
         {std::pair{"-QUILLFERN", true}, {"-quillfern", true}, {"-QUILLFERN -X", false}}) {
        gsCmdLine = QString::fromLatin1(line).toUpper();
        EXPECT_EQ(openGenerator().sstTabs.TabVisible(frmQAMVG::kTabDebug), shown) << line;
        closeWindows();
    }
}

} // namespace

namespace {

struct KindCase {
    const char* control;
    mvg::LineKind kind;
    std::function<void(frmQAMVG&)> set;
    const char* written;
};

TEST_F(ParamFiles, EachKindOfLineWritesItsControlsValueAsTheGeneratorReadsIt)
{
    using K = mvg::LineKind;
    rt::ScopedNumberLocale locale(QChar(u','));
    const KindCase cases[] = {
        {"txtNumSymbols", K::Text, [](frmQAMVG& w) { w.txtNumSymbols.setText(QStringLiteral(" 12 ")); },
         " 12 "},
        {"txtNumSymbols", K::Trimmed, [](frmQAMVG& w) { w.txtNumSymbols.setText(QStringLiteral(" 12 ")); },
         "12"},
        {"txtFiltROFact", K::Decimal, [](frmQAMVG& w) { w.txtFiltROFact.setText(QStringLiteral(" 0,35 ")); },
         "0.35"},
        {"txtQAMVGOutputFile", K::OutputFile, [](frmQAMVG& w) { w.txtQAMVGOutputFile.setText(QString()); },
         "ModulationData.txt"},
        {"txtQAMVGOutputFile", K::OutputFile,
         [](frmQAMVG& w) { w.txtQAMVGOutputFile.setText(QStringLiteral("a b.txt")); }, "a b.txt"},
        {"lstQAMLevel", K::List, [](frmQAMVG& w) { w.lstQAMLevel.setListIndex(5); }, "5"},
        {"lstQAMLevel", K::List, [](frmQAMVG& w) { w.lstQAMLevel.setListIndex(-1); }, "0"},
        {"lstFilterWindowType", K::WindowType, [](frmQAMVG& w) { w.lstFilterWindowType.setListIndex(6); },
         "0"},
        {"chkDebugModeQAM", K::Check, [](frmQAMVG& w) { w.chkDebugModeQAM.setValue(1); }, "1"},
        {"chkDebugModeQAM", K::Check, [](frmQAMVG& w) { w.chkDebugModeQAM.setValue(0); }, "0"},
        {"lblQAMOutputVects", K::Text, [](frmQAMVG&) {}, ""}, // no kind of control a line has
    };
    standIn(modtest::kQamProgram, "exit 0\n");
    frmQAMVG& window = openGenerator();
    for (const KindCase& c : cases) {
        c.set(window);
        EXPECT_EQ(
            mvg::paramValueOf(window.control(QLatin1String(c.control)), {QLatin1String(c.control), c.kind}),
            QLatin1String(c.written))
            << c.control << " kind " << static_cast<int>(c.kind);
    }
    EXPECT_EQ(mvg::paramValueOf(nullptr, {QStringLiteral("missing"), K::Text}), QString());

    // Read back: each value goes into its control as its kind; lines beyond the values leave theirs.
    window.txtFilterTAPs.setText(QStringLiteral("64"));
    mvg::showParamValues(window, Generator::Qam, {{QStringLiteral("77"), 0}, {QString(), 3}, {QString(), 1}});
    EXPECT_EQ(window.txtNumSymbols.Text(), QStringLiteral("77"));
    EXPECT_EQ(window.lstQAMLevel.ListIndex(), 3);
    EXPECT_EQ(window.lstFilterType.ListIndex(), 1);
    EXPECT_EQ(window.txtFilterTAPs.Text(), QStringLiteral("64"));
}

} // namespace
