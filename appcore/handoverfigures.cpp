#include "handoverfigures.h"

#include "handoverprotocol.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace fiscora::app {

namespace {

const QString MonthFormat = QStringLiteral("yyyy-MM");

QJsonObject sumsObject(const HandoverFigures::Sums &sums)
{
    return {{QStringLiteral("rows"), sums.rows},
            {QStringLiteral("betrag"), HandoverFigures::amount(sums.betragCents)},
            {QStringLiteral("steuer"), HandoverFigures::amount(sums.steuerCents)}};
}

// Reads the values of a document, remembering the first that is missing or not of its kind.
class Reader
{
public:
    QString text(const QJsonObject &object, const QString &key)
    {
        const QJsonValue value = object.value(key);
        check(value.isString(), key);
        return value.toString();
    }

    QJsonObject object(const QJsonObject &object, const QString &key)
    {
        const QJsonValue value = object.value(key);
        check(value.isObject(), key);
        return value.toObject();
    }

    QJsonArray array(const QJsonObject &object, const QString &key)
    {
        const QJsonValue value = object.value(key);
        check(value.isArray(), key);
        return value.toArray();
    }

    QDate month(const QJsonObject &object, const QString &key)
    {
        const QDate date = QDate::fromString(text(object, key), MonthFormat);
        check(date.isValid(), key);
        return date;
    }

    QByteArray hex(const QJsonObject &object, const QString &key, int bytes)
    {
        const QString digits = text(object, key);
        check(QRegularExpression(QStringLiteral("^[0-9a-f]{%1}$").arg(2 * bytes)).match(digits).hasMatch(), key);
        return digits.toLatin1();
    }

    // A JSON number is a double: a count of rows is whole and far below 2^53.
    qint64 count(const QJsonObject &object, const QString &key)
    {
        const double value = object.value(key).toDouble(-1);
        check(value >= 0 && value < 9007199254740992.0 && value == qint64(value), key);
        return qint64(value);
    }

    qint64 cents(const QJsonObject &object, const QString &key)
    {
        static const QRegularExpression euros(QStringLiteral("^-?\\d+\\.\\d\\d$"));
        const QString digits = text(object, key);
        bool ok = false;
        const qint64 cents = QString(digits).remove(QLatin1Char('.')).toLongLong(&ok);
        check(ok && euros.match(digits).hasMatch(), key);
        return cents;
    }

    HandoverFigures::Sums sums(const QJsonObject &object)
    {
        return {count(object, QStringLiteral("rows")), cents(object, QStringLiteral("betrag")),
                cents(object, QStringLiteral("steuer"))};
    }

    //! The first value that is missing or not of its kind, or nothing.
    QString faultyKey() const { return m_faultyKey; }

private:
    void check(bool valid, const QString &key)
    {
        if (!valid && m_faultyKey.isEmpty())
            m_faultyKey = key;
    }

    QString m_faultyKey;
};

} // namespace

HandoverFigures HandoverFigures::of(const HandoverFacts &facts)
{
    HandoverFigures figures;
    figures.serialNumber = facts.serialNumber;
    figures.firstMonth = facts.firstMonth;
    figures.lastMonth = facts.lastMonth;
    figures.backupName = QFileInfo(facts.backupFile).fileName();
    figures.backupMd5 = facts.computedMd5.toHex();
    figures.backupSha256 = facts.backupSha256;
    for (const MonthSummary &month : facts.months) {
        figures.months.insert(month.month, {month.records, month.betragCents, month.steuerCents});
        figures.total.rows += month.records;
        figures.total.betragCents += month.betragCents;
        figures.total.steuerCents += month.steuerCents;
    }
    figures.sha256 = facts.sha256;
    return figures;
}

QString HandoverFigures::fileName()
{
    return QStringLiteral("protokoll.json");
}

// Whole numbers of cents are written digit by digit, so that no amount is rounded on its way,
// the largest and the most negative ones included.
QString HandoverFigures::amount(qint64 cents)
{
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    return QStringLiteral("%1%2.%3")
            .arg(cents < 0 ? QStringLiteral("-") : QString())
            .arg(magnitude / 100)
            .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QByteArray HandoverFigures::toJson() const
{
    QJsonArray monthArray;
    for (auto month = months.cbegin(); month != months.cend(); ++month) {
        QJsonObject object = sumsObject(*month);
        object.insert(QStringLiteral("month"), month.key().toString(MonthFormat));
        monthArray.append(object);
    }
    QJsonObject files;
    for (auto file = sha256.cbegin(); file != sha256.cend(); ++file)
        files.insert(file.key(), QString::fromLatin1(*file));
    const QJsonObject document{
            {QStringLiteral("serialNumber"), serialNumber},
            {QStringLiteral("period"), QJsonObject{{QStringLiteral("first"), firstMonth.toString(MonthFormat)},
                                                   {QStringLiteral("last"), lastMonth.toString(MonthFormat)}}},
            {QStringLiteral("backup"), QJsonObject{{QStringLiteral("name"), backupName},
                                                   {QStringLiteral("md5"), QString::fromLatin1(backupMd5)},
                                                   {QStringLiteral("sha256"), QString::fromLatin1(backupSha256)}}},
            {QStringLiteral("months"), monthArray},
            {QStringLiteral("total"), sumsObject(total)},
            {QStringLiteral("files"), files},
    };
    return QJsonDocument(document).toJson();
}

std::optional<HandoverFigures> HandoverFigures::fromJson(const QByteArray &json, QString *why)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject()) {
        *why = error.error == QJsonParseError::NoError
                ? tr("it holds no JSON object")
                : tr("it is no JSON document: %1 at byte %2").arg(error.errorString()).arg(error.offset);
        return std::nullopt;
    }
    Reader reader;
    const QJsonObject root = document.object();
    HandoverFigures figures;
    figures.serialNumber = reader.text(root, QStringLiteral("serialNumber"));
    const QJsonObject period = reader.object(root, QStringLiteral("period"));
    figures.firstMonth = reader.month(period, QStringLiteral("first"));
    figures.lastMonth = reader.month(period, QStringLiteral("last"));
    const QJsonObject backup = reader.object(root, QStringLiteral("backup"));
    figures.backupName = reader.text(backup, QStringLiteral("name"));
    figures.backupMd5 = reader.hex(backup, QStringLiteral("md5"), 16);
    figures.backupSha256 = reader.hex(backup, QStringLiteral("sha256"), 32);
    for (const QJsonValue &month : reader.array(root, QStringLiteral("months"))) {
        const QJsonObject object = month.toObject();
        figures.months.insert(reader.month(object, QStringLiteral("month")), reader.sums(object));
    }
    figures.total = reader.sums(reader.object(root, QStringLiteral("total")));
    const QJsonObject files = reader.object(root, QStringLiteral("files"));
    for (auto file = files.constBegin(); file != files.constEnd(); ++file)
        figures.sha256.insert(file.key(), reader.hex(files, file.key(), 32));
    if (!reader.faultyKey().isEmpty()) {
        *why = tr("its value \"%1\" is missing or not what it should be").arg(reader.faultyKey());
        return std::nullopt;
    }
    return figures;
}

} // namespace fiscora::app
