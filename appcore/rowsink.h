#ifndef FISCORA_APP_ROWSINK_H
#define FISCORA_APP_ROWSINK_H

#include <QByteArray>
#include <QDate>

#include <cstring>

namespace fiscora::app {

//! A field of a row as it stands in the table's bytes, valid while the row is handed on.
struct FieldView
{
    const char *data = nullptr;
    int size = 0;

    bool is(const QByteArray &text) const
    {
        // An empty view may point nowhere, which memcmp must not be given.
        return size == text.size() && (size == 0 || std::memcmp(data, text.constData(), size_t(size)) == 0);
    }
    QByteArray bytes() const { return QByteArray(data, size); }
};

//! A record of the period, as JournalFacts has read it: a row that is not damaged.
struct JournalRow
{
    FieldView bookingType;    //!< Buchungstyp
    FieldView functionType;   //!< Funktionstyp
    FieldView functionName;   //!< Funktionsname
    FieldView operatorNumber; //!< Bedienernummer
    FieldView taxCode;        //!< StKz
    QDate date;
    //! Seconds since midnight; -1 without a time.
    int time = -1;
    qint64 lineNumber = -1;
    qint64 receipt = -1;
    qint64 betragCents = 0;
    bool betragRead = false;
    qint64 steuerCents = 0;
};

/*!
 * Takes the records of a period one by one as JournalFacts reads them, so that a figure of its
 * own costs no second pass over the table. The views point into the row's bytes, which are gone
 * once take() returns: a sink copies only what it keeps.
 *
 * \code
 * JournalFacts facts(layout, firstMonth, lastMonth);
 * facts.setRowSink(&tally);
 * facts.addFile(table);
 * \endcode
 */
class RowSink
{
public:
    virtual ~RowSink() = default;
    virtual void take(const JournalRow &row) = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_ROWSINK_H
