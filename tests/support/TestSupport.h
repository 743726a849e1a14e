#pragma once

// Scaffolding every test executable shares (the library lootwright_test_support): files as bytes,
// and the drop files' line rules written out plainly.

#include "data/DropConfig.h"

#include <QBuffer>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class DropBoxContentParser;
class MonsterDropParser;
class QRandomGenerator;

namespace TestSupport {

// The whole file, or "<unreadable>" when it cannot be read.
QByteArray readBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);
// Copies the files of `from` (not its folders) into the new folder `to`, but those named in
// `leaveOut`; returns `to`.
QString copyFiles(const QString &from, const QString &to, const QStringList &leaveOut = {});

// Fresh copies of the window fixture's configuration, each in its own folder of one temporary
// directory, without the files named in `leaveOut`.
class ConfigCopies
{
public:
    QString next(const QStringList &leaveOut = {});

private:
    QTemporaryDir temp;
    int copies = 0;
};

// The line rules of both drop files read the plain way, with a text-mode QFile and QTextStream,
// to hold the fast readers against: the first two lines are the header, blank lines are skipped,
// every other line goes to `body` with its line number. False with body's error when it refuses
// a line.
using LineHandler = std::function<bool(int lineNumber, const QString &line, QString &error)>;
bool readPlainLines(const QString &path, QString &header1, QString &header2,
                    const LineHandler &body, QString &error);

// What a drop-file parser writes for a document, or "<unwritable>".
template <class Parser, class Document>
QByteArray writtenBytes(const Parser &parser, const Document &document)
{
    QBuffer buffer;
    QString error;
    buffer.open(QIODevice::WriteOnly);
    return parser.write(buffer, document, error) ? buffer.data() : QByteArray("<unwritable>");
}

// Reads bytes into a document as a drop-file parser reads a device (in text mode as a file).
template <class Parser, class Document>
bool readInto(const Parser &parser, QByteArray bytes, Document &document, bool textMode = false)
{
    QBuffer buffer(&bytes);
    buffer.open(textMode ? QIODevice::ReadOnly | QIODevice::Text : QIODevice::ReadOnly);
    QString error;
    return parser.read(buffer, document, error);
}

// One data line read by the parser as the third line of a file: the record, or false with the
// field's error (the reader's text without the line number it puts first).
bool readLine(const MonsterDropParser &parser, const QString &line, MonsterDropConfig &record,
              QString &error);
bool readLine(const DropBoxContentParser &parser, const QString &line, DropBoxConfig &box,
              QString &error);
// A record's line as the writer writes it.
QString writtenLine(const MonsterDropParser &parser, const MonsterDropConfig &record);
QString writtenLine(const DropBoxContentParser &parser, const DropBoxConfig &box);

// Random file bytes for the readers: lines of numbers and junk separated by one of `gaps`,
// comments, blank lines, CR LF, a missing last line feed and now and then broken UTF-8.
QByteArray randomDropFile(QRandomGenerator &random, const QStringList &gaps);

// The per-user settings (the favourites) in a temporary directory for the rest of the process,
// so no test reads or writes the user's own store.
class IsolatedSettings
{
public:
    IsolatedSettings();
    bool isValid() const { return dir.isValid(); }
    // Empties the store between tests; the path of its file.
    static void clear();
    static QString fileName();

private:
    QTemporaryDir dir;
};
// The favourites as stored there.
QStringList storedFavorites();

} // namespace TestSupport
