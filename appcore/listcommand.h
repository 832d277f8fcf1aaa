#ifndef FISCORA_APP_LISTCOMMAND_H
#define FISCORA_APP_LISTCOMMAND_H

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
public:
    explicit ListCommand(Reporter &reporter);

    //! 0 when the card holds registers that a read would back up, 1 when it holds none or a read would fail.
    int run(const Command &command);

private:
    Reporter &m_reporter;
};

} // namespace fiscora::app

#endif // FISCORA_APP_LISTCOMMAND_H
