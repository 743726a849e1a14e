#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

// A fast fingerprint of a file's bytes (64-bit XXH64), fed in pieces of any size: the result
// depends on the bytes alone, so a file hashed as it is written or read equals the same file
// hashed again.
class ContentHash
{
public:
    void addData(const char *data, qint64 size);
    QByteArray result() const; // 8 bytes

private:
    quint64 lanes[4] = {0x60ea27eeadc0b5d6ULL, 0xc2b2ae3d27d4eb4fULL, 0, 0x61c8864e7a143579ULL};
    unsigned char pending[32] = {};
    int pendingSize = 0;
    quint64 total = 0;
};

// What a file held on disk when it was last read or written.
struct FileStamp
{
    qint64 size = -1; // -1: no file
    QDateTime modified;
    QByteArray hash; // ContentHash of the file's bytes

    bool exists() const { return size >= 0; }
    // Same bytes: the time stamp is left out, a touch or a copy back is no change.
    bool sameContent(const FileStamp &other) const
    {
        return size == other.size && hash == other.hash;
    }
    // Reads the file at path; a missing or unreadable file gives size -1.
    static FileStamp ofFile(const QString &path);
};
