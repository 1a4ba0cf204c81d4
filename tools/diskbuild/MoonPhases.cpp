#include "tools/diskbuild/MoonPhases.h"

#include <cmath>

namespace {

constexpr double degree = 3.14159265358979323846 / 180.0;

double sinDeg(double x)
{
    return std::sin(x * degree);
}

double cosDeg(double x)
{
    return std::cos(x * degree);
}

// The difference between dynamical and universal time around the year, in days: 63 seconds in
// 1998, growing slowly; close enough for minutes over the almanac's decades.
double deltaT(double year)
{
    double t = year - 2000.0;
    return (63.86 + 0.3345 * t - 0.060374 * t * t) / 86400.0;
}

// The dynamical time of phase k (an integer for new moons, + 0.25, 0.5, 0.75 for the others).
double phaseTime(double k, MoonPhase phase)
{
    double t = k / 1236.85;
    double t2 = t * t;
    double t3 = t2 * t;
    double t4 = t3 * t;
    double jde = 2451550.09766 + 29.530588861 * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3;
    double mp = 201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
    double f = 160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
    double om = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3;
    double c = 0;
    if (phase == MoonPhase::New || phase == MoonPhase::Full) {
        bool full = phase == MoonPhase::Full;
        c += (full ? -0.40614 : -0.40720) * sinDeg(mp);
        c += (full ? 0.17302 : 0.17241) * e * sinDeg(m);
        c += (full ? 0.01614 : 0.01608) * sinDeg(2 * mp);
        c += (full ? 0.01043 : 0.01039) * sinDeg(2 * f);
        c += (full ? 0.00734 : 0.00739) * e * sinDeg(mp - m);
        c += (full ? -0.00515 : -0.00514) * e * sinDeg(mp + m);
        c += (full ? 0.00209 : 0.00208) * e * e * sinDeg(2 * m);
        c += -0.00111 * sinDeg(mp - 2 * f);
        c += -0.00057 * sinDeg(mp + 2 * f);
        c += 0.00056 * e * sinDeg(2 * mp + m);
        c += -0.00042 * sinDeg(3 * mp);
        c += 0.00042 * e * sinDeg(m + 2 * f);
        c += 0.00038 * e * sinDeg(m - 2 * f);
        c += -0.00024 * e * sinDeg(2 * mp - m);
        c += -0.00017 * sinDeg(om);
        c += -0.00007 * sinDeg(mp + 2 * m);
        c += 0.00004 * sinDeg(2 * mp - 2 * f);
        c += 0.00004 * sinDeg(3 * m);
        c += 0.00003 * sinDeg(mp + m - 2 * f);
        c += 0.00003 * sinDeg(2 * mp + 2 * f);
        c += -0.00003 * sinDeg(mp + m + 2 * f);
        c += 0.00003 * sinDeg(mp - m + 2 * f);
        c += -0.00002 * sinDeg(mp - m - 2 * f);
        c += -0.00002 * sinDeg(3 * mp + m);
        c += 0.00002 * sinDeg(4 * mp);
    } else {
        c += -0.62801 * sinDeg(mp);
        c += 0.17172 * e * sinDeg(m);
        c += -0.01183 * e * sinDeg(mp + m);
        c += 0.00862 * sinDeg(2 * mp);
        c += 0.00804 * sinDeg(2 * f);
        c += 0.00454 * e * sinDeg(mp - m);
        c += 0.00204 * e * e * sinDeg(2 * m);
        c += -0.00180 * sinDeg(mp - 2 * f);
        c += -0.00070 * sinDeg(mp + 2 * f);
        c += -0.00040 * sinDeg(3 * mp);
        c += -0.00034 * e * sinDeg(2 * mp - m);
        c += 0.00032 * e * sinDeg(m + 2 * f);
        c += 0.00032 * e * sinDeg(m - 2 * f);
        c += -0.00028 * e * e * sinDeg(mp + 2 * m);
        c += 0.00027 * e * sinDeg(2 * mp + m);
        c += -0.00017 * sinDeg(om);
        c += -0.00005 * sinDeg(mp - m - 2 * f);
        c += 0.00004 * sinDeg(2 * mp + 2 * f);
        c += -0.00004 * sinDeg(mp + m + 2 * f);
        c += 0.00004 * sinDeg(mp - 2 * m);
        c += 0.00003 * sinDeg(mp + m - 2 * f);
        c += 0.00003 * sinDeg(3 * m);
        c += 0.00002 * sinDeg(2 * mp - 2 * f);
        c += 0.00002 * sinDeg(mp - m + 2 * f);
        c += -0.00002 * sinDeg(3 * mp + m);
        double w = 0.00306 - 0.00038 * e * cosDeg(m) + 0.00026 * cosDeg(mp) - 0.00002 * cosDeg(mp - m)
            + 0.00002 * cosDeg(mp + m) + 0.00002 * cosDeg(2 * f);
        c += phase == MoonPhase::FirstQuarter ? w : -w;
    }
    // The planetary arguments.
    const double a[14] = { 299.77 + 0.107408 * k - 0.009173 * t2, 251.88 + 0.016321 * k, 251.83 + 26.651886 * k,
        349.42 + 36.412478 * k, 84.66 + 18.206239 * k, 141.74 + 53.303771 * k, 207.14 + 2.453732 * k,
        154.84 + 7.306860 * k, 34.52 + 27.261239 * k, 207.19 + 0.121824 * k, 291.34 + 1.844379 * k,
        161.72 + 24.198154 * k, 239.56 + 25.513099 * k, 331.55 + 3.592518 * k };
    const double amplitude[14] = { 0.000325, 0.000165, 0.000164, 0.000126, 0.000110, 0.000062, 0.000060, 0.000056,
        0.000047, 0.000042, 0.000040, 0.000037, 0.000035, 0.000023 };
    for (int i = 0; i < 14; ++i)
        c += amplitude[i] * sinDeg(a[i]);
    return jde + c;
}

} // namespace

double julianDayOf(int32_t year, int32_t month, int32_t day)
{
    int32_t y = year;
    int32_t m = month;
    if (m <= 2) {
        y -= 1;
        m += 12;
    }
    int32_t a = y / 100;
    int32_t b = 2 - a + a / 4;
    return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * (m + 1)) + day + b - 1524.5;
}

std::vector<MoonEvent> moonPhasesOfYear(int32_t year)
{
    std::vector<MoonEvent> events;
    double start = julianDayOf(year, 1, 1);
    double end = julianDayOf(year + 1, 1, 1);
    // From a lunation before the year to one after it.
    double k0 = std::floor((year - 2000) * 12.3685) - 2;
    for (double k = k0; k < k0 + 17; k += 1) {
        for (int q = 0; q < 4; ++q) {
            MoonPhase phase = MoonPhase(q);
            double jde = phaseTime(k + q * 0.25, phase);
            double ut = jde - deltaT(year + 0.5);
            if (ut >= start && ut < end)
                events.push_back({ phase, ut });
        }
    }
    return events;
}
