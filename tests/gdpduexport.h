#ifndef FISCORA_GDPDUEXPORT_H
#define FISCORA_GDPDUEXPORT_H

// GDPdU export folders for the suites that read them: the library's index.xml and the published
// DTD beside a table written for the test.
//
//     QVERIFY_DONE(gdpduexport::write(dir.path(), gdpduexport::table({Row, Row})));

#include "finding.h"
#include "fixtures.h"

#include <QStringList>

namespace gdpduexport {

//! A row of gobd.csv as the sample register writes it, without its record delimiter.
const QByteArray Row = "1;17;Kasse 1;03.01.2019;09:12:44;1004;2;3;PLU;Theke;45;5004;Artikel;123;Artikel 123;57;3000;"
                       "37,50;0;0;0;5,98;0,00;4;4;1;12500";

inline QByteArray indexXml()
{
    return fileBytes(QStringLiteral(FISCORA_INDEX_XML));
}

//! \a text with the first \a before replaced by \a after, or a text that fits nothing when \a before is not in it.
inline QByteArray edited(QByteArray text, const QByteArray &before, const QByteArray &after)
{
    const int at = text.indexOf(before);
    return at < 0 ? QByteArray("<edit not found>") : text.replace(at, before.size(), after);
}

//! \a rows, each ended with CR LF.
inline QByteArray table(const QList<QByteArray> &rows)
{
    QByteArray table;
    for (const QByteArray &row : rows)
        table += row + "\r\n";
    return table;
}

//! Writes index.xml, the DTD and gobd.csv into \a folder; why it could not, or nothing.
inline QString write(const QString &folder, const QByteArray &gobd, const QByteArray &index = indexXml())
{
    const QString dtd = folder + QStringLiteral("/gdpdu-01-09-2004.dtd");
    if (!QDir().mkpath(folder) || (!QFile::exists(dtd) && !QFile::copy(QStringLiteral(FISCORA_GDPDU_DTD), dtd)))
        return QStringLiteral("cannot copy the DTD to %1").arg(dtd);
    QString reason = writeFile(folder + QStringLiteral("/index.xml"), index);
    return reason.isEmpty() ? writeFile(folder + QStringLiteral("/gobd.csv"), gobd) : reason;
}

//! The findings of \a findings as a report prints them.
inline QStringList lines(const QList<fiscora::app::Finding> &findings)
{
    QStringList lines;
    for (const fiscora::app::Finding &finding : findings)
        lines << finding.toString();
    return lines;
}

} // namespace gdpduexport

#endif // FISCORA_GDPDUEXPORT_H
