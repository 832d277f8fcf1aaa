#include "digittest.h"

#include "distributions.h"

#include <cmath>

namespace fiscora::app {

DigitTest::DigitTest(Law law)
    : m_law(law)
{
}

void DigitTest::add(int digit)
{
    if (digit < firstLawDigit() || digit > 9)
        return;
    ++m_counts[size_t(digit)];
    ++m_total;
}

int DigitTest::digitAt(qint64 cents, qint64 place)
{
    return int(qAbs(cents) / place % 10);
}

int DigitTest::firstDigit(qint64 cents)
{
    qint64 size = qAbs(cents);
    while (size >= 10)
        size /= 10;
    return int(size);
}

double DigitTest::expectedShare(int digit) const
{
    return m_law == Benford ? std::log10(1 + 1.0 / digit) : 0.1;
}

double DigitTest::chiSquare() const
{
    double sum = 0;
    for (int digit = firstLawDigit(); digit <= 9 && m_total > 0; ++digit) {
        const double expected = m_total * expectedShare(digit);
        sum += (count(digit) - expected) * (count(digit) - expected) / expected;
    }
    return sum;
}

double DigitTest::pValue() const
{
    return Distributions::chiSquareTail(chiSquare(), degreesOfFreedom());
}

double DigitTest::meanAbsoluteDeviation() const
{
    double sum = 0;
    for (int digit = firstLawDigit(); digit <= 9 && m_total > 0; ++digit)
        sum += std::fabs(double(count(digit)) / m_total - expectedShare(digit));
    return sum / (10 - firstLawDigit());
}

} // namespace fiscora::app
