#ifndef FISCORA_SAMPLE_RECEIPTMAKER_H
#define FISCORA_SAMPLE_RECEIPTMAKER_H

#include "shopreceipt.h"

#include <QList>
#include <QRandomGenerator>
#include <QTime>

namespace fiscora::sample {

/*!
 * Receipts of the sample shop, a café with a bakery counter: articles from a small menu with
 * fixed prices (pralines and biscuits sold by weight), rung up by four operators of whom the
 * third cancels and rings up again far more often than the others, now and then an article taken
 * back and its money paid out, and card payments the likelier the larger the sum. All chance comes
 * from the generator handed in, so the same generator state gives the same receipts.
 *
 * \code
 * QRandomGenerator random(seed);
 * ReceiptMaker maker(random);
 * QList<ShopReceipt> receipts = maker.receiptsReaching(85000);
 * maker.spread(receipts, QTime(7, 0), QTime(18, 30));
 * \endcode
 */
class ReceiptMaker
{
public:
    explicit ReceiptMaker(QRandomGenerator &random);

    //! One customer's receipt, without a time.
    ShopReceipt receipt();
    //! Receipts until their sum reaches \a targetCents; the last one takes it past the target.
    QList<ShopReceipt> receiptsReaching(qint64 targetCents);
    //! Sales that add up to \a cents exactly, the rest booked as an open-price article ("Diverses").
    QList<ShopReceipt> receiptsMaking(qint64 cents);
    //! Gives \a receipts times that increase by at least a second, from \a opens to a minute before
    //! \a closes, crowded around breakfast and lunch.
    void spread(QList<ShopReceipt> &receipts, const QTime &opens, const QTime &closes);

private:
    ShopBooking sale();
    ShopReceipt returnReceipt(int operatorNumber);
    bool chance(double probability);
    double dayShare();

    QRandomGenerator &m_random;
};

} // namespace fiscora::sample

#endif // FISCORA_SAMPLE_RECEIPTMAKER_H
