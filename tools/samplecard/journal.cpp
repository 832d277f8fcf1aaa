#include "journal.h"

#include "samplecipher.h"

#include <QTime>

namespace fiscora {
namespace sample {

namespace {

// A small, fast, reproducible mix (splitmix32-like): fixtures must not depend on qrand's state.
quint32 mix(quint32 value)
{
    value += 0x9E3779B9u;
    value = (value ^ (value >> 16)) * 0x85EBCA6Bu;
    value = (value ^ (value >> 13)) * 0xC2B2AE35u;
    return value ^ (value >> 16);
}

QByteArray money(quint32 cents)
{
    return QByteArray::number(cents / 100) + ',' + QByteArray::number(cents % 100).rightJustified(2, '0');
}

} // namespace

Journal::Journal(char registerNumber, quint32 seed)
    : m_registerNumber(registerNumber)
    , m_seed(seed)
{
}

QByteArray Journal::line(int lineNumber, const QDate &date) const
{
    const quint32 r = mix(m_seed ^ mix(static_cast<quint32>(lineNumber)));
    const quint32 article = r % 500;
    const quint32 quantity = 1 + (r >> 9) % 5;
    const quint32 price = 50 + (r >> 12) % 2950;
    const quint32 amount = quantity * price;
    const quint32 tax = amount * 19 / 119;
    const QTime time = QTime(8, 0).addSecs(static_cast<int>((r >> 3) % 43200));

    const QList<QByteArray> fields = {
        QByteArray(1, m_registerNumber),              // Kassennummer
        QByteArray::number(lineNumber),               // Zeilennummer
        QByteArrayLiteral("Kasse ") + m_registerNumber, // Kassenname
        date.toString(QStringLiteral("dd.MM.yyyy")).toLatin1(), // Datum
        time.toString(QStringLiteral("hh:mm:ss")).toLatin1(),   // Uhrzeit
        QByteArray::number(1000 + lineNumber / 4),    // Bonnummer
        QByteArray::number(1 + r % 3),                // Bedienernummer
        QByteArray::number(1 + (r >> 2) % 4),         // Verkaeufernummer
        QByteArrayLiteral("PLU"),                     // Buchungstyp
        QByteArrayLiteral("Theke"),                   // Bestellungstyp
        QByteArray::number(r % 90),                   // Bestellungsnummer
        QByteArray::number(5000 + lineNumber / 4),    // Rechnungsnummer
        QByteArrayLiteral("Artikel"),                 // Funktionstyp
        QByteArray::number(article),                  // Funktionsnummer
        QByteArrayLiteral("Artikel ") + QByteArray::number(article), // Funktionsname
        QByteArray::number(1 + (r >> 5) % 200),       // Kundenzaehler
        QByteArray::number(quantity * 1000),          // Anzahl, three implied decimals
        money(amount),                                // Betrag
        QByteArrayLiteral("0"),                       // Retourenanzahl
        QByteArrayLiteral("0"),                       // Rabatt
        QByteArrayLiteral("0"),                       // Zuschlag
        money(tax),                                   // Steuer
        QByteArrayLiteral("0,00"),                    // Kosten
        QByteArray::number(1 + article % 20),         // Warengruppe
        QByteArray::number(1 + article % 5),          // Obergruppe
        QByteArray::number(1 + (r >> 7) % 2),         // StKz
        QByteArray::number(price * 10),               // Preis, three implied decimals
    };
    return fields.join(';') + "\r\n";
}

QList<QByteArray> Journal::monthLines(const QDate &month, int firstLineNumber, int lineCount) const
{
    QList<QByteArray> lines;
    const int days = month.daysInMonth();
    for (int i = 0; i < lineCount; ++i)
        lines.append(line(firstLineNumber + i, QDate(month.year(), month.month(), 1 + i * days / qMax(lineCount, 1))));
    return lines;
}

QByteArray Journal::encryptedMonth(const QDate &month, int firstLineNumber, int lineCount) const
{
    QByteArray records;
    for (const QByteArray &monthLine : monthLines(month, firstLineNumber, lineCount))
        records += encryptRecord(monthLine);
    return records;
}

} // namespace sample
} // namespace fiscora
