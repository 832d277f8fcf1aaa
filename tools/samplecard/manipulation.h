#ifndef FISCORA_SAMPLE_MANIPULATION_H
#define FISCORA_SAMPLE_MANIPULATION_H

#include "shopday.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace fiscora::sample {

//! What is done to a shop journal's days after the register wrote them.
enum class ManipulationKind {
    //! On each open day, the lines of a run of one to four receipts taken off the card: their
    //! numbers leave a gap, and the closing report still counts them.
    DeleteLines,
    //! On each open day, one in eight cash sales taken out (one at least), the lines and receipts
    //! numbered anew without a gap and the closing report made again from what is left.
    DeleteReceipts,
    //! Each open day's receipts replaced by made-up sales worth 75 to 90 % of the takings, the
    //! figure rounded to a favourite last digit (0, 5 or 8 euros) and whole or half euros; the
    //! numbers and the closing report follow.
    InventTakings,
    //! On about half of the open days, cash sales taken out until the takings are 30 % lower at
    //! least; the numbers and the closing report follow.
    CutTakings,
};

/*!
 * A manipulation of a shop journal's days from first() to last(). Only cash sales go: card
 * payments are on the bank's statements too.
 *
 * \code
 * const auto manipulation = Manipulation::fromText(QStringLiteral("cut-takings@2019-03"));
 * if (manipulation)
 *     journal.manipulate(*manipulation);
 * \endcode
 */
class Manipulation
{
public:
    Manipulation(ManipulationKind kind, const QDate &first, const QDate &last);

    /*!
     * Reads "KIND@SPAN": KIND one of kindNames(), SPAN a month ("2019-03"), a day
     * ("2019-03-05") or a range of days ("2019-03-01..2019-03-14"). Nothing when it is none.
     */
    static std::optional<Manipulation> fromText(const QString &text);
    //! "delete-lines", "delete-receipts", "invent-takings", "cut-takings", in the order of the kinds.
    static QStringList kindNames();

    ManipulationKind kind() const { return m_kind; }
    QDate first() const { return m_first; }
    QDate last() const { return m_last; }

    /*!
     * Changes the \a days within the span, by chance drawn from \a seed and each day, so the same
     * journal and manipulation always give the same result. The closing reports are made again
     * where the manipulation says so; numbering the lines afterwards is the journal's part.
     */
    void apply(QList<ShopDay> &days, quint32 seed) const;

private:
    ManipulationKind m_kind;
    QDate m_first;
    QDate m_last;
};

} // namespace fiscora::sample

#endif // FISCORA_SAMPLE_MANIPULATION_H
