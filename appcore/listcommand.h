#ifndef FISCORA_APP_LISTCOMMAND_H
#define FISCORA_APP_LISTCOMMAND_H

#include <QCoreApplication>

namespace fiscora::app {

class Reporter;
struct Command;

/*!
 * "list": what a read of a card would find, without writing anything.
 *
 * \code
 * const int exitCode = ListCommand(reporter).run(command);
 * \endcode
 */
class ListCommand
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::ListCommand)

public:
    explicit ListCommand(Reporter &reporter);

    //! 0 when the card holds registers that a read would back up without flagging anything, 1 when
    //! it holds none, or a read would fail or flag something.
    int run(const Command &command);

private:
    Reporter &m_reporter;
};

} // namespace fiscora::app

#endif // FISCORA_APP_LISTCOMMAND_H
