#include "digitcheck.h"

#include "checkreport.h"
#include "checkwords.h"
#include "distributions.h"

namespace fiscora::app {

namespace {

// Nigrini's conformity ranges of the mean absolute deviation for first digits.
constexpr double CloseConformity = 0.006;
constexpr double AcceptableConformity = 0.012;
constexpr double MarginalConformity = 0.015;

} // namespace

DigitCheck::DigitCheck(CheckReport &report, const CheckTally &tally)
    : m_report(report)
    , m_tally(tally)
{
    for (const auto &day : report.days) {
        report.lastDigit.add(DigitTest::digitAt(day.second.takingsCents, 100));
        report.firstDecimal.add(DigitTest::digitAt(day.second.takingsCents, 10));
    }
    report.itemDigits = tally.itemDigits();
}

QList<CheckFinding> DigitCheck::findings() const
{
    CheckFinding firstDecimal = digitFinding(m_report.firstDecimal, QStringLiteral("firstDecimal"),
                                             tr("First digit after the decimal point of the daily takings"));
    const qint64 items = m_tally.itemDigits().total();
    if (items > 0 && m_tally.wholeEuroItems() > WholeEuroShare * items) {
        firstDecimal.verdict = CheckFinding::NotApplicable;
        firstDecimal.conclusion = tr("%1 of the item amounts are whole euros, so the digits after the decimal point "
                                     "of the takings say nothing about them; an auditor who runs the test anyway "
                                     "can be shown the price list.")
                                          .arg(CheckWords::share(double(m_tally.wholeEuroItems()) / items));
    }
    return {digitFinding(m_report.lastDigit, QStringLiteral("lastDigit"),
                         tr("Last digit before the decimal point of the daily takings")),
            firstDecimal, roundTakings(), benford()};
}

CheckFinding DigitCheck::digitFinding(const DigitTest &test, const QString &name, const QString &title) const
{
    CheckFinding finding;
    finding.test = name;
    finding.title = title;
    const double flag = Distributions::chiSquareCritical(test.degreesOfFreedom(), FlagLevel);
    const double look = Distributions::chiSquareCritical(test.degreesOfFreedom(), LookLevel);
    finding.figure = tr("chi² = %1; %2").arg(CheckWords::decimal(test.chiSquare()), coverage());
    finding.threshold = tr("flagged above %1 (1 %, %2 degrees of freedom), worth a look above %3 (5 %); needs %4 days")
                                .arg(CheckWords::decimal(flag))
                                .arg(test.degreesOfFreedom())
                                .arg(CheckWords::decimal(look))
                                .arg(DaysNeeded);
    finding.details << countsLine(test);
    if (test.total() < DaysNeeded) {
        finding.verdict = CheckFinding::TooFew;
        finding.conclusion = tr("Too few days (%1): the test says nothing either way.").arg(test.total());
    } else if (test.chiSquare() > flag) {
        finding.verdict = CheckFinding::Flagged;
        finding.conclusion = tr("The digits are far less even than takings that are rung up give: an auditor's "
                                "chi-square test flags the takings and takes them for figures that were set, not "
                                "counted. Be ready to show how the takings came about, day by day.");
    } else if (test.chiSquare() > look) {
        finding.verdict = CheckFinding::Explain;
        finding.conclusion = tr("The digits are less even than usual, though below the usual trigger: an auditor "
                                "may look at the days more closely.");
    } else {
        finding.conclusion = tr("The digits are as even as takings that are rung up give: the test flags nothing.");
    }
    return finding;
}

// Takings add up many prices, so whole euros come up by chance on about one day in a hundred.
CheckFinding DigitCheck::roundTakings() const
{
    CheckFinding finding;
    finding.test = QStringLiteral("roundTakings");
    finding.title = tr("Days with takings in whole euros");
    qint64 round = 0;
    for (const auto &day : m_report.days)
        round += day.second.takingsCents % 100 == 0;
    const qint64 days = qint64(m_report.days.size());
    qint64 limit = 1;
    while (limit <= days && Distributions::binomialTail(limit, days, WholeEuroChance) >= FlagLevel)
        ++limit;
    finding.figure = tr("days in whole euros: %1 (%2); %3").arg(round).arg(CheckWords::share(days > 0 ? double(round) / days : 0), coverage());
    finding.threshold = tr("flagged from %1 such days on, as many as chance gives in fewer than 1 of 100 journals of "
                           "this many days; needs %2 days")
                                .arg(limit)
                                .arg(DaysNeeded);
    for (const auto &day : m_report.days) {
        if (day.second.takingsCents % 100 == 0 && finding.details.size() < 20)
            finding.details << tr("%1: %2").arg(CheckWords::day(day.first), CheckWords::money(day.second.takingsCents));
    }
    if (days < DaysNeeded) {
        finding.verdict = CheckFinding::TooFew;
        finding.conclusion = tr("Too few days (%1): the test says nothing either way.").arg(days);
    } else if (round >= limit) {
        finding.verdict = CheckFinding::Flagged;
        finding.conclusion = tr("Takings that add up rung-up prices seldom end in whole euros: an auditor takes so "
                                "many round days for figures that were written down, not counted. Explain how the "
                                "takings of these days were found.");
    } else {
        finding.conclusion = tr("No more days end in whole euros than chance gives.");
    }
    return finding;
}

CheckFinding DigitCheck::benford() const
{
    const DigitTest &digits = m_report.itemDigits;
    CheckFinding finding;
    finding.test = QStringLiteral("benford");
    finding.title = tr("Benford's law on the first digits of the item amounts");
    const double mad = digits.meanAbsoluteDeviation();
    finding.figure = tr("MAD = %1, chi² = %2; item amounts above zero (Buchungstyp \"%4\"): %3")
                             .arg(CheckWords::decimal(mad, 4), CheckWords::decimal(digits.chiSquare()))
                             .arg(digits.total())
                             .arg(QString::fromLatin1(m_tally.terms().item));
    finding.threshold = tr("MAD up to 0.006 close conformity, 0.012 acceptable, 0.015 marginal, above that flagged; "
                           "chi² %1 at 1 % (8 degrees of freedom), which large samples exceed easily; needs %2 "
                           "amounts spanning two powers of ten")
                                .arg(CheckWords::decimal(Distributions::chiSquareCritical(8, FlagLevel)))
                                .arg(AmountsNeeded);
    finding.details << countsLine(digits);
    const qint64 low = m_tally.itemQuantileCents(0.05);
    const qint64 high = m_tally.itemQuantileCents(0.95);
    finding.details << tr("90 % of the item amounts lie between %1 and %2").arg(CheckWords::money(low), CheckWords::money(high));
    if (digits.total() < AmountsNeeded) {
        finding.verdict = CheckFinding::TooFew;
        finding.conclusion = tr("Too few item amounts (%1): the test says nothing either way.").arg(digits.total());
    } else if (high < SpanNeeded * low) {
        finding.verdict = CheckFinding::NotApplicable;
        finding.conclusion = mad > MarginalConformity
            ? tr("The item amounts do not follow Benford's law, but they span less than two powers of ten, set by a "
                 "price list: the law does not hold for such amounts. An auditor who runs the test anyway can be "
                 "shown the price list.")
            : tr("The item amounts span less than two powers of ten, where Benford's law need not hold; they conform "
                 "to it all the same.");
    } else if (mad > MarginalConformity) {
        finding.verdict = CheckFinding::Flagged;
        finding.conclusion = tr("The first digits do not conform to Benford's law: an auditor's test flags the "
                                "item amounts. Explain what sets them (a price list, amounts typed in).");
    } else {
        finding.verdict = mad > AcceptableConformity ? CheckFinding::Explain : CheckFinding::Passed;
        finding.conclusion = mad > AcceptableConformity
            ? tr("The first digits conform to Benford's law only marginally: an auditor may look closer.")
            : mad > CloseConformity ? tr("The first digits conform acceptably to Benford's law.")
                                    : tr("The first digits conform closely to Benford's law.");
    }
    return finding;
}

QString DigitCheck::coverage() const
{
    return tr("days with takings: %1, %2 to %3, the Betrag of the lines of Buchungstyp \"%4\"")
            .arg(m_report.days.size())
            .arg(m_report.days.empty() ? QString() : CheckWords::day(m_report.days.begin()->first),
                 m_report.days.empty() ? QString() : CheckWords::day(m_report.days.rbegin()->first),
                 QString::fromLatin1(m_report.takingsType));
}

QString DigitCheck::countsLine(const DigitTest &test)
{
    QStringList counts;
    for (int digit = test.firstLawDigit(); digit <= 9; ++digit) {
        counts << tr("%1: %2 (expected %3)")
                          .arg(digit)
                          .arg(test.count(digit))
                          .arg(CheckWords::decimal(test.total() * test.expectedShare(digit), 1));
    }
    return counts.join(QLatin1String(", "));
}

} // namespace fiscora::app
