#include "board/vco_tables.h"

#include <charconv>
#include <cmath>
#include <system_error>

VcoBandTable63 giVCOCalTable{};
VcoBandTable6 giVCORanges{};

namespace {

constexpr double kMaxCount = 4294967295.0;

constexpr VcoBandTable63 kVcoCalTable{{
    {873, 899},   {898, 925},   {923, 950},   {949, 976},   {977, 1004},  {1005, 1032}, {1016, 1046},
    {1034, 1062}, {1047, 1076}, {1065, 1093}, {1075, 1106}, {1095, 1124}, {1106, 1138}, {1127, 1157},
    {1137, 1170}, {1159, 1189}, {1170, 1204}, {1193, 1224}, {1172, 1207}, {1227, 1259}, {1205, 1240},
    {1264, 1295}, {1277, 1313}, {1302, 1332}, {1310, 1350}, {1340, 1369}, {1352, 1385}, {1380, 1407},
    {1391, 1423}, {1422, 1447}, {1433, 1464}, {1463, 1487}, {1474, 1504}, {1506, 1528}, {1519, 1549},
    {1548, 1572}, {1562, 1592}, {1592, 1617}, {1607, 1639}, {1635, 1666}, {1649, 1684}, {1679, 1714},
    {1695, 1734}, {1726, 1764}, {1737, 1779}, {1752, 1794}, {1776, 1815}, {1784, 1826}, {1803, 1844},
    {1828, 1867}, {1835, 1874}, {1855, 1895}, {1881, 1920}, {1892, 1931}, {1913, 1952}, {1936, 1972},
    {1951, 1986}, {1971, 2006}, {1992, 2026}, {2010, 2043}, {2029, 2061}, {2048, 2081}, {2105, 2138},
}};

constexpr VcoBandTable6 kVcoRanges{{{420, 485}, {482, 562}, {562, 656}, {656, 832}, {832, 920}, {920, 1080}}};

template <size_t N> int firstHolding(const std::array<std::array<int16_t, 2>, N>& table, double mhz)
{
    for (size_t i = 0; i < N; ++i) {
        if (table[i][0] <= mhz && mhz <= table[i][1])
            return static_cast<int>(i);
    }
    return static_cast<int>(N);
}

// The quarter-clock tick in seconds, or 0 when the clock gives none.
double tickSeconds(double sysClockMHz)
{
    double f = sysClockMHz / 4;
    f = f * 1000000;
    if (f == 0 || !std::isfinite(f))
        return 0;
    return 1 / f;
}

// The value as a double is usually written, with at most 15 significant digits, read back.
double roundedTo15Digits(double value)
{
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    if (written.ec != std::errc())
        return value;
    double back = value;
    std::from_chars(text, written.ptr, back);
    return back;
}

} // namespace

void ebInitVCOCalTable()
{
    giVCOCalTable = kVcoCalTable;
}

void ebInitVCORanges()
{
    giVCORanges = kVcoRanges;
}

int ebFindVCOCalRange(double vcoMHz)
{
    return firstHolding(giVCOCalTable, vcoMHz);
}

int ebFindVCORangeSR3(double sysClockMHz)
{
    return firstHolding(giVCORanges, sysClockMHz);
}

double ebCheckRateRange(double count, double sysClockMHz)
{
    if (!(count >= 0 && count <= kMaxCount) || sysClockMHz == 0 || std::isnan(sysClockMHz))
        return -1;
    double f = sysClockMHz / 4;
    f = f * 1000000;
    const double p = 1 / f;
    return p * count;
}

double ebTimeToSysClkCount(double period, double sysClockMHz)
{
    const double p = tickSeconds(sysClockMHz);
    if (p == 0)
        return -1;
    const double q = period / p;
    if (!std::isfinite(q))
        return -1;
    const double count = std::trunc(roundedTo15Digits(q));
    if (!(count >= 0 && count <= kMaxCount))
        return -1;
    return count + 0.0; // a negative zero becomes 0
}

double ebADCHelper(int16_t code)
{
    return static_cast<double>(code) * 0.00392156862745098;
}
