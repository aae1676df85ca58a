#pragma once

// Small forms and a probe control for the window-layer core tests.

#include "platform/ui/control.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"

#include <QLabel>
#include <QPointer>
#include <QStringList>

namespace coretest {

// What the test forms did, in order ("A:Load", "A:QueryUnload 1", ...).
inline QStringList& journal()
{
    static QStringList lines;
    return lines;
}

// A control with a plain label as its widget.
class ProbeControl : public ui::Control {
public:
    ProbeControl(ui::Form* owner, QString name, int index = -1)
        : Control(owner, std::move(name), index), label_(new QLabel)
    {
        adoptWidget(label_);
    }
    QWidget* widget() const override { return label_; }

private:
    QPointer<QLabel> label_;
};

class JournalForm : public ui::Form {
public:
    explicit JournalForm(QString name) : Form(std::move(name)) { ++alive(); }
    ~JournalForm() override { --alive(); }

    static int& alive()
    {
        static int count = 0;
        return count;
    }

    int cancelQueryUnload = 0;
    int cancelUnload = 0;
    int paints = 0;
    int activations = 0;
    int deactivations = 0;
    using Form::registerProc;
    using Form::setMdiChild;

protected:
    void Form_Load() override { journal() << Name() + ":Load"; }
    void Form_Activate() override
    {
        ++activations;
        journal() << Name() + ":Activate";
    }
    void Form_Deactivate() override { ++deactivations; }
    void Form_Paint() override { ++paints; }
    void Form_QueryUnload(int& cancel, int mode) override
    {
        journal() << Name() + ":QueryUnload " + QString::number(mode);
        cancel = cancelQueryUnload;
    }
    void Form_Unload(int& cancel) override
    {
        journal() << Name() + ":Unload";
        cancel = cancelUnload;
    }
};

// Forms with a FormName, made through factories like the system's windows.
template <const char* N> class NamedForm : public JournalForm {
public:
    static inline const QString FormName = QString::fromLatin1(N);
    NamedForm() : JournalForm(FormName) {}
    ProbeControl lblInfo{this, "lblInfo"};
    ProbeControl cmdArray0{this, "cmdArray", 0};
    ProbeControl cmdArray1{this, "cmdArray", 1};
    int counter = 0;
};

inline constexpr char kAlpha[] = "frmAlpha";
inline constexpr char kBeta[] = "frmBeta";
inline constexpr char kGamma[] = "frmGamma";
using FormAlpha = NamedForm<kAlpha>;
using FormBeta = NamedForm<kBeta>;
using FormGamma = NamedForm<kGamma>;

inline void registerTestForms()
{
    ui::Forms::registerFactory(FormAlpha::FormName, [] { return std::make_unique<FormAlpha>(); });
    ui::Forms::registerFactory(FormBeta::FormName, [] { return std::make_unique<FormBeta>(); });
    ui::Forms::registerFactory(FormGamma::FormName, [] { return std::make_unique<FormGamma>(); });
}

} // namespace coretest
