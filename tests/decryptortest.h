#ifndef FISCORA_DECRYPTORTEST_H
#define FISCORA_DECRYPTORTEST_H

// Shared by the decryptor's tests: journal lines as they are and as records, and backups of them.

#include "joblog.h"
#include "journal.h"
#include "samplecard.h"
#include "samplecipher.h"

#include <fiscora/helperclass.h>

namespace decryptortest {

//! A backup of March 2020, and where a GDPdU export of it into "out" puts its files.
inline const QString Source = QStringLiteral("Backup_CR#12345678_202003.enc");
inline const QString GdpduFolder = QStringLiteral("out/CR#12345678/202003/");
inline const QString GdpduTable = GdpduFolder + QStringLiteral("gobd.csv");
//! What every decryption reports first.
inline const QString Start = joblog::progressStarted(100);

//! Lines of register 1's journal, booked on 1 March 2020, from line \a first on.
inline QByteArray plainLines(int first, int count)
{
    QByteArray lines;
    for (int number = first; number < first + count; ++number)
        lines += fiscora::sample::Journal('1', 7).line(number, QDate(2020, 3, 1));
    return lines;
}

//! The same lines, each encrypted as a record of its own.
inline QByteArray encryptedLines(int first, int count)
{
    QByteArray records;
    for (int number = first; number < first + count; ++number)
        records += fiscora::sample::encryptRecord(plainLines(number, 1));
    return records;
}

//! A line of exactly \a length bytes, \a end included, with 16 fields; the last one fills it up.
inline QByteArray tableLine(const QByteArray &registerNumber, int length, const QByteArray &end = "\r\n",
                            int number = 7)
{
    const QByteArray start = registerNumber + ';' + QByteArray::number(number) + ";Kasse 1;" + QByteArray(12, ';');
    return start + QByteArray(length - start.size() - end.size(), 'x') + end;
}

inline QByteArray md5(const QByteArray &data)
{
    return fiscora::HelperClass::calculateMD5Hash(data);
}

/*!
 * A backup of register 12345678 as the reader writes it: its header holds the month \a map (by
 * default twelve good months from January 2016) and the \a digest (by default the body's).
 */
inline QByteArray backup(const QByteArray &body, const QByteArray &map = QByteArray::fromHex("0c01"),
                         const QByteArray &digest = QByteArray())
{
    return fiscora::sample::backupHeader("12345678", map, digest.isNull() ? md5(body) : digest) + body;
}

//! The messages of a decryption that met damage: a damaged line, a salvaged one, what was lost.
inline QString damaged(int line)
{
    return joblog::exportMessage(QStringLiteral("Decryption error near line: %1").arg(line), true);
}
inline QString salvaged(int line)
{
    return joblog::exportMessage(QStringLiteral("Check decryption near line: %1").arg(line), true);
}
inline QString lost(int repaired, int unread)
{
    return joblog::exportMessage(
        QStringLiteral("Not all records could be read: %1 lines were repaired, %2 bytes could not be read.")
            .arg(repaired)
            .arg(unread),
        true);
}

//! The index report of such a backup, numbered from 1, and its hash \a verdict.
inline QStringList goodReport(const QString &verdict = QStringLiteral("Hash value: OK<br>The data seems not corrupted!"))
{
    using joblog::exportMessage;
    return {exportMessage(QStringLiteral("The data was created by reading from SD-Card or Backup."), false, 1),
            exportMessage(QStringLiteral("Serialnumber of the cash register: 12345678"), false, 2),
            exportMessage(QStringLiteral("The data index is correct, no issues recognised."), false, 3),
            exportMessage(verdict, verdict.startsWith(QLatin1String("Hash value: INVALID")), 4)};
}

} // namespace decryptortest

#endif // FISCORA_DECRYPTORTEST_H
