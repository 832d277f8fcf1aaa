// An export put in its place: whole or not at all over an earlier one, whatever fails on the way,
// one job at a time, and with what killed jobs left removed. Each test runs in a temporary folder
// of its own, with paths relative to it.

#include "command.h"
#include "decryptortest.h"
#include "faultinjection.h"
#include "filelock_p.h"
#include "fixtures.h"
#include "jobrunner.h"
#include "reporter.h"
#include "stagedexport.h"

#include <QDirIterator>
#include <QtTest>

#include <memory>

using namespace fiscora::app;

namespace {

const QString Place = QStringLiteral("out/CR#12345678/202003");
const QByteArray PlaceSuffix = "out/CR#12345678/202003";

// What a user keeps in an export folder beside the export's own files.
const QMap<QString, QByteArray> Kept = {{QStringLiteral("Bericht.txt"), "signed"}, {QStringLiteral("Notizen.txt"), "mine"}};

class ErrorLog : public Reporter
{
public:
    QStringList errors;

    void progressStarted(int, int) override {}
    void progress(int) override {}
    void message(const QString &, bool, int) override {}
    void error(const QString &error, const QString &hint) override { errors << error + QStringLiteral(" | ") + hint; }
    void finished(const QString &) override {}
    void fileSaved(const QString &) override {}
    void interrupted() override {}
    void backupInfo(const BackupInfo &, const PeriodFindings &) override {}
    void cardListing(const QString &, const QList<fiscora::CardListing::Register> &) override {}
    void verification(const Verification &) override {}
    void done(int) override {}
};

Command exportCommand()
{
    Command command;
    command.kind = Command::Export;
    command.source = decryptortest::Source;
    command.target = QStringLiteral("out");
    command.gdpduExport = true;
    command.overwrite = true;
    return command;
}

// Every file below root, hidden ones included, with its bytes.
QMap<QString, QByteArray> contents(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(root.size() + 1), fileBytes(path));
    }
    return files;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

enum class Fault { None, NoExchange, DescriptionFails, KeptFileStays, ExchangeFails, AsideFails, NewCannotMove,
                   EarlierCannotComeBack };

void arm(Fault fault)
{
    using namespace faultinjection;
    switch (fault) {
    case Fault::None: break;
    case Fault::NoExchange: failOn(Exchange, PlaceSuffix, EINVAL); break;
    case Fault::DescriptionFails: fillDiskAfter(0, "/index.xml.*.~tmp"); break;
    case Fault::KeptFileStays: failOn(Rename, "/Notizen.txt", EIO, 1); break;
    case Fault::ExchangeFails: failOn(Exchange, PlaceSuffix); break;
    case Fault::AsideFails: failOn(Exchange, PlaceSuffix, EINVAL); failOn(Rename, "/earlier"); break;
    case Fault::NewCannotMove: failOn(Exchange, PlaceSuffix, EINVAL); failOn(Rename, PlaceSuffix, EIO, 1); break;
    case Fault::EarlierCannotComeBack: failOn(Exchange, PlaceSuffix, EINVAL); failOn(Rename, PlaceSuffix); break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class StagedExportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void placing_data();
    void placing();
    void earlierKeptWhereItIs();
    void abandonedStaging();
    void oneJobAPlace();

private:
    bool exportOnce(ErrorLog &log);

    QScopedPointer<QTemporaryDir> m_dir;
    QMap<QString, QByteArray> m_earlier;
    QMap<QString, QByteArray> m_new;
};

void StagedExportTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid() && QDir::setCurrent(m_dir->path()));
    QVERIFY_DONE(writeFile(decryptortest::Source, decryptortest::backup(decryptortest::encryptedLines(1, 3))));
    // The new export's files, as an export into a folder of their own makes them.
    ErrorLog log;
    Command command = exportCommand();
    command.target = QStringLiteral("new");
    JobRunner runner(log);
    StagedExport staged(log, runner, command);
    QVERIFY_DONE(makeFolder(command.target));
    QVERIFY2(staged.mayPlace() && staged.run() && staged.place(), qPrintable(log.errors.join('\n')));
    m_new = contents(QStringLiteral("new/CR#12345678/202003"));
    QCOMPARE(m_new.keys().join(" "), QStringLiteral("gdpdu-01-09-2004.dtd gobd.csv index.xml"));
    m_earlier = Kept;
    for (const QString &name : m_new.keys())
        m_earlier.insert(name, "earlier " + name.toUtf8());
    for (auto file = m_earlier.cbegin(); file != m_earlier.cend(); ++file)
        QVERIFY_DONE(writeFile(Place + '/' + file.key(), file.value()));
}

void StagedExportTest::cleanup()
{
    faultinjection::reset();
}

bool StagedExportTest::exportOnce(ErrorLog &log)
{
    const Command command = exportCommand();
    JobRunner runner(log);
    StagedExport staged(log, runner, command);
    return staged.mayPlace() && staged.run() && staged.place();
}

void StagedExportTest::placing_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("error");
    const QString cannotPlace = QStringLiteral("Cannot put the export in its place out/CR#12345678/202003: Input/output "
                                               "error | Check that no program holds the export open, and your write "
                                               "permission.");
    QTest::newRow("in one step") << Fault::None << QString();
    QTest::newRow("without exchange on the file system: moved aside") << Fault::NoExchange << QString();
    QTest::newRow("description cannot be written")
            << Fault::DescriptionFails
            << "XML file couldn´t create successful! | Check your write permission for the saving location.\n"
               "The export of Backup_CR#12345678_202003.enc was not kept: its description files could not be "
               "written. | Check the free space and your write permission for the target folder.";
    QTest::newRow("a kept file cannot move") << Fault::KeptFileStays << cannotPlace;
    QTest::newRow("the exchange fails") << Fault::ExchangeFails << cannotPlace;
    QTest::newRow("without exchange, the earlier cannot move aside") << Fault::AsideFails
                                                                  << cannotPlace;
    QTest::newRow("without exchange, the new one cannot take the place") << Fault::NewCannotMove
                                                                         << cannotPlace;
}

// Over an earlier export, the new one takes the place with the files the user kept there, or the
// earlier one stays exactly as it was; no staging folder or lock is left either way.
void StagedExportTest::placing()
{
    QFETCH(Fault, fault);
    QFETCH(QString, error);
    const QStringList before = tree(Place);
    if (fault == Fault::DescriptionFails)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("index.xml couldn´t write: No space left on device$"));
    arm(fault);
    ErrorLog log;
    const bool placed = exportOnce(log);
    faultinjection::reset();
    QCOMPARE(log.errors.join('\n'), error);
    QCOMPARE(placed, error.isEmpty());
    if (placed) {
        QMap<QString, QByteArray> expected = m_new;
        expected.insert(Kept);
        QCOMPARE(contents(Place), expected);
    } else {
        QCOMPARE(tree(Place), before);
        QCOMPARE(contents(Place), m_earlier);
    }
    QCOMPARE(entries(QStringLiteral("out")), QStringList("CR#12345678"));
}

// Where even the earlier export cannot come back, it is kept where it is, and said.
void StagedExportTest::earlierKeptWhereItIs()
{
    arm(Fault::EarlierCannotComeBack);
    ErrorLog log;
    QVERIFY(!exportOnce(log));
    faultinjection::reset();
    const QStringList staging = QDir(QStringLiteral("out")).entryList({".fiscora-*"}, QDir::Dirs | QDir::Hidden);
    QCOMPARE(staging.size(), 1);
    const QString earlier = m_dir->filePath("out/" + staging.constFirst() + "/earlier");
    QCOMPARE(log.errors, QStringList("Cannot put the export in its place out/CR#12345678/202003: Input/output error "
                                     "The earlier export is now in " + earlier + ". | Check that no program holds the "
                                     "export open, and your write permission."));
    QCOMPARE(contents(earlier), m_earlier);
    QVERIFY(!QFileInfo::exists(Place));
}

// A staging folder whose job is no more goes with the next export into the target, one that a job
// is working in stays, and so do the lock files of live jobs.
void StagedExportTest::abandonedStaging()
{
    QVERIFY_DONE(writeFile(QStringLiteral("out/.fiscora-dead01/CR#12345678/202003/gobd.csv"), "cut short"));
    QVERIFY_DONE(writeFile(QStringLiteral("out/.fiscora-live01/CR#12345678/202003/gobd.csv"), "being written"));
    QVERIFY_DONE(writeFile(QStringLiteral("out/.other.~lock"), QByteArray()));
    fiscora::FileLock live(QStringLiteral("out/.fiscora-live01"));
    fiscora::FileLock liveLock(QStringLiteral("out/.other.~lock"));
    QVERIFY(live.tryLockExisting() && liveLock.tryLockExisting());
    ErrorLog log;
    QVERIFY(exportOnce(log));
    QCOMPARE(entries(QStringLiteral("out")), QStringList({".fiscora-live01", ".other.~lock", "CR#12345678"}));
    QCOMPARE(fileBytes(QStringLiteral("out/.fiscora-live01/CR#12345678/202003/gobd.csv")), "being written");
}

// A second export to a place waits for none: it refuses while the first holds the place, and
// may go once the first is done.
void StagedExportTest::oneJobAPlace()
{
    ErrorLog log;
    JobRunner runner(log);
    const Command command = exportCommand();
    auto first = std::make_unique<StagedExport>(log, runner, command);
    QVERIFY(first->mayPlace());
    StagedExport second(log, runner, command);
    QVERIFY(!second.mayPlace());
    QCOMPARE(log.errors, QStringList("The export out/CR#12345678/202003 is being written by another job. | Wait "
                                     "until the other job has finished, or export into another target folder."));
    QVERIFY(first->run() && first->place());
    first.reset();
    QVERIFY(exportOnce(log));
    QCOMPARE(log.errors.size(), 1);
}

QTEST_GUILESS_MAIN(StagedExportTest)
#include "tst_stagedexport.moc"
