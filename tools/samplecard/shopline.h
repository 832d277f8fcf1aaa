#ifndef FISCORA_SAMPLE_SHOPLINE_H
#define FISCORA_SAMPLE_SHOPLINE_H

#include <QByteArray>
#include <QDate>
#include <QTime>

namespace fiscora::sample {

/*!
 * One line of the sample shop's journal, field by field, in the order of the 27 columns that
 * "index.xml" describes. Quantities and prices carry three implied decimals (1000 is one piece,
 * 350 is 350 g), amounts are cents; discount, surcharge and costs are always nothing.
 *
 * \code
 * ShopLine line;
 * line.lineNumber = 17;
 * line.bookingType = "Zahlung";
 * const QByteArray bytes = line.bytes(); // "1;17;Kasse 1;...\r\n"
 * \endcode
 */
struct ShopLine
{
    char registerNumber = '1';   //!< Kassennummer; Kassenname is "Kasse" and this
    int lineNumber = 0;          //!< Zeilennummer
    QDate date;                  //!< Datum
    QTime time;                  //!< Uhrzeit
    int receiptNumber = 0;       //!< Bonnummer
    int operatorNumber = 0;      //!< Bedienernummer and Verkäufernummer: the staff sell what they ring up
    QByteArray bookingType;      //!< Buchungstyp
    QByteArray orderType;        //!< Bestellungstyp; a report's period
    QByteArray orderNumber;      //!< Bestellungsnummer: the operator's note; a report's layout
    int invoiceNumber = 0;       //!< Rechnungsnummer; a report's running number
    QByteArray functionType;     //!< Funktionstyp
    int functionNumber = 0;      //!< Funktionsnummer
    QByteArray functionName;     //!< Funktionsname
    int customer = 0;            //!< Kundenzähler
    qint64 quantity = 1000;      //!< Anzahl
    qint64 amountCents = 0;      //!< Betrag
    qint64 returnQuantity = 0;   //!< Retourenanzahl
    qint64 taxCents = 0;         //!< Steuer
    int group = 0;               //!< Warengruppe
    int upperGroup = 0;          //!< Obergruppe
    int taxCode = 0;             //!< StKz: 1 for 19 %, 2 for 7 %
    qint64 price = 0;            //!< Preis, per piece or per kilogram

    //! The line as the register writes it, ending in "\r\n"; names are Latin-1 as they stand.
    QByteArray bytes() const;
};

//! \a cents with a decimal comma, such as "-3,60".
QByteArray shopMoney(qint64 cents);

} // namespace fiscora::sample

#endif // FISCORA_SAMPLE_SHOPLINE_H
