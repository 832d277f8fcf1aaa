#include "tableformat.h"

#include <QDir>
#include <QFileInfo>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <memory>
#include <optional>

namespace fiscora::app {

namespace {

struct XmlDeleter
{
    void operator()(xmlParserCtxt *context) const { xmlFreeParserCtxt(context); }
    void operator()(xmlDoc *document) const { xmlFreeDoc(document); }
};
using XmlContext = std::unique_ptr<xmlParserCtxt, XmlDeleter>;
using XmlDocument = std::unique_ptr<xmlDoc, XmlDeleter>;

// What libxml2 says while it reads one index.xml, with the files relative to its folder.
struct Messages
{
    QDir folder;
    QString indexFile;
    QList<Finding> findings;
};

// The published DTD's content model of Media is not deterministic. libxml2 remarks on that as an
// error whenever a document uses the DTD, but it is the DTD's own affair: libxml2 keeps the
// document valid, and leaves the order of the children of Media unchecked.
void collect(void *context, xmlErrorPtr error)
{
    if (error->level < XML_ERR_ERROR || error->code == XML_DTD_CONTENT_NOT_DETERMINIST)
        return;
    auto *messages = static_cast<Messages *>(context);
    const QString file = error->file
        ? messages->folder.relativeFilePath(QFile::decodeName(QByteArray::fromPercentEncoding(error->file)))
        : messages->indexFile;
    messages->findings.append({file, error->line, QString(), QString::fromUtf8(error->message).trimmed()});
}

// libxml2 reports some faults without a parser context, a refused network entity for one, to the
// thread's handler only; so a reading takes the thread's handler while it lasts.
class MessageCollection
{
public:
    explicit MessageCollection(Messages *messages)
        : m_handler(xmlStructuredError)
        , m_context(xmlStructuredErrorContext)
    {
        xmlSetStructuredErrorFunc(messages, collect);
    }
    ~MessageCollection() { xmlSetStructuredErrorFunc(m_context, m_handler); }
    MessageCollection(const MessageCollection &) = delete;
    MessageCollection &operator=(const MessageCollection &) = delete;

private:
    const xmlStructuredErrorFunc m_handler;
    void *const m_context;
};

// Reads the index.xml at \a index and validates it against the DTD its DOCTYPE names; what
// libxml2 found fault with goes to \a findings.
XmlDocument readValidated(const QFileInfo &index, QList<Finding> *findings)
{
    Messages messages{index.absoluteDir(), index.fileName(), {}};
    const MessageCollection collection(&messages);
    const XmlContext context(xmlNewParserCtxt());
    // libxml2 names the DTD after the path it was given for index.xml, which the folder of
    // index.xml can only take apart when it is absolute. It takes the path for a URI, in which
    // an export folder's "CR#12345678" would end at the "#", and unescapes it to open a file.
    const QByteArray path = QFile::encodeName(index.absoluteFilePath()).toPercentEncoding("/");
    XmlDocument document(xmlCtxtReadFile(context.get(), path.constData(), nullptr,
                                         XML_PARSE_DTDLOAD | XML_PARSE_DTDVALID | XML_PARSE_NONET));
    *findings += messages.findings;
    return document;
}

// When the DTD that index.xml names is not there, libxml2 says that it could not load an
// external entity and that it found no DTD; the name of the missing file says both at once.
std::optional<QString> missingDtd(const xmlDoc &document, const QDir &folder)
{
    if (document.extSubset || !document.intSubset || !document.intSubset->SystemID)
        return std::nullopt;
    const QString dtd = QString::fromUtf8(reinterpret_cast<const char *>(document.intSubset->SystemID));
    if (QFileInfo::exists(folder.filePath(dtd)))
        return std::nullopt;
    return dtd;
}

bool is(const xmlNode *node, const char *name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, reinterpret_cast<const xmlChar *>(name));
}

template<typename Visit>
void forEachElement(const xmlNode *parent, Visit visit)
{
    for (const xmlNode *node = parent->children; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE)
            visit(node);
    }
}

const xmlNode *firstElement(const xmlNode *parent)
{
    const xmlNode *node = parent->children;
    while (node && node->type != XML_ELEMENT_NODE)
        node = node->next;
    return node;
}

QString textOf(const xmlNode *node)
{
    xmlChar *content = xmlNodeGetContent(node);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(content));
    xmlFree(content);
    return text;
}

QString nameOf(const xmlNode *node)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(node->name));
}

std::optional<TableFormat::Encoding> encodingOf(const xmlNode *node)
{
    static const struct
    {
        const char *element;
        TableFormat::Encoding encoding;
    } encodings[] = {
        {"ANSI", TableFormat::Encoding::Ansi},   {"Macintosh", TableFormat::Encoding::Macintosh},
        {"OEM", TableFormat::Encoding::Oem},     {"UTF16", TableFormat::Encoding::Utf16},
        {"UTF7", TableFormat::Encoding::Utf7},   {"UTF8", TableFormat::Encoding::Utf8},
    };
    for (const auto &known : encodings) {
        if (is(node, known.element))
            return known.encoding;
    }
    return std::nullopt;
}

bool isColumn(const xmlNode *node)
{
    return is(node, "VariableColumn") || is(node, "VariablePrimaryKey") || is(node, "FixedColumn")
            || is(node, "FixedPrimaryKey");
}

// The tables of a valid index.xml. The DTD leaves numbers to plain text, so they are checked here.
class TableReading
{
public:
    TableReading(const QString &indexFile, QList<Finding> *findings)
        : m_indexFile(indexFile)
        , m_findings(findings)
    {
    }

    QList<TableFormat> tables(const xmlNode *dataSet)
    {
        QList<TableFormat> tables;
        forEachElement(dataSet, [&](const xmlNode *media) {
            if (!is(media, "Media"))
                return;
            forEachElement(media, [&](const xmlNode *table) {
                if (is(table, "Table"))
                    tables.append(tableOf(table));
            });
        });
        return tables;
    }

private:
    TableFormat tableOf(const xmlNode *element)
    {
        TableFormat table;
        table.line = xmlGetLineNo(element);
        forEachElement(element, [&](const xmlNode *node) {
            if (is(node, "URL"))
                table.url = textOf(node).trimmed();
            else if (is(node, "Name"))
                table.name = textOf(node).trimmed();
            else if (is(node, "DecimalSymbol"))
                table.decimalSymbol = textOf(node);
            else if (is(node, "DigitGroupingSymbol"))
                table.digitGroupingSymbol = textOf(node);
            else if (is(node, "SkipNumBytes"))
                table.skipNumBytes = number(node, 0);
            else if (is(node, "Range"))
                readRange(node, &table);
            else if (is(node, "Epoch"))
                table.epoch = number(node, 0);
            else if (is(node, "VariableLength") || is(node, "FixedLength"))
                readLayout(node, &table);
            else if (const auto encoding = encodingOf(node))
                table.encoding = *encoding;
        });
        return table;
    }

    void readRange(const xmlNode *range, TableFormat *table)
    {
        forEachElement(range, [&](const xmlNode *node) {
            if (is(node, "From"))
                table->firstRow = number(node, 1);
            else if (is(node, "To"))
                table->lastRow = number(node, 1);
            else if (is(node, "Length"))
                table->lastRow = int(qMin<qint64>(qint64(table->firstRow) - 1 + number(node, 0), INT_MAX));
        });
    }

    void readLayout(const xmlNode *layout, TableFormat *table)
    {
        table->layout = is(layout, "FixedLength") ? TableFormat::Layout::FixedLength
                                                  : TableFormat::Layout::VariableLength;
        forEachElement(layout, [&](const xmlNode *node) {
            if (is(node, "ColumnDelimiter"))
                table->columnDelimiter = textOf(node);
            else if (is(node, "RecordDelimiter"))
                table->recordDelimiter = textOf(node);
            else if (is(node, "TextEncapsulator"))
                table->textEncapsulator = textOf(node);
            else if (isColumn(node))
                table->columns.append(columnOf(node));
        });
    }

    TableFormat::Column columnOf(const xmlNode *element)
    {
        TableFormat::Column column;
        forEachElement(element, [&](const xmlNode *node) {
            if (is(node, "Name")) {
                column.name = textOf(node).trimmed();
            } else if (is(node, "Numeric")) {
                column.kind = TableFormat::Column::Kind::Numeric;
                if (const xmlNode *accuracy = firstElement(node)) {
                    column.accuracy = number(accuracy, 0);
                    column.accuracyImplied = is(accuracy, "ImpliedAccuracy");
                }
            } else if (is(node, "Date")) {
                column.kind = TableFormat::Column::Kind::Date;
                if (const xmlNode *format = firstElement(node))
                    column.dateFormat = textOf(format).trimmed();
            }
        });
        return column;
    }

    int number(const xmlNode *node, int minimum)
    {
        const QString text = textOf(node).trimmed();
        bool ok = false;
        const int value = text.toInt(&ok);
        if (ok && value >= minimum)
            return value;
        m_findings->append({m_indexFile, xmlGetLineNo(node), QString(),
                            TableFormat::tr("%1 must be a whole number of at least %2, not \"%3\".")
                                    .arg(nameOf(node), QString::number(minimum), text)});
        return minimum;
    }

    const QString m_indexFile;
    QList<Finding> *const m_findings;
};

} // namespace

int TableFormat::columnIndex(const QString &name) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).name == name)
            return i;
    }
    return -1;
}

QList<TableFormat> TableFormat::read(const QString &indexXmlPath, QList<Finding> *findings)
{
    const QFileInfo index(indexXmlPath);
    if (!index.exists()) {
        findings->append(Finding::fileMissing(index.fileName()));
        return {};
    }
    QList<Finding> faults;
    const XmlDocument document = readValidated(index, &faults);
    if (document) {
        if (const std::optional<QString> dtd = missingDtd(*document, index.absoluteDir()))
            faults = {Finding::fileMissing(*dtd)};
    }
    if (!faults.isEmpty() || !document) {
        *findings += faults;
        return {};
    }
    const QList<TableFormat> tables =
            TableReading(index.fileName(), &faults).tables(xmlDocGetRootElement(document.get()));
    *findings += faults;
    return faults.isEmpty() ? tables : QList<TableFormat>();
}

} // namespace fiscora::app
