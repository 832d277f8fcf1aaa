#include "checkfinding.h"

namespace fiscora::app {

QString CheckFinding::verdictText(Verdict verdict)
{
    switch (verdict) {
    case Passed:
        return tr("passed");
    case TooFew:
        return tr("too few");
    case NotApplicable:
        return tr("does not apply");
    case Explain:
        return tr("to explain");
    case Flagged:
        break;
    }
    return tr("flagged");
}

QString CheckFinding::verdictKey(Verdict verdict)
{
    switch (verdict) {
    case Passed:
        return QStringLiteral("passed");
    case TooFew:
        return QStringLiteral("tooFew");
    case NotApplicable:
        return QStringLiteral("notApplicable");
    case Explain:
        return QStringLiteral("explain");
    case Flagged:
        break;
    }
    return QStringLiteral("flagged");
}

} // namespace fiscora::app
