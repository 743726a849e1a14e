#pragma once

#include "data/DropConfig.h"

class QIODevice;

// Reader and writer of MonsterDropBoxs.txt.
class MonsterDropParser
{
public:
    explicit MonsterDropParser(int boxSlotCount = 20);

    int boxSlotCount() const { return slotCount; }

    bool load(const QString &path, MonsterDropData &data, QString &error) const;
    bool save(const QString &path, const MonsterDropData &data, QString &error) const;

    // The same on an open device (tests use a QBuffer).
    bool read(QIODevice &device, MonsterDropData &data, QString &error) const;
    bool write(QIODevice &device, const MonsterDropData &data, QString &error) const;

    bool parseLine(const QString &line, MonsterDropConfig &record, QString &error) const;
    QString formatLine(const MonsterDropConfig &record) const;

private:
    int slotCount;
};
