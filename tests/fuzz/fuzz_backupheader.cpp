// Arbitrary bytes as the start of a backup, read into an analyser that holds another header. A
// header is taken whole or not at all: the body starts behind what its length field announces, or
// at 0, never beyond the bytes given, and the months taken run on from January 2016 to December
// 9999 at the latest. Bytes refused leave every field as it was, but that an unknown version byte
// has replaced version, source and MD5 value. A header taken is written back as one that reads the
// same and writes the same bytes again, version 1 in the layout of version 2. The report names each
// month whose data file is missing.

#include "fuzzing.h"
#include "samplecard.h"

#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <tuple>

namespace {

using fiscora::IndexFileAnalyser;

constexpr int LengthFieldSize = 2;
// Serial number and firmware version, which version 1 lacks.
constexpr int Version2Fields = 40;
constexpr int DigestSize = 16;

// An analyser that holds a header of register 87654321 and a firmware version, so that every field
// differs from a new analyser's.
const IndexFileAnalyser &earlierAnalyser()
{
    static const IndexFileAnalyser analyser = [] {
        IndexFileAnalyser earlier;
        earlier.readCompressIndex(
            fiscora::sample::backupHeader("87654321", QByteArray::fromHex("05010102"), QByteArray(DigestSize, '\xAB')));
        earlier.setCRFirmwareVersion("FW 1.2");
        return earlier;
    }();
    return analyser;
}

auto sourceAndDigest(const IndexFileAnalyser &analyser)
{
    return std::make_tuple(int(analyser.getCurrentIndexSource()), analyser.getMD5Value());
}

auto fieldsBehind(const IndexFileAnalyser &analyser)
{
    return std::make_tuple(analyser.getCRSerialnumber(), analyser.getCRFirmwareVersion(), analyser.getIndexMap());
}

void checkRefused(const IndexFileAnalyser &analyser, const QByteArray &data)
{
    const IndexFileAnalyser &earlier = earlierAnalyser();
    FUZZ_REQUIRE(fieldsBehind(analyser) == fieldsBehind(earlier));
    if (analyser.getHeaderVersion() == earlier.getHeaderVersion()) {
        FUZZ_REQUIRE(sourceAndDigest(analyser) == sourceAndDigest(earlier));
        return;
    }
    const QByteArray header = data.left(LengthFieldSize + fiscora::HelperClass::convertByteArrayToInt(data.left(2)));
    const char version = header.at(2);
    FUZZ_REQUIRE(version != 1 && version != 2 && analyser.getHeaderVersion() == header.mid(2, 1));
    FUZZ_REQUIRE(sourceAndDigest(analyser) == std::make_tuple(int(qint8(header.at(3))), header.mid(4, DigestSize)));
}

void checkWrittenBack(const IndexFileAnalyser &analyser, char version, int headerSize)
{
    QByteArray written = analyser.getCompessIndex();
    if (written.isEmpty()) {
        FUZZ_REQUIRE(version == 1 && headerSize + Version2Fields > fiscora::LongestBackupHeader);
        return;
    }
    FUZZ_REQUIRE(written.at(2) == version);
    // The layout holds only for a whole digest: behind a shorter one the fields of version 2 would
    // be read from the wrong place, where version 2 itself has no fields behind it.
    if (version == 1 && analyser.getMD5Value().size() != DigestSize)
        return;
    written[2] = 2;
    IndexFileAnalyser again;
    FUZZ_REQUIRE(again.readCompressIndex(written + "body") == written.size());
    FUZZ_REQUIRE(sourceAndDigest(again) == sourceAndDigest(analyser));
    FUZZ_REQUIRE(fieldsBehind(again) == fieldsBehind(analyser));
    FUZZ_REQUIRE(again.getCompessIndex() == written);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzing::quietLogging();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const quint8 *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    IndexFileAnalyser analyser = earlierAnalyser();
    const int bodyOffset = analyser.readCompressIndex(bytes);
    if (bodyOffset == 0) {
        checkRefused(analyser, bytes);
    } else {
        FUZZ_REQUIRE(bodyOffset == LengthFieldSize + fiscora::HelperClass::convertByteArrayToInt(bytes.left(2)));
        FUZZ_REQUIRE(bodyOffset >= 4 && bodyOffset <= bytes.size());
        const QList<QDate> months = analyser.getIndexMap().keys();
        FUZZ_REQUIRE(fuzzing::monthsFromJanuary2016(months));
        FUZZ_REQUIRE(months.isEmpty() || months.last() <= QDate(9999, 12, 1));
        checkWrittenBack(analyser, bytes.at(2), bodyOffset);
    }
    fuzzing::checkIndexMessages(analyser);
    return 0;
}
