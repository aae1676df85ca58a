#include "boardui/console_runner.h"

#include "board/console_run.h"

#include "platform/os/child_process.h"
#include "platform/ui/app.h"
#include "platform/ui/controls_textbox.h"

#include <QByteArrayMatcher>
#include <QList>
#include <QStringView>
#include <memory>

namespace {

// How long one poll waits for the program's output or end before it lets the windows run again. Short
// enough that the windows stay responsive, long enough that the wait does not spin.
constexpr int kPollWaitMs = 10;

// Output bytes kept for the box: enough for kConsoleMirrorLimit characters of any encoding.
constexpr qsizetype kKeptOutputBytes = 4 * kConsoleMirrorLimit;

const QString kLineEnd = QStringLiteral("\r\n");

// The text the box shows for the output kept so far.
QString mirroredText(const QString& firstText, const QByteArray& kept)
{
    const QString output = QString::fromLocal8Bit(kept).left(kConsoleMirrorLimit);
    QString text = firstText;
    for (QStringView line : QStringView(output).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // A carriage return inside a line rewrote it on a console (progress counters): the last part shows.
        const qsizetype back = line.lastIndexOf(QLatin1Char('\r'));
        if (back >= 0)
            line = line.mid(back + 1);
        if (line.trimmed().isEmpty())
            continue;
        text += line;
        text += kLineEnd;
    }
    return text;
}

// Finds the stop text in output that arrives in pieces, a match across two pieces included.
class StopTextWatch {
public:
    explicit StopTextWatch(const QString& stopText)
        : stop_(stopText.toLocal8Bit()), matcher_(stop_), found_(stop_.isEmpty())
    {
    }
    bool found() const { return found_; }
    void feed(const QByteArray& bytes)
    {
        if (found_ || bytes.isEmpty())
            return;
        QByteArray window = carry_ + bytes;
        found_ = matcher_.indexIn(window) >= 0;
        carry_ = window.right(stop_.size() - 1);
    }

private:
    QByteArray stop_;
    QByteArrayMatcher matcher_;
    QByteArray carry_;
    bool found_;
};

// One run's mirror of the output into the box.
class BoxMirror {
public:
    BoxMirror(ui::TextBox& box, const QString& firstText) : box_(box), firstText_(firstText) {}
    void show(const QString& text)
    {
        box_.setText(text);
        box_.setSelStart(static_cast<int>(box_.Text().size()));
    }
    // Rebuilds the box when the kept output grew since the last refresh.
    void refresh(const os::ChildProcess& child)
    {
        const qsizetype kept = child.output().size();
        if (kept == shownBytes_)
            return;
        shownBytes_ = kept;
        show(mirroredText(firstText_, child.output()));
    }

private:
    ui::TextBox& box_;
    QString firstText_;
    qsizetype shownBytes_ = 0;
};

} // namespace

int32_t RunConsoleProgram(const QString& program, const QStringList& arguments, ui::TextBox& outputBox,
                          int16_t showConsole, const std::optional<QString>& title, const QString& firstText,
                          const QString& stopText, const QString& folder, ConsoleRun* run)
{
    // The program's output comes through a pipe; no console window exists to show, hide or name.
    (void)showConsole;
    (void)title;

    auto child = std::make_unique<os::ChildProcess>(kKeptOutputBytes);
    BoxMirror mirror(outputBox, firstText);
    if (run && run->stopped()) {
        mirror.show(firstText);
        return kConsoleStopped;
    }
    if (!child->start(program, arguments, folder)) {
        const QString reason = QStringLiteral("Error - ") + child->errorText();
        mirror.show(firstText + reason + kLineEnd);
        if (run)
            run->setStartFailure(reason);
        return kConsoleStartFailed;
    }
    mirror.show(firstText);
    if (run)
        run->attach(child.get());
    struct Detach {
        ConsoleRun* run;
        ~Detach()
        {
            if (run)
                run->detach();
        }
    } detach{run};

    StopTextWatch stop(stopText);
    const auto take = [&] {
        const QByteArray fresh = child->takeNewOutput();
        stop.feed(fresh);
        if (run)
            run->feed(fresh);
    };
    int32_t exitCode = kConsoleStillActive;
    for (;;) {
        child->waitForActivity(kPollWaitMs);
        take();
        mirror.refresh(*child);
        exitCode = child->exitCode();
        ui::DoEvents();
        if (run && run->stopped())
            break;
        if (stop.found() || exitCode != kConsoleStillActive)
            break;
    }
    // A stopped run is judged before the last refresh: the box keeps what its window wrote on stopping,
    // and nothing the program wrote afterwards is put over it.
    if (run && run->stopped()) {
        child->kill();
        return kConsoleStopped;
    }
    // What the program wrote while its end was noticed still belongs in the box.
    take();
    mirror.refresh(*child);
    if (exitCode == kConsoleStillActive)
        os::keepRunning(std::move(child));
    return exitCode;
}
