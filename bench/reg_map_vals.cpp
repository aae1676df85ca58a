// The register map values window reprints itself every 60 ms while it is open. One refresh must stay far
// below that period so that the view never slows the program (goal: under 1 ms).
//
// Counters:
//   refresh_us    mean time of one refresh
//   period_ms     the window's refresh period (60 ms)
//   ratio_period  refresh time / 60 ms
//
// RegMapTextBothFormats: the text of all 32 registers (00H-1FH), once in binary and once in hexadecimal.
// RegMapWindowRefresh: the window's whole RefreshFormVals in one format (0 binary, 1 hexadecimal), the
// lines repainted on the off-screen surface; the register values change at every refresh, so every
// refresh redraws.

#include "board/evalbd.h"
#include "boardui/board_window_services.h"
#include "debug/frm_reg_map_vals.h"
#include "debug/frm_reg_map_vals_lines.h"

#include "platform/ui/forms.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr double kPeriodMs = 60.0;

// Every register of both maps holds a different bit pattern of its width.
void fillMaps(cZR4470XEvalBd& bd, uint64_t seed)
{
    for (int16_t addr = 0; addr < cZR4470XEvalBd::kRegisterCount; ++addr) {
        const int width = bd.GetRegLength(addr);
        QString bits(width, QLatin1Char('0'));
        uint64_t x = seed ^ (0x9E3779B97F4A7C15ULL * static_cast<uint64_t>(addr + 1));
        for (int k = 0; k < width; ++k) {
            x = x * 6364136223846793005ULL + 1442695040888963407ULL;
            bits[k] = (x >> 63) != 0 ? QLatin1Char('1') : QLatin1Char('0');
        }
        bd.SetRegMapValue(0, addr, bits);
        bd.SetRegMapValue(1, addr, bits);
    }
}

void report(benchmark::State& state, double totalNs)
{
    const double refreshNs = totalNs / static_cast<double>(state.iterations());
    state.counters["refresh_us"] = refreshNs / 1000.0;
    state.counters["period_ms"] = kPeriodMs;
    state.counters["ratio_period"] = refreshNs / (kPeriodMs * 1'000'000.0);
}

void RegMapTextBothFormats(benchmark::State& state)
{
    cZR4470XEvalBd bd;
    bd.InitRegMap(3);
    fillMaps(bd, 1);
    double totalNs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (regmapview::Base base : {regmapview::Base::Binary, regmapview::Base::Hex}) {
            QStringList lines;
            lines << QString() << regmapview::headerLine(base);
            for (int addr = 0; addr < cZR4470XEvalBd::kRegisterCount; ++addr)
                lines << regmapview::registerLine(addr, bd.GetRegMapValue(1, static_cast<int16_t>(addr)),
                                                  base);
            benchmark::DoNotOptimize(lines);
        }
        totalNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    }
    report(state, totalNs);
}
BENCHMARK(RegMapTextBothFormats);

void RegMapWindowRefresh(benchmark::State& state)
{
    cZR4470XEvalBd bd;
    bd.InitRegMap(3);
    goEvalBd = &bd;
    frmRegMapVals& window = ui::form<frmRegMapVals>();
    window.Show();
    window.chkAutoRefresh.setValue(0);
    window.optBase(static_cast<int>(state.range(0))).setValue(true);
    uint64_t seed = 0;
    double totalNs = 0;
    for (auto _ : state) {
        fillMaps(bd, ++seed);
        const auto start = std::chrono::steady_clock::now();
        window.RefreshFormVals();
        window.widget()->repaint();
        totalNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    }
    report(state, totalNs);
    ui::Forms::unloadAll();
    goEvalBd = nullptr;
}
BENCHMARK(RegMapWindowRefresh)->Arg(0)->Arg(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallBoardWindowServices();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
