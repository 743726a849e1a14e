#pragma once

#include "data/TextScan.h"

class CheckedFile;
struct FileStamp;

#include <QIODevice>
#include <QList>
#include <QString>

#include <functional>

// The skeleton both drop files share: the two header lines, the document written through one
// writer, loading from and saving to a path, and the error texts, so that the two files report
// the same failure the same way.
namespace DropFile {

// A file's error texts; %1 is the path, the device's error string or, for a save, the path with
// the reason ("<path>（<reason>）").
struct Texts
{
    QString cannotOpen;             // load: the file does not open for reading
    QString cannotRead;             // load: a read fails midway (%1: the reason)
    QString cannotCreate;           // save: the temporary file beside it cannot be made
    QString cannotWrite;            // save and write: writing, syncing or replacing the file fails
    bool pathWhenNotOpened = false; // cannotOpen names the path, not the reason
    const char *debugTag = nullptr; // where failures also go to the debug output, if anywhere
};

// Hands lines 1 and 2 to the header and every later line, numbered from 3, to the body:
// body.textLine(QStringView, lineNumber) and body.asciiLine(QByteArrayView, lineNumber).
template <class Body> class LineReader
{
public:
    LineReader(QString &first, QString &second, Body &lines) : header{&first, &second}, body(lines)
    {
    }
    bool textLine(QStringView text)
    {
        if (++lineNumber <= 2)
            *header[lineNumber - 1] = text.toString();
        return lineNumber <= 2 || body.textLine(text, lineNumber);
    }
    bool asciiLine(QByteArrayView line)
    {
        if (++lineNumber <= 2)
            *header[lineNumber - 1] = QString::fromLatin1(line);
        return lineNumber <= 2 || body.asciiLine(line, lineNumber);
    }
    int lines() const { return lineNumber; }

private:
    QString *header[2];
    Body &body;
    int lineNumber = 0;
};

// cannotRead for the device's failed read: a failing disk or share must not pass for the end of
// the file.
QString readError(QIODevice &device, const Texts &texts);

// Reads the device's lines into header1, header2 and the body; lines counts them all. False with
// cannotRead when a read fails, or with body.error when the body refuses a line.
template <class Body>
bool readLines(QIODevice &device, bool dropCarriageReturns, const Texts &texts, QString &header1,
               QString &header2, Body &body, QString &error, int &lines)
{
    LineReader<Body> reader(header1, header2, body);
    const TextScan::ReadResult result =
        TextScan::forEachDeviceLine(device, dropCarriageReturns, reader);
    lines = reader.lines();
    switch (result) {
    case TextScan::ReadResult::Failed:
        error = readError(device, texts);
        return false;
    case TextScan::ReadResult::Refused:
        error = body.error;
        return false;
    case TextScan::ReadResult::Done:
        break;
    }
    return true;
}

// Writes the head (header lines, comments) and one line per record: the head as text the next
// read gives back, the number lines as bytes when the system encoding allows. format(out, record)
// writes a record's line at out and returns its end; maxLength(record) bounds it.
template <class Record, class MaxLength, class Format>
bool writeDocument(QIODevice &device, const QString &head, const QList<Record> &records,
                   MaxLength maxLength, Format format)
{
    const QString readable = TextScan::readableHead(head);
    TextScan::ChunkWriter writer(device);
    if (TextScan::systemEncodingIsAsciiCompatible()) {
        writer.append(TextScan::encodeSystem(readable));
        for (const Record &record : records) {
            char *out = format(writer.room(maxLength(record) + 1), record);
            *out++ = '\n';
            writer.done(out);
        }
    } else {
        QString text = readable;
        QByteArray line;
        for (const Record &record : records) {
            line.resize(maxLength(record));
            line.truncate(format(line.data(), record) - line.data());
            text += QLatin1String(line) + u'\n';
        }
        writer.append(TextScan::encodeSystem(text));
    }
    return writer.finish();
}

// Opens the file read-only (binary: CRs go after decoding, as a text-mode read drops them) and
// hands it to read, which reads as from a text-mode file. After a successful read, stamp (when
// given) holds the size and hash of the bytes read.
bool load(const QString &path, const Texts &texts, const std::function<bool(QIODevice &)> &read,
          QString &error, FileStamp *stamp = nullptr);
// Writes through write, reporting cannotWrite with the device's reason when it fails.
bool write(QIODevice &device, const Texts &texts, const std::function<bool(QIODevice &)> &write,
           QString &error);
// Writes into the checked file's temporary file and checks it; nothing is replaced yet.
bool writeChecked(CheckedFile &file, const Texts &texts,
                  const std::function<bool(QIODevice &)> &write, QString &error);
// writeChecked, then the file is replaced.
bool save(const QString &path, const Texts &texts, const std::function<bool(QIODevice &)> &write,
          QString &error);

} // namespace DropFile
