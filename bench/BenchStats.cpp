#include "BenchStats.h"

#include <algorithm>
#include <cstdio>

namespace Bench {

double TSamples::Median() const
{
    if (Values.empty())
        return 0;
    std::vector<double> sorted = Values;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

double TSamples::Min() const
{
    return Values.empty() ? 0 : *std::min_element(Values.begin(), Values.end());
}

double TSamples::Spread() const
{
    const double median = Median();
    if (median <= 0)
        return 0;
    return (*std::max_element(Values.begin(), Values.end()) - Min()) / median;
}

void PrintTimes(const char *What, const TSamples &Seconds)
{
    if (Seconds.Empty())
        return;
    std::printf("  %-34s median %9.2f ms  min %9.2f ms  spread %3.0f%%\n", What, Seconds.Median() * 1000,
                Seconds.Min() * 1000, Seconds.Spread() * 100);
}

double MedianRatio(const TSamples &Numerator, const TSamples &Denominator)
{
    const double d = Denominator.Median();
    return d > 0 ? Numerator.Median() / d : 0;
}

void PrintRatio(const char *What, const TSamples &Numerator, const TSamples &Denominator)
{
    if (Numerator.Empty() || Denominator.Empty() || Denominator.Min() <= 0)
        return;
    std::printf("  = %-40s %6.2fx (medians)  %6.2fx (minimums)\n", What, MedianRatio(Numerator, Denominator),
                Numerator.Min() / Denominator.Min());
}

} // namespace Bench
