#pragma once
// Samples of one measure over the rounds, and the lines that print them.
#include <QString>
#include <vector>

namespace Bench {

struct TSamples
{
    std::vector<double> Values;

    void Add(double Value) { Values.push_back(Value); }
    bool Empty() const { return Values.empty(); }
    double Median() const; // 0 when empty
    double Min() const;    // 0 when empty
    // (max - min) / median, how noisy the rounds were; 0 when empty.
    double Spread() const;
};

// "  model open                  median   88.12 ms  min   85.03 ms  spread  4%" for samples in seconds.
void PrintTimes(const char *What, const TSamples &Seconds);
// One summary line: the ratio of the medians, then of the minimums. Either side empty: nothing.
void PrintRatio(const char *What, const TSamples &Numerator, const TSamples &Denominator);
// Ratio of the medians, 0 when the denominator is empty or zero.
double MedianRatio(const TSamples &Numerator, const TSamples &Denominator);

} // namespace Bench
