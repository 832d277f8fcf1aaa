#ifndef FISCORA_APP_TRANSLATION_H
#define FISCORA_APP_TRANSLATION_H

#include <QString>

namespace fiscora::app {

/*!
 * Installs the texts of \a language (such as "de" or "de_DE") for the application and the
 * library, and Qt's own where the system has them; an empty \a language follows the system's
 * locale. English needs no catalogue: it is the language the texts are written in. The language's
 * locale becomes the default one.
 *
 * Returns false only when \a language was asked for and there is no translation into it; the
 * texts installed before are then kept. Called again, it replaces the texts installed before.
 * Call it after the QCoreApplication has been constructed.
 */
bool installTranslation(const QString &language);

} // namespace fiscora::app

#endif // FISCORA_APP_TRANSLATION_H
