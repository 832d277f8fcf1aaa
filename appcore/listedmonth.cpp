#include "listedmonth.h"

#include <algorithm>

namespace fiscora::app {

ListedMonth::State ListedMonth::of(const CardListing::Register &cashRegister, const QDate &month)
{
    const bool dataFile = cashRegister.dataFiles.contains(month);
    if (cashRegister.unreadableMonths.contains(month))
        return Unreadable;
    switch (cashRegister.index.getIndexMap().value(month, IndexFileAnalyser::INDEX_OK)) {
    case IndexFileAnalyser::INDEX_OK:
        break;
    case IndexFileAnalyser::INDEX_ERROR_FILE_MISSING:
        return Missing;
    case IndexFileAnalyser::INDEX_ERROR_FILE_EXIST:
        return NotAnnounced;
    case IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING:
        return dataFile ? NotJudged : Nothing;
    }
    return dataFile ? Announced : Nothing;
}

// Without an index file every month up to the index's end is judged "no index file"; only the
// years with a data file or a finding are worth a row.
QList<int> ListedMonth::years(const CardListing::Register &cashRegister)
{
    QList<QDate> months = cashRegister.index.getIndexMap().keys() + cashRegister.dataFiles.keys();
    std::sort(months.begin(), months.end());
    QList<int> years;
    for (int year = months.value(0).year(), last = months.isEmpty() ? 0 : months.constLast().year(); year <= last;
         ++year) {
        for (int month = 1; month <= 12; ++month) {
            if (of(cashRegister, QDate(year, month, 1)) != Nothing) {
                years.append(year);
                break;
            }
        }
    }
    return years;
}

} // namespace fiscora::app
