// The record stream without a thread: line check, repair and messages, what damage costs, the
// stream given in pieces, progress and the write threshold; a stop is tested through the worker
// (tst_ktlcypher). Each test runs in a temporary folder of its own.

#include "atomicfile_p.h"
#include "damage.h"
#include "decryptortest.h"
#include "fixtures.h"
#include "recordedreport.h"
#include "recordstream_p.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <cctype>
#include <vector>

using namespace decryptortest;
using fiscora::sample::Damage;
using fiscora::sample::DamagedJournal;
using fiscora::sample::encryptRecord;

namespace {

const QString Table = QStringLiteral("table.csv");

// Fewer than 16 bytes of stream, whose block filled up with zero bytes decrypts to line: the
// first 15 bytes of a block whose ciphertext happens to end in a zero byte.
QByteArray shortStream(QByteArray *line)
{
    for (int i = 0;; ++i) {
        *line = "Storno Nr " + QByteArray::number(100 + i % 900) + "\r\n";
        const QByteArray cipher = fiscora::sample::encryptCbc(line->leftJustified(16, char(i / 900)));
        if (cipher.endsWith('\0'))
            return cipher.left(15);
    }
}

// Lines 1 to 7 of register 1's journal, each a record of its own, the fourth damaged as a card
// damages it, with the random bytes that seed gives.
QByteArray sevenLines(Damage damage, quint32 seed = 1)
{
    DamagedJournal journal(seed);
    for (int number = 1; number <= 7; ++number)
        journal.append(plainLines(number, 1), number == 4 ? std::optional<Damage>(damage) : std::nullopt);
    return journal.data();
}

struct Pass
{
    QStringList lines; // what the pass reported, but its progress values
    QByteArray table;
};

// One pass over stream into Table, the stream handed over in pieces of the sizes that pieces
// gives in turn (the whole stream at once without them), each piece a copy of its own that starts
// where the stream still needs bytes, so that the sanitizer build sees a look beyond it.
Pass decrypt(const QByteArray &stream, const QList<int> &pieces = {}, const std::function<void(int)> &onProgress = {})
{
    joblog::RecordedExportReport report;
    report.onProgress = onProgress;
    const std::atomic_bool stop{false};
    fiscora::AtomicFile table(Table);
    fiscora::RecordStream records(report, stop, false);
    bool passing = records.begin(table, stream.size(), QByteArray());
    qint64 end = 0;
    for (int piece = 0; passing && end < stream.size(); ++piece) {
        end = pieces.isEmpty() ? stream.size() : qMin<qint64>(stream.size(), end + pieces.at(piece % pieces.size()));
        const qint64 begin = records.keepFrom();
        const std::vector<char> held(stream.cbegin() + begin, stream.cbegin() + end);
        passing = records.take({held.data(), begin, end, end == stream.size()});
    }
    if (passing && records.end())
        records.commit();
    return {joblog::withoutProgress(report.lines), fileBytes(Table)};
}

struct DamageFigures
{
    int undamaged = 0;
    int kept = 0;        // undamaged lines in the table, in order
    int lines = 0;       // lines in the table
    int unaccounted = 0; // table lines beyond one for every damaged record between kept ones
};

// Walks the table against the journal: each undamaged line must be there once, in order; what
// lies between two of them may hold one line for every damaged record between them.
DamageFigures figuresOf(const QList<QByteArray> &lines, const QList<bool> &damaged, const QByteArray &table)
{
    QHash<QByteArray, int> recordOf;
    DamageFigures figures;
    for (int i = 0; i < lines.size(); ++i) {
        if (!damaged.at(i))
            recordOf.insert(lines.at(i), i);
    }
    figures.undamaged = recordOf.size();
    const auto damagedBetween = [&damaged](int after, int before) {
        return int(std::count(damaged.begin() + after + 1, damaged.begin() + before, true));
    };
    int previous = -1;
    int between = 0;
    for (QByteArray line : table.split('\n')) {
        if (line.isEmpty())
            continue;
        ++figures.lines;
        const int record = recordOf.value(line.append('\n'), -1);
        if (record <= previous) {
            ++between;
            continue;
        }
        figures.unaccounted += qMax(0, between - damagedBetween(previous, record));
        ++figures.kept;
        previous = record;
        between = 0;
    }
    figures.unaccounted += qMax(0, between - damagedBetween(previous, lines.size()));
    return figures;
}

// A journal of about size bytes of which one record in a hundred, at random, is damaged: by
// kind, or by every kind at random where kind is negative.
DamagedJournal damagedJournal(qint64 size, int kind, QList<QByteArray> *lines)
{
    const QList<Damage> kinds = fiscora::sample::allDamages();
    const fiscora::sample::Journal register1('1', 7);
    QRandomGenerator random(20261206);
    DamagedJournal journal(11);
    for (qint64 written = 0; written < size; written += lines->last().size()) {
        *lines << register1.line(lines->size() + 1, QDate(2020, 1, 1).addDays(lines->size() / 300));
        std::optional<Damage> damage;
        if (random.bounded(100) == 0)
            damage = kind >= 0 ? kinds.at(kind) : kinds.at(int(random.bounded(kinds.size())));
        journal.append(lines->last(), damage);
    }
    return journal;
}

// Lines of up to 250 bytes of Latin-1 text, as German journals hold them, with a letter beyond
// ASCII in every block, so that every block of every line is looked at for a record start.
QByteArray latin1Line(int number, QRandomGenerator &random)
{
    static const QByteArray words[] = {"Br\xf6tchen", "Wei\xdf" "bier", "K\xe4sekuchen", "Gr\xfc\xdf" "e",
                                       "M\xfcsli", "Sch\xe4rfe", "\xd6lkanne", "Fr\xfchst\xfc" "ck", "Stra\xdf" "e",
                                       "\xdc" "bergr\xf6\xdf" "e"};
    const QByteArray start = "1;" + QByteArray::number(number) + ";K\xfc" "che 1;05.07.2021;15:10:28;221477;4;4;Artikel;;";
    const QByteArray end = ";0;PLU;203;Croissant mit K\xe4se;219718;1000;1,30;0;0;0;0,10;0,00;10;2;2;1300\r\n";
    QByteArray note = "Notiz:";
    const int size = 150 + int(random.bounded(101));
    while (start.size() + note.size() + end.size() < size)
        note += ' ' + words[random.bounded(10)];
    QByteArray line = start + note.left(size - start.size() - end.size()) + end;
    for (int block = 16; block + 16 < line.size(); block += 16) {
        const auto begin = line.begin() + block;
        if (std::none_of(begin, begin + 16, [](char c) { return c < 0; }))
            *std::find_if(begin, begin + 16, [](char c) { return std::isalnum(c); }) = '\xe9';
    }
    return line;
}

} // namespace

class RecordStreamTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pass_data();
    void pass();
    void damageKeepingTheFields();
    void shortTail_data();
    void shortTail();
    void undamaged_data();
    void undamaged();
    void damagedJournal_data();
    void damagedJournal();
    void inPieces();
    void progressCapped();
    void writeThreshold_data();
    void writeThreshold();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void RecordStreamTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid() && QDir::setCurrent(m_dir->path()));
}

// Lines on the edges of the check and the repair, then every kind of damage that cards do, which
// costs the damaged record alone, and is said.
void RecordStreamTest::pass_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QStringList>("messages");
    const QByteArray shortLine = "Storno Nummer\r\n";
    const QByteArray unreadable = encryptRecord(QByteArray("\x01;").repeated(15) + "\r\n") + "#";
    QByteArray tail;
    const QByteArray tailStream = shortStream(&tail);

    QTest::newRow("first line damaged: line 0") << encryptRecord(tableLine("I", 40)) + encryptedLines(1, 1)
            << tableLine("I", 40) + plainLines(1, 1) << QStringList{damaged(0), lost(1, 0)};
    QTest::newRow("bare line feed salvaged, not reported twice")
            << encryptedLines(1, 12) + encryptRecord(tableLine("1", 40, "\n"))
            << plainLines(1, 12) + tableLine("1", 41) << QStringList{damaged(12), lost(1, 0)};
    // The pass looks for the next record at every byte behind the first damaged one.
    QTest::newRow("rejections name a line once") << unreadable + unreadable + encryptedLines(1, 1) << plainLines(1, 1)
            << QStringList{damaged(0), lost(0, 66)};
    QTest::newRow("salvaged lines reported from line 10, then 11 apart")
            << encryptedLines(1, 9) + encryptRecord(shortLine) + encryptedLines(1, 9) + encryptRecord(shortLine)
                    + encryptedLines(1, 1) + encryptRecord(shortLine)
            << plainLines(1, 9) + shortLine + plainLines(1, 9) + shortLine + plainLines(1, 1) + shortLine
            << QStringList{salvaged(10), salvaged(22), lost(3, 0)};
    // Damaged neighbours are each salvaged on their own where their first block reads as a line's.
    QTest::newRow("salvage keeps the longest run, the first of equals")
            << encryptRecord("1 Bon~Storno Nummer 17 Euro\r\n") + encryptRecord("2 Kasse \xc3\xa4 Storno Nummer 17\r\n")
                    + encryptRecord("3 Bon 1~Bon 2 3\r\n")
            << QByteArray("Storno Nummer 17 Euro\r\n Storno Nummer 17\r\n3 Bon 1\r\n") << QStringList{lost(3, 0)};
    // Its control bytes tell of damage that left the fields whole, but the line was named already.
    QTest::newRow("damage passing the check behind a rejection, not reported twice")
            << unreadable + encryptRecord(tableLine("1", 40).replace("xx", "\x01\x02")) + encryptedLines(1, 1)
            << tableLine("1", 40).replace("xx", "\x01\x02") + plainLines(1, 1) << QStringList{damaged(0), lost(0, 33)};
    // Records that fail the check but decrypt whole, one after the other, are each judged as the
    // first of them: kept as they read, their line feed made "\r\n", the damaged ones named.
    const QByteArray subtotal = "Zwischensumme;12,50\r\n";
    const QList<QByteArray> failing = {subtotal, subtotal, tableLine("I", 40), tableLine("", 40),
                                       tableLine("1", 40, "\n"), subtotal};
    QByteArray failingRecords;
    for (const QByteArray &line : failing)
        failingRecords += encryptRecord(line);
    QTest::newRow("failing neighbours, each on its own")
            << encryptedLines(1, 10) + failingRecords + encryptedLines(11, 2)
            << plainLines(1, 10) + subtotal + subtotal + tableLine("I", 40) + tableLine("", 40) + tableLine("1", 41)
                    + subtotal + plainLines(11, 2)
            << QStringList{salvaged(11), damaged(12), damaged(13), damaged(14), lost(6, 0)};
    DamagedJournal noiseBefore(1);
    noiseBefore.append(plainLines(1, 1));
    noiseBefore.append(plainLines(2, 1), Damage::RandomRecord);
    noiseBefore.append(tableLine("", 40));
    noiseBefore.append(plainLines(3, 1));
    QTest::newRow("failing record found behind noise") << noiseBefore.data()
            << plainLines(1, 1) + tableLine("", 40) + plainLines(3, 1) << QStringList{damaged(1), lost(1, 128)};
    QTest::newRow("salvage needs more than a quarter of the line")
            << encryptRecord("abcd" + QByteArray(11, '\x01') + '\n') + encryptedLines(1, 1)
                    + encryptRecord("abcde" + QByteArray(10, '\x01') + '\n')
            << plainLines(1, 1) + "abcde\r\n" << QStringList{lost(1, 16)};
    QTest::newRow("line of 256 bytes") << encryptRecord(tableLine("1", 256)) + encryptedLines(1, 1)
                                       << tableLine("1", 256) + plainLines(1, 1) << QStringList();
    // A line longer than the window is judged by its first 256 bytes; the stream ends with them,
    // as what follows them would decrypt out of step.
    QTest::newRow("line of 257 bytes salvaged") << encryptRecord(tableLine("1", 257)).left(256)
            << tableLine("1", 257).left(255) + "\r\n" << QStringList{damaged(0), lost(1, 0)};
    QTest::newRow("line of 258 bytes rejected") << encryptRecord(tableLine("1", 258)).left(256) << QByteArray()
                                                << QStringList{damaged(0), lost(0, 256)};
    QTest::newRow("tail of 15 bytes") << tailStream << tail << QStringList{lost(1, 0)};
    QTest::newRow("empty stream") << QByteArray() << QByteArray() << QStringList();

    const QByteArray line4 = plainLines(4, 1);
    const QByteArray around = plainLines(1, 3) + "@" + plainLines(5, 3);
    const auto with = [&around](const QByteArray &fourth) { return QByteArray(around).replace("@", fourth); };
    // Lines that fill whole records, so that the cluster holds records 16 to 31 exactly.
    QList<QByteArray> windowLines;
    for (int number = 0; number < 48; ++number)
        windowLines << tableLine("1", 256, "\r\n", number);
    DamagedJournal cluster;
    for (int number = 0; number < 48; ++number)
        cluster.append(windowLines.at(number), number == 20 ? std::optional<Damage>(Damage::ZeroedCluster) : std::nullopt);

    QTest::newRow("broken field: reported, kept as it reads") << sevenLines(Damage::BrokenField)
            << with(QByteArray(line4).insert(3, 'x')) << QStringList{damaged(3), lost(1, 0)};
    // The line runs on into the next record, whose first block reads as a line start again.
    QTest::newRow("no line feed: the line salvaged whole, the next found") << sevenLines(Damage::NoLineFeed)
            << with(line4) << QStringList{damaged(3), lost(1, 0)};
    QTest::newRow("line of 300 bytes: dropped, the next found") << sevenLines(Damage::LongLine) << with("")
            << QStringList{damaged(3), lost(0, 304)};
    QTest::newRow("random record: dropped") << sevenLines(Damage::RandomRecord) << with("")
            << QStringList{lost(0, 128)};
    // With seed 2 the sixth block is random.
    QTest::newRow("random block: the line up to it salvaged") << sevenLines(Damage::RandomBlock, 2)
            << with(line4.left(80) + "\r\n") << QStringList{damaged(3), lost(1, 32)};
    // With seed 1 the data file ends after 26 bytes of the record, with seed 2 after 79.
    QTest::newRow("file cut short early in a record: dropped") << sevenLines(Damage::CutShort) << with("")
            << QStringList{lost(0, 26)};
    QTest::newRow("file cut short late in a record: its start salvaged") << sevenLines(Damage::CutShort, 2)
            << with(line4.left(64) + "\r\n") << QStringList{lost(1, 0)};
    QTest::newRow("zeroed cluster: its records gone, the next found") << cluster.data()
            << QByteArray(windowLines.mid(0, 16).join() + windowLines.mid(32).join()) << QStringList{lost(0, 4096)};
    QTest::newRow("byte-order mark: the line passes with its bytes") << sevenLines(Damage::LeadingBom)
            << with("\xEF\xBB\xBF" + line4) << QStringList();
}

void RecordStreamTest::pass()
{
    QFETCH(QByteArray, stream);
    QFETCH(QByteArray, table);
    QFETCH(QStringList, messages);
    const Pass pass = decrypt(stream);
    QCOMPARE(pass.table, table);
    QCOMPARE(pass.lines, QStringList(Start) + messages);
    QCOMPARE(QDir().entryList({"*.~tmp", "*.~lock"}, QDir::Files | QDir::Hidden), QStringList());
}

// With seed 1 the random block lies among the fields, which keep their separators: the line
// passes the check and is written as it decrypts, but its noise is reported.
void RecordStreamTest::damageKeepingTheFields()
{
    const Pass pass = decrypt(sevenLines(Damage::RandomBlock));
    const QByteArray line4 = plainLines(4, 1);
    const QByteArray written = pass.table.mid(plainLines(1, 3).size(), line4.size());
    QCOMPARE(pass.table, plainLines(1, 3) + written + plainLines(5, 3));
    QCOMPARE(pass.lines, QStringList({Start, damaged(3)}));
    // Two blocks of noise: the random one and the one that it chains into.
    int differing = 0;
    for (int i = 0; i < line4.size(); ++i)
        differing += written.at(i) != line4.at(i);
    QVERIFY2(differing > 16 && differing <= 32, qPrintable(QString::number(differing)));
}

void RecordStreamTest::shortTail_data()
{
    QTest::addColumn<int>("tail");
    for (int tail = 0; tail < 16; ++tail)
        QTest::addRow("%d bytes behind the last record", tail) << tail;
}

// Behind a failed record at the end of the stream, fewer than 16 bytes are left of the next: they
// are looked at as the window would, filled up with zero bytes, and nothing is read beyond them.
void RecordStreamTest::shortTail()
{
    QFETCH(int, tail);
    const QByteArray subtotal = "Zwischensumme;12,50\r\n";
    QRandomGenerator random{quint32(tail)};
    QByteArray noise(tail, Qt::Uninitialized);
    std::generate(noise.begin(), noise.end(), [&random] { return char(random.bounded(256)); });
    const Pass pass = decrypt(encryptedLines(1, 3) + encryptRecord(subtotal) + noise);
    QCOMPARE(pass.table, plainLines(1, 3) + subtotal);
    QCOMPARE(pass.lines, QStringList({Start, lost(1, tail)}));
}

void RecordStreamTest::undamaged_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArray>("table");
    // Its ninth record holds a block that, decrypted with the initialisation vector, begins with a
    // digit and reads as text as much as the block itself.
    QTest::newRow("shared vector") << fileBytes(FISCORA_SHARED_DIR "/test-vectors/journal-latin1-undamaged.raw")
                                   << fileBytes(FISCORA_SHARED_DIR "/test-vectors/journal-latin1-undamaged.csv");
    QRandomGenerator random(20261207);
    QByteArray stream;
    QByteArray table;
    for (int number = 1; number <= 200000; ++number) {
        const QByteArray line = latin1Line(number, random);
        table += line;
        stream += encryptRecord(line);
    }
    QTest::newRow("200 000 lines of Latin-1 text") << stream << table;
}

// A block of an undamaged line is never taken for a record start, however much of it is beyond ASCII.
void RecordStreamTest::undamaged()
{
    QFETCH(QByteArray, stream);
    QFETCH(QByteArray, table);
    QVERIFY(!stream.isEmpty() && !table.isEmpty());
    const Pass pass = decrypt(stream);
    QCOMPARE(pass.lines, QStringList(Start));
    QVERIFY(pass.table == table);
}

void RecordStreamTest::damagedJournal_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("kind");
    QTest::newRow("20 MB, every kind") << qint64(20000000) << -1;
    for (const Damage damage : fiscora::sample::allDamages())
        QTest::newRow(qPrintable("4 MB, " + fiscora::sample::damageName(damage))) << qint64(4000000) << int(damage);
}

// A journal of which one record in a hundred is damaged keeps all but a few of its undamaged
// records, in order, and writes next to nothing that is no record.
void RecordStreamTest::damagedJournal()
{
    QFETCH(qint64, size);
    QFETCH(int, kind);
    QList<QByteArray> lines;
    const DamagedJournal journal = ::damagedJournal(size, kind, &lines);
    const Pass pass = decrypt(journal.data());

    const DamageFigures figures = figuresOf(lines, journal.damagedLines(), pass.table);
    qInfo("%d of %d undamaged records kept, %d of %d lines unaccounted for", figures.kept, figures.undamaged,
          figures.unaccounted, figures.lines);
    QVERIFY2(figures.kept >= 0.9998 * figures.undamaged, qPrintable(QString::number(figures.kept)));
    QVERIFY2(figures.unaccounted <= 0.0001 * figures.lines, qPrintable(QString::number(figures.unaccounted)));
    if (kind != int(Damage::LeadingBom))
        QVERIFY2(pass.lines.last().contains("Not all records could be read"), qPrintable(pass.lines.last()));
}

// Handed over in pieces of any size, a damaged stream gives what it gives whole: a record that
// crosses a piece, or a search that goes on into the next, loses nothing.
void RecordStreamTest::inPieces()
{
    QList<QByteArray> lines;
    const QByteArray stream = ::damagedJournal(400000, -1, &lines).data();
    const Pass whole = decrypt(stream);
    QRandomGenerator random(7);
    QList<int> pieces;
    for (int i = 0; i < 50; ++i)
        pieces << 1 + int(random.bounded(3000));
    const Pass inPieces = decrypt(stream, pieces);
    QCOMPARE(inPieces.table, whole.table);
    QCOMPARE(inPieces.lines, whole.lines);
}

// 320 bytes give a step of three bytes, so that ten records would count up to 106 per cent.
void RecordStreamTest::progressCapped()
{
    QList<int> progress;
    decrypt(encryptRecord(tableLine("1", 32)).repeated(10), {}, [&progress](int value) { progress << value; });
    QCOMPARE(progress, QList<int>({10, 21, 32, 42, 53, 64, 74, 85, 96, 100}));
}

void RecordStreamTest::writeThreshold_data()
{
    QTest::addColumn<int>("lastLine");
    QTest::addColumn<qint64>("writtenBeforeEnd");
    QTest::newRow("1 048 575 bytes stay in memory") << 255 << qint64(0);
    QTest::newRow("1 048 576 bytes are written at once") << 256 << qint64(1 << 20);
}

// 4095 lines of 256 bytes and a last one: the table reaches the write threshold with its last line
// or stays one byte below it.
void RecordStreamTest::writeThreshold()
{
    QFETCH(int, lastLine);
    QFETCH(qint64, writtenBeforeEnd);
    const QByteArray stream = encryptRecord(tableLine("1", 256)).repeated(4095) + encryptRecord(tableLine("1", lastLine));
    qint64 writtenAtLastProgress = -1;
    const Pass pass = decrypt(stream, {}, [&writtenAtLastProgress](int value) {
        if (value == 100)
            writtenAtLastProgress = QFileInfo(QDir().entryList({Table + ".*.~tmp"}).value(0)).size();
    });
    QCOMPARE(writtenAtLastProgress, writtenBeforeEnd);
    QCOMPARE(pass.table.size(), 4095 * 256 + lastLine);
}

QTEST_GUILESS_MAIN(RecordStreamTest)
#include "tst_recordstream.moc"
