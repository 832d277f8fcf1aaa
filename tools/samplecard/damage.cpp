#include "damage.h"

#include "samplecipher.h"

#include <algorithm>

namespace fiscora::sample {

namespace {

constexpr int ClusterSize = 4096;
constexpr int LongLineSize = 300;

const char *const DamageNames[] = {"broken-field", "no-line-feed", "long-line", "random-record",
                                   "random-block", "cut-short", "zeroed-cluster", "leading-bom"};

// The line with its second field, the line number, made into no number.
QByteArray brokenField(QByteArray line)
{
    const int second = line.indexOf(';', line.indexOf(';') + 1);
    return line.insert(second < 0 ? line.size() : second, 'x');
}

// The line with its 15th field, the function name, grown until the line is too long for a record.
QByteArray longLine(QByteArray line)
{
    int end = -1;
    for (int field = 0; field < 15; ++field)
        end = line.indexOf(';', end + 1);
    return line.insert(end < 0 ? 0 : end, QByteArray(qMax(0, LongLineSize - line.size()), 'x'));
}

} // namespace

QList<Damage> allDamages()
{
    return {Damage::BrokenField, Damage::NoLineFeed, Damage::LongLine, Damage::RandomRecord,
            Damage::RandomBlock, Damage::CutShort, Damage::ZeroedCluster, Damage::LeadingBom};
}

QString damageName(Damage damage)
{
    return QLatin1String(DamageNames[int(damage)]);
}

std::optional<Damage> damageFromName(const QString &name)
{
    for (const Damage damage : allDamages()) {
        if (damageName(damage) == name)
            return damage;
    }
    return std::nullopt;
}

DamagedJournal::DamagedJournal(quint32 seed)
    : m_random(seed)
{
}

void DamagedJournal::append(const QByteArray &line, std::optional<Damage> damage)
{
    m_recordStarts.append(m_data.size());
    m_damaged.append(damage.has_value());
    if (damage == Damage::ZeroedCluster)
        m_zeroedClusters.append(m_data.size() / ClusterSize * ClusterSize);
    m_data += damage ? damagedRecord(line, *damage) : encryptRecord(line);
}

QByteArray DamagedJournal::damagedRecord(const QByteArray &line, Damage damage)
{
    switch (damage) {
    case Damage::BrokenField:
        return encryptRecord(brokenField(line));
    case Damage::NoLineFeed:
        return encryptRecord(line.endsWith('\n') ? line.chopped(1) : line);
    case Damage::LongLine:
        return encryptRecord(longLine(line));
    case Damage::RandomRecord:
        return randomBytes(encryptRecord(line).size());
    case Damage::RandomBlock: {
        QByteArray record = encryptRecord(line);
        const int blocks = record.size() / BlockSize;
        const int block = blocks > 1 ? 1 + int(m_random.bounded(blocks - 1)) : 0;
        return record.replace(block * BlockSize, BlockSize, randomBytes(BlockSize));
    }
    case Damage::CutShort: {
        const QByteArray record = encryptRecord(line);
        return record.left(1 + int(m_random.bounded(record.size() - 1)));
    }
    case Damage::ZeroedCluster:
        return encryptRecord(line);
    case Damage::LeadingBom:
        return encryptRecord("\xEF\xBB\xBF" + line);
    }
    return QByteArray();
}

QByteArray DamagedJournal::randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(m_random.bounded(256));
    return bytes;
}

QByteArray DamagedJournal::data() const
{
    QByteArray data = m_data;
    for (const qint64 cluster : m_zeroedClusters) {
        const qint64 end = std::min<qint64>(cluster + ClusterSize, data.size());
        std::fill(data.begin() + cluster, data.begin() + end, '\0');
    }
    return data;
}

QList<bool> DamagedJournal::damagedLines() const
{
    QList<bool> damaged = m_damaged;
    for (int i = 0; i < m_recordStarts.size(); ++i) {
        const qint64 start = m_recordStarts.at(i);
        const qint64 end = i + 1 < m_recordStarts.size() ? m_recordStarts.at(i + 1) : m_data.size();
        for (const qint64 cluster : m_zeroedClusters)
            damaged[i] = damaged.at(i) || (start < cluster + ClusterSize && end > cluster);
    }
    return damaged;
}

} // namespace fiscora::sample
