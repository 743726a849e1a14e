// Temporary bodies so the tree links while the readers are written; delete when replaced.
#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"

MonsterDropParser::MonsterDropParser(int boxSlotCount) : slotCount(boxSlotCount) {}
bool MonsterDropParser::load(const QString &, MonsterDropData &, QString &) const { return false; }
bool MonsterDropParser::save(const QString &, const MonsterDropData &, QString &) const { return false; }
bool MonsterDropParser::read(QIODevice &, MonsterDropData &, QString &) const { return false; }
bool MonsterDropParser::write(QIODevice &, const MonsterDropData &, QString &) const { return false; }
bool MonsterDropParser::parseLine(const QString &, MonsterDropConfig &, QString &) const { return false; }
QString MonsterDropParser::formatLine(const MonsterDropConfig &) const { return {}; }

DropBoxContentParser::DropBoxContentParser(int itemSlotCount) : slotCount(itemSlotCount) {}
bool DropBoxContentParser::load(const QString &, DropBoxContentData &, QString &) const { return false; }
bool DropBoxContentParser::save(const QString &, const DropBoxContentData &, QString &) const { return false; }
bool DropBoxContentParser::read(QIODevice &, DropBoxContentData &, QString &) const { return false; }
bool DropBoxContentParser::write(QIODevice &, const DropBoxContentData &, QString &) const { return false; }
bool DropBoxContentParser::parseLine(const QString &, DropBoxConfig &, QString &) const { return false; }
QString DropBoxContentParser::formatLine(const DropBoxConfig &) const { return {}; }
