#include "checkwords.h"

#include <QLocale>
#include <QTime>

namespace fiscora::app {

QString CheckWords::money(qint64 cents)
{
    const QLocale locale;
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    const QString sign = cents < 0 ? QString(locale.negativeSign()) : QString();
    const QString hundredths = locale.toString(magnitude % 100).rightJustified(2, locale.zeroDigit());
    return tr("%1 €").arg(sign + locale.toString(magnitude / 100) + locale.decimalPoint() + hundredths);
}

QString CheckWords::decimal(double value, int places)
{
    return QLocale().toString(value, 'f', places);
}

QString CheckWords::share(double share)
{
    return tr("%1 %").arg(QLocale().toString(share * 100, 'f', 1));
}

QString CheckWords::count(qint64 count)
{
    return QLocale().toString(count);
}

QString CheckWords::day(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString CheckWords::month(const QDate &date)
{
    return date.toString(QStringLiteral("MM/yyyy"));
}

QString CheckWords::months(const QDate &first, const QDate &last)
{
    if (month(first) == month(last))
        return month(first);
    return tr("%1 to %2").arg(month(first), month(last));
}

QString CheckWords::time(int seconds)
{
    return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss"));
}

QString CheckWords::weekday(int dayOfWeek)
{
    return QLocale().dayName(dayOfWeek, QLocale::LongFormat);
}

} // namespace fiscora::app
