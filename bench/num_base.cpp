// Number-base conversions on the hot paths: register words and RAM words to and from bit strings.
#include "board/num_base.h"

#include <benchmark/benchmark.h>

#include <cstdint>

static void Dec2BinInt32(benchmark::State& state)
{
    uint32_t word = 0x9E3779B9u;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cbaseDec2Bin(word, 32));
        word = word * 1664525u + 1013904223u;
    }
}
BENCHMARK(Dec2BinInt32);

static void Dec2BinDecimal64(benchmark::State& state)
{
    const rt::Decimal value(0xFEDCBA9876543210ull);
    for (auto _ : state)
        benchmark::DoNotOptimize(cbaseDec2Bin(value, 64));
}
BENCHMARK(Dec2BinDecimal64);

static void Dec2BinDecimal96(benchmark::State& state)
{
    const rt::Decimal value = rt::Decimal::fromParts(0x89ABCDEFu, 0x01234567u, 0x00FEDCBAu, false, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(cbaseDec2Bin(value, 96));
}
BENCHMARK(Dec2BinDecimal96);

static void Dec2BinHexText(benchmark::State& state)
{
    const QString text = QStringLiteral("&hA5");
    for (auto _ : state)
        benchmark::DoNotOptimize(cbaseDec2Bin(text, 8));
}
BENCHMARK(Dec2BinHexText);

static void BinS2Dec32(benchmark::State& state)
{
    const QString bits = QStringLiteral("10110011100011110000111110000011");
    for (auto _ : state)
        benchmark::DoNotOptimize(cbaseBinS2Dec(bits));
}
BENCHMARK(BinS2Dec32);

static void BinStr2Hex64(benchmark::State& state)
{
    const QString bits = cbaseDec2Bin(0xFEDCBA9876543210ull, 64);
    for (auto _ : state)
        benchmark::DoNotOptimize(cbaseBinStr2Hex(bits, 16));
}
BENCHMARK(BinStr2Hex64);

BENCHMARK_MAIN();
