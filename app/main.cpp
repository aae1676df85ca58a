#include "app/program_preparation.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    prepareProgram();
    Main();
    return QApplication::exec();
}
