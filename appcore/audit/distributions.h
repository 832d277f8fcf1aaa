#ifndef FISCORA_APP_DISTRIBUTIONS_H
#define FISCORA_APP_DISTRIBUTIONS_H

#include <QtGlobal>

namespace fiscora::app {

/*!
 * The tails of the distributions the auditors' tests compare with.
 *
 * \code
 * const bool flagged = Distributions::chiSquareTail(43.6, 9) < 0.01;      // true
 * const double critical = Distributions::chiSquareCritical(9, 0.01);      // 21.666
 * \endcode
 */
class Distributions
{
public:
    //! The chance that a chi-square statistic of \a degreesOfFreedom reaches \a statistic or more.
    static double chiSquareTail(double statistic, int degreesOfFreedom);
    //! The statistic that a chi-square of \a degreesOfFreedom exceeds with the chance \a level.
    static double chiSquareCritical(int degreesOfFreedom, double level);
    //! The chance of \a successes or more in \a trials, each succeeding with \a chance.
    static double binomialTail(qint64 successes, qint64 trials, double chance);
};

} // namespace fiscora::app

#endif // FISCORA_APP_DISTRIBUTIONS_H
