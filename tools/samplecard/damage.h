#ifndef FISCORA_SAMPLE_DAMAGE_H
#define FISCORA_SAMPLE_DAMAGE_H

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <optional>

namespace fiscora::sample {

//! The ways in which cards damage a journal.
enum class Damage {
    BrokenField,   //!< the line number of a line is no number any more ("12x")
    NoLineFeed,    //!< a line lost its line feed: it ends in "\r" and the padding
    LongLine,      //!< a line of 300 bytes, longer than the 256 that a record may hold
    RandomRecord,  //!< a record of random ciphertext, as long as the record it replaces
    RandomBlock,   //!< one block of a record, not its first if it has more, is random
    CutShort,      //!< a month file that ends inside this record; the next file follows
    ZeroedCluster, //!< the 4096 bytes (counted from the start) that hold the record's first byte are zero
    LeadingBom,    //!< a UTF-8 byte-order mark in front of the line
};

//! Every kind of damage, in the order above.
QList<Damage> allDamages();

//! The name of \a damage as the sample-card tool takes it: "broken-field", "no-line-feed", ...
QString damageName(Damage damage);
std::optional<Damage> damageFromName(const QString &name);

/*!
 * A journal's lines, each encrypted as a record of its own, some of them damaged as cards damage
 * them. The random bytes that damage takes come from \a seed, so the same calls always give the
 * same data.
 *
 * \code
 * DamagedJournal journal;
 * journal.append(line1);
 * journal.append(line2, Damage::RandomBlock);
 * const QByteArray records = journal.data();
 * \endcode
 */
class DamagedJournal
{
public:
    explicit DamagedJournal(quint32 seed = 1);

    //! Appends \a line as a record, damaged by \a damage if there is one.
    void append(const QByteArray &line, std::optional<Damage> damage = std::nullopt);

    //! The records, one after the other, as the card holds them.
    QByteArray data() const;

    //! For each line appended, whether damage reached its record; a zeroed cluster reaches every
    //! record that overlaps it.
    QList<bool> damagedLines() const;

private:
    QByteArray damagedRecord(const QByteArray &line, Damage damage);
    QByteArray randomBytes(int size);

    QRandomGenerator m_random;
    QByteArray m_data;
    QList<qint64> m_recordStarts;
    QList<bool> m_damaged;
    QList<qint64> m_zeroedClusters;
};

} // namespace fiscora::sample

#endif // FISCORA_SAMPLE_DAMAGE_H
