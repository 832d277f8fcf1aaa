#include "fixtures.h"

#include <fiscora/fiscora.h>
#include <fiscora/indexfileanalyser.h>

#include <QtTest>

class LibraryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void version();
    void resources_data();
    void resources();
    void analyserMetaType();
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

// A queued connection of the cypher's signals looks the analyser's type up by its name, which is
// known once the library is loaded.
void LibraryTest::analyserMetaType()
{
    const int id = QMetaType::type("fiscora::IndexFileAnalyser");
    QCOMPARE(id, qMetaTypeId<fiscora::IndexFileAnalyser>());
    QCOMPARE(QVariant::fromValue(fiscora::IndexFileAnalyser()).userType(), id);
}

QTEST_GUILESS_MAIN(LibraryTest)
#include "tst_library.moc"
