#ifndef FISCORA_APP_TABLEROW_H
#define FISCORA_APP_TABLEROW_H

#include <QByteArray>
#include <QList>

namespace fiscora::app {

/*!
 * The fields of one row of a table file, \a line without its record delimiter. Fields are
 * separated by \a delimiter; a field that starts with \a encapsulator runs to the closing one and
 * may hold the delimiter, a doubled encapsulator standing for one. The encapsulators are not part
 * of the field.
 *
 * \code
 * splitRow("1;\"Kasse; Theke\";\"12\"\"\";") // {"1", "Kasse; Theke", "12\"", ""}
 * \endcode
 */
QList<QByteArray> splitRow(const QByteArray &line, char delimiter = ';', char encapsulator = '"');

} // namespace fiscora::app

#endif // FISCORA_APP_TABLEROW_H
