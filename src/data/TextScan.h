#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringView>

#include <algorithm>
#include <climits>
#include <cstring>

// Allocation-free scanning and formatting helpers shared by the file readers and writers.
// Scanning works on UTF-16 text and, for pure ASCII lines, directly on the file's bytes.
namespace TextScan {

template <typename Char> constexpr bool isAsciiSpace(Char c)
{
    return c == Char(' ') || (c >= Char('\t') && c <= Char('\r'));
}

// The same result as QString::toInt(&ok, 10): surrounding ASCII white space and one leading
// sign are accepted, a NUL ends the number text, anything else or a value outside 32 bits fails.
// On failure value is left alone.
template <typename Char> bool toInt(const Char *p, const Char *end, int &value)
{
    while (p < end && isAsciiSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == Char('-') || *p == Char('+'))) {
        negative = *p == Char('-');
        ++p;
    }
    const Char *digits = p;
    qint64 magnitude = 0;
    while (p < end && unsigned(*p) - unsigned('0') < 10u) {
        magnitude = magnitude * 10 + (unsigned(*p) - unsigned('0'));
        if (magnitude > qint64(INT_MAX) + 1)
            return false;
        ++p;
    }
    if (p == digits)
        return false;
    while (p < end && isAsciiSpace(*p))
        ++p;
    // Qt converts through a C string: whatever follows a NUL is never looked at.
    if (p < end && *p != Char(0))
        return false;
    const qint64 result = negative ? -magnitude : magnitude;
    if (result > INT_MAX)
        return false;
    value = int(result);
    return true;
}

inline bool toInt(QStringView text, int &value)
{
    return toInt(text.utf16(), text.utf16() + text.size(), value);
}

// Reads one field ending at `end` or at the first character for which isSeparator holds, converts
// it like toInt and leaves p on the separator (or end). The common case, a plain number, is
// scanned once; anything unusual is handed to toInt on the whole field.
template <typename Char, typename Separator>
Q_ALWAYS_INLINE bool scanInt(const Char *&p, const Char *end, Separator isSeparator, int &value)
{
    const Char *start = p;
    bool negative = false;
    if (p < end && (*p == Char('-') || *p == Char('+'))) {
        negative = *p == Char('-');
        ++p;
    }
    const Char *digits = p;
    quint64 magnitude = 0;
    while (p < end && unsigned(*p) - unsigned('0') < 10u && p - digits < 11) {
        magnitude = magnitude * 10 + (unsigned(*p) - unsigned('0'));
        ++p;
    }
    if (p != digits && (p == end || isSeparator(*p))) {
        const qint64 result = negative ? -qint64(magnitude) : qint64(magnitude);
        if (result < INT_MIN || result > INT_MAX)
            return false;
        value = int(result);
        return true;
    }
    while (p < end && !isSeparator(*p))
        ++p;
    return toInt(start, p, value);
}

// What QString::trimmed trims, for a line known to be ASCII: TAB to CR and space.
inline QByteArrayView trimmed(QByteArrayView text)
{
    const char *b = text.data(), *e = b + text.size();
    while (b < e && isAsciiSpace(*b))
        ++b;
    while (e > b && isAsciiSpace(e[-1]))
        --e;
    return QByteArrayView(b, e - b);
}

inline bool isAscii(const char *p, const char *end)
{
    unsigned char any = 0;
    for (; p < end; ++p)
        any |= static_cast<unsigned char>(*p);
    return any < 0x80;
}

// Decodes UTF-8 statefully, keeping a leading byte order mark as a character.
QString decodeUtf8(QByteArrayView bytes);

// The game files are read and written in the system encoding. While one of these lives they are
// read and written in the named one instead, as on a machine whose locale uses it (GB18030, GBK);
// tests and fuzz targets use it. Not thread-safe: install it before any reading starts.
struct FileEncoding;
class ScopedFileEncoding
{
public:
    explicit ScopedFileEncoding(const char *name);
    ~ScopedFileEncoding();
    ScopedFileEncoding(const ScopedFileEncoding &) = delete;
    ScopedFileEncoding &operator=(const ScopedFileEncoding &) = delete;

private:
    FileEncoding *previous;
    FileEncoding *installed;
};

// Converters of the system encoding (or the one installed above).
QStringDecoder systemDecoder();
QStringEncoder systemEncoder();
// True when the system encoding writes ASCII digits, signs, blanks and line breaks as the same
// single bytes, so number lines can be produced as bytes without a string in between.
bool systemEncodingIsAsciiCompatible();
// True when the system encoding is UTF-8.
bool systemEncodingIsUtf8();
// Encodes text in the system encoding, without a byte order mark.
QByteArray encodeSystem(QStringView text);
// The header and comment lines that open a drop file, without what no read gives back, so that
// saving what was read is a fixed point: CRs (a text-mode read drops every CR, readLine the one
// before a LF) and leading characters whose bytes would be read as a byte order mark.
QString readableHead(QString head);

// A file's or device's contents ready for line scanning, read as QTextStream with the system
// encoding reads them. QTextStream on a text-mode device decodes the raw bytes and then drops every
// CR; otherwise readLine drops one CR before each LF. A Unicode byte order mark at the start
// selects its encoding and is dropped.
struct Contents
{
    bool utf8 = false;               // bytes holds UTF-8 text, else text holds the decoded text
    bool dropCarriageReturns = true; // text mode: every CR goes (already gone from text)
    QByteArray bytes;                // without the leading byte order mark
    QString text;

    QString toText() const;
};

// Reads from the device until maxSize bytes, the end or an error; -1 on an error, whatever was
// read before it.
qint64 readFully(QIODevice &device, char *data, qint64 maxSize);
// Appends everything left on the device; false when a read fails.
bool readRest(QIODevice &device, QByteArray &bytes);
// Reads everything left on an open device as from a text-mode file; false when a read fails.
bool readContents(QIODevice &device, Contents &contents);
// True when text starting with these bytes is read as UTF-8. A Unicode byte order mark selects its
// encoding ahead of the system encoding, as QTextStream honours it; the UTF-8 mark included.
bool readsAsUtf8(QByteArrayView start);
// Prepares bytes read in text mode (every CR dropped after decoding) or not.
Contents contentsOf(QByteArray bytes, bool textMode);

// Walks the lines of a decoded text the way QTextStream::readLine does: a line ends at LF, one CR
// before the LF (or before the end of the text) is dropped, and a final LF opens no new line.
class TextLines
{
public:
    explicit TextLines(QStringView text) : rest(text) {}
    bool next(QStringView &line)
    {
        if (rest.isEmpty())
            return false;
        const qsizetype lf = rest.indexOf(u'\n');
        if (lf < 0) {
            line = rest;
            rest = QStringView();
        } else {
            line = rest.first(lf);
            rest = rest.sliced(lf + 1);
        }
        if (!line.isEmpty() && line.back() == u'\r')
            line.chop(1);
        return true;
    }

private:
    QStringView rest;
};

// Hands one line of UTF-8 bytes (p to lineEnd; a LF follows when hasLf) to the handler as
// QTextStream::readLine would deliver it. Returns false when the handler refuses the line;
// `last` is set when the line turned out to be no line at all (nothing after the last LF).
template <typename Handler>
bool utf8Line(const char *p, const char *lineEnd, bool hasLf, bool dropCarriageReturns,
              Handler &handler)
{
    if (isAscii(p, lineEnd)) {
        QByteArrayView line(p, lineEnd - p);
        QByteArray stripped;
        if (dropCarriageReturns && line.contains('\r')) {
            stripped = line.toByteArray();
            stripped.replace("\r", "");
            line = stripped;
        } else if (!dropCarriageReturns && line.endsWith('\r')) {
            line.chop(1);
        }
        // Text after the last LF that comes to nothing is no line.
        if (!hasLf && line.isEmpty())
            return true;
        return handler.asciiLine(line);
    }
    // Decoded with its LF, from the clean state that follows the previous LF, the line gives
    // what decoding the whole file gives; a byte order mark inside is a character.
    QString text = decodeUtf8(QByteArrayView(p, lineEnd - p + (hasLf ? 1 : 0)));
    if (hasLf)
        text.chop(1);
    if (dropCarriageReturns)
        text.remove(u'\r');
    else if (text.endsWith(u'\r'))
        text.chop(1);
    if (!hasLf && text.isEmpty())
        return true;
    return handler.textLine(text);
}

// Hands every line of the contents to the handler as QTextStream::readLine would deliver it:
// pure ASCII lines of UTF-8 contents as bytes (handler.asciiLine(QByteArrayView)), every other
// line as text (handler.textLine(QStringView)). Stops when the handler returns false.
template <typename Handler> bool forEachLine(const Contents &contents, Handler &handler)
{
    if (!contents.utf8) {
        TextLines lines(contents.text);
        QStringView line;
        while (lines.next(line)) {
            if (!handler.textLine(line))
                return false;
        }
        return true;
    }
    const char *p = contents.bytes.constData();
    const char *const end = p + contents.bytes.size();
    while (p < end) {
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!utf8Line(p, lf ? lf : end, lf != nullptr, contents.dropCarriageReturns, handler))
            return false;
        if (!lf)
            break;
        p = lf + 1;
    }
    return true;
}

// Reads binary while it lives: a text-mode device would drop CRs before decoding.
class BinaryReading
{
public:
    explicit BinaryReading(QIODevice &target) : device(target), textMode(target.isTextModeEnabled())
    {
        device.setTextModeEnabled(false);
    }
    ~BinaryReading() { device.setTextModeEnabled(textMode); }
    BinaryReading(const BinaryReading &) = delete;
    BinaryReading &operator=(const BinaryReading &) = delete;

private:
    QIODevice &device;
    bool textMode;
};

enum class ReadResult
{
    Done,
    Refused,
    Failed
};

// Reads the rest of a device block by block and hands its lines to the handler like
// forEachLine; every CR goes when dropCarriageReturns, as from a text-mode file. Failed means a
// read failed (the device's errorString tells why), Refused that the handler stopped the reading.
template <typename Handler>
ReadResult forEachDeviceLine(QIODevice &device, bool dropCarriageReturns, Handler &handler)
{
    const BinaryReading binary(device);
    // Blocks of 4 MB for big files; a small file gets a buffer of about its size.
    qint64 blockSize = 1 << 22;
    if (!device.isSequential())
        blockSize = std::clamp<qint64>(device.size() - device.pos() + 1, 1 << 12, blockSize);
    QByteArray buffer(qsizetype(blockSize), Qt::Uninitialized);
    const qint64 firstBlock = readFully(device, buffer.data(), buffer.size());
    if (firstBlock < 0)
        return ReadResult::Failed;
    qsizetype filled = qsizetype(firstBlock);
    if (!readsAsUtf8(buffer.first(filled))) {
        // Other encodings go through the whole-text decoder.
        buffer.truncate(filled);
        if (!readRest(device, buffer))
            return ReadResult::Failed;
        return forEachLine(contentsOf(std::move(buffer), dropCarriageReturns), handler)
                   ? ReadResult::Done
                   : ReadResult::Refused;
    }
    qsizetype start = buffer.first(filled).startsWith("\xef\xbb\xbf") ? 3 : 0;
    while (true) {
        // Every complete line in the block.
        const char *p = buffer.constData() + start;
        const char *const end = buffer.constData() + filled;
        while (const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))) {
            if (!utf8Line(p, lf, true, dropCarriageReturns, handler))
                return ReadResult::Refused;
            p = lf + 1;
        }
        // Keep the unfinished line, make room and read on.
        const qsizetype rest = end - p;
        std::memmove(buffer.data(), p, size_t(rest));
        start = 0;
        filled = rest;
        if (buffer.size() - filled < std::min<qsizetype>(1 << 20, buffer.size() / 2))
            buffer.resize(buffer.size() * 2);
        const qint64 got = readFully(device, buffer.data() + filled, buffer.size() - filled);
        if (got < 0)
            return ReadResult::Failed;
        if (got == 0)
            break;
        filled += qsizetype(got);
    }
    if (filled > 0 && !utf8Line(buffer.constData(), buffer.constData() + filled, false,
                                dropCarriageReturns, handler))
        return ReadResult::Refused;
    return ReadResult::Done;
}

// Writes the decimal form of value at out and returns the position after it.
char *writeDecimal(char *out, int value);

// Buffers output in blocks and hands them to a device; remembers a failed write.
class ChunkWriter
{
public:
    explicit ChunkWriter(QIODevice &device);
    // Room for at least `size` bytes at the returned position; report the end written with done.
    char *room(qsizetype size);
    void done(char *end) { used = end - buffer.data(); }
    void append(const QByteArray &bytes);
    bool finish();

private:
    void flush();
    QIODevice &device;
    QByteArray buffer; // grows to blockSize before the first block is handed on
    qsizetype used = 0;
    bool failed = false;
};

} // namespace TextScan
