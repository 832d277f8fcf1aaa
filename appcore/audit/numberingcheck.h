#ifndef FISCORA_APP_NUMBERINGCHECK_H
#define FISCORA_APP_NUMBERINGCHECK_H

#include "checkfinding.h"

#include <QCoreApplication>
#include <QList>

namespace fiscora::app {

class JournalFacts;
struct Numbering;
struct RowPlace;

/*!
 * The auditors' first look: whether the Zeilennummer and the Bonnummer run on without gaps,
 * repeats or steps back, and whether damaged rows may explain what is missing.
 *
 * \code
 * const QList<CheckFinding> findings = NumberingCheck(facts).findings();
 * \endcode
 */
class NumberingCheck
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::NumberingCheck)

public:
    //! Gaps and repeats said one by one; the others are counted.
    static constexpr int PlacesSaid = 20;

    explicit NumberingCheck(const JournalFacts &facts);

    QList<CheckFinding> findings() const;

private:
    CheckFinding lineNumbers() const;
    CheckFinding receiptNumbers() const;
    CheckFinding damagedRows() const;
    QStringList gapLines(const QString &column, const Numbering &numbering, qint64 *missing, int *gaps) const;
    QStringList repeatLines(const QString &column, const Numbering &numbering) const;
    bool damageBetween(const RowPlace &before, const RowPlace &after) const;
    static QString where(const RowPlace &place);

    const JournalFacts &m_facts;
};

} // namespace fiscora::app

#endif // FISCORA_APP_NUMBERINGCHECK_H
