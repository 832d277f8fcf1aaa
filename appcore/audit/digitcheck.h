#ifndef FISCORA_APP_DIGITCHECK_H
#define FISCORA_APP_DIGITCHECK_H

#include "checkfinding.h"

#include <QCoreApplication>
#include <QList>

namespace fiscora::app {

class CheckTally;
class DigitTest;
struct CheckReport;

/*!
 * The auditors' tests of digits: the chi-square test of the last digit before the decimal
 * point and of the first digit after it of the daily takings, the share of days with takings in
 * whole euros, and Benford's first-digit test of the item amounts. Each says "too few" below the
 * sample it needs.
 *
 * \code
 * DigitCheck digits(report, tally);
 * report.findings += digits.findings();
 * \endcode
 */
class DigitCheck
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::DigitCheck)

public:
    //! Days a digit test needs: five expected for each digit.
    static constexpr int DaysNeeded = 50;
    //! Item amounts Benford's test needs.
    static constexpr int AmountsNeeded = 500;
    //! Benford's law holds for amounts that span this factor between their 5 % and 95 % points.
    static constexpr double SpanNeeded = 100;
    //! Item amounts in whole euros beyond this share make the digits after the decimal point meaningless.
    static constexpr double WholeEuroShare = 0.5;
    //! The chance at which a test fires, and the one at which it is worth a closer look.
    static constexpr double FlagLevel = 0.01;
    static constexpr double LookLevel = 0.05;
    //! The chance of takings in whole euros when their cents are not made up.
    static constexpr double WholeEuroChance = 0.01;

    //! Fills the digit tests of \a report from its days.
    DigitCheck(CheckReport &report, const CheckTally &tally);

    QList<CheckFinding> findings() const;

private:
    CheckFinding digitFinding(const DigitTest &test, const QString &name, const QString &title) const;
    CheckFinding roundTakings() const;
    CheckFinding benford() const;
    QString coverage() const;
    static QString countsLine(const DigitTest &test);

    const CheckReport &m_report;
    const CheckTally &m_tally;
};

} // namespace fiscora::app

#endif // FISCORA_APP_DIGITCHECK_H
