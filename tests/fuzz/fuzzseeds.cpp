// fiscora-fuzzseeds FOLDER: writes the fuzzers' first inputs, a folder for each target, in the
// layout that the target reads (fuzzinput.h): journals as the register writes them and as cards
// damage them, backup headers as the reader writes them and at their limits, and index files.

#include "fuzzinput.h"
#include "journal.h"
#include "samplecard.h"
#include "samplecipher.h"

#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace fiscora::sample;
using fiscora::HelperClass;
using fiscora::IndexFileAnalyser;

namespace {

const QDate March2019(2019, 3, 1);
// The sample card's months, January to December 2019, counted from January 2016.
constexpr int January2019 = 36;
constexpr int December2019 = 47;
constexpr int MonthsBefore10000 = (10000 - 2016) * 12;

class Seeds
{
public:
    Seeds(const QString &root, const QString &target)
        : m_folder(root + QLatin1Char('/') + target + QLatin1Char('/'))
    {
        m_written = QDir(m_folder).removeRecursively() && QDir().mkpath(m_folder);
    }

    void write(const QString &name, const QByteArray &input)
    {
        QFile file(m_folder + name);
        m_written = m_written && file.open(QIODevice::WriteOnly) && file.write(input) == input.size();
    }

    bool written() const { return m_written; }

private:
    QString m_folder;
    bool m_written;
};

// Forty lines of register 1, the twentieth damaged, so that even a zeroed cluster leaves records
// on both sides.
QByteArray damagedJournal(Damage damage)
{
    DamagedJournal journal;
    const QList<QByteArray> lines = Journal().monthLines(March2019, 1, 40);
    for (int i = 0; i < lines.size(); ++i)
        journal.append(lines.at(i), i == 19 ? std::optional<Damage>(damage) : std::nullopt);
    return journal.data();
}

bool writeStreamSeeds(const QString &root)
{
    Seeds seeds(root, QStringLiteral("fuzz_recordstream"));
    const QByteArray month = Journal().encryptedMonth(March2019, 1, 16);
    seeds.write(QStringLiteral("journal"), fuzzinput::streamInput(0, {}, month));
    seeds.write(QStringLiteral("journal-unchecked-in-pieces"),
                fuzzinput::streamInput(fuzzinput::SkipLineCheck, {1, 700, 2048}, month));
    seeds.write(QStringLiteral("empty"), fuzzinput::streamInput(0, {}, QByteArray()));
    for (const Damage damage : allDamages())
        seeds.write(damageName(damage), fuzzinput::streamInput(0, {300, 17}, damagedJournal(damage)));
    return seeds.written();
}

bool writeJournalSeeds(const QString &root)
{
    Seeds seeds(root, QStringLiteral("fuzz_journal"));
    QByteArray text;
    for (const QByteArray &line : Journal().monthLines(March2019, 1, 16))
        text += line.chopped(2) + '\n';
    seeds.write(QStringLiteral("month"), fuzzinput::journalInput({}, text.chopped(1)));
    const QByteArray latin1 = "Br\xf6tchen;Wei\xdf" "bier;K\xe4sekuchen\n\n\xdc" "bergr\xf6\xdf" "e";
    seeds.write(QStringLiteral("latin1-in-pieces"), fuzzinput::journalInput({5, 64}, latin1));
    return seeds.written();
}

// A header of version 1: no serial number and no firmware version in front of the map.
QByteArray versionOneHeader(const QByteArray &map, const QByteArray &digest)
{
    const QByteArray fields = QByteArray("\x01\x0A", 2) + digest + map;
    return HelperClass::convertIntToByteArray(fields.size()) + fields;
}

// A sample card of one register, on which the data file of June 2019 is missing.
struct Card
{
    CardOptions options;
    RegisterFiles files;
};

// What the reader writes for the card.
QByteArray cardBackupHeader(const Card &card, const QByteArray &body)
{
    QList<QFileInfo> dataFiles;
    for (const QString &file : card.files.dataFiles)
        dataFiles << QFileInfo(file);
    IndexFileAnalyser analyser;
    analyser.setCRSerialnumber("12345678");
    analyser.checkA00IndexFile(card.files.indexFile, dataFiles, card.options.firstMonth, card.options.lastMonth,
                               IndexFileAnalyser::SOURCE_SD);
    analyser.setMD5Value(HelperClass::calculateMD5Hash(body));
    return analyser.getCompessIndex();
}

bool writeHeaderSeeds(const QString &root, const Card &card)
{
    Seeds seeds(root, QStringLiteral("fuzz_backupheader"));
    const QByteArray body = Journal().encryptedMonth(March2019, 1, 2);
    const QByteArray digest = HelperClass::calculateMD5Hash(body);
    seeds.write(QStringLiteral("new-analyser"), IndexFileAnalyser().getCompessIndex());
    seeds.write(QStringLiteral("twelve-months"), backupHeader("12345678", QByteArray::fromHex("0c01"), digest) + body);
    seeds.write(QStringLiteral("card-with-missing-month"), cardBackupHeader(card, body) + body);
    seeds.write(QStringLiteral("version-1"), versionOneHeader(QByteArray::fromHex("0201010200ff"), digest) + body);
    return seeds.written();
}

bool writeIndexSeeds(const QString &root, const Card &card)
{
    Seeds seeds(root, QStringLiteral("fuzz_indexfile"));
    QFile cardIndex(card.files.indexFile);
    const bool read = cardIndex.open(QIODevice::ReadOnly);
    seeds.write(QStringLiteral("card"), fuzzinput::indexInput(0, January2019, December2019, 0xDF, cardIndex.readAll()));
    const QByteArray year2019 = QByteArray::fromHex("00000000f0ff");
    seeds.write(QStringLiteral("bitmap-2019"),
                fuzzinput::indexInput(fuzzinput::PlainBitmap, January2019, December2019, 0xFF, year2019));
    seeds.write(QStringLiteral("bitmap-2019-no-span"),
                fuzzinput::indexInput(fuzzinput::PlainBitmap | fuzzinput::NoFromDate | fuzzinput::NoToDate, 0, 0,
                                      0x55, year2019));
    // Every month to December 9999 announced, the span covering its last months and beyond.
    const QByteArray monthsTo9999(MonthsBefore10000 / 8, '\xFF');
    seeds.write(QStringLiteral("bitmap-to-december-9999"),
                fuzzinput::indexInput(fuzzinput::PlainBitmap, MonthsBefore10000 - 64, MonthsBefore10000 + 63, 0x55,
                                      monthsTo9999));
    seeds.write(QStringLiteral("empty"), fuzzinput::indexInput(0, 0, 0, 0, QByteArray()));
    return read && seeds.written();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir cardFolder;
    Card card;
    card.options.missingMonth = QDate(2019, 6, 1);
    const QList<RegisterFiles> registers = cardFolder.isValid() ? writeCard(cardFolder.path(), card.options)
                                                                : QList<RegisterFiles>();
    if (!registers.isEmpty())
        card.files = registers.first();
    const bool written = !registers.isEmpty() && writeStreamSeeds(root) && writeJournalSeeds(root)
        && writeHeaderSeeds(root, card) && writeIndexSeeds(root, card);
    if (!written)
        std::fprintf(stderr, "%s: cannot write the seeds into %s\n", argv[0], argv[1]);
    return written ? 0 : 1;
}
