// The register map values window: the printed register lines, the copy and base choices, the refresh
// timer and the window's height from its line count.

#include "debug/frm_reg_map_vals.h"

#include "board/evalbd.h"
#include "board/globals.h"
#include "boardui/form_names.h"
#include "debug/frm_reg_map_vals_lines.h"
#include "shell/mdi_main.h"

#include "platform/ui/forms.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kTextMargin = 8;

} // namespace

// The surface the register lines are printed on, in a fixed-width font.
class RegisterLinesView : public QWidget {
public:
    explicit RegisterLinesView(QWidget* parent) : QWidget(parent)
    {
        setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        setAutoFillBackground(true);
    }

    void setLines(const QStringList& lines)
    {
        if (lines == lines_)
            return;
        lines_ = lines;
        const QFontMetrics metrics(font());
        int widest = 0;
        for (const QString& line : lines_)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        setMinimumWidth(widest + 2 * kTextMargin);
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QWidget::paintEvent(event);
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics metrics(font());
        int baseline = metrics.ascent();
        for (const QString& line : lines_) {
            painter.drawText(kTextMargin, baseline, line);
            baseline += metrics.height();
        }
    }

private:
    QStringList lines_;
};

frmRegMapVals::frmRegMapVals() : Form(FormName)
{
    setMdiChild(true);
    setCaption(QStringLiteral("Register Map (Software Buffer) Values"));
    fraRefresh.setCaption(QString());
    lblRegMapBuff.setCaption(QStringLiteral("Choose REGMAP Buff:"));
    cmbRegMap.AddItem(QStringLiteral("New Values"));
    cmbRegMap.AddItem(QStringLiteral("Current Values"));
    lblFormat.setCaption(QStringLiteral("Format"));
    optBase(0).setCaption(QStringLiteral("Binary"));
    optBase(1).setCaption(QStringLiteral("Hexidecimal"));
    optBase(0).setValue(true);
    cmdRefresh.setCaption(QStringLiteral("Refresh"));
    chkAutoRefresh.setCaption(QStringLiteral("Auto Refresh"));
    chkAutoRefresh.setValue(1);

    ui::bind(cmbRegMap.Click, this, &frmRegMapVals::cmbRegMap_Click);
    optBase.bind(&ui::OptionButton::Click, this, &frmRegMapVals::optBase_Click);
    ui::bind(cmdRefresh.Click, this, &frmRegMapVals::cmdRefresh_Click);
    ui::bind(tmrAutoRefresh.Timer, this, &frmRegMapVals::tmrAutoRefresh_Timer);
    registerProc(formnames::RefreshFormVals, [this] { RefreshFormVals(); });
}

frmRegMapVals::~frmRegMapVals() = default;

void frmRegMapVals::buildUi(QWidget* window)
{
    auto* column = new QVBoxLayout(window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    view_ = new RegisterLinesView(window);
    column->addWidget(view_);

    auto* controls = new QGridLayout(fraRefresh.container());
    controls->setContentsMargins(6, 4, 6, 6);
    controls->setHorizontalSpacing(8);
    controls->addWidget(lblRegMapBuff.widget(), 0, 0);
    controls->addWidget(cmbRegMap.widget(), 1, 0);
    controls->addWidget(lblFormat.widget(), 0, 1);
    controls->addWidget(optBase(0).widget(), 1, 1);
    controls->addWidget(optBase(1).widget(), 2, 1);
    controls->addWidget(cmdRefresh.widget(), 1, 2);
    controls->addWidget(chkAutoRefresh.widget(), 2, 2);
    controls->setColumnStretch(3, 1);
    column->addWidget(fraRefresh.widget());
    RefreshFormVals();
}

void frmRegMapVals::Form_Load()
{
    UpdateWindowMetrics();
    cmbRegMap.setListIndex(0);
}

void frmRegMapVals::Form_Activate()
{
    RefreshFormVals();
}

QString frmRegMapVals::pSpace(int n) const
{
    return regmapview::pSpace(n);
}

int frmRegMapVals::lineHeight() const
{
    return QFontMetrics(view_ ? view_->font() : QFontDatabase::systemFont(QFontDatabase::FixedFont)).height();
}

void frmRegMapVals::UpdateWindowMetrics()
{
    const QWidget* frame = frameWidget();
    const QWidget* client = widget();
    if (!frame || !client || frame == client)
        return;
    borderSize_ = (frame->width() - client->width()) * kTwipsPerPixel / 2;
    titleBarHeight_ = (frame->height() - client->height()) * kTwipsPerPixel;
}

void frmRegMapVals::RefreshFormVals()
{
    if (!goEvalBd)
        return;
    const auto selector = static_cast<int16_t>(std::max(0, cmbRegMap.ListIndex()));
    lines_ =
        regmapview::registerMapLines(*goEvalBd, selector, static_cast<regmapview::Base>(base_), giRunMode);
    if (view_)
        view_->setLines(lines_);
    fitHeight();
}

void frmRegMapVals::fitHeight()
{
    if (!view_)
        return;
    // The lines and one more line's height, then the frame of controls below them.
    const int before = view_->minimumHeight();
    const int wanted = static_cast<int>(lines_.size() + 1) * lineHeight() + 1;
    if (wanted == before)
        return;
    view_->setFixedHeight(wanted);
    // Before the window is first shown it takes the height of its content when it opens.
    QWidget* frame = frameWidget();
    if (frame && frame->isVisible())
        Move(Left(), Top(), -1, Height() + wanted - before);
}

void frmRegMapVals::cmbRegMap_Click()
{
    RefreshFormVals();
}

void frmRegMapVals::optBase_Click(int index)
{
    base_ = index;
    RefreshFormVals();
}

void frmRegMapVals::cmdRefresh_Click()
{
    RefreshFormVals();
}

void frmRegMapVals::tmrAutoRefresh_Timer()
{
    if (chkAutoRefresh.Value() == 1)
        RefreshFormVals();
}
