// An undamaged journal made of the input (fuzzinput::journalInput): each line of its text becomes a
// table line as a register writes it, each encrypted as a record of its own. With the line check and
// without, whole and in pieces, the table is the journal byte for byte and nothing is reported.

#include "fuzzing.h"
#include "fuzzinput.h"
#include "samplecipher.h"

namespace {

// Register number, line number and enough separators for the check's 15 fields around the text,
// which loses the bytes that no register writes: control bytes but the tab, and DEL. A record holds
// at most 256 bytes.
QByteArray tableLine(int number, QByteArray text)
{
    for (char &byte : text) {
        if ((quint8(byte) < ' ' && byte != '\t') || byte == '\x7F')
            byte = '?';
    }
    const QByteArray start = "1;" + QByteArray::number(number) + QByteArray(13, ';');
    return start + text.left(256 - 2 - start.size()) + "\r\n";
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
    const QList<int> pieces = fuzzinput::takePieceSizes(input);
    QByteArray journal;
    QByteArray stream;
    int number = 0;
    for (const QByteArray &text : input.rest().split('\n')) {
        const QByteArray line = tableLine(++number, text);
        journal += line;
        stream += fiscora::sample::encryptRecord(line);
    }

    QList<QList<int>> handOvers{{}};
    if (!pieces.isEmpty())
        handOvers << pieces;
    const QStringList nothingReported{joblog::progressStarted(100)};
    for (const bool skipLineCheck : {false, true}) {
        for (const QList<int> &sizes : handOvers) {
            const fuzzing::Pass pass = fuzzing::decrypt(stream, skipLineCheck, sizes);
            FUZZ_REQUIRE(pass.lines == nothingReported);
            FUZZ_REQUIRE(pass.table == journal);
        }
    }
    return 0;
}
