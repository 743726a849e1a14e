#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// The unsaved steps of an editing session, appended to a file in the per-user data location as
// they happen and flushed, so a session that ends without closing (a crash, a power cut, a
// killed process) can be replayed on the same files.
//
// The file is a header and records, each framed as its length and CRC-32 (both 32 bits, little
// endian) before its bytes; a frame cut short or not matching its checksum ends the journal
// there. The header holds a magic number, the format version and the key: both drop files'
// paths and the size and hash of their bytes when the journal began.
class RecoveryJournal
{
public:
    struct Key
    {
        QString monsterPath;
        QString boxPath;
        qint64 monsterSize = -1; // -1: no file
        QByteArray monsterHash;
        qint64 boxSize = -1;
        QByteArray boxHash;
    };

    enum class Kind : quint8
    {
        Step = 1,  // a new undo step
        Merge = 2, // folded into the step on top (typing), which went when it came to nothing
        Undo = 3,
        Redo = 4,
    };
    struct Record
    {
        Kind kind = Kind::Step;
        quint64 serial = 0;    // the step's; for Merge the step it folds into
        bool obsolete = false; // Merge: the step came to nothing and went
        QString name;
        QString mergeKey;
        QByteArray change; // DocumentChange::toBytes (Step, Merge)
        qint64 end = 0;    // where the record ends in the file
    };

    struct Contents
    {
        bool readable = false; // a whole header of this version
        Key key;
        QList<Record> records;
        bool damaged = false; // bytes after the last whole record
        qint64 headerEnd = 0;
    };

    // The undo steps a session's stack holds after these records, the oldest going beyond
    // `limit`: the serials of the steps, and how many of them are done.
    struct StackMirror
    {
        QList<quint64> serials;
        qsizetype index = 0;
        int limit = 0;

        void follow(const Record &record);
        bool topIs(quint64 serial) const { return index > 0 && serials.at(index - 1) == serial; }
        bool nextIs(quint64 serial) const
        {
            return index < serials.size() && serials.at(index) == serial;
        }
    };

    // Where the journals are, and the one for a pair of drop files (named by a hash of the paths).
    static QString directory();
    static QString pathFor(const QString &monsterPath, const QString &boxPath);
    static Contents read(const QString &path);

    explicit RecoveryJournal(int undoLimit) { mirror.limit = undoLimit; }

    bool isOpen() const { return file.isOpen(); }
    QString path() const { return file.fileName(); }
    const StackMirror &stack() const { return mirror; }

    // A new journal for `key`, replacing any file there.
    bool start(const QString &path, const Key &key, QString &error);
    // Goes on with a journal read back after its first `kept` records, cutting what follows.
    bool resume(const QString &path, const Contents &contents, qsizetype kept, QString &error);
    // Appends and flushes one record; nothing is left of it when that fails.
    bool append(const Record &record, QString &error);
    // Closes the journal; remove: the file goes too.
    void close(bool remove);

private:
    // The frame of `payload` followed by `tail`, without joining them first.
    bool appendFrame(const QByteArray &payload, const QByteArray &tail, QString &error);

    QFile file;
    StackMirror mirror;
};
