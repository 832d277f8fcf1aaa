#ifndef FISCORA_SAMPLE_JOURNAL_H
#define FISCORA_SAMPLE_JOURNAL_H

#include <QByteArray>
#include <QDate>
#include <QList>

namespace fiscora {
namespace sample {

/*!
 * Journal lines as a register writes them: the 27 fields that "index.xml" describes, separated
 * by ";", decimal comma, dates as DD.MM.YYYY, ending in "\r\n". The content is made up but
 * deterministic: the same arguments always give the same line.
 */
class Journal
{
public:
    //! A journal of register \a registerNumber (a digit or A to H for the first field).
    explicit Journal(char registerNumber = '1', quint32 seed = 1);

    //! Line \a lineNumber of the journal, booked on \a date; at most 256 bytes.
    QByteArray line(int lineNumber, const QDate &date) const;

    //! \a lineCount lines of \a month, numbered from \a firstLineNumber, spread over its days.
    QList<QByteArray> monthLines(const QDate &month, int firstLineNumber, int lineCount) const;

    /*!
     * A monthly data file: the lines of monthLines(), each encrypted as a record of its own.
     */
    QByteArray encryptedMonth(const QDate &month, int firstLineNumber, int lineCount) const;

private:
    char m_registerNumber;
    quint32 m_seed;
};

} // namespace sample
} // namespace fiscora

#endif // FISCORA_SAMPLE_JOURNAL_H
