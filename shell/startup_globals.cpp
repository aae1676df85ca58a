#include "shell/startup.h"

#include <QCoreApplication>
#include <QStringList>

// Set again by Main; the values are here from the start so that a window drawn before start-up (or in a
// test without it) shows the right lamps.
QString gsDecimalSep;
int16_t giDecimalSepCode = 0;
QString gsNegativeSign;
int16_t giNegativeSignCode = 0;
bool gbDlgShown = false;
QString gsManifestPath;
uint32_t glClrGreen = 0x00FF00;
uint32_t glClrDkGreen = 0x004000;
uint32_t glClrRed = 0x0000FF;
uint32_t glClrDkRed = 0x000040;
uint32_t glClrYellow = 0x00FFFF;
uint32_t glClrDkYellow = 0x004040;

QString processCommandLine()
{
    if (QCoreApplication::instance() == nullptr)
        return QString();
    return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}
