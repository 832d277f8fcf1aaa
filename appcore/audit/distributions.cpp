#include "distributions.h"

#include <cmath>

namespace fiscora::app {

namespace {

constexpr double Precision = 1e-14;
constexpr int MostTerms = 100000;

// The regularized lower incomplete gamma function P(a, x) by its series, for x < a + 1.
double lowerGammaSeries(double a, double x)
{
    double term = 1 / a;
    double sum = term;
    for (int n = 1; n < MostTerms && std::fabs(term) > std::fabs(sum) * Precision; ++n) {
        term *= x / (a + n);
        sum += term;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// The regularized upper incomplete gamma function Q(a, x) by its continued fraction (Lentz), for
// x >= a + 1, where the series converges slowly.
double upperGammaFraction(double a, double x)
{
    const double tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double fraction = d;
    for (int n = 1; n < MostTerms; ++n) {
        const double an = -n * (n - a);
        b += 2;
        d = an * d + b;
        d = std::fabs(d) < tiny ? tiny : d;
        c = b + an / c;
        c = std::fabs(c) < tiny ? tiny : c;
        d = 1 / d;
        const double step = d * c;
        fraction *= step;
        if (std::fabs(step - 1) < Precision)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * fraction;
}

} // namespace

double Distributions::chiSquareTail(double statistic, int degreesOfFreedom)
{
    if (statistic <= 0 || degreesOfFreedom <= 0)
        return 1;
    const double a = degreesOfFreedom / 2.0;
    const double x = statistic / 2;
    return x < a + 1 ? 1 - lowerGammaSeries(a, x) : upperGammaFraction(a, x);
}

// The tail falls as the statistic grows, so halving the interval finds the value to any precision.
double Distributions::chiSquareCritical(int degreesOfFreedom, double level)
{
    double low = 0;
    double high = degreesOfFreedom + 10.0;
    while (chiSquareTail(high, degreesOfFreedom) > level)
        high *= 2;
    for (int step = 0; step < 100; ++step) {
        const double middle = (low + high) / 2;
        (chiSquareTail(middle, degreesOfFreedom) > level ? low : high) = middle;
    }
    return (low + high) / 2;
}

// Summed from the top in logarithms, so that large numbers of trials neither overflow nor lose the
// small terms.
double Distributions::binomialTail(qint64 successes, qint64 trials, double chance)
{
    if (successes <= 0)
        return 1;
    if (successes > trials || chance <= 0)
        return 0;
    if (chance >= 1)
        return 1;
    const double logChance = std::log(chance);
    const double logMiss = std::log1p(-chance);
    const double logTrials = std::lgamma(double(trials) + 1);
    double sum = 0;
    for (qint64 k = successes; k <= trials; ++k) {
        const double term = std::exp(logTrials - std::lgamma(double(k) + 1) - std::lgamma(double(trials - k) + 1)
                                     + k * logChance + (trials - k) * logMiss);
        sum += term;
        if (term < sum * Precision && k > trials * chance)
            break;
    }
    return qMin(1.0, sum);
}

} // namespace fiscora::app
