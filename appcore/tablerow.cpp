#include "tablerow.h"

namespace fiscora::app {

QList<QByteArray> splitRow(const QByteArray &line, char delimiter, char encapsulator)
{
    QList<QByteArray> fields;
    QByteArray field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (quoted) {
            if (c != encapsulator)
                field += c;
            else if (i + 1 < line.size() && line.at(i + 1) == encapsulator)
                field += line.at(++i);
            else
                quoted = false;
        } else if (c == delimiter) {
            fields.append(field);
            field.clear();
        } else if (c == encapsulator && field.isEmpty()) {
            quoted = true;
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

} // namespace fiscora::app
