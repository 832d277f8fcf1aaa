#ifndef FISCORA_APP_EXPORTVERIFIER_H
#define FISCORA_APP_EXPORTVERIFIER_H

#include "finding.h"

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QString>

#include <atomic>

namespace fiscora::app {

/*!
 * Checks a GDPdU export folder as an auditor's import takes it: its index.xml, valid against the
 * DTD beside it that its DOCTYPE names, and every row of every table that index.xml describes.
 * A row ends with the record delimiter, has a field for each declared column, split at the column
 * delimiter outside the text encapsulator, and each value fits its column (ColumnCheck). The table
 * files are read in chunks, so their size does not matter. A fixed-length table, one whose start
 * is skipped by bytes, and one in UTF-16 or UTF-7 are reported as not checked.
 *
 * \code
 * const ExportVerifier::Result result = ExportVerifier::verify(folder);
 * for (const Finding &finding : result.findings)
 *     out << finding.toString() << '\n';
 * for (auto it = result.findingsLeftOut.cbegin(); it != result.findingsLeftOut.cend(); ++it)
 *     out << it.key() << ": " << it.value() << " more\n";
 * return result.isValid() ? 0 : 1;
 * \endcode
 */
class ExportVerifier
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::ExportVerifier)

public:
    //! Of the findings in one file, the first ones kept; the others are only counted.
    static constexpr int FindingsKeptPerFile = 100;
    //! A row longer than that is not checked, so that a file without record delimiters costs no memory.
    static constexpr int LongestRow = 1 << 20;

    struct Result
    {
        //! The first findings of each file, in the order of the files and of their lines.
        QList<Finding> findings;
        //! For each file with more findings than kept, how many more there were.
        QMap<QString, qint64> findingsLeftOut;
        //! The rows of the tables checked, well formed or not.
        qint64 rowsChecked = 0;

        //! True when nothing was found wrong.
        bool isValid() const;
    };

    //! Checks the export in \a exportFolder; gives up, with what it found so far, once \a stop is set.
    static Result verify(const QString &exportFolder, const std::atomic_bool *stop = nullptr);
};

} // namespace fiscora::app

#endif // FISCORA_APP_EXPORTVERIFIER_H
