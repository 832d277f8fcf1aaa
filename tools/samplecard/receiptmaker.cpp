#include "receiptmaker.h"

#include <algorithm>
#include <iterator>

namespace fiscora::sample {

namespace {

struct Article
{
    int plu;
    const char *name; // Latin-1, as the register writes it
    qint64 cents;     // per piece, or per kilogram when weighed
    int group;
    int upperGroup;
    int taxCode;
    int popularity;
    bool weighed;
};

// Drinks and hot meals are served at the tables (19 %), the bakery counter sells food (7 %).
const Article Menu[] = {
    {101, "Kaffee", 240, 1, 1, 1, 14, false},
    {102, "Cappuccino", 320, 1, 1, 1, 12, false},
    {103, "Latte Macchiato", 360, 1, 1, 1, 9, false},
    {104, "Espresso", 210, 1, 1, 1, 7, false},
    {105, "Milchkaffee", 340, 1, 1, 1, 6, false},
    {106, "Hei\xdf" "e Schokolade", 340, 1, 1, 1, 4, false},
    {107, "Tee", 260, 1, 1, 1, 4, false},
    {121, "Apfelschorle 0,4l", 330, 2, 1, 1, 4, false},
    {122, "Mineralwasser 0,5l", 250, 2, 1, 1, 4, false},
    {123, "Orangensaft 0,2l", 295, 2, 1, 1, 3, false},
    {131, "Wei\xdf" "bier 0,5l", 450, 3, 1, 1, 2, false},
    {201, "Br\xf6tchen", 45, 10, 2, 2, 16, false},
    {202, "Laugenbrezel", 95, 10, 2, 2, 8, false},
    {203, "Croissant", 130, 10, 2, 2, 9, false},
    {204, "Vollkornbr\xf6tchen", 65, 10, 2, 2, 6, false},
    {205, "Bauernbrot 1000g", 450, 11, 2, 2, 4, false},
    {206, "Dinkelbrot 750g", 485, 11, 2, 2, 3, false},
    {211, "Apfelkuchen", 290, 12, 2, 2, 5, false},
    {212, "K\xe4sekuchen", 315, 12, 2, 2, 4, false},
    {213, "Pralinen lose", 5200, 13, 2, 2, 2, true},
    {214, "Pl\xe4tzchen lose", 2890, 13, 2, 2, 2, true},
    {231, "Schnitzel Wiener Art mit Bratkartoffeln", 1490, 20, 3, 1, 3, false},
    {232, "Tagessuppe", 590, 20, 3, 1, 3, false},
    {233, "Belegtes Br\xf6tchen", 325, 20, 3, 1, 6, false},
    {234, "Quiche mit Salat", 875, 20, 3, 1, 2, false},
};

const char *const Notes[] = {"Notiz: ohne Zucker", "Notiz: mit Hafermilch", "Notiz: extra hei\xdf",
                             "Notiz: Stammgast", "Notiz: bitte aufw\xe4rmen"};

constexpr int ArticleCounts[] = {45, 30, 15, 6, 4};  // one to five articles
constexpr int PieceCounts[] = {80, 12, 5, 2, 1};     // one to five pieces
constexpr int OperatorShares[] = {35, 30, 20, 15};   // operators 1 to 4
constexpr int CarelessOperator = 3;
constexpr double CancelShare = 0.015;
constexpr double CarelessCancelShare = 0.08;
constexpr double ReturnShare = 0.008;
constexpr double TakeAwayShare = 0.2;
constexpr double NoteShare = 0.03;
// Invented receipts end in an open-price article for no more than this.
constexpr qint64 FillerCents = 2500;

// The index of an item of \a items, each as likely as its \a weight says.
template <typename Items, typename Weight>
int pick(QRandomGenerator &random, const Items &items, Weight weight)
{
    int sum = 0;
    for (const auto &item : items)
        sum += weight(item);
    int ticket = random.bounded(sum);
    int index = 0;
    for (const auto &item : items) {
        if (ticket < weight(item))
            break;
        ticket -= weight(item);
        ++index;
    }
    return index;
}

template <std::size_t Count>
int pick(QRandomGenerator &random, const int (&weights)[Count])
{
    return pick(random, weights, [](int weight) { return weight; });
}

// A receipt of one article with the price typed in, at the higher rate.
ShopReceipt openPriceReceipt(qint64 cents)
{
    ShopBooking booking;
    booking.plu = 999;
    booking.name = QByteArrayLiteral("Diverses");
    booking.group = 99;
    booking.upperGroup = 9;
    booking.price = cents * 10;
    booking.amountCents = cents;
    ShopReceipt receipt;
    receipt.bookings = {booking};
    return receipt;
}

} // namespace

ReceiptMaker::ReceiptMaker(QRandomGenerator &random)
    : m_random(random)
{
}

ShopReceipt ReceiptMaker::receipt()
{
    const int operatorNumber = 1 + pick(m_random, OperatorShares);
    if (chance(ReturnShare))
        return returnReceipt(operatorNumber);
    ShopReceipt receipt;
    receipt.operatorNumber = operatorNumber;
    receipt.takeAway = chance(TakeAwayShare);
    const double cancelShare = operatorNumber == CarelessOperator ? CarelessCancelShare : CancelShare;
    for (int articles = 1 + pick(m_random, ArticleCounts); articles > 0; --articles) {
        receipt.bookings.append(sale());
        if (!chance(cancelShare))
            continue;
        // A wrong key: the line is cancelled at once and the right article rung up after it.
        ShopBooking cancellation = receipt.bookings.last();
        cancellation.kind = ShopBooking::Kind::Cancellation;
        cancellation.amountCents = -cancellation.amountCents;
        cancellation.note.clear();
        receipt.bookings.append(cancellation);
        receipt.bookings.append(sale());
    }
    const double cardShare = 0.15 + qMin(0.6, receipt.totalCents() / 4000.0);
    receipt.way = chance(cardShare) ? PaymentWay::Card : PaymentWay::Cash;
    return receipt;
}

QList<ShopReceipt> ReceiptMaker::receiptsReaching(qint64 targetCents)
{
    QList<ShopReceipt> receipts;
    for (qint64 sum = 0; sum < targetCents; sum += receipts.last().totalCents())
        receipts.append(receipt());
    return receipts;
}

QList<ShopReceipt> ReceiptMaker::receiptsMaking(qint64 cents)
{
    QList<ShopReceipt> receipts;
    while (cents > FillerCents) {
        const ShopReceipt next = receipt();
        if (next.totalCents() > 0 && next.totalCents() <= cents) {
            cents -= next.totalCents();
            receipts.append(next);
        }
    }
    if (cents > 0)
        receipts.append(openPriceReceipt(cents));
    return receipts;
}

void ReceiptMaker::spread(QList<ShopReceipt> &receipts, const QTime &opens, const QTime &closes)
{
    QList<double> shares;
    for (int i = 0; i < receipts.size(); ++i)
        shares.append(dayShare());
    std::sort(shares.begin(), shares.end());
    // Counting each receipt's place on top keeps the times apart by a second at least.
    const int free = qMax(0, opens.secsTo(closes) - 60 - int(receipts.size()));
    for (int i = 0; i < receipts.size(); ++i)
        receipts[i].time = opens.addSecs(int(shares.at(i) * free) + i);
}

ShopBooking ReceiptMaker::sale()
{
    const Article &article = Menu[pick(m_random, Menu, [](const Article &item) { return item.popularity; })];
    ShopBooking booking;
    booking.plu = article.plu;
    booking.name = QByteArray(article.name);
    booking.group = article.group;
    booking.upperGroup = article.upperGroup;
    booking.taxCode = article.taxCode;
    booking.price = article.cents * 10;
    booking.quantity = article.weighed ? 100 + 5 * m_random.bounded(100) : 1000 * (1 + pick(m_random, PieceCounts));
    // Half a cent and more is a cent, as scales and registers round.
    booking.amountCents = (article.cents * booking.quantity + 500) / 1000;
    if (chance(NoteShare))
        booking.note = QByteArray(Notes[m_random.bounded(int(std::size(Notes)))]);
    return booking;
}

ShopReceipt ReceiptMaker::returnReceipt(int operatorNumber)
{
    ShopBooking returned = sale();
    returned.kind = ShopBooking::Kind::Return;
    returned.amountCents = -returned.amountCents;
    returned.note.clear();
    ShopReceipt receipt;
    receipt.operatorNumber = operatorNumber;
    receipt.bookings = {returned};
    return receipt;
}

bool ReceiptMaker::chance(double probability)
{
    return m_random.generateDouble() < probability;
}

double ReceiptMaker::dayShare()
{
    // Half of the customers come at any time, the rest around breakfast and around lunch.
    const double kind = m_random.generateDouble();
    if (kind < 0.5)
        return m_random.generateDouble();
    const double peak = kind < 0.75 ? 0.15 : 0.5;
    for (;;) {
        const double share = peak + 0.12 * (m_random.generateDouble() + m_random.generateDouble() - 1);
        if (share >= 0 && share < 1)
            return share;
    }
}

} // namespace fiscora::sample
