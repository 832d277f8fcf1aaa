#ifndef FISCORA_APP_FIGURESCHECK_H
#define FISCORA_APP_FIGURESCHECK_H

#include "handoverfigures.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <atomic>

namespace fiscora::app {

class JournalFacts;
struct PeriodSums;

/*!
 * The figures of a hand-over (HandoverFigures, protokoll.json) against the export folder they
 * lie in: the period against that of the folder's name, the rows and sums of Betrag and Steuer
 * of the table and of each month against those the journal's facts recompute from the table,
 * and the SHA-256 value of each file against the file, every file of the folder being named.
 *
 * \code
 * JournalFacts facts(TableLayout::ofExports(), firstMonth, lastMonth);
 * facts.addFile(folder + "/gobd.csv");
 * for (const QString &finding : FiguresCheck(folder, facts).findings(&stop))
 *     report(finding);
 * \endcode
 */
class FiguresCheck
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::FiguresCheck)

public:
    //! \a facts are those of the table gobd.csv in \a folder, for the period of the folder's name.
    FiguresCheck(const QString &folder, const JournalFacts &facts);

    //! What the figures show wrong, each finding one sentence; nothing when everything agrees.
    //! Hashing the files gives up once \a stop is set.
    QStringList findings(const std::atomic_bool *stop = nullptr);

private:
    void comparePeriod(const HandoverFigures &figures);
    void compareSums(const QString &scope, const HandoverFigures::Sums &stated, const PeriodSums &found);
    void compareFiles(const HandoverFigures &figures, const std::atomic_bool *stop);

    const QString m_folder;
    const JournalFacts &m_facts;
    QStringList m_findings;
};

} // namespace fiscora::app

#endif // FISCORA_APP_FIGURESCHECK_H
