#include "figurescheck.h"

#include "filedigest.h"
#include "journalfacts.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace fiscora::app {

namespace {

// The figures of a period of some centuries fit many times over; a larger file is none.
constexpr qint64 LargestFigures = 1 << 20;

const QLatin1String TableFile("gobd.csv");

QString monthText(const QDate &month)
{
    return month.toString(QStringLiteral("MM/yyyy"));
}

QString periodText(const QDate &first, const QDate &last)
{
    return first == last ? monthText(first) : FiguresCheck::tr("%1 to %2").arg(monthText(first), monthText(last));
}

} // namespace

FiguresCheck::FiguresCheck(const QString &folder, const JournalFacts &facts)
    : m_folder(folder)
    , m_facts(facts)
{
}

QStringList FiguresCheck::findings(const std::atomic_bool *stop)
{
    m_findings.clear();
    const QString name = HandoverFigures::fileName();
    QFile file(m_folder + QLatin1Char('/') + name);
    if (!file.exists())
        return {tr("The export folder holds no %1.").arg(name)};
    if (!file.open(QIODevice::ReadOnly))
        return {tr("%1 cannot be read: %2").arg(name, file.errorString())};
    QString why;
    const std::optional<HandoverFigures> figures = HandoverFigures::fromJson(file.read(LargestFigures), &why);
    if (!figures)
        return {tr("%1 holds no figures of a hand-over: %2.").arg(name, why)};
    comparePeriod(*figures);
    compareSums(tr("the whole period"), figures->total, m_facts.total());
    QList<QDate> months = figures->months.keys() + m_facts.months().keys();
    std::sort(months.begin(), months.end());
    months.erase(std::unique(months.begin(), months.end()), months.end());
    for (const QDate &month : qAsConst(months))
        compareSums(monthText(month), figures->months.value(month), m_facts.months().value(month));
    compareFiles(*figures, stop);
    return m_findings;
}

// A folder named "complete" names no period, and the figures name its first and last month.
void FiguresCheck::comparePeriod(const HandoverFigures &figures)
{
    if (m_facts.hasPeriod()
        && (figures.firstMonth != m_facts.firstMonth() || figures.lastMonth != m_facts.lastMonth())) {
        m_findings << tr("%1 states the period %2, the folder's name %3.")
                              .arg(HandoverFigures::fileName(), periodText(figures.firstMonth, figures.lastMonth),
                                   periodText(m_facts.firstMonth(), m_facts.lastMonth()));
    }
}

void FiguresCheck::compareSums(const QString &scope, const HandoverFigures::Sums &stated, const PeriodSums &found)
{
    struct Figure
    {
        QString label;
        QString stated;
        QString found;
    };
    const Figure figures[] = {
            {tr("Rows"), QString::number(stated.rows), QString::number(found.rows)},
            {tr("Sum of Betrag"), HandoverFigures::amount(stated.betragCents), HandoverFigures::amount(found.betragCents)},
            {tr("Sum of Steuer"), HandoverFigures::amount(stated.steuerCents), HandoverFigures::amount(found.steuerCents)},
    };
    for (const Figure &figure : figures) {
        if (figure.stated != figure.found)
            m_findings << tr("%1 of %2: %3 states %4, %5 gives %6.")
                                  .arg(figure.label, scope, HandoverFigures::fileName(), figure.stated, TableFile,
                                       figure.found);
    }
}

void FiguresCheck::compareFiles(const HandoverFigures &figures, const std::atomic_bool *stop)
{
    const QString name = HandoverFigures::fileName();
    const QDir folder(m_folder);
    FileDigest digest(stop);
    for (auto file = figures.sha256.cbegin(); file != figures.sha256.cend(); ++file) {
        if (!folder.exists(file.key())) {
            m_findings << tr("%1 states the SHA-256 value of %2, which is not in the export folder.").arg(name, file.key());
            continue;
        }
        const QByteArray sha256 = digest.sha256(folder.filePath(file.key()));
        if (sha256.isEmpty())
            m_findings << digest.errorString();
        else if (sha256 != *file)
            m_findings << tr("%1 does not match the SHA-256 value that %2 states.").arg(file.key(), name);
    }
    for (const QString &file : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (file != name && !figures.sha256.contains(file))
            m_findings << tr("%1 is in the export folder, but %2 states no SHA-256 value of it.").arg(file, name);
    }
}

} // namespace fiscora::app
