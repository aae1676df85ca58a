// INI files of about the size limit (1 MB): listing every section, listing every key of a section, and
// reading many keys of one unchanged file. Goals: each listing well below 100 ms (they grew with the
// square of the names before), and a key read of an unchanged file far below a parse of it.

#include "platform/os/ini_profile.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class IniFile {
public:
    // About 1 MB: `sections` sections, the last one with `keys` keys.
    IniFile(int sections, int keys)
    {
        QByteArray bytes;
        for (int i = 0; i < sections; ++i)
            bytes += "[Section " + QByteArray::number(i) + "]\r\nPath=\\dir\\program.exe\r\n";
        bytes += "[Keys]\r\n";
        for (int i = 0; i < keys; ++i)
            bytes += "Key" + QByteArray::number(i) + "=C:\\some folder\\file " + QByteArray::number(i) +
                     ".txt\r\n";
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes.left(os::kIniFileMaxBytes));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.ini"));
};

void BM_ListSections(benchmark::State& state)
{
    const IniFile ini(30000, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(os::GetPrivateProfileSectionNames(ini.path));
}
BENCHMARK(BM_ListSections)->Unit(benchmark::kMillisecond);

void BM_ListKeys(benchmark::State& state)
{
    const IniFile ini(0, 25000);
    for (auto _ : state)
        benchmark::DoNotOptimize(os::GetPrivateProfileKeyNames(QStringLiteral("Keys"), ini.path));
}
BENCHMARK(BM_ListKeys)->Unit(benchmark::kMillisecond);

// One key of the unchanged file after another, as a window reads its settings.
void BM_ReadKeyOfAnUnchangedFile(benchmark::State& state)
{
    const IniFile ini(0, 25000);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(os::GetPrivateProfileString(
            QStringLiteral("Keys"), QStringLiteral("Key%1").arg(i), QString(), ini.path));
        i = (i + 7919) % 25000;
    }
}
BENCHMARK(BM_ReadKeyOfAnUnchangedFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
