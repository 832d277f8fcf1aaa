#include "checkanalysis.h"

#include "calendarcheck.h"
#include "checktally.h"
#include "digitcheck.h"
#include "habitcheck.h"
#include "journalfacts.h"
#include "numberingcheck.h"

#include <algorithm>

namespace fiscora::app {

namespace {

// The tally lists names as they first come up; people look them up in order, numbers by value.
QList<TallyEntry> sortedByName(QList<TallyEntry> entries)
{
    std::sort(entries.begin(), entries.end(), [](const TallyEntry &a, const TallyEntry &b) {
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    return entries;
}

} // namespace

CheckReport CheckAnalysis::analyse(const JournalFacts &facts, const CheckTally &tally)
{
    CheckReport report;
    const QList<QDate> recordDays = facts.days().keys();
    report.firstDay = facts.hasPeriod() ? facts.firstMonth() : recordDays.value(0);
    report.lastDay = facts.hasPeriod() ? facts.lastMonth().addMonths(1).addDays(-1) : recordDays.value(recordDays.size() - 1);
    report.records = facts.total().rows;
    report.takingsType = tally.terms().takings;
    report.days = tally.days();
    report.paymentKinds = sortedByName(tally.paymentKinds());
    report.operators = sortedByName(tally.operators());
    report.taxCodes = sortedByName(tally.taxCodes());

    const CalendarCheck calendar(recordDays, report.firstDay, report.lastDay);
    report.missingDays = calendar.missingDays();
    report.closedWeekdays = calendar.closedWeekdays();
    report.findings << NumberingCheck(facts).findings() << calendar.findings();
    report.findings << DigitCheck(report, tally).findings();
    report.findings << HabitCheck(report, tally).findings();
    return report;
}

} // namespace fiscora::app
