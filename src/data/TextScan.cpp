#include "data/TextScan.h"

#include <QFile>
#include <QIODevice>
#include <QStringDecoder>
#include <QStringEncoder>

#include <climits>
#include <cstring>

namespace TextScan {

bool toInt(const char16_t *p, const char16_t *end, int &value)
{
    while (p < end && isAsciiSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == u'-' || *p == u'+')) {
        negative = *p == u'-';
        ++p;
    }
    const char16_t *digits = p;
    qint64 magnitude = 0;
    while (p < end && char16_t(*p - u'0') < 10) {
        magnitude = magnitude * 10 + (*p - u'0');
        if (magnitude > qint64(INT_MAX) + 1)
            return false;
        ++p;
    }
    if (p == digits)
        return false;
    while (p < end && isAsciiSpace(*p))
        ++p;
    // Qt converts through a C string: whatever follows a NUL is never looked at.
    if (p < end && *p != 0)
        return false;
    const qint64 result = negative ? -magnitude : magnitude;
    if (result > INT_MAX)
        return false;
    value = int(result);
    return true;
}

static QString decode(const QByteArray &bytes)
{
    // QTextStream honours a Unicode byte order mark ahead of the configured encoding.
    QStringConverter::Encoding encoding = QStringConverter::System;
    if (bytes.size() >= 2) {
        const uchar b0 = uchar(bytes.at(0)), b1 = uchar(bytes.at(1));
        if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) {
            if (const auto detected = QStringConverter::encodingForData(bytes))
                encoding = *detected;
        }
    }
    QStringDecoder decoder(encoding);
    return decoder.decode(bytes);
}

QString readAllText(QIODevice &device)
{
    return decode(device.readAll());
}

bool readTextFile(const QString &path, QString &text, QString &errorString)
{
    QFile file(path);
    // Binary open plus our own CR removal reads the same as a text-mode open, without the
    // byte-by-byte copy Qt does in text mode.
    if (!file.open(QIODevice::ReadOnly)) {
        errorString = file.errorString();
        return false;
    }
    QByteArray bytes = file.readAll();
    file.close();
    if (bytes.contains('\r'))
        bytes.replace("\r", "");
    text = decode(bytes);
    return true;
}

bool LineReader::next(QStringView &line)
{
    if (done || rest.isEmpty()) {
        done = true;
        return false;
    }
    const qsizetype lf = rest.indexOf(u'\n');
    if (lf < 0) {
        line = rest;
        rest = {};
        done = true;
    } else {
        line = rest.first(lf);
        rest = rest.sliced(lf + 1);
        if (rest.isEmpty())
            done = true;
    }
    if (!line.isEmpty() && line.back() == u'\r')
        line.chop(1);
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

QByteArray encodeSystem(QStringView text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

} // namespace TextScan
