// Handlers bound by member pointer: the window's method runs with the event's arguments (and an element's
// index for a control array), and a method whose parameters do not match the event's cannot be bound.

#include "controls_test_support.h"
#include "platform/ui/controls.h"

#include <gtest/gtest.h>

namespace {

class frmProbe : public ui::Form {
public:
    frmProbe() : Form(QStringLiteral("frmProbe")) {}
    ui::CommandButton cmdGo{this, QStringLiteral("cmdGo")};
    ui::TextBox txtWord{this, QStringLiteral("txtWord")};
    ui::ControlArray<ui::TextBox> txtCell{this, QStringLiteral("txtCell"), 2};

    void cmdGo_Click() { ++clicks; }
    void txtWord_KeyPress(int& keyAscii) { keyAscii = keyAscii == 'x' ? 0 : keyAscii; }
    void txtCell_Validate(int index, bool& cancel) { cancel = index == 1; }
    void txtCell_Click(int index) { clickedCells.push_back(index); }
    int clicks = 0;
    std::vector<int> clickedCells;
};

template <typename E, typename H>
concept BindsTo = requires(E& event, frmProbe* window, H handler)
{
    ui::bind(event, window, handler);
};
template <typename H>
concept ArrayBindsTo = requires(ui::ControlArray<ui::TextBox>& array, frmProbe* window, H handler)
{
    array.bind(&ui::TextBox::Click, window, handler);
};

// A handler of another event's shape is a compile error, not a handler that never runs.
static_assert(BindsTo<ui::Event<>, decltype(&frmProbe::cmdGo_Click)>);
static_assert(!BindsTo<ui::Event<>, decltype(&frmProbe::txtWord_KeyPress)>);
static_assert(BindsTo<ui::Event<int&>, decltype(&frmProbe::txtWord_KeyPress)>);
static_assert(!BindsTo<ui::Event<bool&>, decltype(&frmProbe::txtWord_KeyPress)>);
static_assert(ArrayBindsTo<decltype(&frmProbe::txtCell_Click)>);
static_assert(!ArrayBindsTo<decltype(&frmProbe::txtCell_Validate)>);
static_assert(!ArrayBindsTo<decltype(&frmProbe::cmdGo_Click)>);

TEST(MemberBinding, EventsRunTheWindowsMethodsWithTheirArgumentsAndIndex)
{
    frmProbe form;
    ui::bind(form.cmdGo.Click, &form, &frmProbe::cmdGo_Click);
    ui::bind(form.txtWord.KeyPress, &form, &frmProbe::txtWord_KeyPress);
    form.txtCell.bind(&ui::TextBox::Validate, &form, &frmProbe::txtCell_Validate);
    form.txtCell.bind(&ui::TextBox::Click, &form, &frmProbe::txtCell_Click);
    form.txtCell.add(4);

    form.cmdGo.click();
    form.cmdGo.click();
    EXPECT_EQ(form.clicks, 2);
    for (const auto& [typed, passed] : {std::pair<int, int>{'x', 0}, std::pair<int, int>{'7', '7'}}) {
        int key = typed;
        form.txtWord.KeyPress(key);
        EXPECT_EQ(key, passed) << typed;
    }
    for (const auto& [index, cancelled] : {std::pair{0, false}, std::pair{1, true}, std::pair{4, false}}) {
        bool cancel = false;
        form.txtCell(index).Validate(cancel);
        EXPECT_EQ(cancel, cancelled) << index;
        form.txtCell(index).Click();
    }
    EXPECT_EQ(form.clickedCells, (std::vector<int>{0, 1, 4}));
}

} // namespace
