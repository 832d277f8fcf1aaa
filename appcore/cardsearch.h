#ifndef FISCORA_APP_CARDSEARCH_H
#define FISCORA_APP_CARDSEARCH_H

#include <fiscora/cardlisting.h>

#include <QCoreApplication>
#include <QList>
#include <QSet>
#include <QStringList>

namespace fiscora::app {

class Reporter;

/*!
 * The registers a user's chosen folder holds, as the applications show and read them. The
 * library's discovery takes any folder of eight characters for a register and, from a folder
 * without subfolders, looks at its parent; a copy of a card in "SD-Karte" or a sibling of the
 * chosen folder would so be listed as a register. The search keeps the library's rules and
 * then looks into an eight-character start folder that holds nothing of a register as into
 * any other folder, passes over the folders that hold nothing of a register, and leaves out
 * every folder outside the chosen one (the register around a chosen year folder is kept).
 *
 * \code
 * const CardSearch search(cardPath, from, to, target);
 * search.reportPassedOver(reporter);
 * if (search.registers().isEmpty())
 *     CardSearch::reportNoRegister(reporter, cardPath);
 * \endcode
 */
class CardSearch
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::CardSearch)

public:
    CardSearch(const QString &startPath, const QDate &fromDate, const QDate &toDate,
               const QString &targetPath = QStringLiteral("."));

    const QList<CardListing::Register> &registers() const { return m_registers; }
    //! The discovered folders that hold neither an index file nor a data file.
    const QStringList &passedOver() const { return m_passedOver; }
    //! Whether the library's discovery found no serial-number folder at all; a read then says so in its words.
    bool discoveredNone() const { return m_discoveredNone; }
    //! Says in one line what was passed over, if anything was.
    void reportPassedOver(Reporter &reporter) const;
    //! The error of a search that found no register in \a startPath.
    static void reportNoRegister(Reporter &reporter, const QString &startPath);

    //! Whether \a folder holds neither the index file named after it nor a year folder with a data file.
    static bool holdsNothing(const QString &folder);

private:
    void take(const QList<CardListing::Register> &found, const QString &startPath);

    QList<CardListing::Register> m_registers;
    QStringList m_passedOver;
    //! The canonical paths of the folders taken or passed over.
    QSet<QString> m_seen;
    bool m_discoveredNone = false;
};

} // namespace fiscora::app

#endif // FISCORA_APP_CARDSEARCH_H
