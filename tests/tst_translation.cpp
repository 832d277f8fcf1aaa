// The German catalogue: complete, true to the placeholders of the texts, and up to date with
// the texts in the sources.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

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

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translatesEveryText();
};

// lupdate brings a copy of the catalogue up to date with the sources: a text added to them comes
// back unfinished, a text gone from them vanished, so neither reaches a user unnoticed.
void TranslationTest::translatesEveryText()
{
    QTemporaryDir dir;
    const QString catalogue = dir.filePath(QStringLiteral("fiscora_de.ts"));
    QVERIFY(QFile::copy(QStringLiteral(FISCORA_CATALOGUE), catalogue));
    QProcess lupdate;
    lupdate.start(QStringLiteral(FISCORA_LUPDATE), {"-locations", "none", FISCORA_SOURCE_DIR "/src",
                                                    FISCORA_SOURCE_DIR "/appcore", FISCORA_SOURCE_DIR "/app",
                                                    FISCORA_SOURCE_DIR "/desktop", "-ts", catalogue});
    QVERIFY(lupdate.waitForFinished(5 * 60 * 1000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

    QFile file(catalogue);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    int count = 0;
    QStringList faults;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString translation = xml.readElementText();
            ++count;
            if (!type.isEmpty() || translation.isEmpty() || markers(translation) != markers(source))
                faults << QString("%1: %2 -> %3").arg(context, source, type.isEmpty() ? translation : type);
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(count > 100);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TranslationTest)
#include "tst_translation.moc"
