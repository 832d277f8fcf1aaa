#ifndef FISCORA_SAMPLECARD_H
#define FISCORA_SAMPLECARD_H

#include "damage.h"
#include "manipulation.h"
#include "shopjournal.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

namespace fiscora::sample {

//! What writeCard() puts onto a card.
struct CardOptions
{
    //! The maker folder that holds the registers; empty puts them straight into the card's root.
    QString makerFolder = QStringLiteral("KORVANE");
    //! One serial-number folder per register, such as "12345678" or "G1234567".
    QStringList serialNumbers = {QStringLiteral("12345678")};
    //! The first and the last month with a data file; only year and month count.
    QDate firstMonth = QDate(2019, 1, 1);
    QDate lastMonth = QDate(2019, 12, 1);
    //! Journal lines in every monthly data file.
    int linesPerMonth = 8;
    //! When above 0, replaces linesPerMonth so that all data files come to about this many bytes.
    qint64 totalSize = 0;
    //! A month that the index announces but whose data file is left out.
    QDate missingMonth;
    //! Damage to the record in the middle of a month's data file.
    QList<QPair<Damage, QDate>> damages;
    //! When above 0, every damageEvery-th record of the card is damaged, the kinds in turn.
    int damageEvery = 0;
    //! False leaves out the registers' index files.
    bool withIndexFile = true;
    /*!
     * When set, each register writes a shop's journal from the first day of firstMonth to the last
     * of lastMonth instead, with its own register number and the seed counted on by one from the
     * first register's; linesPerMonth and totalSize do not count then.
     */
    std::optional<ShopOptions> shop;
    //! Applied to each register's shop journal, in this order.
    QList<Manipulation> manipulations;
};

//! The files written for one register.
struct RegisterFiles
{
    QString folder;        //!< the serial-number folder
    QString indexFile;     //!< empty without index file
    QStringList dataFiles; //!< month by month, in the order in which a reader lists them
};

/*!
 * Writes an SD card as registers write it into the existing folder \a path: per register a
 * serial-number folder holding year folders with the monthly data files "yyMM.a03" (each line
 * encrypted as a record of its own) and the index file, whose bit 8 * i + j is set for every
 * month 8 * i + j from January 2016 that the register wrote.
 *
 * \code
 * fiscora::sample::CardOptions options;
 * options.serialNumbers = {QStringLiteral("12345678"), QStringLiteral("87654321")};
 * const auto registers = fiscora::sample::writeCard(dir.path(), options);
 * \endcode
 *
 * Returns the registers in the order of \a options, or an empty list after a warning when a
 * file cannot be written.
 */
QList<RegisterFiles> writeCard(const QString &path, const CardOptions &options);

//! The name under which a reader looks for the index file of the register in \a serialNumber.
QString indexFileName(const QString &serialNumber);

/*!
 * The header of a backup of register \a serialNumber as the reader writes it (version 2, read
 * from an SD card, no firmware version), built byte by byte: its month \a map in runs of two
 * bytes, and \a digest, the MD5 digest of the body (16 bytes).
 */
QByteArray backupHeader(const QByteArray &serialNumber, const QByteArray &map, const QByteArray &digest);

/*!
 * Writes a large backup of register 12345678 with twelve good months quickly: the encrypted
 * \a records repeated until the file holds at least \a size bytes, behind a header with their
 * digest. False when the file cannot be written.
 */
bool writeRepeatedBackup(const QString &path, const QByteArray &records, qint64 size);

//! A large backup of 2020, quickly: 4096 records over the year's days, repeated until the file
//! holds at least \a size bytes. Its line numbers repeat with them.
bool writeLargeBackup(const QString &path, qint64 size);

} // namespace fiscora::sample

#endif // FISCORA_SAMPLECARD_H
