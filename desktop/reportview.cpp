#include "reportview.h"

namespace fiscora::desktop {

namespace {

QString aboutRegister(const QString &serialNumber, const QString &text)
{
    return serialNumber.isEmpty() ? text : QStringLiteral("CR#%1: %2").arg(serialNumber, text);
}

} // namespace

ReportView::ReportView(QWidget *parent)
    : QListWidget(parent)
{
    setWordWrap(true);
    setTextElideMode(Qt::ElideNone);
    setVerticalScrollMode(ScrollPerPixel);
    setSelectionMode(SingleSelection);
    // Room for a few messages, however full the page is.
    setMinimumHeight(fontMetrics().height() * 6);
    setAccessibleName(tr("Messages"));
    setAccessibleDescription(tr("What the running job reports, newest last."));
}

void ReportView::addMessage(const QString &serialNumber, const QString &text, bool isError)
{
    const QString line = isError ? tr("Problem: %1").arg(plainText(text)) : plainText(text);
    addEntry(aboutRegister(serialNumber, line), isError ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation,
             isError ? QColor(0x8a, 0x4b, 0x00) : palette().color(QPalette::Text));
}

void ReportView::addError(const QString &serialNumber, const QString &error, const QString &hint)
{
    addEntry(aboutRegister(serialNumber, tr("Error: %1\nWhat to do: %2").arg(plainText(error), plainText(hint))),
             QStyle::SP_MessageBoxCritical, QColor(0xb0, 0x00, 0x20));
}

void ReportView::addStop(const QString &serialNumber, const QString &outcome, const QString &error)
{
    addEntry(aboutRegister(serialNumber, tr("%1 (%2)").arg(outcome, plainText(error))), QStyle::SP_MessageBoxInformation,
             palette().color(QPalette::Text));
}

void ReportView::addNote(const QString &text)
{
    addEntry(text, QStyle::SP_MessageBoxInformation, palette().color(QPalette::Text));
}

QStringList ReportView::texts() const
{
    QStringList texts;
    for (int row = 0; row < count(); ++row)
        texts << item(row)->text();
    return texts;
}

QString ReportView::plainText(const QString &text)
{
    return text.split(QLatin1String("<br>"), Qt::SkipEmptyParts).join(QLatin1Char('\n'));
}

void ReportView::addEntry(const QString &text, QStyle::StandardPixmap icon, const QColor &colour)
{
    auto *entry = new QListWidgetItem(style()->standardIcon(icon), text, this);
    entry->setForeground(colour);
    entry->setData(Qt::AccessibleTextRole, text);
    scrollToItem(entry);
}

} // namespace fiscora::desktop
