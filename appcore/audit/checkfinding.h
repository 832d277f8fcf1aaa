#ifndef FISCORA_APP_CHECKFINDING_H
#define FISCORA_APP_CHECKFINDING_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace fiscora::app {

/*!
 * What one of the auditors' tests makes of the journal: its figure and what the figure covers,
 * the threshold it is held against, and in plain words what an auditor running the test would
 * conclude and what the advisor may need to explain.
 */
struct CheckFinding
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::CheckFinding)

public:
    enum Verdict {
        Passed,  //!< the test finds nothing to ask about
        TooFew,  //!< the journal is too small for the test to say anything
        NotApplicable, //!< the journal's amounts are of a kind the test says nothing about
        Explain, //!< no test fires, but an auditor looking at it would ask
        Flagged, //!< the test fires at its threshold
    };

    //! Names the test for scripts: "lineNumbers", "lastDigit", "benford", ...
    QString test;
    //! Names the test for people: "Last digit before the decimal point of the daily takings".
    QString title;
    Verdict verdict = Passed;
    //! The figure and what it covers: "chi² = 43.60 over 300 days with takings, 01/2019 to 12/2019".
    QString figure;
    //! What the figure is held against: "flagged above 21.67 (1 %, 9 degrees of freedom)".
    QString threshold;
    QString conclusion;
    //! The places behind the figure, one line each: gaps, days, operators.
    QStringList details;

    //! "passed", "too few", "does not apply", "to explain", "flagged", translated.
    static QString verdictText(Verdict verdict);
    //! "passed", "tooFew", "notApplicable", "explain", "flagged", for scripts.
    static QString verdictKey(Verdict verdict);
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHECKFINDING_H
