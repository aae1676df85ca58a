// The register-window kit on a small window of its own: fields against both maps, a table walked by the
// controls and by the refresh, the shared LOAD with and without a board, and the load indicator.

#include "common/register_window_fixture.h"

#include "board/register_field.h"
#include "shell/register_window.h"
#include "shell/register_window_base.h"

#include "platform/os/os_test_doubles.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"

namespace {

using namespace regtest;

constexpr int16_t kCFR1 = 0x00;
constexpr int16_t kCFR2 = 0x01;
constexpr int16_t kRSR0 = 0x05;

class frmKitProbe : public ui::Form {
public:
    static inline const QString FormName = QStringLiteral("frmKitProbe");
    frmKitProbe() : ui::Form(FormName)
    {
        fields.check(chkBit, regBit(kCFR1, 9), [this] { ++afterCount; });
        fields.list(lstMode, {kCFR1, 25, 24});
        fields.bindClicks();
        lblLoadFlash.setVisible(false);
        for (const char* item : {"zero", "one", "two"})
            lstMode.AddItem(QString::fromLatin1(item));
    }
    bool bRefreshing = false;
    int afterCount = 0;
    ui::CheckBox chkBit{this, "chkBit"};
    ui::ListBox lstMode{this, "lstMode"};
    ui::Label lblLoadFlash{this, "lblLoadFlash"};
    regwin::FieldTable fields{bRefreshing};
};

class frmBaseProbe : public regwin::RegisterWindow {
public:
    static inline const QString FormName = QStringLiteral("frmBaseProbe");
    frmBaseProbe() : regwin::RegisterWindow(FormName)
    {
        fields_.check(chkBit, regBit(kCFR2, 3));
        fields_.bindClicks();
    }
    // What a window's RefreshFormVals does: the controls shown under the base's flag.
    void showWhileRefreshing(int value)
    {
        regwin::ScopedFlag refreshing(bRefreshing_);
        chkBit.setValue(value);
    }
    ui::CheckBox chkBit{this, "chkBit"};
};

class RegisterWindowKitTest : public RegisterWindowTest {};

TEST_F(RegisterWindowKitTest, FieldReadsAndWritesOneMapWithinItsWidth)
{
    const RegisterField segment{kRSR0, 23, 14};
    EXPECT_TRUE(segment.set(1023));
    EXPECT_EQ(pendingField(segment), 1023U);
    EXPECT_EQ(written(kRSR0), 0U);
    EXPECT_TRUE(segment.differs());
    EXPECT_FALSE(segment.set(1024)) << "a value wider than the field is refused";
    EXPECT_EQ(segment.get(), 1023U);
    EXPECT_TRUE(segment.setBoth(5));
    EXPECT_FALSE(segment.differs());
    // A field beyond the register's width on this layout: nothing stored.
    const RegisterField beyond{0x18, 15, 8};
    useRevision(2);
    EXPECT_FALSE(beyond.exists());
    EXPECT_FALSE(beyond.set(1));
    useRevision(3);
    EXPECT_TRUE(beyond.exists());
    EXPECT_EQ((RegisterField{kCFR1, 7, 4}.in(bits(0, 8), 0xA)), QStringLiteral("10100000"));
    EXPECT_EQ((RegisterField{kCFR1, 7, 4}.text(QStringLiteral("10100011"))), QStringLiteral("1010"));
    EXPECT_EQ(bitString(0x2D, 8), QStringLiteral("00101101"));
    EXPECT_EQ(bitString(0x1FF, 4), QStringLiteral("1111")) << "the low bits of a wider value";
    EXPECT_EQ(bitString(uint64_t{1} << 63, 64), QStringLiteral("1") + QString(63, QLatin1Char('0')));
}

TEST_F(RegisterWindowKitTest, ClicksStoreFieldsAndRefreshNeverWritesBack)
{
    auto& probe = ui::form<frmKitProbe>();
    probe.chkBit.setValue(1);
    EXPECT_EQ(pendingField(regBit(kCFR1, 9)), 1U);
    EXPECT_EQ(probe.afterCount, 1);
    probe.lstMode.setListIndex(2);
    EXPECT_EQ(pendingField({kCFR1, 25, 24}), 2U);

    setPendingField({kCFR1, 25, 24}, 3); // no item: no selection, and the map keeps its 3
    setPendingField(regBit(kCFR1, 9), 0);
    probe.fields.refresh();
    EXPECT_EQ(probe.lstMode.ListIndex(), -1);
    EXPECT_EQ(probe.chkBit.Value(), 0);
    EXPECT_EQ(pendingField({kCFR1, 25, 24}), 3U);
    EXPECT_EQ(probe.afterCount, 1) << "a refresh runs no user handler";
    EXPECT_FALSE(probe.bRefreshing);
}

TEST_F(RegisterWindowKitTest, ScopedFlagRestoresTheOuterValue)
{
    bool refreshing = false;
    {
        regwin::ScopedFlag outer(refreshing);
        {
            regwin::ScopedFlag inner(refreshing);
        }
        EXPECT_TRUE(refreshing) << "a nested refresh must not lower the guard early";
    }
    EXPECT_FALSE(refreshing);
}

TEST_F(RegisterWindowKitTest, LoadWithoutBoardCopiesIntoTheWrittenMap)
{
    setPending(kRSR0, 0x123456);
    EXPECT_EQ(regwin::loadRegisters({kRSR0}), regwin::LoadOutcome::Loaded);
    EXPECT_EQ(written(kRSR0), 0x123456U);
    EXPECT_EQ(os::testing::soundRecorder().played, QStringList{QStringLiteral("SystemQuestion")});
}

TEST_F(RegisterWindowKitTest, LoadSendsInOrderAndAFailureKeepsTheIndicator)
{
    plugBoard();
    setPending(kCFR2, 0x00400820);
    setPending(kRSR0, 0xABCDEF);
    auto& probe = ui::form<frmKitProbe>();
    regwin::LoadIndicator indicator(probe.lblLoadFlash, regwin::LoadIndicator::registers({kRSR0}));
    indicator.tick();
    EXPECT_TRUE(probe.lblLoadFlash.Visible());

    drv.failTransfer(0, 3, 1, 1);
    const regwin::LoadOutcome failed = regwin::loadRegisters({kRSR0});
    EXPECT_EQ(failed, regwin::LoadOutcome::Failed);
    indicator.loaded(failed);
    EXPECT_TRUE(probe.lblLoadFlash.Visible()) << "nothing reached the chip: the indicator blinks on";
    EXPECT_NE(written(kRSR0), 0xABCDEFU);

    clearTraffic();
    const regwin::LoadOutcome loaded = regwin::loadRegisters({kRSR0, kCFR2});
    EXPECT_EQ(loaded, regwin::LoadOutcome::Loaded);
    indicator.loaded(loaded);
    EXPECT_FALSE(probe.lblLoadFlash.Visible());
    const QList<SerialWrite> writes = serialWrites();
    ASSERT_EQ(writes.size(), 2);
    EXPECT_EQ(writes[0], (SerialWrite{kRSR0, bits(0xABCDEF, 48)}));
    EXPECT_EQ(writes[1].addr, kCFR2);
    EXPECT_EQ(written(kRSR0), 0xABCDEFU);
}

} // namespace

TEST_F(RegisterWindowKitTest, BaseFlagGuardsTheBaseTable)
{
    auto& probe = ui::form<frmBaseProbe>();
    ASSERT_EQ(probe.fields().rows().size(), 1U);
    probe.showWhileRefreshing(1);
    EXPECT_EQ(pendingField(regBit(kCFR2, 3)), 0U) << "a change shown by a refresh is not stored";
    probe.chkBit.setValue(0);
    probe.chkBit.setValue(1);
    EXPECT_EQ(pendingField(regBit(kCFR2, 3)), 1U) << "the user's click is stored";
}
