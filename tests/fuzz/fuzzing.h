#ifndef FISCORA_FUZZING_H
#define FISCORA_FUZZING_H

// What the fuzz targets share: a property that stops the run where it fails, so that the fuzzer
// keeps the input, the months of an index and its report, and the record stream driven as the export
// drives it.

#include "atomicfile_p.h"
#include "fixtures.h"
#include "recordedreport.h"
#include "recordstream_p.h"

#include <fiscora/indexfileanalyser.h>

#include <QDate>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

//! Aborts with the property that \a condition states unless it holds, whatever the build type.
#define FUZZ_REQUIRE(condition) ((condition) ? void(0) : fuzzing::violated(#condition, __FILE__, __LINE__))

namespace fuzzing {

[[noreturn]] inline void violated(const char *property, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, property);
    std::abort();
}

//! The debug lines of the index check, one a month, would cost more than the check itself.
inline void quietLogging()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

//! A temporary folder for the whole run of a fuzzer.
inline const QTemporaryDir &runFolder()
{
    static const QTemporaryDir folder;
    return folder;
}

//! Whether \a months are the first months of an index, January 2016 and those that follow it.
inline bool monthsFromJanuary2016(const QList<QDate> &months)
{
    QDate expected(2016, 1, 1);
    for (const QDate &month : months) {
        if (month != expected)
            return false;
        expected = expected.addMonths(1);
    }
    return true;
}

//! Checks that the report of \a analyser names each month whose data file is missing once, in order,
//! where its data came from an SD card, and no month otherwise.
inline void checkIndexMessages(const fiscora::IndexFileAnalyser &analyser)
{
    const QString missingFile = QStringLiteral("INDEX ERROR: The file for the date %1 is missing.");
    QStringList named;
    for (const auto &message : analyser.getIndexMessages()) {
        if (message.first.startsWith(missingFile.left(missingFile.indexOf(QLatin1Char('%')))))
            named << message.first;
    }
    QStringList missing;
    const auto map = analyser.getIndexMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value() == fiscora::IndexFileAnalyser::INDEX_ERROR_FILE_MISSING)
            missing << missingFile.arg(it.key().toString(QStringLiteral("MM/yyyy")));
    }
    FUZZ_REQUIRE(named == (analyser.getCurrentIndexSource() == fiscora::IndexFileAnalyser::SOURCE_SD ? missing
                                                                                                   : QStringList()));
}

struct Pass
{
    QStringList lines; // what the pass reported, but its progress values
    QByteArray table;
};

/*!
 * One pass over \a stream into a table file, handed over as the export does, in one piece or in
 * pieces of the sizes that \a pieces gives in turn, each a copy of its own that starts where the
 * stream still needs bytes, so that a look beyond a piece is caught.
 */
inline Pass decrypt(const QByteArray &stream, bool skipLineCheck, const QList<int> &pieces = {})
{
    const QString tableFile = runFolder().filePath(QStringLiteral("table.csv"));
    joblog::RecordedExportReport report;
    const std::atomic_bool stop{false};
    fiscora::AtomicFile table(tableFile);
    fiscora::RecordStream records(report, stop, skipLineCheck);
    bool passing = records.begin(table, stream.size(), QByteArray());
    qint64 end = 0;
    // Even an empty stream is taken once, as its end.
    for (int piece = 0; passing && (piece == 0 || end < stream.size()); ++piece) {
        end = pieces.isEmpty() ? stream.size() : qMin<qint64>(stream.size(), end + pieces.at(piece % pieces.size()));
        const qint64 begin = records.keepFrom();
        const std::vector<char> held(stream.cbegin() + begin, stream.cbegin() + end);
        passing = records.take({held.data(), begin, end, end == stream.size()});
    }
    if (passing && records.end())
        records.commit();
    Pass pass{joblog::withoutProgress(report.lines), fileBytes(tableFile)};
    QFile::remove(tableFile);
    return pass;
}

} // namespace fuzzing

#endif // FISCORA_FUZZING_H
