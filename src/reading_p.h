#ifndef FISCORA_READING_P_H
#define FISCORA_READING_P_H

#include <QByteArray>
#include <QDate>
#include <QFile>

// What the reading job and the index check must agree on: which months a date span holds, and
// when a file counts as read.

namespace fiscora {

/*!
 * Whether the month that starts on \a month lies in the date span of a reading job: every month
 * when neither end is given; only a month starting on \a fromDate when \a toDate is not given; no
 * month when only \a toDate is given; else the months from \a fromDate to \a toDate, both included.
 */
inline bool isInDateSpan(const QDate &month, const QDate &fromDate, const QDate &toDate)
{
    if (!fromDate.isValid())
        return !toDate.isValid();
    if (!toDate.isValid())
        return month == fromDate;
    return fromDate <= month && month <= toDate;
}

/*!
 * Reads the open \a file whole into \a contents. False when the system reports an error or the
 * file gave fewer bytes than its size: a file read in part would pass for a complete one.
 */
inline bool readWholeFile(QFile &file, QByteArray &contents)
{
    contents = file.readAll();
    return file.error() == QFileDevice::NoError && contents.size() >= file.size();
}

} // namespace fiscora

#endif // FISCORA_READING_P_H
