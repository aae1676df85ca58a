#include "shell/frm_about.h"

#include "board/evalbd.h"
#include "board/run_mode.h"
#include "board/utility.h"
#include "board/zel_locale_info.h"
#include "platform/os/shell_open.h"
#include "platform/ui/controls_bridge.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/msgbox.h"
#include "shell/app_info.h"
#include "shell/sys_info_tool.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int kCtrlAndAlt = 6;
constexpr int kKeyCtrl = 17;
constexpr int kKeyAlt = 18;

} // namespace

// Hands every key pressed in the window to Form_KeyDown before the control with the focus sees it. A
// letter taken into the keyword goes no further.
class frmAbout::KeyPreview : public QObject {
public:
    explicit KeyPreview(frmAbout& about) : about_(about) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !about_.IsLoaded() || !isFirstDelivery(watched))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const int shift = ui::detail::classicShiftState(key->modifiers());
        int code = ui::detail::classicKeyCode(key);
        const bool letter = code >= 'A' && code <= 'Z';
        about_.Form_KeyDown(code, shift);
        return shift == kCtrlAndAlt && letter;
    }

private:
    // A key goes first to the widget with the focus, or to the window when none of its widgets has it;
    // the deliveries to parents that follow are not new keys.
    bool isFirstDelivery(QObject* watched) const
    {
        QWidget* window = about_.widget();
        auto* target = qobject_cast<QWidget*>(watched);
        if (window == nullptr || target == nullptr || target->window() != window)
            return false;
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && focus->window() == window)
            return target == focus;
        return target == window;
    }

    frmAbout& about_;
};

frmAbout::frmAbout() : Form(FormName)
{
    lblDevice.setCaption(QStringLiteral("Silicon Revision:"));
    lblCountry.setCaption(QStringLiteral("Region Info:"));
    lblCountrySet.setLocked(true);
    cmdSysInfo.setCaption(QStringLiteral("&System Info..."));
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdOK.setCancel(true);
    lblDescription.setCaption(QStringLiteral("For Windows 98/ME/2000/XP"));
    lblDDSWeb.setCaption(QStringLiteral("https://www.example.com/zr4470"));
    lblDDSWeb.setForeColor(0xFF0000);
    lblDDSWeb.setToolTipText(QStringLiteral("Opens the page in the web browser"));

    ui::bind(lblCountrySet.KeyPress, this, &frmAbout::lblCountrySet_KeyPress);
    ui::bind(cmdOK.Click, this, &frmAbout::cmdOK_Click);
    ui::bind(cmdSysInfo.Click, this, &frmAbout::cmdSysInfo_Click);
    ui::bind(lblDDSWeb.Click, this, &frmAbout::lblDDSWeb_Click);
}

frmAbout::~frmAbout()
{
    if (keyPreview_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(keyPreview_.get());
}

void frmAbout::buildUi(QWidget* window)
{
    QPixmap icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32);
    picIcon.widget()->setFixedSize(36, 36);
    picIcon.setBorderStyle(0);
    picIcon.setPicture(icon);

    auto* facts = new QGridLayout;
    facts->addWidget(lblDevice.widget(), 0, 0);
    facts->addWidget(lblSiliconRev.widget(), 0, 1);
    facts->addWidget(lblCountry.widget(), 1, 0);
    facts->addWidget(lblCountrySet.widget(), 1, 1);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle.widget());
    text->addWidget(lblDescription.widget());
    text->addLayout(facts);
    text->addWidget(lblDDSWeb.widget());

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon.widget(), 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK.widget());
    buttons->addWidget(cmdSysInfo.widget());

    auto* column = new QVBoxLayout(window);
    column->addLayout(top);
    column->addStretch(1);
    column->addLayout(buttons);
}

void frmAbout::Form_Load()
{
    keyword_.clear();
    setCaption(QStringLiteral("About ") + kApplicationTitle);
    lblTitle.setCaption(titleText(kApplicationTitle, kVersionMajor, kVersionMinor, kVersionRevision));
    {
        const zelLocaleInfo locale;
        lblCountrySet.setText(locale.GetLocaleInfo(zelLocaleInfo::EnglishCountryName) + QLatin1Char(' '));
    }
    cmdSysInfo.setEnabled(IsSysInfoAvail());
    lblSiliconRev.setCaption(siliconRevText(goEvalBd != nullptr ? goEvalBd->SiliconRev() : int16_t{0}));

    if (!keyPreview_) {
        keyPreview_ = std::make_unique<KeyPreview>(*this);
        QCoreApplication::instance()->installEventFilter(keyPreview_.get());
    }
}

void frmAbout::Form_Unload(int& cancel)
{
    cancel = 0;
    if (keyPreview_)
        QCoreApplication::instance()->removeEventFilter(keyPreview_.get());
}

QString frmAbout::titleText(const QString& title, int major, int minor, int revision)
{
    QString text = title + QStringLiteral(" Version ") + QString::number(major) + QLatin1Char('.') +
                   QString::number(minor);
    if (revision != 0)
        text += QLatin1Char('.') + QString::number(revision);
    return text;
}

QString frmAbout::siliconRevText(int16_t siliconRev)
{
    switch (siliconRev) {
    case 0:
        return QString();
    case 1:
    case 2:
        return QStringLiteral("1 or 2");
    case 3:
        return QStringLiteral("3");
    default:
        return QStringLiteral("Unknown");
    }
}

void frmAbout::Form_KeyDown(int& keyCode, int shift)
{
    if (shift != kCtrlAndAlt)
        return;
    if (keyCode == kKeyCtrl || keyCode == kKeyAlt)
        keyword_.clear();
    else if (keyCode >= 'A' && keyCode <= 'Z')
        keyword_ += QChar(keyCode);
}

void frmAbout::lblCountrySet_KeyPress(int& keyAscii)
{
    // Enter goes on to OK, which hands over the word: it is not part of it.
    if (keyAscii > 0 && keyAscii != ui::vbKeyReturn)
        keyword_ += QChar(keyAscii);
}

void frmAbout::cmdOK_Click()
{
    SetRunModeFromText(keyword_);
    Unload();
}

bool frmAbout::IsSysInfoAvail()
{
    return !findSysInfoTool().isEmpty();
}

void frmAbout::StartSysInfo()
{
    const QString tool = findSysInfoTool();
    if (tool.isEmpty()) {
        ui::MsgBox(QStringLiteral("System Information Is Unavailable At This Time"), ui::vbOKOnly);
        return;
    }
    os::OpenRequest request;
    request.kind = os::OpenKind::Program;
    request.target = tool;
    request.showCommand = 1;
    if (!os::shellService().open(request))
        TellNoViewer(QStringLiteral("the system information"));
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::lblDDSWeb_Click()
{
    if (!ShellOpenEx(lblDDSWeb.Caption(), QString(), QString(), 1))
        ui::MsgBox(QStringLiteral("No web browser found."), ui::vbCritical,
                   QStringLiteral("Couldn't connect to the Web!!!"));
}
