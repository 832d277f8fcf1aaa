#include "exportverifier.h"

#include "columncheck.h"
#include "linereader.h"
#include "tablerow.h"
#include "tableformat.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextCodec>

#include <optional>
#include <vector>

namespace fiscora::app {

namespace {

const QString IndexFile = QStringLiteral("index.xml");

// Keeps the first findings of each file and counts the others. A finding's text is only made
// when it is kept: a broken table can have millions.
class Findings
{
public:
    explicit Findings(ExportVerifier::Result &result)
        : m_result(result)
    {
    }

    template<typename Text>
    void add(const QString &file, qint64 line, const QString &column, Text text)
    {
        int &kept = m_kept[file];
        if (kept == ExportVerifier::FindingsKeptPerFile) {
            ++m_result.findingsLeftOut[file];
            return;
        }
        ++kept;
        m_result.findings.append({file, line, column, text()});
    }

    void add(const Finding &finding)
    {
        add(finding.file, finding.line, finding.column, [&] { return finding.text; });
    }

private:
    ExportVerifier::Result &m_result;
    QHash<QString, int> m_kept;
};

// The codecs of the encodings in which text can be cut at ASCII delimiters byte by byte. ANSI is
// Windows-1252; OEM is code page 850, the DOS code page of Western Europe.
const QTextCodec *codecFor(TableFormat::Encoding encoding)
{
    switch (encoding) {
    case TableFormat::Encoding::Ansi:
        return QTextCodec::codecForName("windows-1252");
    case TableFormat::Encoding::Macintosh:
        return QTextCodec::codecForName("Apple Roman");
    case TableFormat::Encoding::Oem:
        return QTextCodec::codecForName("IBM 850");
    case TableFormat::Encoding::Utf8:
        return QTextCodec::codecForName("UTF-8");
    case TableFormat::Encoding::Utf16:
    case TableFormat::Encoding::Utf7:
        break;
    }
    return nullptr;
}

QString element(const char *name, const QString &content)
{
    return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(name), content);
}

// "CR LF" for the usual record delimiter.
QString readable(const QString &delimiter)
{
    QStringList parts;
    for (const QChar c : delimiter) {
        if (c == QLatin1Char('\r'))
            parts << QStringLiteral("CR");
        else if (c == QLatin1Char('\n'))
            parts << QStringLiteral("LF");
        else
            parts << c;
    }
    return parts.join(QLatin1Char(' '));
}

// The rows of one table file against the table's description.
class TableCheck
{
public:
    TableCheck(const TableFormat &table, const QDir &folder, Findings &findings, qint64 &rowsChecked,
               const std::atomic_bool *stop)
        : m_table(table)
        , m_folder(folder)
        , m_findings(findings)
        , m_rowsChecked(rowsChecked)
        , m_stop(stop)
        , m_codec(codecFor(table.encoding))
    {
        if (!m_codec)
            return;
        m_columnDelimiter = m_codec->fromUnicode(table.columnDelimiter);
        m_textEncapsulator = m_codec->fromUnicode(table.textEncapsulator);
        m_recordDelimiter = m_codec->fromUnicode(table.recordDelimiter);
        m_recordEnd = m_recordDelimiter.chopped(qMin(1, m_recordDelimiter.size()));
        m_checks.reserve(size_t(table.columns.size()));
        for (int i = 0; i < table.columns.size(); ++i)
            m_checks.emplace_back(table, i, m_codec);
    }

    void run()
    {
        if (const std::optional<QString> feature = unsupportedFeature()) {
            m_findings.add(IndexFile, m_table.line, QString(), [&] {
                return ExportVerifier::tr("The table %1 uses %2, which this check does not support; "
                                          "its rows were not checked.")
                        .arg(m_table.url, *feature);
            });
            return;
        }
        QFile file(m_folder.filePath(m_table.url));
        if (!file.exists())
            m_findings.add(Finding::fileMissing(m_table.url));
        else if (!file.open(QIODevice::ReadOnly))
            m_findings.add(Finding::fileUnreadable(m_table.url, file.errorString()));
        else
            checkRows(file);
    }

private:
    // What of the description the check cannot follow, as index.xml writes it.
    std::optional<QString> unsupportedFeature() const
    {
        if (m_table.layout == TableFormat::Layout::FixedLength)
            return QStringLiteral("<FixedLength>");
        if (m_table.skipNumBytes > 0)
            return element("SkipNumBytes", QString::number(m_table.skipNumBytes));
        if (!m_codec) {
            return m_table.encoding == TableFormat::Encoding::Utf16 ? QStringLiteral("<UTF16/>")
                                                                    : QStringLiteral("<UTF7/>");
        }
        if (m_columnDelimiter.size() != 1)
            return element("ColumnDelimiter", m_table.columnDelimiter);
        if (m_textEncapsulator.size() != 1)
            return element("TextEncapsulator", m_table.textEncapsulator);
        if (m_recordDelimiter.isEmpty())
            return element("RecordDelimiter", QString());
        for (int i = 0; i < m_table.columns.size(); ++i) {
            if (!m_checks.at(size_t(i)).isSupported())
                return element("Format", m_table.columns.at(i).dateFormat);
        }
        return std::nullopt;
    }

    // Lines end with the last byte of the record delimiter, so that a row ending with a part of
    // it, a bare LF in a table of CR LF, is one row with a finding, and line numbers are those an
    // editor shows.
    void checkRows(QFile &file)
    {
        LineReader lines(&file, m_recordDelimiter.back(), ExportVerifier::LongestRow);
        TableRow row(m_columnDelimiter.front(), m_textEncapsulator.front());
        QByteArray line;
        while (lines.lineNumber() < m_table.lastRow && !stopped() && lines.readLine(&line)) {
            if (lines.lineNumber() < m_table.firstRow)
                continue;
            ++m_rowsChecked;
            checkRow(line, lines, row);
        }
        if (lines.hasError())
            m_findings.add(Finding::fileUnreadable(m_table.url, file.errorString()));
    }

    bool stopped() const { return m_stop && m_stop->load(std::memory_order_relaxed); }

    void checkRow(const QByteArray &line, const LineReader &lines, TableRow &fields)
    {
        const qint64 number = lines.lineNumber();
        if (lines.truncated()) {
            add(number, QString(), [] {
                return ExportVerifier::tr("The row is longer than %1 bytes and was not checked.")
                        .arg(ExportVerifier::LongestRow);
            });
            return;
        }
        const bool delimited = lines.ended() && line.endsWith(m_recordEnd);
        if (!delimited) {
            add(number, QString(), [&] {
                return ExportVerifier::tr("The row does not end with the record delimiter %1.")
                        .arg(readable(m_table.recordDelimiter));
            });
        }
        const QByteArray row =
                QByteArray::fromRawData(line.constData(), line.size() - (delimited ? m_recordEnd.size() : 0));
        if (m_table.encoding == TableFormat::Encoding::Utf8 && !isUtf8(row))
            add(number, QString(), [] { return ExportVerifier::tr("The row is not valid UTF-8."); });
        fields.split(row);
        checkFields(fields, number);
    }

    void checkFields(const TableRow &row, qint64 number)
    {
        if (row.size() != m_table.columns.size()) {
            add(number, QString(), [&] {
                return ExportVerifier::tr("The row has %1 instead of %2 fields.")
                        .arg(row.size())
                        .arg(m_table.columns.size());
            });
            return;
        }
        for (int i = 0; i < row.size(); ++i) {
            const ColumnCheck &check = m_checks.at(size_t(i));
            const TableRow::Field &field = row.field(i);
            const ColumnCheck::Fault fault = check.check(field.begin, field.end);
            if (fault != ColumnCheck::Fault::None)
                add(number, m_table.columns.at(i).name, [&] { return check.describe(fault, field.bytes()); });
        }
    }

    bool isUtf8(const QByteArray &row) const
    {
        QTextCodec::ConverterState state;
        m_codec->toUnicode(row.constData(), row.size(), &state);
        return state.invalidChars == 0 && state.remainingChars == 0;
    }

    template<typename Text>
    void add(qint64 line, const QString &column, Text text)
    {
        m_findings.add(m_table.url, line, column, text);
    }

    const TableFormat &m_table;
    const QDir &m_folder;
    Findings &m_findings;
    qint64 &m_rowsChecked;
    const std::atomic_bool *const m_stop;
    const QTextCodec *const m_codec;
    QByteArray m_columnDelimiter;
    QByteArray m_textEncapsulator;
    QByteArray m_recordDelimiter;
    // The record delimiter but its last byte, at which lines end.
    QByteArray m_recordEnd;
    std::vector<ColumnCheck> m_checks;
};

} // namespace

bool ExportVerifier::Result::isValid() const
{
    return findings.isEmpty();
}

ExportVerifier::Result ExportVerifier::verify(const QString &exportFolder, const std::atomic_bool *stop)
{
    Result result;
    Findings findings(result);
    const QDir folder(exportFolder);
    QList<Finding> indexFindings;
    const QList<TableFormat> tables = TableFormat::read(folder.filePath(IndexFile), &indexFindings);
    for (const Finding &finding : indexFindings)
        findings.add(finding);
    for (const TableFormat &table : tables)
        TableCheck(table, folder, findings, result.rowsChecked, stop).run();
    return result;
}

} // namespace fiscora::app
