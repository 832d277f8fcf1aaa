#include "finding.h"

namespace fiscora::app {

QString Finding::toString() const
{
    if (line == 0)
        return tr("%1: %2").arg(file, text);
    if (column.isEmpty())
        return tr("%1, line %2: %3").arg(file, QString::number(line), text);
    return tr("%1, line %2, column %3: %4").arg(file, QString::number(line), column, text);
}

Finding Finding::fileMissing(const QString &file)
{
    return {file, 0, QString(), tr("The file is missing.")};
}

Finding Finding::fileUnreadable(const QString &file, const QString &reason)
{
    return {file, 0, QString(), tr("The file cannot be read: %1").arg(reason)};
}

} // namespace fiscora::app
