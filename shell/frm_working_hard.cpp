#include "shell/frm_working_hard.h"

#include "board/utility.h"
#include "boardui/window_utility.h"
#include "platform/ui/forms.h"
#include "shell/mdi_main.h"

#include <QFont>
#include <QVBoxLayout>
#include <QWidget>

frmWorkingHard::frmWorkingHard() : Form(FormName)
{
    setCaption(QStringLiteral("Please Wait..."));
    lblMessage.setCaption(QStringLiteral("LOADING FIFO"));
    lblMessage.setAlignment(ui::vbCenter);
}

void frmWorkingHard::buildUi(QWidget* window)
{
    QFont font = lblMessage.Font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 4);
    lblMessage.setFont(font);
    lblMessage.widget()->setMinimumSize(220, 48);
    auto* column = new QVBoxLayout(window);
    column->addWidget(lblMessage.widget());
}

void frmWorkingHard::Form_Load()
{
    if (mdiMain* main = ui::loadedForm<mdiMain>())
        SetOwnerWindow(*this, main);
}
