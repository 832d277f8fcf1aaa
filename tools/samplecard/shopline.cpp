#include "shopline.h"


namespace fiscora::sample {

QByteArray shopMoney(qint64 cents)
{
    const qint64 size = qAbs(cents);
    return (cents < 0 ? "-" : "") + QByteArray::number(size / 100) + ','
        + QByteArray::number(size % 100).rightJustified(2, '0');
}

QByteArray ShopLine::bytes() const
{
    const QByteArray fields[] = {
        QByteArray(1, registerNumber),
        QByteArray::number(lineNumber),
        QByteArrayLiteral("Kasse ") + registerNumber,
        date.toString(QStringLiteral("dd.MM.yyyy")).toLatin1(),
        time.toString(QStringLiteral("hh:mm:ss")).toLatin1(),
        QByteArray::number(receiptNumber),
        QByteArray::number(operatorNumber),
        QByteArray::number(operatorNumber),
        bookingType,
        orderType,
        orderNumber,
        QByteArray::number(invoiceNumber),
        functionType,
        QByteArray::number(functionNumber),
        functionName,
        QByteArray::number(customer),
        QByteArray::number(quantity),
        shopMoney(amountCents),
        QByteArray::number(returnQuantity),
        QByteArrayLiteral("0"), // Rabatt
        QByteArrayLiteral("0"), // Zuschlag
        shopMoney(taxCents),
        QByteArrayLiteral("0,00"), // Kosten
        QByteArray::number(group),
        QByteArray::number(upperGroup),
        QByteArray::number(taxCode),
        QByteArray::number(price),
    };
    QByteArray line;
    line.reserve(256);
    for (const QByteArray &field : fields) {
        line += field;
        line += ';';
    }
    line.chop(1);
    return line += "\r\n";
}

} // namespace fiscora::sample
