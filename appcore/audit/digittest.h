#ifndef FISCORA_APP_DIGITTEST_H
#define FISCORA_APP_DIGITTEST_H

#include <QtGlobal>

#include <array>

namespace fiscora::app {

/*!
 * How often each digit appears at one place of a set of amounts, against how often it would if
 * the amounts were not made up: each of 0 to 9 alike at a place of the takings, or the first
 * significant digit 1 to 9 after Benford's law. Gives the auditors' chi-square statistic and the
 * mean absolute deviation.
 *
 * \code
 * DigitTest lastDigit(DigitTest::Uniform);
 * for (const qint64 cents : dailyTakings)
 *     lastDigit.add(DigitTest::digitAt(cents, 100));
 * if (lastDigit.chiSquare() > 21.67)
 *     ...
 * \endcode
 */
class DigitTest
{
public:
    enum Law { Uniform, Benford };

    explicit DigitTest(Law law = Uniform);

    //! Counts \a digit; one outside the law's digits is left out.
    void add(int digit);
    //! The digit of \a cents whose place value is \a place cents: 100 the last before the decimal
    //! point, 10 the first after it.
    static int digitAt(qint64 cents, qint64 place);
    //! The first significant digit of \a cents; 0 for nothing.
    static int firstDigit(qint64 cents);

    Law law() const { return m_law; }
    int firstLawDigit() const { return m_law == Benford ? 1 : 0; }
    qint64 count(int digit) const { return m_counts.at(size_t(digit)); }
    qint64 total() const { return m_total; }
    double expectedShare(int digit) const;
    int degreesOfFreedom() const { return 9 - firstLawDigit(); }
    //! Σ (observed − expected)² / expected over the law's digits; 0 without counts.
    double chiSquare() const;
    //! The chance of a statistic this large or larger if the law holds.
    double pValue() const;
    //! (1/k) Σ |observed share − expected share| over the law's k digits.
    double meanAbsoluteDeviation() const;

private:
    Law m_law;
    std::array<qint64, 10> m_counts{};
    qint64 m_total = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_DIGITTEST_H
