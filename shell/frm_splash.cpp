#include "shell/frm_splash.h"

#include "board/utility.h"
#include "boardui/window_utility.h"
#include "platform/os/program_folder.h"
#include "platform/ui/app.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/user_input_watch.h"
#include "shell/app_info.h"
#include "shell/mdi_main.h"
#include "shell/splash_effect.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegion>
#include <QScreen>
#include <QSysInfo>
#include <QTextCursor>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 330;
constexpr uint32_t kGreen = 0x00FF00;

// The window's background: a dark blue field with a thin light edge.
QPixmap skinPicture()
{
    QPixmap picture(kWidth, kHeight);
    QPainter painter(&picture);
    QLinearGradient fill(0, 0, 0, kHeight);
    fill.setColorAt(0, QColor(24, 48, 96));
    fill.setColorAt(1, QColor(4, 8, 24));
    painter.fillRect(picture.rect(), fill);
    painter.setPen(QColor(150, 170, 210));
    painter.drawRect(0, 0, kWidth - 1, kHeight - 1);
    return picture;
}

} // namespace

// A press of a mouse button on the window itself (not on one of its controls) or a key press closes it.
class frmSplash::CloseOnInput : public QObject {
public:
    explicit CloseOnInput(frmSplash& splash) : splash_(splash) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
            splash_.closeNicely();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    frmSplash& splash_;
};

frmSplash::frmSplash() : Form(FormName)
{
    setCaption(QStringLiteral("Form2"));
    txtStatus.setBackColor(ui::colors::vbBlack);
    txtStatus.setForeColor(kGreen);
    txtStatus.setLocked(true);
    txtStatus.setTabStop(false);
    // "&&" shows one "&" (a single one would mark an accelerator).
    lblSupportedOs.setCaption(QStringLiteral("for Windows 98,Me,2000 && XP"));
    lblAppTitle.setCaption(QStringLiteral("Application Title"));
    lblVersion.setCaption(QStringLiteral("Version"));
    lblStatus.setCaption(QStringLiteral("Status:"));
    for (ui::Label* label : {&lblSupportedOs, &lblAppTitle, &lblVersion, &lblStatus}) {
        label->setBackStyle(0);
        label->setForeColor(ui::colors::vbWhite);
    }
    imgSkin.setStretch(true);
    imgSkin.setPicture(skinPicture());

    ui::bind(tmrAutoUnload.Timer, this, &frmSplash::tmrAutoUnload_Timer);
    ui::bind(imgSkin.Click, this, &frmSplash::closeNicely);
    ui::bind(lblAppTitle.Click, this, &frmSplash::closeNicely);
    ui::bind(lblSupportedOs.Click, this, &frmSplash::closeNicely);
    ui::bind(lblVersion.Click, this, &frmSplash::closeNicely);
    ui::bind(lblStatus.MouseDown, this, &frmSplash::lblStatus_MouseDown);
    ui::bind(lblStatus.MouseMove, this, &frmSplash::lblStatus_MouseMove);
}

frmSplash::~frmSplash() = default;

void frmSplash::buildUi(QWidget* window)
{
    window->window()->setWindowFlag(Qt::FramelessWindowHint, true);
    window->window()->setFixedSize(kWidth, kHeight);
    window->setFixedSize(kWidth, kHeight);

    QFont titleFont = lblAppTitle.Font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    lblAppTitle.setFont(titleFont);
    QFont smallFont = lblSupportedOs.Font();
    smallFont.setPointSize(8);
    lblSupportedOs.setFont(smallFont);
    lblVersion.setFont(smallFont);

    // The skin lies under every other control; the others are placed on it.
    for (ui::Control* control : std::initializer_list<ui::Control*>{&imgSkin, &lblAppTitle, &lblVersion,
                                                                    &lblSupportedOs, &lblStatus, &txtStatus})
        control->widget()->setParent(window);
    imgSkin.Move(0, 0, kWidth, kHeight);
    lblAppTitle.Move(20, 18, kWidth - 40, 34);
    lblVersion.Move(20, 54, 200, 18);
    lblSupportedOs.Move(kWidth - 220, 54, 200, 18);
    lblSupportedOs.setAlignment(ui::vbRightJustify);
    lblStatus.Move(20, 84, 100, 18);
    txtStatus.Move(20, 104, kWidth - 40, kHeight - 124);
    txtStatus.widget()->setFocusPolicy(Qt::NoFocus);
    imgSkin.ZOrder(1);

    closeOnInput_ = std::make_unique<CloseOnInput>(*this);
    window->installEventFilter(closeOnInput_.get());
    window->window()->installEventFilter(closeOnInput_.get());
}

void frmSplash::Form_Load()
{
    lblAppTitle.setCaption(kApplicationTitle);
    lblVersion.setCaption(
        QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
    imgSkin.Move(0, 0, kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        Move(area.left() + (area.width() - kWidth) / 2, area.top() + (area.height() - kHeight) / 2);
    }
    setTopMost(true);
    // Owned by the main window, which this loads (hidden).
    SetOwnerWindow(*this, &ui::form<mdiMain>());
    OpenLogFile();
}

void frmSplash::Form_Unload(int& cancel)
{
    cancel = 0;
    closing_ = true;
    CloseLogFile();
}

void frmSplash::OpenLogFile()
{
    // A log that cannot be created there is skipped; start-up goes on without it, and the log says why
    // where a user who started the program from a shell reads it.
    log_.open(os::programFolder(), kApplicationTitle);
}

void frmSplash::CloseLogFile()
{
    log_.close();
}

void frmSplash::Unload_Nice()
{
    if (!IsLoaded())
        return;
    closing_ = true;
    SetTopMost(*this, false);
    Unload();
}

void frmSplash::closeNicely()
{
    if (closing_)
        return;
    Unload_Nice();
}

void frmSplash::AddStatLine(const QString& text)
{
    if (txtStatus.Text().isEmpty()) {
        txtStatus.setText(text);
    } else {
        AddLine(txtStatus, text);
        log_.writeLine(text);
    }
    txtStatus.Refresh();
}

void frmSplash::AddLine(ui::TextBox& box, const QString& text)
{
    if (box.Text().isEmpty()) {
        box.setText(text);
        return;
    }
    box.setSelStart(static_cast<int>(box.Text().size()));
    box.setSelText(QStringLiteral("\r\n") + text);
    // The newest line stays in view, as the caret at the end keeps it.
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box.widget())) {
        edit->moveCursor(QTextCursor::End);
        edit->ensureCursorVisible();
    }
}

void frmSplash::AutoUnloadEnable()
{
    userActivationsWhenArmed_ = ui::Forms::userActivations();
    userPressesWhenArmed_ = ui::UserInputWatch::presses();
    tmrAutoUnload.setEnabled(true);
}

bool frmSplash::userActivatedAnotherWindow() const
{
    // Another window of the program must be active, and through the user since start-up armed the
    // timer. The main window's own activation, asked for when start-up showed it, may arrive only after
    // that (a display without a window manager activates a window once it is on the screen): it is not
    // the user's. A window manager activates the main window on its own too, once or more while the
    // windows of start-up are mapped: only an activation that came with a key or mouse button the user
    // pressed counts (a click into the main window activates it before the press arrives, so the press is
    // looked for at the tick). No active window at all (the focus gone to nowhere) is not another window
    // either.
    const ui::Form* active = ui::Forms::activeForm();
    return active != nullptr && active != this && ui::Forms::userActivations() != userActivationsWhenArmed_ &&
           ui::UserInputWatch::presses() != userPressesWhenArmed_;
}

void frmSplash::ClearStatus()
{
    txtStatus.setSelStart(static_cast<int>(txtStatus.Text().size()));
    txtStatus.setSelText(QStringLiteral("\r\n\r\n\r\n\r\n\r\n\r\n"));
}

void frmSplash::SetStatusTextColor(uint32_t colour)
{
    txtStatus.setForeColor(colour);
}

void frmSplash::tmrAutoUnload_Timer()
{
    if (closing_)
        return;
    if (userActivatedAnotherWindow()) {
        closing_ = true;
        TVEffectOut();
        Unload_Nice();
        return;
    }
    if (txtStatus.ForeColor() == kGreen) {
        ++greenTicks_;
        if (greenTicks_ == 2 && txtStatus.ForeColor() == kGreen) {
            closing_ = true;
            TVEffectOut();
            Unload_Nice();
        }
    }
}

void frmSplash::lblStatus_MouseDown(int button, int, float, float)
{
    if (button != 1 || widget() == nullptr)
        return;
    // Dragging the status caption moves the window, as a caption bar would.
    if (QWindow* handle = widget()->windowHandle(); handle && handle->startSystemMove())
        return;
    dragStartCursor_ = QCursor::pos();
    dragStartWindow_ = widget()->pos();
}

void frmSplash::lblStatus_MouseMove(int button, int, float, float)
{
    if (button != 1 || widget() == nullptr || dragStartCursor_.isNull())
        return;
    widget()->move(dragStartWindow_ + (QCursor::pos() - dragStartCursor_));
}

bool frmSplash::IsWinNT()
{
    return QSysInfo::kernelType() == QLatin1String("winnt");
}

void frmSplash::TVEffectOut()
{
    animate(true);
}

void frmSplash::TVEffectIn()
{
    animate(false);
}

void frmSplash::animate(bool closingAnimation)
{
    QWidget* window = widget();
    if (window == nullptr)
        return;
    std::vector<QPolygon> steps = splashClosingSteps(window->width(), window->height());
    if (!closingAnimation)
        std::reverse(steps.begin(), steps.end());
    // Platforms without shaped windows ignore the region and simply show the window until it goes.
    for (const QPolygon& shape : steps) {
        window->setMask(QRegion(shape));
        window->update();
        if (IsWinNT())
            Pause(0.005);
        ui::DoEvents();
    }
    if (!closingAnimation)
        window->clearMask();
}
