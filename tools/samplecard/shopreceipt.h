#ifndef FISCORA_SAMPLE_SHOPRECEIPT_H
#define FISCORA_SAMPLE_SHOPRECEIPT_H

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QTime>

namespace fiscora::sample {

//! How a receipt is paid; the value is the Funktionsnummer of its payment line.
enum class PaymentWay { Cash = 1, Card = 2 };

//! The Funktionsname of \a way's payment lines: "Bar" or "EC-Karte".
QByteArray paymentWayName(PaymentWay way);

//! One article line of a receipt: sold, cancelled at once, or taken back.
struct ShopBooking
{
    enum class Kind {
        Sale,         //!< Buchungstyp "Artikel"
        Cancellation, //!< Buchungstyp "Storno": the line before it undone, negative quantity and amount
        Return,       //!< Buchungstyp "Retoure": Anzahl 0, the pieces in Retourenanzahl, negative amount
    };

    Kind kind = Kind::Sale;
    int plu = 0;               //!< Funktionsnummer
    QByteArray name;           //!< Funktionsname, Latin-1
    int group = 0;             //!< Warengruppe
    int upperGroup = 0;        //!< Obergruppe
    int taxCode = 1;           //!< StKz: 1 for 19 %, 2 for 7 %
    qint64 price = 0;          //!< per piece or per kilogram, three implied decimals
    qint64 quantity = 1000;    //!< pieces or kilograms, three implied decimals
    qint64 amountCents = 0;    //!< negative for cancellations and returns
    QByteArray note;           //!< what the operator typed in, or nothing

    //! The tax that amountCents holds at the rate of taxCode, rounded half away from zero to the cent.
    qint64 taxCents() const;
};

/*!
 * A customer's receipt: article lines and one payment line ("Zahlung", "Finanzweg") of their sum.
 * The numbers come from the journal's numbering; a receipt whose lines were taken off the card
 * keeps them, so that they leave a gap.
 */
struct ShopReceipt
{
    QTime time;
    int operatorNumber = 1;
    PaymentWay way = PaymentWay::Cash;
    bool takeAway = false;       //!< its article lines say "Außer Haus"
    QList<ShopBooking> bookings;

    int firstLine = 0;
    int receiptNumber = 0;
    int customer = 0;
    bool linesDeleted = false;

    qint64 totalCents() const;
    qint64 taxCents() const;
    //! The article lines and the payment line.
    int lineCount() const { return bookings.size() + 1; }
    QList<QByteArray> lines(char registerNumber, const QDate &date) const;
};

} // namespace fiscora::sample

#endif // FISCORA_SAMPLE_SHOPRECEIPT_H
