#include "platform/ui/colors.h"
#include "platform/ui/dialog_service.h"
#include "platform/ui/test_doubles.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPalette>
#include <gtest/gtest.h>

TEST(CoreColours, PlainValuesAreBlueGreenRed)
{
    struct Case {
        uint32_t value;
        QColor colour;
    };
    for (const Case& c : {Case{0x0000FF, QColor(255, 0, 0)}, Case{0x00FF00, QColor(0, 255, 0)},
                          Case{0xFF0000, QColor(0, 0, 255)}, Case{0x004040, QColor(0x40, 0x40, 0)},
                          Case{0x000040, QColor(0x40, 0, 0)}}) {
        EXPECT_EQ(ui::toQColor(c.value), c.colour) << std::hex << c.value;
        EXPECT_EQ(ui::fromQColor(c.colour), c.value);
    }
    EXPECT_EQ(ui::RGB(0x12, 0x34, 0x56), 0x563412u);
}

TEST(CoreColours, SystemColoursComeFromThePalette)
{
    const QPalette palette = QGuiApplication::palette();
    struct Case {
        uint32_t value;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    for (const Case& c : {Case{0x8000000D, QPalette::Active, QPalette::Highlight},
                          Case{0x8000000F, QPalette::Active, QPalette::Button},
                          Case{0x80000010, QPalette::Active, QPalette::Dark},
                          Case{0x80000011, QPalette::Disabled, QPalette::Text},
                          Case{0x80000012, QPalette::Active, QPalette::ButtonText},
                          Case{0x80000014, QPalette::Active, QPalette::Light},
                          Case{0x80000017, QPalette::Active, QPalette::ToolTipText},
                          Case{0x80000018, QPalette::Active, QPalette::ToolTipBase},
                          Case{0x80000005, QPalette::Active, QPalette::Base},
                          Case{0x80000008, QPalette::Active, QPalette::Text}})
        EXPECT_EQ(ui::toQColor(c.value), palette.color(c.group, c.role)) << std::hex << c.value;
    EXPECT_EQ(ui::resolveColour(ui::colors::vbButtonFace), ui::fromQColor(palette.color(QPalette::Button)));
}

TEST(CoreColours, ValuesThatNameNoColourAreRefused)
{
    for (uint32_t value : {0xFFFFFFFFu, 0x80000019u, 0x800000FFu, 0x80010005u, 0x01000000u}) {
        EXPECT_FALSE(ui::tryToQColor(value).has_value()) << std::hex << value;
        EXPECT_EQ(ui::toQColor(value), QColor(Qt::black));
    }
}

TEST(CoreDialogs, ClassicFilterTextIsParsedIntoPairs)
{
    const auto filters =
        ui::parseClassicFilter("Setup Files (*.stp)|*.stp|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[1].description, "Text Files (*.txt)");
    EXPECT_EQ(filters[1].patterns, "*.txt");
    EXPECT_EQ(ui::classicFilterText(filters),
              "Setup Files (*.stp)|*.stp|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_TRUE(ui::parseClassicFilter("").empty());
    const auto odd = ui::parseClassicFilter("Only a description");
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_TRUE(odd[0].patterns.isEmpty());
}

TEST(CoreDialogs, QtNameFiltersShowThePatternsQtMatches)
{
    struct Case {
        ui::FileFilter filter;
        QString shown;
    };
    const Case cases[] = {
        {{"Setup Files (*.stp)", "*.stp"}, "Setup Files (*.stp)"},
        {{"All Files (*.*)", "*.*"}, "All Files (*)"},
        {{"Pictures", "*.bmp;*.png"}, "Pictures (*.bmp *.png)"},
        {{"Data (*.dat)", "*.txt"}, "Data (*.txt)"},
        {{"Anything", ""}, "Anything (*)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::qtNameFilter(c.filter), c.shown);
}

TEST(CoreDialogs, ScriptedDialogsRecordRequestsAndAnswerFromTheQueue)
{
    ui::testing::allowUnscriptedDialogs("the cancel of an unscripted dialog is this test's subject");
    auto& dialogs = ui::testing::dialogs();
    dialogs.answerOpen("/tmp/setup.stp", 2);
    ui::FileDialogRequest request;
    request.title = "Load Setup File";
    request.filter = "Setup Files (*.stp)|*.stp|Text Files (*.txt)|*.txt";
    request.defaultExtension = "STP";
    const auto first = ui::showFileDialog(request);
    EXPECT_TRUE(first.accepted);
    EXPECT_EQ(first.fileName, "/tmp/setup.stp");
    EXPECT_EQ(first.filterIndex, 2);

    request.kind = ui::FileDialogRequest::Kind::Save;
    request.title = "Save Setup File";
    const auto second = ui::showFileDialog(request);
    EXPECT_FALSE(second.accepted);
    EXPECT_TRUE(second.fileName.isEmpty());

    ASSERT_EQ(dialogs.open.requests.size(), 1u);
    EXPECT_EQ(dialogs.open.requests[0].title, "Load Setup File");
    ASSERT_EQ(dialogs.save.requests.size(), 1u);
    EXPECT_EQ(dialogs.save.requests[0].title, "Save Setup File");
    EXPECT_EQ(dialogs.unscriptedCount(), 1);

    ui::ColorDialogResult red;
    red.accepted = true;
    red.color = 0x0000FF;
    dialogs.color.answers.push_back(red);
    EXPECT_EQ(ui::dialogService().chooseColor({}).color, 0x0000FFu);
    EXPECT_FALSE(ui::dialogService().print({}).accepted);
    EXPECT_EQ(dialogs.unscriptedCount(), 2);
}

TEST(CoreDialogs, PaperNumbersMapBothWays)
{
    EXPECT_EQ(ui::classicPaperSize(QPageSize::A4), 9);
    EXPECT_EQ(ui::classicPaperSize(QPageSize::Letter), 1);
    EXPECT_EQ(ui::classicPaperSize(QPageSize::Legal), 5);
    EXPECT_EQ(ui::classicPaperSize(QPageSize::Custom), 0);
    EXPECT_EQ(ui::qtPageSizeId(11), QPageSize::A5);
    EXPECT_EQ(ui::qtPageSizeId(999), QPageSize::A4);
}
