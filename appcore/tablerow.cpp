#include "tablerow.h"

#include <cstring>

namespace fiscora::app {

TableRow::TableRow(char delimiter, char encapsulator)
    : m_delimiter(delimiter)
    , m_encapsulator(encapsulator)
{
}

void TableRow::split(const QByteArray &line)
{
    m_fields.clear();
    // Reserved as long as the line, the copy never moves while fields point into it; a
    // reserved QByteArray keeps its room when emptied.
    m_unquoted.reserve(line.size());
    m_unquoted.resize(0);
    const char *at = line.constData();
    const char *const end = at + line.size();
    for (;;) {
        if (at != end && *at == m_encapsulator) {
            at = unquote(at + 1, end);
        } else {
            const auto *found = static_cast<const char *>(std::memchr(at, m_delimiter, size_t(end - at)));
            m_fields.push_back({at, found ? found : end});
            at = found ? found : end;
        }
        if (at == end)
            return;
        ++at;
    }
}

// The field from after its opening encapsulator to the next delimiter outside encapsulators;
// where the field goes on after its closing encapsulator, that is part of it, as it was read so.
const char *TableRow::unquote(const char *at, const char *end)
{
    const char *const begin = m_unquoted.constData() + m_unquoted.size();
    bool quoted = true;
    for (; at != end && (quoted || *at != m_delimiter); ++at) {
        if (!quoted || *at != m_encapsulator)
            m_unquoted.append(*at);
        else if (at + 1 != end && at[1] == m_encapsulator)
            m_unquoted.append(*++at);
        else
            quoted = false;
    }
    m_fields.push_back({begin, m_unquoted.constData() + m_unquoted.size()});
    return at;
}

} // namespace fiscora::app
