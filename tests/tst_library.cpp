#include "fixtures.h"

#include <fiscora/fiscora.h>

#include <QCryptographicHash>
#include <QtTest>

namespace {

QStringList capturedLines;

// Category, type, whether the line knows where it was written, and its first word.
void captureHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool located = context.file && context.line > 0 && context.function;
    capturedLines << QStringLiteral("%1 %2 %3 %4").arg(QLatin1String(context.category)).arg(type).arg(located)
                         .arg(message.section(QLatin1Char(' '), 0, 0));
}

} // namespace

class LibraryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void version();
    void resources_data();
    void resources();
    void resourceRootHoldsOnlyTheTwoFiles();
    void dtdChecksum();
    void logLinesCarryCategoryAndContext();
};

void LibraryTest::version()
{
    const char *first = getFiscoraLibVersion();
    QCOMPARE(first, "1.3.0");
    QCOMPARE(static_cast<const void *>(getFiscoraLibVersion()), static_cast<const void *>(first));
}

void LibraryTest::resources_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("original");
    QTest::addColumn<int>("size");
    QTest::newRow("index.xml") << QStringLiteral(":/index.xml") << QStringLiteral(FISCORA_INDEX_XML) << 3554;
    QTest::newRow("DTD") << QStringLiteral(":/gdpdu-01-09-2004.dtd") << QStringLiteral(FISCORA_GDPDU_DTD) << 8868;
}

void LibraryTest::resources()
{
    QFETCH(QString, resource);
    QFETCH(QString, original);
    QFETCH(int, size);
    const QByteArray bytes = fileBytes(resource);
    QCOMPARE(bytes.size(), size);
    QCOMPARE(bytes, fileBytes(original));
}

void LibraryTest::resourceRootHoldsOnlyTheTwoFiles()
{
    QCOMPARE(QDir(QStringLiteral(":/")).entryList(QDir::Files, QDir::Name),
             QStringList({QStringLiteral("gdpdu-01-09-2004.dtd"), QStringLiteral("index.xml")}));
}

void LibraryTest::dtdChecksum()
{
    const QByteArray sums = fileBytes(QStringLiteral(FISCORA_SHARED_DIR "/resources/SHA256SUMS"));
    const QByteArray digest = QCryptographicHash::hash(fileBytes(QStringLiteral(":/gdpdu-01-09-2004.dtd")),
                                                       QCryptographicHash::Sha256).toHex();
    QVERIFY(sums.contains(digest + "  gdpdu-01-09-2004.dtd"));
}

// Writing a header logs one line a month.
void LibraryTest::logLinesCarryCategoryAndContext()
{
    fiscora::IndexFileAnalyser analyser;
    QVERIFY(analyser.readCompressIndex(backupHeader("12345678", QByteArray::fromHex("0301"), QByteArray(16, '\0'))));
    const QtMessageHandler previous = qInstallMessageHandler(captureHandler);
    analyser.getCompessIndex();
    qInstallMessageHandler(previous);
    const QString line = QStringLiteral("indexfileanalyser 0 1 Date:");
    QCOMPARE(capturedLines, QStringList({line, line, line}));
}

QTEST_GUILESS_MAIN(LibraryTest)
#include "tst_library.moc"
