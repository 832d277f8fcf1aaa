#ifndef KTLCYPHERTEST_H
#define KTLCYPHERTEST_H

#include "fixtures.h"
#include "journal.h"
#include "samplecipher.h"

#include <fiscora/ktlcypher.h>

#include <QStringList>

// How CypherRecorder writes a processMessages signal.
inline QString messageLine(const QString &message, bool isError, int count)
{
    return QStringLiteral("processMessages(%1, %2, %3)")
            .arg(message, isError ? QStringLiteral("true") : QStringLiteral("false")).arg(count);
}

// Records a decryptor's signals as readable lines, in the order in which they were emitted, from
// whichever thread emitted them. Read the lines once the job has ended (after wait()).
class CypherRecorder
{
public:
    explicit CypherRecorder(fiscora::KTLCypher &cypher)
    {
        using fiscora::KTLCypher;
        QObject::connect(&cypher, &KTLCypher::initProgressBar, [this](int start, int end) {
            lines << QStringLiteral("initProgressBar(%1, %2)").arg(start).arg(end);
        });
        QObject::connect(&cypher, &KTLCypher::updateProgressBar, [this](int value) { progress << value; });
        QObject::connect(&cypher, &KTLCypher::error, [this](const QString &error, const QString &hint) {
            lines << QStringLiteral("error(%1 | %2)").arg(error, hint);
        });
        QObject::connect(&cypher, qOverload<const QString &, bool, int>(&KTLCypher::processMessages),
                         [this](const QString &message, bool isError, int count) {
                             lines << messageLine(message, isError, count);
                         });
        QObject::connect(&cypher, &KTLCypher::finishSuccessful,
                         [this](const QString &filename, const fiscora::IndexFileAnalyser &analyse) {
                             lines << QStringLiteral("finishSuccessful(%1)").arg(filename);
                             analysers << analyse;
                         });
        QObject::connect(&cypher, &KTLCypher::fileSaved, [this](const QString &filename) {
            lines << QStringLiteral("fileSaved(%1)").arg(filename);
        });
    }

    QStringList lines;
    QList<int> progress;
    QList<fiscora::IndexFileAnalyser> analysers;
};

// Journal lines of register 1 and their encrypted records.
inline QByteArray journalLine(int lineNumber)
{
    return fiscora::sample::Journal('1', 7).line(lineNumber, QDate(2020, 3, 1));
}

inline QByteArray encryptedLines(int first, int count)
{
    QByteArray records;
    for (int i = first; i < first + count; ++i)
        records += fiscora::sample::encryptRecord(journalLine(i));
    return records;
}

inline QByteArray plainLines(int first, int count)
{
    QByteArray lines;
    for (int i = first; i < first + count; ++i)
        lines += journalLine(i);
    return lines;
}

// A backup of register 12345678 as the reader writes it: its header holds the month map (by
// default twelve good months from January 2016) and the digest (by default the body's).
inline QByteArray backup(const QByteArray &body, const QByteArray &map = QByteArray::fromHex("0c01"),
                         const QByteArray &digest = QByteArray())
{
    return backupHeader("12345678", map, digest.isNull() ? fiscora::HelperClass::calculateMD5Hash(body) : digest)
        + body;
}

#endif // KTLCYPHERTEST_H
