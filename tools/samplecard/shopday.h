#ifndef FISCORA_SAMPLE_SHOPDAY_H
#define FISCORA_SAMPLE_SHOPDAY_H

#include "shopreceipt.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QRandomGenerator>
#include <QTime>

namespace fiscora::sample {

/*!
 * The register's daily closing report as it stood when the register printed it: one line
 * (Buchungstyp "Bericht", Funktionstyp "Finanzweg") per payment way with its payments, then the
 * line "Z-Bericht" (Funktionstyp "Summe") with the day's receipts, takings and tax.
 */
struct ClosingReport
{
    static constexpr int LineCount = 3;

    struct WayTotal
    {
        int payments = 0;
        qint64 cents = 0;
        qint64 taxCents = 0;
    };

    WayTotal cash;
    WayTotal card;
    int firstLine = 0;
    int receiptNumber = 0;
    int reportNumber = 0; //!< the Rechnungsnummer of its lines: Z reports are counted
    int customer = 0;     //!< the customer counter at closing time
};

/*!
 * A day on which the shop was open: its receipts in the order of their times, and the closing
 * report at closing time.
 */
struct ShopDay
{
    QDate date;
    QTime opens;
    QTime closes;
    QList<ShopReceipt> receipts;
    ClosingReport closing;

    //! The sum of the day's payment lines, those that left the card included.
    qint64 takingsCents() const;
    //! Makes the closing report from the receipts, as the register does at closing time.
    void close();
    //! The lines of the receipts still on the card, then the closing report.
    QList<QByteArray> lines(char registerNumber) const;
    //! The chance of this day for \a purpose in the journal of \a seed: the same whatever
    //! period the journal covers and whatever happened to other days.
    QRandomGenerator random(quint32 seed, quint32 purpose) const;
};

} // namespace fiscora::sample

#endif // FISCORA_SAMPLE_SHOPDAY_H
