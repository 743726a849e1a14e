#pragma once

#include "data/DropConfig.h"

class CheckedFile;
class QIODevice;
struct FileStamp;

// Reader and writer of DropBoxContent.txt.
class DropBoxContentParser
{
public:
    explicit DropBoxContentParser(int itemSlotCount = 100);

    int itemSlotCount() const { return slotCount; }

    // stamp, when given, receives the size and hash of the bytes read.
    bool load(const QString &path, DropBoxContentData &data, QString &error,
              FileStamp *stamp = nullptr) const;
    bool save(const QString &path, const DropBoxContentData &data, QString &error) const;
    // Into the checked file's temporary file, synced and checked; nothing replaced yet.
    bool writeChecked(CheckedFile &file, const DropBoxContentData &data, QString &error) const;

    bool read(QIODevice &device, DropBoxContentData &data, QString &error) const;
    bool write(QIODevice &device, const DropBoxContentData &data, QString &error) const;

private:
    int slotCount;
};
