#include "data/TextScan.h"

#include <QFile>
#include <QIODevice>
#include <QStringDecoder>
#include <QStringEncoder>

namespace TextScan {

QString decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

Contents contentsOf(QByteArray bytes, bool textMode)
{
    Contents contents;
    contents.dropCarriageReturns = textMode;
    const bool utf16Mark = bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff");
    if (systemEncodingIsUtf8() && !utf16Mark) {
        contents.utf8 = true;
        if (bytes.startsWith("\xef\xbb\xbf"))
            bytes.remove(0, 3);
        contents.bytes = std::move(bytes);
        return contents;
    }
    // QTextStream honours a Unicode byte order mark ahead of the configured encoding.
    QStringConverter::Encoding encoding = QStringConverter::System;
    if (utf16Mark) {
        if (const auto detected = QStringConverter::encodingForData(bytes))
            encoding = *detected;
    }
    QStringDecoder decoder(encoding);
    contents.text = decoder.decode(bytes);
    if (textMode)
        contents.text.remove(u'\r');
    return contents;
}

QString Contents::toText() const
{
    if (!utf8)
        return text;
    QString decoded = decodeUtf8(bytes);
    if (dropCarriageReturns)
        decoded.remove(u'\r');
    return decoded;
}

qint64 readFully(QIODevice &device, char *data, qint64 maxSize)
{
    qint64 total = 0;
    while (total < maxSize) {
        const qint64 got = device.read(data + total, maxSize - total);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

bool readRest(QIODevice &device, QByteArray &bytes)
{
    while (true) {
        const qsizetype used = bytes.size();
        const qsizetype room = std::max<qsizetype>(used, 1 << 16);
        bytes.resize(used + room);
        const qint64 got = readFully(device, bytes.data() + used, room);
        if (got < 0) {
            bytes.truncate(used);
            return false;
        }
        bytes.truncate(used + qsizetype(got));
        if (got < room)
            return true;
    }
}

bool readContents(QIODevice &device, Contents &contents)
{
    const BinaryReading binary(device);
    QByteArray bytes;
    if (!readRest(device, bytes))
        return false;
    contents = contentsOf(std::move(bytes), true);
    return true;
}

int decimalLength(int value)
{
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    int length = value < 0 ? 2 : 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++length;
    }
    return length;
}

char *writeDecimal(char *out, int value)
{
    static const char pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    // Empty slots (-1) and single digits are most of what a drop file holds.
    if (unsigned(value) + 1u < 11u) {
        if (value < 0) {
            std::memcpy(out, "-1", 2);
            return out + 2;
        }
        *out = char('0' + value);
        return out + 1;
    }
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    if (value < 0)
        *out++ = '-';
    char buffer[10];
    char *p = buffer + sizeof buffer;
    while (magnitude >= 100) {
        const unsigned pair = (magnitude % 100) * 2;
        magnitude /= 100;
        *--p = pairs[pair + 1];
        *--p = pairs[pair];
    }
    if (magnitude >= 10) {
        *--p = pairs[magnitude * 2 + 1];
        *--p = pairs[magnitude * 2];
    } else {
        *--p = char('0' + magnitude);
    }
    const size_t length = size_t(buffer + sizeof buffer - p);
    std::memcpy(out, p, length);
    return out + length;
}

bool systemEncodingIsAsciiCompatible()
{
    static const bool compatible = [] {
        const QByteArray probe("0123456789-+ \t\r\n#");
        return encodeSystem(QString::fromLatin1(probe)) == probe;
    }();
    return compatible;
}

bool systemEncodingIsUtf8()
{
    static const bool utf8 = [] {
        const QString probe = QStringLiteral("a\u00e9\u4e2d\U0001F600#");
        return encodeSystem(probe) == probe.toUtf8() &&
               QStringDecoder(QStringConverter::System).decode(probe.toUtf8()) == probe;
    }();
    return utf8;
}

QByteArray encodeSystem(QStringView text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

ChunkWriter::ChunkWriter(QIODevice &target) : device(target), buffer(1 << 20, Qt::Uninitialized) {}

char *ChunkWriter::room(qsizetype size)
{
    if (buffer.size() - used < size) {
        flush();
        if (buffer.size() < size)
            buffer.resize(size);
    }
    return buffer.data() + used;
}

void ChunkWriter::append(const QByteArray &bytes)
{
    char *out = room(bytes.size());
    std::memcpy(out, bytes.constData(), size_t(bytes.size()));
    done(out + bytes.size());
}

void ChunkWriter::flush()
{
    if (used > 0 && !failed && device.write(buffer.constData(), used) != used)
        failed = true;
    used = 0;
}

bool ChunkWriter::finish()
{
    flush();
    return !failed;
}

} // namespace TextScan
