#include "cardsearch.h"

#include "cardlayout_p.h"
#include "reporter.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace fiscora::app {

namespace {

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

bool isWithin(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// The chosen folder itself, a folder inside it, or the register a chosen year folder lies in.
bool belongsTo(const QString &folder, const QString &startPath)
{
    const QString found = canonical(folder);
    const QString start = canonical(startPath);
    return isWithin(found, start) || isWithin(start, found);
}

} // namespace

CardSearch::CardSearch(const QString &startPath, const QDate &fromDate, const QDate &toDate, const QString &targetPath)
{
    const QList<CardListing::Register> found = CardListing::list(startPath, fromDate, toDate, targetPath);
    m_discoveredNone = found.isEmpty();
    const bool startTakenForRegister = found.size() == 1 && canonical(found.constFirst().folder) == canonical(startPath);
    if (!startTakenForRegister || !holdsNothing(startPath)) {
        take(found, startPath);
        return;
    }
    // A subfolder without subfolders leads the library back to the start, which is no register.
    m_seen.insert(canonical(startPath));
    const QFileInfoList subfolders = QDir(startPath).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &subfolder : subfolders)
        take(CardListing::list(subfolder.filePath(), fromDate, toDate, targetPath), startPath);
}

void CardSearch::take(const QList<CardListing::Register> &found, const QString &startPath)
{
    for (const CardListing::Register &cashRegister : found) {
        const QString folder = canonical(cashRegister.folder);
        if (m_seen.contains(folder) || !belongsTo(cashRegister.folder, startPath))
            continue;
        m_seen.insert(folder);
        if (holdsNothing(cashRegister.folder))
            m_passedOver << cashRegister.folder;
        else
            m_registers << cashRegister;
    }
}

// The library would also take the data files of a register folder further down for the folder's
// own; that is how a folder holding a copy of a card became a register named after the folder.
bool CardSearch::holdsNothing(const QString &folder)
{
    if (QFileInfo::exists(CardLayout::indexFilePath(folder)))
        return false;
    const QList<QFileInfo> years = CardLayout::yearFolders(folder, {}, {});
    return std::all_of(years.cbegin(), years.cend(), [](const QFileInfo &year) {
        return CardLayout::monthlyFiles(year.absoluteFilePath(), {}, {}).isEmpty();
    });
}

void CardSearch::reportPassedOver(Reporter &reporter) const
{
    if (m_passedOver.isEmpty())
        return;
    QStringList names;
    for (const QString &folder : m_passedOver)
        names << QDir::toNativeSeparators(folder);
    reporter.message(tr("Passed over, as they hold neither an index file nor a data file: %1")
                             .arg(names.join(QLatin1String(", "))),
                     false, 0);
}

void CardSearch::reportNoRegister(Reporter &reporter, const QString &startPath)
{
    reporter.error(tr("%1 leads to no register: it holds no serial-number folder.").arg(startPath),
                   tr("Choose the card, its maker folder or a register's folder."));
}

} // namespace fiscora::app
