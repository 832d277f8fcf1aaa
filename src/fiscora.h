#ifndef FISCORA_H
#define FISCORA_H

#include <QtCore/qglobal.h>

/*!
 * Fiscora turns the encrypted journal of a cash register into a GoBD/GDPdU export.
 *
 * SDCardReader copies a register's monthly data files from its SD card into one backup file,
 * KTLCypher decrypts a backup file into the table file "gobd.csv" with its GDPdU description,
 * IndexFileAnalyser carries the month index between the two, CardListing tells what a read of a
 * card would find, HelperClass offers small helpers.
 *
 * \code
 * #include <fiscora/fiscora.h>
 * qInfo() << "Fiscora" << getFiscoraLibVersion();
 * \endcode
 */

#if defined(FISCORA_BUILDING_LIBRARY)
#  define FISCORA_EXPORT Q_DECL_EXPORT
#else
#  define FISCORA_EXPORT Q_DECL_IMPORT
#endif

/*!
 * The library's version, "1.3.0". The text is static: the same pointer on every call, valid
 * while the library is loaded, never to be freed or written. Exported under its plain name so
 * that it can be looked up at run time.
 */
extern "C" FISCORA_EXPORT const char *getFiscoraLibVersion();

#endif // FISCORA_H
