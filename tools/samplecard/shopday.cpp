#include "shopday.h"

#include "shopline.h"

namespace fiscora::sample {

namespace {

QList<QByteArray> reportLines(const ShopDay &day, char registerNumber)
{
    const ClosingReport &closing = day.closing;
    QList<QByteArray> lines;
    ShopLine line;
    line.registerNumber = registerNumber;
    line.lineNumber = closing.firstLine;
    line.date = day.date;
    line.time = day.closes;
    line.receiptNumber = closing.receiptNumber;
    line.operatorNumber = 1;
    line.bookingType = QByteArrayLiteral("Bericht");
    line.orderType = QByteArrayLiteral("Tag");
    line.orderNumber = QByteArrayLiteral("Z");
    line.invoiceNumber = closing.reportNumber;
    line.customer = closing.customer;
    line.functionType = QByteArrayLiteral("Finanzweg");
    for (const PaymentWay way : {PaymentWay::Cash, PaymentWay::Card}) {
        const ClosingReport::WayTotal &total = way == PaymentWay::Card ? closing.card : closing.cash;
        line.functionNumber = int(way);
        line.functionName = paymentWayName(way);
        line.quantity = total.payments * 1000;
        line.amountCents = total.cents;
        line.taxCents = total.taxCents;
        lines.append(line.bytes());
        ++line.lineNumber;
    }
    line.functionType = QByteArrayLiteral("Summe");
    line.functionNumber = 0;
    line.functionName = QByteArrayLiteral("Z-Bericht");
    line.quantity = (closing.cash.payments + closing.card.payments) * 1000;
    line.amountCents = closing.cash.cents + closing.card.cents;
    line.taxCents = closing.cash.taxCents + closing.card.taxCents;
    lines.append(line.bytes());
    return lines;
}

} // namespace

qint64 ShopDay::takingsCents() const
{
    qint64 takings = 0;
    for (const ShopReceipt &receipt : receipts)
        takings += receipt.totalCents();
    return takings;
}

void ShopDay::close()
{
    closing.cash = {};
    closing.card = {};
    for (const ShopReceipt &receipt : receipts) {
        ClosingReport::WayTotal &total = receipt.way == PaymentWay::Card ? closing.card : closing.cash;
        ++total.payments;
        total.cents += receipt.totalCents();
        total.taxCents += receipt.taxCents();
    }
}

QList<QByteArray> ShopDay::lines(char registerNumber) const
{
    QList<QByteArray> lines;
    for (const ShopReceipt &receipt : receipts) {
        if (!receipt.linesDeleted)
            lines += receipt.lines(registerNumber, date);
    }
    return lines + reportLines(*this, registerNumber);
}

QRandomGenerator ShopDay::random(quint32 seed, quint32 purpose) const
{
    const quint32 seeds[] = {seed, quint32(date.toJulianDay()), purpose};
    return QRandomGenerator(seeds);
}

} // namespace fiscora::sample
