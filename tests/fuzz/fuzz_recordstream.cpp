// Arbitrary bytes as a record stream (fuzzinput::streamInput), with the line check or without.
// Without the check every record is written as it decrypts. With it, only lines that end with
// "\r\n" are written, at most one for each block of the stream, a line is named in a message once,
// and the loss message comes last, its figures not both 0 and within the stream; without the loss
// message every record was written as it decrypts. Handed over in pieces, the stream gives what it
// gives whole.

#include "aes_p.h"
#include "fuzzing.h"
#include "fuzzinput.h"

#include <QRegularExpression>

#include <cstring>

namespace {

using fuzzing::Pass;

// The table of a pass that takes every record whole: the next 256 bytes of the stream on a window of
// zero bytes, decrypted as decryptBuffer() decrypts them, up to and with their first line feed, and
// the next record behind the blocks of that line.
QByteArray recordsAsTheyDecrypt(const QByteArray &stream)
{
    QByteArray table;
    for (int offset = 0; offset < stream.size();) {
        quint8 window[fiscora::RecordWindow::Size] = {};
        const int held = qMin(int(sizeof window), stream.size() - offset);
        std::memcpy(window, stream.constData() + offset, size_t(held));
        const int decrypted = fiscora::decryptBuffer(window, held);
        const void *feed = std::memchr(window, '\n', size_t(decrypted));
        const int length = feed ? int(static_cast<const quint8 *>(feed) - window) + 1 : decrypted;
        table.append(reinterpret_cast<const char *>(window), length);
        offset += (length + fiscora::AesBlockSize - 1) / fiscora::AesBlockSize * fiscora::AesBlockSize;
    }
    return table;
}

const QString Start = joblog::progressStarted(100);

// Checks what a pass with the line check reported; whether it said that records were lost.
bool checkedReport(const Pass &pass, qint64 streamSize)
{
    static const QRegularExpression lineMessage(
        QStringLiteral("^processMessages\\((?:Decryption error|Check decryption) near line: (\\d+), true, 0\\)$"));
    static const QRegularExpression lossMessage(QStringLiteral(
        "^processMessages\\(Not all records could be read: (\\d+) lines were repaired, (\\d+) bytes could not be "
        "read\\., true, 0\\)$"));
    FUZZ_REQUIRE(!pass.lines.isEmpty() && pass.lines.first() == Start);
    const int tableLines = pass.table.count('\n');
    qint64 lastNamed = -1;
    for (int i = 1; i < pass.lines.size(); ++i) {
        const QRegularExpressionMatch line = lineMessage.match(pass.lines.at(i));
        if (line.hasMatch()) {
            const qint64 named = line.captured(1).toLongLong();
            FUZZ_REQUIRE(named > lastNamed && named <= tableLines);
            lastNamed = named;
            continue;
        }
        const QRegularExpressionMatch loss = lossMessage.match(pass.lines.at(i));
        FUZZ_REQUIRE(loss.hasMatch() && i == pass.lines.size() - 1);
        const qint64 repaired = loss.captured(1).toLongLong();
        const qint64 unread = loss.captured(2).toLongLong();
        FUZZ_REQUIRE(repaired + unread > 0 && repaired <= tableLines && unread <= streamSize);
        return true;
    }
    return false;
}

void checkPass(const Pass &pass, const QByteArray &stream, bool skipLineCheck)
{
    if (skipLineCheck) {
        FUZZ_REQUIRE(pass.lines == QStringList(Start));
        FUZZ_REQUIRE(pass.table == recordsAsTheyDecrypt(stream));
        return;
    }
    const bool recordsLost = checkedReport(pass, stream.size());
    FUZZ_REQUIRE(pass.table.isEmpty() || pass.table.endsWith('\n'));
    FUZZ_REQUIRE(pass.table.count("\r\n") == pass.table.count('\n'));
    FUZZ_REQUIRE(pass.table.count('\n') <= (stream.size() + fiscora::AesBlockSize - 1) / fiscora::AesBlockSize);
    FUZZ_REQUIRE(recordsLost || pass.table == recordsAsTheyDecrypt(stream));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzing::quietLogging();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const quint8 *data, size_t size)
{
    fuzzinput::Input input{data, size};
    const bool skipLineCheck = input.takeByte() & fuzzinput::SkipLineCheck;
    const QList<int> pieces = fuzzinput::takePieceSizes(input);
    const QByteArray stream = input.rest();

    const Pass whole = fuzzing::decrypt(stream, skipLineCheck);
    checkPass(whole, stream, skipLineCheck);
    if (!pieces.isEmpty()) {
        const Pass inPieces = fuzzing::decrypt(stream, skipLineCheck, pieces);
        FUZZ_REQUIRE(inPieces.table == whole.table);
        FUZZ_REQUIRE(inPieces.lines == whole.lines);
    }
    return 0;
}
