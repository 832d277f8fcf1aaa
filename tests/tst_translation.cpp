// The German catalogue: complete, true to the placeholders of the texts, and up to date with
// the texts in the sources.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Message
{
    QString context;
    QString source;
    QString translation;
    bool finished = true;
};

QList<Message> readCatalogue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QList<Message> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.append({context, QString(), QString(), true});
        } else if (xml.name() == QLatin1String("source")) {
            messages.last().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            messages.last().finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            messages.last().translation = xml.readElementText();
        }
    }
    if (xml.hasError())
        qFatal("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return messages;
}

// What a translation must keep of its source text: the placeholders and the line breaks.
QStringList markers(const QString &text)
{
    QStringList markers;
    QRegularExpressionMatchIterator match = QRegularExpression(QStringLiteral("%\\d+|<br>")).globalMatch(text);
    while (match.hasNext())
        markers << match.next().captured();
    markers.sort();
    return markers;
}

QStringList keys(const QList<Message> &messages)
{
    QStringList keys;
    for (const Message &message : messages)
        keys << message.context + QLatin1String(": ") + message.source;
    keys.sort();
    return keys;
}

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translatesEveryText_data();
    void translatesEveryText();
    void coversEveryTextOfTheSources();
};

void TranslationTest::translatesEveryText_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<bool>("finished");

    const QList<Message> messages = readCatalogue(QStringLiteral(FISCORA_CATALOGUE));
    QVERIFY(messages.size() > 100);
    for (const Message &message : messages) {
        QTest::newRow(qPrintable(message.context + QLatin1String(": ") + message.source))
                << message.source << message.translation << message.finished;
    }
}

void TranslationTest::translatesEveryText()
{
    QFETCH(QString, source);
    QFETCH(QString, translation);
    QFETCH(bool, finished);

    QVERIFY(finished);
    QVERIFY(!translation.isEmpty());
    QCOMPARE(markers(translation), markers(source));
}

// A text added to the sources without a translation shows up here, not in front of a user.
void TranslationTest::coversEveryTextOfTheSources()
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh_de.ts"));
    QProcess lupdate;
    const QStringList arguments = {QStringLiteral("-locations"), QStringLiteral("none"),
                                   QStringLiteral(FISCORA_SOURCE_DIR "/src"), QStringLiteral(FISCORA_SOURCE_DIR "/app"),
                                   QStringLiteral("-ts"), fresh};
    lupdate.start(QStringLiteral(FISCORA_LUPDATE), arguments);
    QVERIFY(lupdate.waitForFinished(5 * 60 * 1000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());
    QCOMPARE(keys(readCatalogue(fresh)), keys(readCatalogue(QStringLiteral(FISCORA_CATALOGUE))));
}

QTEST_GUILESS_MAIN(TranslationTest)
#include "tst_translation.moc"
