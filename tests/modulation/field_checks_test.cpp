#include "modulation_fixture.h"

namespace {

using regtest::retype;

class FieldChecks : public modtest::ModulationTest {
protected:
    // Every generator is there, so every tab can be typed into.
    frmQAMVG& openWithEveryGenerator()
    {
        for (const QString& program :
             {modtest::kQamProgram, modtest::kPolarProgram, modtest::kGmskProgram, modtest::kSdpskProgram})
            standIn(program, "exit 0\n");
        return openGenerator();
    }
    frmQAMVG& window = openWithEveryGenerator();
    ui::testing::ScriptedMessageBoxes& boxes = ui::testing::messageBoxes();
};

struct Typed {
    const char* box;
    QString keys;
    QString text;    // what the box holds afterwards
    QString message; // the last message shown, or none
    const char* markers;
    int marker;
    bool shown;
    int messages = 1; // how often the message comes: at every change of the text that is still out of range
};

TEST_F(FieldChecks, TypedValuesAreCheckedWithTheirMarkersAndMessages)
{
    const QString attenuation = QStringLiteral("Attenuation value must be > 0 and < 1!");
    const QString coefficient = QStringLiteral("Filter Coefficient Resolution must be > 0 and < 30!");
    const QString rollOff = QStringLiteral("Filter roll-off factor must be > 0 and < 1!");
    const Typed cases[] = {
        {"txtAttenuationVal", QStringLiteral("1"), QStringLiteral("1"), {}, "lblFieldErrQAM", 11, false},
        {"txtAttenuationVal", QStringLiteral("1.01"), QStringLiteral("1.01"), attenuation, "lblFieldErrQAM",
         11, true},
        {"txtAttenuationVal", QStringLiteral("-0.5"), QStringLiteral("0.5"), {}, "lblFieldErrQAM", 11, false},
        {"txtAttenuationGMSK", QStringLiteral("2"), QStringLiteral("2"), attenuation, "lblFieldErrGE", 9,
         true},
        {"txtAttenuationValSDPSK",
         QStringLiteral("0"),
         QStringLiteral("0"),
         {},
         "lblFieldErrSDPSK",
         9,
         false},
        {"txtFilterCoefVal", QStringLiteral("31"), QStringLiteral("31"), coefficient, "lblFieldErrQAM", 4,
         true},
        {"txtFilterCoefVal", QStringLiteral("30"), QStringLiteral("30"), {}, "lblFieldErrQAM", 4, false},
        {"txtFilterCoefValSDPSK", QStringLiteral("40000"), QStringLiteral("40000"), coefficient,
         "lblFieldErrSDPSK", 3, true, 4},
        {"txtFilterCoefValQP", QStringLiteral("0"), QStringLiteral("0"), {}, "lblFieldErrQP", 4, false},
        {"txtFiltROFact", QStringLiteral("1.4"), QStringLiteral("1.4"), rollOff, "lblFieldErrQAM", 6, true},
        {"txtFiltROFactSDPSK",
         QStringLiteral("0.22"),
         QStringLiteral("0.22"),
         {},
         "lblFieldErrSDPSK",
         5,
         false},
        {"txtNumOfOutBits", QStringLiteral("0"), QStringLiteral("0"),
         QStringLiteral("Output quantization must be a positive integer value!"), "lblFieldErrQAM", 9, true},
        {"txtFilterTAPs", QStringLiteral("6a4"), QStringLiteral("64"), {}, "lblFieldErrQAM", 3, false},
        {"txtQAMVGOutputFile",
         QStringLiteral("/no/such/folder/x.txt"),
         QStringLiteral("/no/such/folder/x.txt"),
         {},
         "lblFieldErrQAM",
         14,
         true},
        {"txtQAMVGOutputFile",
         QStringLiteral("bare.txt"),
         QStringLiteral("bare.txt"),
         {},
         "lblFieldErrQAM",
         14,
         false},
    };
    for (const Typed& c : cases) {
        const size_t before = boxes.shown.size();
        const int messages = c.message.isEmpty() ? 0 : c.messages;
        for (int i = 0; i < messages; ++i)
            boxes.expect(c.message, ui::vbOK);
        auto& box = dynamic_cast<ui::TextBox&>(*window.control(QLatin1String(c.box)));
        retype(box, c.keys);
        EXPECT_EQ(box.Text(), c.text) << c.box << " " << c.keys.toStdString();
        ASSERT_EQ(boxes.shown.size(), before + static_cast<size_t>(messages))
            << c.box << " " << c.keys.toStdString();
        for (size_t i = before; i < boxes.shown.size(); ++i)
            EXPECT_EQ(boxes.shown[i].title, QStringLiteral("Invalid Value")) << c.box;
        EXPECT_EQ(window.control(QLatin1String(c.markers), c.marker)->Visible(), c.shown)
            << c.box << " " << c.keys.toStdString();
    }
}

TEST_F(FieldChecks, AnUnfilteredFieldBeepsAtALetterWithoutAMessage)
{
    os::testing::soundRecorder().played.clear();
    retype(window.txtAttenuationValQP, QStringLiteral("x"));
    EXPECT_TRUE(window.lblFieldErrQP(11).Visible());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(os::testing::soundRecorder().played.isEmpty());
    retype(window.txtAttenuationValQP, QStringLiteral("0.4"));
    EXPECT_FALSE(window.lblFieldErrQP(11).Visible());
}

TEST_F(FieldChecks, TheVectorCountFollowsSymbolsAndUpsamplingAndWarnsBeyondTheFifo)
{
    EXPECT_EQ(window.lblQAMOutputVects.Caption(), QStringLiteral("16000"));
    EXPECT_EQ(window.lblQAMOutputVects.ToolTipText(),
              QStringLiteral("Number of Data Vectors = 16000 : Max Symbols = 4096"));

    window.txtNumSymbols.setText(QStringLiteral("4096"));
    EXPECT_EQ(window.lblQAMOutputVects.Caption(), QStringLiteral("65536"));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(window.lblFieldErrQAM(10).Visible());

    boxes.expect(QStringLiteral("The output vectors exceed the ZR2250 and ZR4470 Evaluation "
                                "Boards\r\n65K FIFO size."),
                 ui::vbOK);
    window.txtFilterUpsampleFact.setText(QStringLiteral("9"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Warning!"));
    EXPECT_TRUE(window.lblFieldErrQAM(10).Visible());

    window.txtNumSymbolsSDPSK.setText(QString());
    EXPECT_EQ(window.lblOutputVectsSDPSK.Caption(), QStringLiteral("Invalid Parameter!"));
    EXPECT_TRUE(window.lblFieldErrSDPSK(10).Visible());
    EXPECT_TRUE(window.lblFieldErrSDPSK(0).Visible());
}

TEST_F(FieldChecks, TheMaxButtonFillsInTheLargestSymbolCountUnlessThereIsNone)
{
    window.txtUpSamplingFactGMSK.setText(QStringLiteral("3"));
    // 65536 / 6 = 10922.67: 10923 symbols would make 65538 vectors, more than the FIFO holds.
    EXPECT_EQ(window.maxSymbols(mvg::Generator::Gmsk), 10922);
    window.cmdMaxGESymbols.click();
    EXPECT_EQ(window.txtNumSymbolsGMSK.Text(), QStringLiteral("10922"));
    EXPECT_EQ(window.lblNumOutVectsGMSK.Caption(), QStringLiteral("65532"));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(window.lblFieldErrGE(8).Visible());

    window.txtFilterUpsampleFactSDPSK.setText(QStringLiteral("0"));
    EXPECT_EQ(window.lblOutputVectsSDPSK.Caption(), QStringLiteral("0"));
    EXPECT_TRUE(window.lblOutputVectsSDPSK.ToolTipText().endsWith(QStringLiteral("Max Symbols = -1")));
    window.cmdMaxSDPSKSymbols.click();
    EXPECT_EQ(window.txtNumSymbolsSDPSK.Text(), QStringLiteral("1000"));
}

TEST_F(FieldChecks, KaiserAndModulationTypeSwitchTheirFields)
{
    window.lstFilterWindowType.setListIndex(6);
    EXPECT_TRUE(window.txtKaiserWROF.Enabled());
    window.lstFilterWindowType.setListIndex(2);
    EXPECT_FALSE(window.txtKaiserWROF.Enabled());
    window.lstModTypeGMSK.setListIndex(1);
    EXPECT_EQ(window.txtFilterSpanValGMSK.Text(), QStringLiteral("5"));
    EXPECT_EQ(window.txtNormBWGMSK.ForeColor(), ui::colors::vbGrayText);
    window.lstModTypeGMSK.setListIndex(0);
    EXPECT_EQ(window.txtFilterSpanValGMSK.Text(), QStringLiteral("3"));
    EXPECT_EQ(window.lblModIndexGMSK.ForeColor(), ui::colors::vbWindowText);
}

} // namespace
