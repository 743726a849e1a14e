#pragma once

#include "data/DropConfig.h"

class CheckedFile;
class QIODevice;
struct FileStamp;

// Reader and writer of MonsterDropBoxs.txt.
class MonsterDropParser
{
public:
    explicit MonsterDropParser(int boxSlotCount = 20);

    int boxSlotCount() const { return slotCount; }

    // stamp, when given, receives the size and hash of the bytes read.
    bool load(const QString &path, MonsterDropData &data, QString &error,
              FileStamp *stamp = nullptr) const;
    bool save(const QString &path, const MonsterDropData &data, QString &error) const;
    // Into the checked file's temporary file, synced and checked; nothing replaced yet.
    bool writeChecked(CheckedFile &file, const MonsterDropData &data, QString &error) const;

    // The same on an open device (tests use a QBuffer).
    bool read(QIODevice &device, MonsterDropData &data, QString &error) const;
    bool write(QIODevice &device, const MonsterDropData &data, QString &error) const;

private:
    int slotCount;
};
