#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

class QIODevice;

// Allocation-free scanning and formatting helpers shared by the file readers and writers.
namespace TextScan {

constexpr bool isAsciiSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The same result as QString::toInt(&ok, 10): surrounding ASCII white space and one leading
// sign are accepted, a NUL ends the number text, anything else or a value outside 32 bits fails.
bool toInt(const char16_t *begin, const char16_t *end, int &value);
inline bool toInt(QStringView text, int &value)
{
    return toInt(text.utf16(), text.utf16() + text.size(), value);
}

// Reads everything left on the device and decodes it like QTextStream with the system
// encoding would (a byte order mark selects its Unicode encoding).
QString readAllText(QIODevice &device);
// Reads a file like a text-mode QFile would: every CR is dropped. Returns false when it cannot be
// opened; errorString then holds the file's error text.
bool readTextFile(const QString &path, QString &text, QString &errorString);

// Walks the lines of a decoded text the way QTextStream::readLine does: a line ends at LF, one CR
// before the LF (or before the end of the text) is dropped, and a final LF opens no new line.
class LineReader
{
public:
    explicit LineReader(QStringView text) : rest(text) {}
    bool next(QStringView &line);

private:
    QStringView rest;
    bool done = false;
};

// Number of characters of the decimal form of value.
int decimalLength(int value);
// Writes the decimal form of value at out and returns the position after it.
char *writeDecimal(char *out, int value);

// True when the system encoding writes ASCII digits, signs, blanks and line breaks as the same
// single bytes, so number lines can be produced as bytes without a string in between.
bool systemEncodingIsAsciiCompatible();
// Encodes text in the system encoding, without a byte order mark.
QByteArray encodeSystem(QStringView text);

} // namespace TextScan
