#pragma once

// What the fuzz targets share: documents read from and written to memory, the save fixed point,
// and a property failure that stops the fuzzer with what it saw.

#include "data/TextScan.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace FuzzSupport {

// Quiets the readers' debug lines, which would otherwise be most of the fuzzer's time.
void silenceMessages();

// Prints what differs (percent-encoded) and aborts, so libFuzzer saves the input.
[[noreturn]] void fail(const char *what, const QByteArray &first = {},
                       const QByteArray &second = {});

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Reads bytes as from a file (text mode) or from a binary device.
template <typename Parser, typename Document>
bool readDocument(const Parser &parser, QByteArray bytes, bool textMode, Document &document)
{
    QBuffer buffer(&bytes);
    buffer.open(textMode ? QIODevice::ReadOnly | QIODevice::Text : QIODevice::ReadOnly);
    QString error;
    return parser.read(buffer, document, error);
}

template <typename Parser, typename Document>
QByteArray writtenBytes(const Parser &parser, const Document &document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!parser.write(buffer, document, error))
        fail("write to memory failed");
    return bytes;
}

// Saving what was read is a fixed point: once written, reading and writing again gives the same
// bytes. Checked for both read modes, in UTF-8 and in GB18030 as the system encoding.
template <typename Parser, typename Document>
void checkSaveIsFixedPoint(const Parser &parser, const uint8_t *data, size_t size)
{
    const QByteArray input = bytesOf(data, size);
    for (const char *encoding : {"UTF-8", "GB18030"}) {
        const TextScan::ScopedFileEncoding scoped(encoding);
        for (const bool textMode : {true, false}) {
            Document first;
            if (!readDocument(parser, input, textMode, first))
                continue;
            const QByteArray once = writtenBytes(parser, first);
            Document second;
            if (!readDocument(parser, once, textMode, second))
                fail("a written file does not read back", input, once);
            const QByteArray twice = writtenBytes(parser, second);
            if (twice != once)
                fail(textMode ? "save is no fixed point (text mode)"
                              : "save is no fixed point (binary)",
                     once, twice);
        }
    }
}

} // namespace FuzzSupport
