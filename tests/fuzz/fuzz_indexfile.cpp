// Arbitrary bytes as a register's index file, or as the bitmap that the register encrypts into one
// (fuzzinput::indexInput), checked against data files listed for a date span. The file is read, and
// every month that its blocks hold a bit for gets a status, from January 2016 on without a gap, to
// December 9999 at the latest. A month outside the span is INDEX_OK; inside it, a listed data file is
// never missing and an unlisted one never there; of a bitmap, exactly the months of its set bits are
// announced. The report names each month whose data file is missing.

#include "aes_p.h"
#include "fuzzing.h"
#include "fuzzinput.h"
#include "reading_p.h"
#include "samplecipher.h"

#include <QSet>

namespace {

using fiscora::IndexFileAnalyser;

const QDate FirstMonth(2016, 1, 1);
constexpr int MonthsBefore10000 = (10000 - 2016) * 12;
// Each month is looked for among the listed data files, so only the first months of a span have
// some. Registers of this century name them by the last two digits of the year.
constexpr int ListedMonths = 64;
constexpr int MonthsBefore2100 = (2100 - 2016) * 12;

struct Span
{
    QDate from;
    QDate to;
    int listedMask;

    bool holds(const QDate &month) const { return fiscora::isInDateSpan(month, from, to); }

    QSet<int> listedMonths() const
    {
        QSet<int> months;
        const int first = from.isValid() ? (from.year() - 2016) * 12 + from.month() - 1 : 0;
        for (int month = first; month < qMin(first + ListedMonths, MonthsBefore2100); ++month) {
            if (holds(FirstMonth.addMonths(month)) && (listedMask >> month % 8 & 1))
                months << month;
        }
        return months;
    }

    static QString dataFile(const QString &folder, const QDate &month)
    {
        return folder + QStringLiteral("/%1/%2%3.a03")
                            .arg(month.year())
                            .arg(month.year() % 100, 2, 10, QLatin1Char('0'))
                            .arg(month.month(), 2, 10, QLatin1Char('0'));
    }
};

Span takeSpan(fuzzinput::Input &input, int flags)
{
    const int first = input.takeByte() << 16;
    const QDate from = FirstMonth.addMonths((first | input.takeWord()) % fuzzinput::MonthsInSpanField);
    const QDate to = from.addMonths(qint8(input.takeByte()));
    return {flags & fuzzinput::NoFromDate ? QDate() : from, flags & fuzzinput::NoToDate ? QDate() : to,
            input.takeByte()};
}

bool announced(const QByteArray &bitmap, int month)
{
    return month / 8 < bitmap.size() && (quint8(bitmap.at(month / 8)) >> month % 8 & 1);
}

IndexFileAnalyser::IndexStatus expectedStatus(bool isAnnounced, bool listed)
{
    if (isAnnounced)
        return listed ? IndexFileAnalyser::INDEX_OK : IndexFileAnalyser::INDEX_ERROR_FILE_MISSING;
    return listed ? IndexFileAnalyser::INDEX_ERROR_FILE_EXIST : IndexFileAnalyser::INDEX_OK;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzing::quietLogging();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const quint8 *data, size_t size)
{
    fuzzinput::Input input{data, size};
    const int flags = input.takeByte();
    const Span span = takeSpan(input, flags);
    const bool plain = flags & fuzzinput::PlainBitmap;
    const QByteArray bitmap = input.rest();
    const QByteArray file = plain ? fiscora::sample::encryptIndexFile(bitmap) : bitmap;
    const QString folder = fuzzing::runFolder().path();
    const QString indexFile = folder + QStringLiteral("/12345678.a00");
    FUZZ_REQUIRE(writeFile(indexFile, file).isEmpty());

    const QSet<int> listed = span.listedMonths();
    QList<QFileInfo> dataFiles;
    for (const int month : listed)
        dataFiles << QFileInfo(Span::dataFile(folder, FirstMonth.addMonths(month)));
    IndexFileAnalyser analyser;
    FUZZ_REQUIRE(analyser.checkA00IndexFile(indexFile, dataFiles, span.from, span.to, IndexFileAnalyser::SOURCE_SD));
    const auto map = analyser.getIndexMap();
    const int blockBytes = (file.size() + fiscora::AesBlockSize - 1) / fiscora::AesBlockSize * fiscora::AesBlockSize;
    FUZZ_REQUIRE(map.size() == qMin(8 * blockBytes, MonthsBefore10000));
    FUZZ_REQUIRE(fuzzing::monthsFromJanuary2016(map.keys()));
    int month = 0;
    for (auto it = map.cbegin(); it != map.cend(); ++it, ++month) {
        const bool isListed = listed.contains(month);
        const IndexFileAnalyser::IndexStatus status = it.value();
        if (!span.holds(it.key()))
            FUZZ_REQUIRE(status == IndexFileAnalyser::INDEX_OK);
        else if (plain)
            FUZZ_REQUIRE(status == expectedStatus(announced(bitmap, month), isListed));
        else
            FUZZ_REQUIRE(status == expectedStatus(true, isListed) || status == expectedStatus(false, isListed));
    }
    fuzzing::checkIndexMessages(analyser);
    return 0;
}
