#include <fiscora/fiscora.h>
#include <fiscora/indexfileanalyser.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLibrary>
#include <QLoggingCategory>
#include <QtTest>

namespace {

struct LogLine {
    QString category;
    QtMsgType type;
    QString message;
    bool hasContext;
};

QList<LogLine> capturedLines;

void captureHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    capturedLines.append({QString::fromLatin1(context.category), type, message,
                          context.file && context.line > 0 && context.function});
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

// An analyser whose header holds a month map, so that writing its header logs one line a month.
fiscora::IndexFileAnalyser analyserWithThreeMonths()
{
    fiscora::IndexFileAnalyser analyser;
    QByteArray header = analyser.getCompessIndex() + QByteArray::fromHex("0301");
    header[1] = static_cast<char>(header.size() - 2);
    analyser.readCompressIndex(header);
    return analyser;
}

} // namespace

class LibraryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void version();
    void versionByPlainSymbolName();
    void resources_data();
    void resources();
    void resourceRootHoldsOnlyTheTwoFiles();
    void dtdChecksum();
    void logLinesCarryCategoryAndContext();
    void loggingRulesSwitchOffALevel();
};

void LibraryTest::version()
{
    const char *first = getFiscoraLibVersion();
    QCOMPARE(first, "1.3.0");
    QCOMPARE(static_cast<const void *>(getFiscoraLibVersion()), static_cast<const void *>(first));
}

void LibraryTest::versionByPlainSymbolName()
{
    QLibrary library(QStringLiteral(FISCORA_LIBRARY_FILE));
    using VersionFunction = const char *(*)();
    const auto function = reinterpret_cast<VersionFunction>(library.resolve("getFiscoraLibVersion"));
    QVERIFY2(function, qPrintable(library.errorString()));
    QCOMPARE(function(), "1.3.0");
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
    QVERIFY(QFile::exists(resource));
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

void LibraryTest::logLinesCarryCategoryAndContext()
{
    capturedLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureHandler);
    analyserWithThreeMonths().getCompessIndex();
    qInstallMessageHandler(previous);

    QCOMPARE(capturedLines.size(), 3);
    for (const LogLine &line : qAsConst(capturedLines)) {
        QCOMPARE(line.category, QStringLiteral("indexfileanalyser"));
        QCOMPARE(line.type, QtDebugMsg);
        QVERIFY2(line.message.startsWith(QLatin1String("Date: ")), qPrintable(line.message));
        QVERIFY(line.hasContext);
    }
}

void LibraryTest::loggingRulesSwitchOffALevel()
{
    capturedLines.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("indexfileanalyser.debug=false"));
    const QtMessageHandler previous = qInstallMessageHandler(captureHandler);
    analyserWithThreeMonths().getCompessIndex();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QVERIFY(capturedLines.isEmpty());
}

QTEST_GUILESS_MAIN(LibraryTest)
#include "tst_library.moc"
