#include "cardlisting.h"

#include "backuprun_p.h"
#include "cardlayout_p.h"
#include "jobreport_p.h"

#include <QSet>

namespace fiscora {

namespace {

// A listing reports nothing as it goes; it keeps the failure a read would report.
class ListingReport : public BackupReport
{
public:
    void fail(const QString &error, const QString &hint) override
    {
        m_error = error;
        m_hint = hint;
    }
    void message(const QString &, bool, int) override {}
    void progressStarted(int) override {}
    void progress(int) override {}
    void backupWritten(const QString &) override {}

    QString m_error;
    QString m_hint;
};

// What the read of a data file needs first: a regular file that opens.
bool opens(const QFileInfo &dataFile)
{
    QFile file(dataFile.absoluteFilePath());
    return dataFile.isFile() && file.open(QIODevice::ReadOnly);
}

CardListing::Register listRegister(const QString &folder, const QDate &fromDate, const QDate &toDate,
                                   const QString &targetPath, QSet<QString> &names)
{
    CardListing::Register listed;
    listed.folder = folder;
    listed.serialNumber = CardLayout::serialNumber(folder, true);
    listed.backupFileName = CardLayout::backupFileName(folder, fromDate, toDate);
    ListingReport report;
    const std::atomic_bool noStop{false};
    BackupRun run(report, noStop, folder, targetPath, fromDate, toDate);
    if (!run.select(names)) {
        listed.error = report.m_error;
        listed.hint = report.m_hint;
        return listed;
    }
    names.insert(run.backupPath());
    QList<QFileInfo> filesRead;
    for (const QFileInfo &dataFile : run.dataFiles()) {
        const QDate month = CardLayout::dataFileMonth(dataFile);
        listed.dataFiles.insert(month, dataFile.absoluteFilePath());
        if (opens(dataFile))
            filesRead.append(dataFile);
        else
            listed.unreadableMonths.append(month);
    }
    listed.index = run.checkIndex(filesRead, &listed.indexRead);
    return listed;
}

} // namespace

bool CardListing::Register::announces(const QDate &month) const
{
    switch (index.getIndexMap().value(month, IndexFileAnalyser::INDEX_OK)) {
    case IndexFileAnalyser::INDEX_OK:
        return dataFiles.contains(month) && !unreadableMonths.contains(month);
    case IndexFileAnalyser::INDEX_ERROR_FILE_MISSING:
        return true;
    default:
        return false;
    }
}

QList<CardListing::Register> CardListing::list(const QString &startPath, const QDate &fromDate, const QDate &toDate,
                                               const QString &targetPath)
{
    QList<Register> registers;
    QSet<QString> names;
    for (const QString &folder : CardLayout::serialNumberFolders(startPath))
        registers.append(listRegister(folder, fromDate, toDate, targetPath, names));
    return registers;
}

QString CardListing::reportLabel(const QDate &fromDate, const QDate &toDate)
{
    return CardLayout::reportLabel(fromDate, toDate);
}

} // namespace fiscora
