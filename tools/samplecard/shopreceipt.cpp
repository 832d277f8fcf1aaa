#include "shopreceipt.h"

#include "shopline.h"

namespace fiscora::sample {

namespace {

QByteArray bookingType(ShopBooking::Kind kind)
{
    switch (kind) {
    case ShopBooking::Kind::Cancellation:
        return QByteArrayLiteral("Storno");
    case ShopBooking::Kind::Return:
        return QByteArrayLiteral("Retoure");
    default:
        return QByteArrayLiteral("Artikel");
    }
}

void setBooking(ShopLine &line, const ShopBooking &booking, bool takeAway)
{
    line.bookingType = bookingType(booking.kind);
    line.orderType = takeAway ? QByteArrayLiteral("Au\xdf" "er Haus") : QByteArray();
    line.orderNumber = booking.note;
    line.functionType = QByteArrayLiteral("PLU");
    line.functionNumber = booking.plu;
    line.functionName = booking.name;
    const bool returned = booking.kind == ShopBooking::Kind::Return;
    const bool cancelled = booking.kind == ShopBooking::Kind::Cancellation;
    line.quantity = returned ? 0 : cancelled ? -booking.quantity : booking.quantity;
    line.returnQuantity = returned ? booking.quantity : 0;
    line.amountCents = booking.amountCents;
    line.taxCents = booking.taxCents();
    line.group = booking.group;
    line.upperGroup = booking.upperGroup;
    line.taxCode = booking.taxCode;
    line.price = booking.price;
}

} // namespace

QByteArray paymentWayName(PaymentWay way)
{
    return way == PaymentWay::Card ? QByteArrayLiteral("EC-Karte") : QByteArrayLiteral("Bar");
}

qint64 ShopBooking::taxCents() const
{
    const qint64 rate = taxCode == 2 ? 7 : 19;
    const qint64 size = (2 * qAbs(amountCents) * rate + 100 + rate) / (2 * (100 + rate));
    return amountCents < 0 ? -size : size;
}

qint64 ShopReceipt::totalCents() const
{
    qint64 total = 0;
    for (const ShopBooking &booking : bookings)
        total += booking.amountCents;
    return total;
}

qint64 ShopReceipt::taxCents() const
{
    qint64 tax = 0;
    for (const ShopBooking &booking : bookings)
        tax += booking.taxCents();
    return tax;
}

QList<QByteArray> ShopReceipt::lines(char registerNumber, const QDate &date) const
{
    const auto numbered = [&](int lineNumber) {
        ShopLine line;
        line.registerNumber = registerNumber;
        line.lineNumber = lineNumber;
        line.date = date;
        line.time = time;
        line.receiptNumber = receiptNumber;
        line.operatorNumber = operatorNumber;
        line.customer = customer;
        return line;
    };
    QList<QByteArray> lines;
    for (const ShopBooking &booking : bookings) {
        ShopLine line = numbered(firstLine + lines.size());
        setBooking(line, booking, takeAway);
        lines.append(line.bytes());
    }
    ShopLine payment = numbered(firstLine + lines.size());
    payment.bookingType = QByteArrayLiteral("Zahlung");
    payment.functionType = QByteArrayLiteral("Finanzweg");
    payment.functionNumber = int(way);
    payment.functionName = paymentWayName(way);
    payment.amountCents = totalCents();
    payment.taxCents = taxCents();
    lines.append(payment.bytes());
    return lines;
}

} // namespace fiscora::sample
