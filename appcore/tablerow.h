#ifndef FISCORA_APP_TABLEROW_H
#define FISCORA_APP_TABLEROW_H

#include <QByteArray>

#include <vector>

namespace fiscora::app {

/*!
 * The fields of one row of a table file, a line without its record delimiter. Fields are
 * separated by the delimiter; a field that starts with the encapsulator runs to the closing one
 * and may hold the delimiter, a doubled encapsulator standing for one. The encapsulators are not
 * part of the field.
 *
 * \code
 * TableRow row(';', '"');
 * row.split("1;\"Kasse; Theke\";\"12\"\"\";");  // "1", "Kasse; Theke", "12\"", ""
 * const QByteArray second = row.field(1).bytes();
 * \endcode
 *
 * A field points into the line, or into the row's own copy when its encapsulators had to go,
 * so that splitting a row allocates nothing once the row has seen a line as long; the fields
 * stay valid until the next split() and while the line is unchanged.
 */
class TableRow
{
public:
    struct Field
    {
        const char *begin = nullptr;
        const char *end = nullptr;

        int size() const { return int(end - begin); }
        QByteArray bytes() const { return QByteArray(begin, size()); }
    };

    explicit TableRow(char delimiter = ';', char encapsulator = '"');

    void split(const QByteArray &line);
    int size() const { return int(m_fields.size()); }
    const Field &field(int index) const { return m_fields[size_t(index)]; }

private:
    const char *unquote(const char *at, const char *end);

    const char m_delimiter;
    const char m_encapsulator;
    std::vector<Field> m_fields;
    //! The encapsulated fields without their encapsulators; never longer than the line.
    QByteArray m_unquoted;
};

} // namespace fiscora::app

#endif // FISCORA_APP_TABLEROW_H
