#include "platform/ui/msgbox.h"

#include "platform/ui/event_nesting.h"
#include "platform/ui/forms.h"
#include "platform/ui/minimised_modal_watch.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <utility>
#include <vector>

namespace ui {

int widthForCaption(const QString& title)
{
    // The title in the window manager's (bold) caption font, plus room for the frame's buttons and margins.
    QFont caption = QApplication::font();
    caption.setBold(true);
    return QFontMetrics(caption).horizontalAdvance(title) + 140;
}

namespace {

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<ButtonChoice> buttonsOf(int flags)
{
    switch (flags & 0x7) {
    case vbOKCancel:
        return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {
            {QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel:
        return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default:
        return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon iconOf(int flags)
{
    switch (flags & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The button that Escape or the window's close box stands for; -1 when the box has no such button
// (Yes/No and Abort/Retry/Ignore must be answered).
int escapeResultOf(int flags)
{
    switch (flags & 0x7) {
    case vbOKOnly:
        return vbOK;
    case vbOKCancel:
    case vbYesNoCancel:
    case vbRetryCancel:
        return vbCancel;
    default:
        return -1;
    }
}

// A window manager cuts a caption that is wider than its window: the box is made wide enough for it.
void widenForTitle(QMessageBox& box, const QString& title)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(widthForCaption(title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

class QtMessageBoxService : public MessageBoxService {
public:
    int show(const QString& prompt, int buttons, const QString& title) override
    {
        QWidget* parent = QApplication::activeWindow();
        if (!parent && Forms::activeForm())
            parent = Forms::activeForm()->widget();
        QMessageBox box(iconOf(buttons), title, prompt, QMessageBox::NoButton, parent);
        const auto choices = buttonsOf(buttons);
        for (const auto& choice : choices)
            box.addButton(choice.button);
        box.setDefaultButton(
            choices[std::min<size_t>(defaultButtonIndex(buttons), choices.size() - 1)].button);
        const int escape = escapeResultOf(buttons);
        for (const auto& choice : choices)
            if (choice.result == escape)
                box.setEscapeButton(choice.button);
        if (buttons & vbSystemModal)
            box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        widenForTitle(box, title);
        detail::NestingScope nesting(detail::NestingScope::Kind::WaitForUser);
        detail::MinimisedModalWatch::install();
        box.exec();
        const auto clicked = box.standardButton(box.clickedButton());
        for (const auto& choice : choices)
            if (choice.button == clicked)
                return choice.result;
        return escape >= 0 ? escape : choices.front().result;
    }
};

MessageBoxService*& currentService()
{
    static MessageBoxService* service = nullptr;
    return service;
}

QString& appTitle()
{
    static QString title;
    return title;
}

} // namespace

size_t defaultButtonIndex(int flags)
{
    if (flags & vbDefaultButton3)
        return 2;
    if (flags & vbDefaultButton2)
        return 1;
    return 0;
}

int defaultButtonResult(int flags)
{
    const auto choices = buttonsOf(flags);
    return choices[std::min(defaultButtonIndex(flags), choices.size() - 1)].result;
}

int MsgBox(const QString& prompt, int buttons, const QString& title)
{
    const QString shownTitle = title.isNull() ? applicationTitle() : title;
    if (MessageBoxService* service = currentService())
        return service->show(prompt, buttons, shownTitle);
    static QtMessageBoxService real;
    return real.show(prompt, buttons, shownTitle);
}

void setApplicationTitle(const QString& title)
{
    appTitle() = title;
}

QString applicationTitle()
{
    if (!appTitle().isEmpty())
        return appTitle();
    return QCoreApplication::applicationName();
}

void setMessageBoxService(MessageBoxService* service)
{
    currentService() = service;
}

} // namespace ui
