#include "columncheck.h"

#include <QDate>
#include <QTextCodec>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace fiscora::app {

namespace {

// How a date pattern marks the digits of its parts; XML text never holds these bytes.
enum DatePart : char { Day = 1, Month = 2, Year = 3 };

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool allDigits(const char *begin, const char *end)
{
    for (; begin != end; ++begin) {
        if (!isDigit(*begin))
            return false;
    }
    return true;
}

const char *skipDigits(const char *begin, const char *end)
{
    while (begin != end && isDigit(*begin))
        ++begin;
    return begin;
}

bool startsWith(const char *begin, const char *end, const QByteArray &prefix)
{
    return end - begin >= prefix.size() && std::memcmp(begin, prefix.constData(), size_t(prefix.size())) == 0;
}

} // namespace

ColumnCheck::ColumnCheck(const TableFormat &table, int column, const QTextCodec *codec)
    : m_column(table.columns.at(column))
    , m_codec(codec)
    , m_decimalSymbol(codec->fromUnicode(table.decimalSymbol))
    , m_digitGroupingSymbol(codec->fromUnicode(table.digitGroupingSymbol))
    , m_epoch(table.epoch)
{
    if (m_column.kind != TableFormat::Column::Kind::Date)
        return;
    static const struct
    {
        QByteArray token;
        DatePart part;
    } tokens[] = {{"YYYY", Year}, {"YY", Year}, {"DD", Day}, {"MM", Month}};
    int seen[Year + 1] = {};
    const QByteArray format = codec->fromUnicode(m_column.dateFormat);
    for (const char *at = format.constBegin(); at != format.constEnd();) {
        const auto *token = std::find_if(std::begin(tokens), std::end(tokens),
                                         [&](const auto &t) { return startsWith(at, format.constEnd(), t.token); });
        if (token == std::end(tokens)) {
            m_datePattern += *at++;
            continue;
        }
        m_datePattern += QByteArray(token->token.size(), token->part);
        if (token->part == Year)
            m_yearDigits = token->token.size();
        ++seen[token->part];
        at += token->token.size();
    }
    m_supported = seen[Day] == 1 && seen[Month] == 1 && seen[Year] == 1;
}

bool ColumnCheck::isSupported() const
{
    return m_supported;
}

ColumnCheck::Fault ColumnCheck::check(const char *begin, const char *end) const
{
    if (begin == end)
        return Fault::None;
    switch (m_column.kind) {
    case TableFormat::Column::Kind::Numeric:
        return isNumber(begin, end) ? Fault::None : Fault::NotANumber;
    case TableFormat::Column::Kind::Date:
        return checkDate(begin, end);
    case TableFormat::Column::Kind::AlphaNumeric:
        break;
    }
    return Fault::None;
}

QString ColumnCheck::describe(Fault fault, const QByteArray &value) const
{
    const QString text = m_codec->toUnicode(value);
    switch (fault) {
    case Fault::NotANumber:
        if (m_column.accuracyImplied)
            return tr("\"%1\" is not a number in digits only.").arg(text);
        if (m_column.accuracy == 0)
            return tr("\"%1\" is not a whole number.").arg(text);
        if (m_column.accuracy == 1)
            return tr("\"%1\" is not a number with one decimal.").arg(text);
        return tr("\"%1\" is not a number with %2 decimals.").arg(text, QString::number(m_column.accuracy));
    case Fault::NotInDateFormat:
        return tr("\"%1\" is not a date in the form %2.").arg(text, m_column.dateFormat);
    case Fault::NoSuchDay:
        return tr("\"%1\" is not a day of the calendar.").arg(text);
    case Fault::None:
        break;
    }
    return QString();
}

bool ColumnCheck::isNumber(const char *begin, const char *end) const
{
    if (*begin == '-')
        ++begin;
    if (m_column.accuracyImplied)
        return begin != end && allDigits(begin, end);
    if (m_column.accuracy == 0)
        return isInteger(begin, end);
    if (end - begin < qint64(m_decimalSymbol.size()) + m_column.accuracy)
        return false;
    const char *const decimals = end - m_column.accuracy;
    const char *const symbol = decimals - m_decimalSymbol.size();
    return startsWith(symbol, decimals, m_decimalSymbol) && allDigits(decimals, end) && isInteger(begin, symbol);
}

// Digits, either all together or in groups of three after the first: 1234567 or 1.234.567.
bool ColumnCheck::isInteger(const char *begin, const char *end) const
{
    const char *at = skipDigits(begin, end);
    if (at == begin)
        return false;
    if (at == end)
        return true;
    if (at - begin > 3 || m_digitGroupingSymbol.isEmpty())
        return false;
    while (at != end) {
        if (!startsWith(at, end, m_digitGroupingSymbol))
            return false;
        at += m_digitGroupingSymbol.size();
        const char *const group = at;
        at = skipDigits(group, qMin(end, group + 3));
        if (at - group != 3)
            return false;
    }
    return true;
}

ColumnCheck::Fault ColumnCheck::checkDate(const char *begin, const char *end) const
{
    if (end - begin != m_datePattern.size())
        return Fault::NotInDateFormat;
    int parts[Year + 1] = {};
    for (int i = 0; i < m_datePattern.size(); ++i) {
        const char expected = m_datePattern.at(i);
        const char c = begin[i];
        if (expected != Day && expected != Month && expected != Year) {
            if (c != expected)
                return Fault::NotInDateFormat;
        } else if (isDigit(c)) {
            parts[int(expected)] = parts[int(expected)] * 10 + (c - '0');
        } else {
            return Fault::NotInDateFormat;
        }
    }
    int year = parts[Year];
    if (m_yearDigits == 2)
        year += year < m_epoch ? 2000 : 1900;
    return QDate(year, parts[Month], parts[Day]).isValid() ? Fault::None : Fault::NoSuchDay;
}

} // namespace fiscora::app
