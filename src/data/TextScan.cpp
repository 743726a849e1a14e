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

bool readsAsUtf8(QByteArrayView start)
{
    const auto marked = QStringConverter::encodingForData(start);
    return marked ? *marked == QStringConverter::Utf8 : systemEncodingIsUtf8();
}

Contents contentsOf(QByteArray bytes, bool textMode)
{
    Contents contents;
    contents.dropCarriageReturns = textMode;
    if (readsAsUtf8(bytes)) {
        contents.utf8 = true;
        if (bytes.startsWith("\xef\xbb\xbf"))
            bytes.remove(0, 3);
        contents.bytes = std::move(bytes);
        return contents;
    }
    const auto marked = QStringConverter::encodingForData(bytes);
    // A marked decoder drops the mark.
    QStringDecoder decoder = marked ? QStringDecoder(*marked) : systemDecoder();
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
        const qsizetype room = std::max<qsizetype>(used, 1 << 12);
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

// The encoding the game files are read and written in, with what the writers need to know of it.
struct FileEncoding
{
    QByteArray name; // empty: the system's
    bool asciiCompatible = true;
    bool utf8 = true;

    explicit FileEncoding(QByteArray encodingName) : name(std::move(encodingName))
    {
        const QByteArray ascii("0123456789-+ \t\r\n#");
        asciiCompatible = encoder().encode(QString::fromLatin1(ascii)) == ascii;
        const QString probe = QStringLiteral("a\u00e9\u4e2d\U0001F600#");
        utf8 = QByteArray(encoder().encode(probe)) == probe.toUtf8() &&
               QString(decoder().decode(probe.toUtf8())) == probe;
    }
    QStringDecoder decoder() const
    {
        return name.isEmpty() ? QStringDecoder(QStringConverter::System)
                              : QStringDecoder(name.constData());
    }
    QStringEncoder encoder() const
    {
        return name.isEmpty() ? QStringEncoder(QStringConverter::System)
                              : QStringEncoder(name.constData());
    }
};

namespace {

FileEncoding *installedEncoding = nullptr;

const FileEncoding &fileEncoding()
{
    static const FileEncoding system{QByteArray()};
    return installedEncoding ? *installedEncoding : system;
}

} // namespace

ScopedFileEncoding::ScopedFileEncoding(const char *name)
    : previous(installedEncoding), installed(new FileEncoding(name))
{
    installedEncoding = installed;
}

ScopedFileEncoding::~ScopedFileEncoding()
{
    installedEncoding = previous;
    delete installed;
}

QStringDecoder systemDecoder()
{
    return fileEncoding().decoder();
}

QStringEncoder systemEncoder()
{
    return fileEncoding().encoder();
}

bool systemEncodingIsAsciiCompatible()
{
    return fileEncoding().asciiCompatible;
}

bool systemEncodingIsUtf8()
{
    return fileEncoding().utf8;
}

QByteArray encodeSystem(QStringView text)
{
    QStringEncoder encoder = systemEncoder();
    return encoder.encode(text);
}

namespace {
constexpr qsizetype blockSize = 1 << 20;
}

QString readableHead(QString head)
{
    head.remove(u'\r');
    // A mark is at most four bytes, and no character is encoded in fewer than one.
    const auto startsLikeMark = [](QStringView text) {
        return QStringConverter::encodingForData(
                   encodeSystem(text.first(std::min<qsizetype>(text.size(), 4))))
            .has_value();
    };
    while (!head.isEmpty() && startsLikeMark(head)) {
        const bool pair =
            head.size() > 1 && head.at(0).isHighSurrogate() && head.at(1).isLowSurrogate();
        head.remove(0, pair ? 2 : 1);
    }
    return head;
}

ChunkWriter::ChunkWriter(QIODevice &target) : device(target), buffer(1 << 12, Qt::Uninitialized) {}

char *ChunkWriter::room(qsizetype size)
{
    if (buffer.size() - used < size) {
        // Small outputs never take a whole block.
        if (buffer.size() < blockSize)
            buffer.resize(std::max(std::min(buffer.size() * 4, blockSize), used + size));
        else
            flush();
        if (buffer.size() - used < size)
            buffer.resize(used + size);
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
