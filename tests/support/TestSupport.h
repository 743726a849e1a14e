#pragma once

// Scaffolding every test executable shares (the library lootwright_test_support): files as bytes,
// and the drop files' line rules written out plainly.

#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class QRandomGenerator;

namespace TestSupport {

// The whole file, or "<unreadable>" when it cannot be read.
QByteArray readBytes(const QString &path);
bool writeBytes(const QString &path, const QByteArray &bytes);

// The line rules of both drop files read the plain way, with a text-mode QFile and QTextStream,
// to hold the fast readers against: the first two lines are the header, blank lines are skipped,
// every other line goes to `body` with its line number. False with body's error when it refuses
// a line.
using LineHandler = std::function<bool(int lineNumber, const QString &line, QString &error)>;
bool readPlainLines(const QString &path, QString &header1, QString &header2,
                    const LineHandler &body, QString &error);

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
