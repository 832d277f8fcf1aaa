// fiscora-mkcard: writes an SD card as cash registers write it, for demonstrations and tests.

#include "samplecard.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <optional>

using fiscora::sample::CardOptions;
using fiscora::sample::Manipulation;
using fiscora::sample::RegisterFiles;
using fiscora::sample::ShopOptions;

namespace {

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// A size in bytes, with K, M or G for binary multiples.
std::optional<qint64> parseSize(QString text)
{
    const int unit = text.isEmpty() ? -1 : QString("KMG").indexOf(text.back().toUpper());
    if (unit >= 0)
        text.chop(1);
    const int shift = 10 * (unit + 1);
    bool ok = false;
    const qint64 size = text.toLongLong(&ok);
    // A card of up to a tebibyte.
    if (!ok || size <= 0 || size > (qint64(1) << 40 >> shift))
        return std::nullopt;
    return size << shift;
}

// The first serial number and those counted on from it, its first character kept: 12345678,
// 12345679, ... or G1234567, G1234568, ...
std::optional<QStringList> serialNumbers(const QString &first, const QString &countText)
{
    bool numberOk = false;
    bool countOk = false;
    const int number = first.mid(1).toInt(&numberOk);
    const int count = countText.toInt(&countOk);
    if (first.size() != 8 || !numberOk || number < 0 || !countOk || count < 1 || number + count > 10000000)
        return std::nullopt;
    QStringList serialNumbers;
    for (int i = 0; i < count; ++i)
        serialNumbers.append(first.left(1) + QString("%1").arg(number + i, 7, 10, QLatin1Char('0')));
    return serialNumbers;
}

/*!
 * The options of the tool, checked, turned into CardOptions, and the card written from them.
 */
class MakeCard
{
public:
    //! An exit code when nothing is left to do (after --help or a usage error).
    std::optional<int> parse(const QStringList &arguments);
    int run() const;

private:
    std::optional<int> takeOptions(const QCommandLineParser &parser);
    bool takeMonth(const QCommandLineParser &parser, const char *name, QDate &month) const;
    bool parseMonth(const QString &text, const char *name, QDate &month) const;
    bool takeDamage(const QCommandLineParser &parser);
    bool takeShop(const QCommandLineParser &parser);
    bool takeShopOptions(const QCommandLineParser &parser, ShopOptions &shop);
    bool takeManipulations(const QCommandLineParser &parser);
    std::optional<int> fail(const QString &text) const;

    QString m_folder;
    CardOptions m_options;
};

std::optional<int> MakeCard::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
            "Writes an SD card of cash registers into FOLDER: a maker folder, a folder per register with its "
            "index file and year folders of monthly data files, each journal line an encrypted record.\n"
            "Months are written 2019-03.");
    parser.addHelpOption();
    parser.addPositionalArgument("FOLDER", "The card's root folder; created where missing.");
    parser.addOptions({
        {"registers", "Write <n> registers (default 1).", "n", "1"},
        {"serial", "The serial number of the first register; the others count on from it (default 12345678).",
         "number", "12345678"},
        {"from", "The first month with data (default 2019-01).", "month", "2019-01"},
        {"to", "The last month with data (default 2019-12).", "month", "2019-12"},
        {"lines", "Journal lines in each monthly data file (default 8).", "n", "8"},
        {"size", "Make all data files together about <bytes> large (K, M, G allowed), instead of --lines.",
         "bytes"},
        {"missing-month", "Leave out the data file of <month>, which the index announces.", "month"},
        {"damage", "Damage the record in the middle of <month>'s data file as cards get damaged: <kind> is "
                   "broken-field, no-line-feed, long-line, random-record, random-block, cut-short, zeroed-cluster "
                   "or leading-bom. May be given more than once.",
         "kind@month"},
        {"damage-every", "Damage every <n>-th record of the card, the kinds of damage in turn.", "n"},
        {"no-maker-folder", "Put the registers straight into FOLDER."},
        {"no-index-file", "Leave out the registers' index files."},
        {"shop", "Write the journal of a cafe with a bakery counter instead, as many lines as it books: per "
                 "open day receipts of articles (Artikel, Storno, Retoure) each with its payment line (Zahlung: "
                 "Bar or EC-Karte) within the opening hours, then the closing report (Bericht, Z-Bericht), "
                 "numbered without gaps. Not with --lines or --size."},
        {"seed", "With --shop: the first register's journal comes from <n> (default 1), the others' from the "
                 "numbers after it.",
         "n"},
        {"closed-on", "With --shop: the shop stays closed on <weekday>, monday to sunday, or none (default "
                      "sunday).",
         "weekday"},
        {"open-on-holidays", "With --shop: the shop opens on public holidays too."},
        {"manipulate", "With --shop: manipulate the journal's days of <span>, a month (2019-03), a day "
                       "(2019-03-05) or days (2019-03-01..2019-03-14). <kind> is delete-lines (a run of "
                       "receipts off the card, a gap left), delete-receipts (one in eight cash sales gone, "
                       "numbers closed up, closing report made again), invent-takings (receipts replaced to "
                       "make up takings of favourite digits) or cut-takings (on some days cash sales gone until "
                       "the takings are 30 % lower, numbers closed up). May be given more than once; applied in "
                       "order.",
         "kind@span"},
    });
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return fail("Give one FOLDER.");
    m_folder = parser.positionalArguments().first();
    return takeOptions(parser);
}

std::optional<int> MakeCard::takeOptions(const QCommandLineParser &parser)
{
    const std::optional<QStringList> serials = serialNumbers(parser.value("serial"), parser.value("registers"));
    if (!serials)
        return fail(QString("Invalid serial number \"%1\" or number of registers \"%2\".")
                            .arg(parser.value("serial"), parser.value("registers")));
    m_options.serialNumbers = *serials;
    bool linesOk = false;
    m_options.linesPerMonth = parser.value("lines").toInt(&linesOk);
    if (!linesOk || m_options.linesPerMonth < 1)
        return fail(QString("Invalid number of lines \"%1\".").arg(parser.value("lines")));
    if (parser.isSet("size")) {
        const std::optional<qint64> size = parseSize(parser.value("size"));
        if (!size)
            return fail(QString("Invalid size \"%1\".").arg(parser.value("size")));
        m_options.totalSize = *size;
    }
    if (!takeMonth(parser, "from", m_options.firstMonth) || !takeMonth(parser, "to", m_options.lastMonth)
        || !takeMonth(parser, "missing-month", m_options.missingMonth) || !takeDamage(parser)
        || !takeShop(parser))
        return ExitUsage;
    // The index counts months from January 2016; data files name their year with two digits.
    if (m_options.firstMonth.year() < 2016 || m_options.lastMonth.year() > 2099
        || m_options.lastMonth < m_options.firstMonth)
        return fail("The months must run forward, from 2016 to 2099.");
    if (parser.isSet("no-maker-folder"))
        m_options.makerFolder.clear();
    m_options.withIndexFile = !parser.isSet("no-index-file");
    return std::nullopt;
}

bool MakeCard::takeMonth(const QCommandLineParser &parser, const char *name, QDate &month) const
{
    const QString text = parser.value(name);
    return text.isEmpty() || parseMonth(text, name, month);
}

bool MakeCard::parseMonth(const QString &text, const char *name, QDate &month) const
{
    month = QDate::fromString(text, "yyyy-MM");
    if (!month.isValid())
        fail(QString("Invalid month \"%1\" for --%2: write 2019-03.").arg(text, name));
    return month.isValid();
}

bool MakeCard::takeDamage(const QCommandLineParser &parser)
{
    for (const QString &value : parser.values("damage")) {
        const std::optional<fiscora::sample::Damage> damage = fiscora::sample::damageFromName(value.section('@', 0, 0));
        QDate month;
        if (!damage) {
            fail(QString("Unknown damage \"%1\" for --damage.").arg(value.section('@', 0, 0)));
            return false;
        }
        if (!parseMonth(value.section('@', 1), "damage", month))
            return false;
        m_options.damages.append({*damage, month});
    }
    if (!parser.isSet("damage-every"))
        return true;
    bool ok = false;
    m_options.damageEvery = parser.value("damage-every").toInt(&ok);
    if (!ok || m_options.damageEvery < 1)
        fail(QString("Invalid number \"%1\" for --damage-every.").arg(parser.value("damage-every")));
    return ok && m_options.damageEvery >= 1;
}

bool MakeCard::takeShop(const QCommandLineParser &parser)
{
    if (!parser.isSet("shop")) {
        for (const char *option : {"seed", "closed-on", "open-on-holidays", "manipulate"}) {
            if (parser.isSet(option)) {
                fail(QString("--%1 needs --shop.").arg(option));
                return false;
            }
        }
        return true;
    }
    if (parser.isSet("lines") || parser.isSet("size")) {
        fail("--shop writes as many lines as the shop books: leave out --lines and --size.");
        return false;
    }
    m_options.shop = ShopOptions();
    return takeShopOptions(parser, *m_options.shop) && takeManipulations(parser);
}

bool MakeCard::takeManipulations(const QCommandLineParser &parser)
{
    for (const QString &value : parser.values("manipulate")) {
        const std::optional<Manipulation> manipulation = Manipulation::fromText(value);
        if (!manipulation) {
            fail(QString("Invalid manipulation \"%1\": write <kind>@2019-03 or <kind>@2019-03-01..2019-03-14 with "
                         "<kind> one of %2.")
                         .arg(value, Manipulation::kindNames().join(", ")));
            return false;
        }
        m_options.manipulations.append(*manipulation);
    }
    return true;
}

bool MakeCard::takeShopOptions(const QCommandLineParser &parser, ShopOptions &shop)
{
    bool seedOk = true;
    if (parser.isSet("seed"))
        shop.seed = parser.value("seed").toUInt(&seedOk);
    if (!seedOk) {
        fail(QString("Invalid seed \"%1\".").arg(parser.value("seed")));
        return false;
    }
    if (parser.isSet("closed-on")) {
        const QStringList days = {"none", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};
        shop.closedOn = int(days.indexOf(parser.value("closed-on").toLower()));
        if (shop.closedOn < 0) {
            fail(QString("Invalid weekday \"%1\" for --closed-on: write monday to sunday, or none.")
                         .arg(parser.value("closed-on")));
            return false;
        }
    }
    shop.publicHolidays = !parser.isSet("open-on-holidays");
    return true;
}

std::optional<int> MakeCard::fail(const QString &text) const
{
    std::fprintf(stderr, "fiscora-mkcard: %s\n", qUtf8Printable(text));
    return ExitUsage;
}

int MakeCard::run() const
{
    if (!QDir().mkpath(m_folder)) {
        std::fprintf(stderr, "fiscora-mkcard: cannot create the folder %s\n", qUtf8Printable(m_folder));
        return ExitFailed;
    }
    // writeCard has said what went wrong.
    const QList<RegisterFiles> registers = fiscora::sample::writeCard(m_folder, m_options);
    if (registers.isEmpty())
        return ExitFailed;
    for (const RegisterFiles &files : registers) {
        std::printf("%s: %d monthly data files, index file %s\n", qUtf8Printable(files.folder),
                    int(files.dataFiles.size()), files.indexFile.isEmpty() ? "none" : qUtf8Printable(files.indexFile));
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    MakeCard makeCard;
    if (const std::optional<int> exitCode = makeCard.parse(QCoreApplication::arguments()))
        return *exitCode;
    return makeCard.run();
}
