#include "TestSupport.h"

#include "EditFixtures.h"
#include "ExportSample.h"
#include "FailingDevice.h"

#include "data/DropBoxContentParser.h"
#include "data/MonsterDropParser.h"
#include "data/NameResolver.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <cstring>

namespace TestSupport {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QString copyFiles(const QString &from, const QString &to, const QStringList &leaveOut)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files)) {
        if (!leaveOut.contains(name))
            QFile::copy(source.filePath(name), QDir(to).filePath(name));
    }
    return to;
}

QString ConfigCopies::next(const QStringList &leaveOut)
{
    return copyFiles(QStringLiteral(LOOTWRIGHT_TEST_DATA "/window/config"),
                     temp.filePath(QString::number(++copies)), leaveOut);
}

bool readPlainLines(const QString &path, QString &header1, QString &header2,
                    const LineHandler &body, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("cannot open ") + path;
        return false;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::System);
    for (int lineNumber = 1; !in.atEnd(); ++lineNumber) {
        const QString line = in.readLine();
        if (lineNumber == 1)
            header1 = line;
        else if (lineNumber == 2)
            header2 = line;
        else if (!line.trimmed().isEmpty() && !body(lineNumber, line, error))
            return false;
    }
    return true;
}

namespace {

template <class Parser, class Document, class Record>
bool readOneLine(const Parser &parser, const QString &line, QList<Record> Document::*records,
                 Record &record, QString &error)
{
    Document document;
    QByteArray bytes = "h1\nh2\n" + line.toUtf8() + '\n';
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!parser.read(buffer, document, error)) {
        error = error.mid(error.indexOf(u'：') + 1);
        return false;
    }
    if ((document.*records).size() != 1) {
        error = QStringLiteral("<no record>");
        return false;
    }
    record = (document.*records).first();
    return true;
}

} // namespace

bool readLine(const MonsterDropParser &parser, const QString &line, MonsterDropConfig &record,
              QString &error)
{
    return readOneLine(parser, line, &MonsterDropData::records, record, error);
}

bool readLine(const DropBoxContentParser &parser, const QString &line, DropBoxConfig &box,
              QString &error)
{
    return readOneLine(parser, line, &DropBoxContentData::boxes, box, error);
}

QString writtenLine(const MonsterDropParser &parser, const MonsterDropConfig &record)
{
    const MonsterDropData document{QStringLiteral("h1"), QStringLiteral("h2"), {record}};
    return QString::fromUtf8(writtenBytes(parser, document)).split(u'\n').value(2);
}

QString writtenLine(const DropBoxContentParser &parser, const DropBoxConfig &box)
{
    const DropBoxContentData document{QStringLiteral("h1"), QStringLiteral("h2"), {}, {box}};
    return QString::fromUtf8(writtenBytes(parser, document)).split(u'\n').value(2);
}

QByteArray randomDropFile(QRandomGenerator &random, const QStringList &gaps)
{
    static const QStringList pieces = {
        QStringLiteral("5001"), QStringLiteral("-7"),         QStringLiteral("+3"),
        QStringLiteral(" 42 "), QStringLiteral("x"),          QString(),
        QStringLiteral("0"),    QStringLiteral("2147483648"), QStringLiteral("\u30005"),
        QStringLiteral("9\r"),  QStringLiteral("#"),          QStringLiteral("\u00a0")};
    const auto any = [&random](const QStringList &list) {
        return list.at(random.bounded(int(list.size())));
    };
    QString text;
    const int lines = int(random.bounded(7));
    for (int l = 0; l < lines; ++l) {
        const int kind = int(random.bounded(10));
        if (kind == 0) {
            text += QStringLiteral("  # note ") + QString::number(l);
        } else if (kind == 1) {
            text += QStringLiteral(" \t\u3000");
        } else {
            if (random.bounded(3) == 0)
                text += any(gaps);
            const int fields = int(random.bounded(1, 12));
            for (int f = 0; f < fields; ++f) {
                if (f)
                    text += any(gaps);
                text += random.bounded(8) ? QString::number(random.bounded(-9, 99)) : any(pieces);
            }
        }
        text += random.bounded(4) ? QStringLiteral("\n") : QStringLiteral("\r\n");
    }
    if (random.bounded(3) == 0)
        text.chop(1);
    QByteArray bytes = text.toUtf8();
    // Broken UTF-8 now and then, also cut off at a line end.
    if (random.bounded(5) == 0) {
        const char *broken[] = {"\xe4\xb8", "\xff", "\xc3", "\xe4\xb8\n", "\xef\xbb\xbf"};
        bytes.insert(qsizetype(random.bounded(int(bytes.size()) + 1)), broken[random.bounded(5)]);
    }
    return bytes;
}

IsolatedSettings::IsolatedSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
}

void IsolatedSettings::clear()
{
    QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright")).clear();
}

QString IsolatedSettings::fileName()
{
    return QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright")).fileName();
}

QStringList storedFavorites()
{
    return QSettings(QStringLiteral("Lootwright"), QStringLiteral("Lootwright"))
        .value(QStringLiteral("favorites/itemIds"))
        .toStringList();
}

} // namespace TestSupport

FailingDevice::FailingDevice(QByteArray content, qint64 failAfter)
    : bytes(std::move(content)), limit(failAfter)
{
    open(QIODevice::ReadWrite);
    setErrorString(QStringLiteral("设备已满"));
}

qint64 FailingDevice::readData(char *data, qint64 maxSize)
{
    const qint64 count = std::min({maxSize, limit - served, qint64(bytes.size()) - served});
    if (count <= 0) {
        setErrorString(QStringLiteral("输入/输出错误"));
        return -1;
    }
    std::memcpy(data, bytes.constData() + served, size_t(count));
    served += count;
    return count;
}

namespace EditFixtures {

MonsterDropConfig monster(int id, int value, const QList<int> &boxIds, int dropType)
{
    MonsterDropConfig record;
    record.monsterId = id;
    record.mValue = value;
    record.dropType = dropType;
    record.dropBoxIds = boxIds;
    return record;
}

DropBoxConfig box(int id, int weight, const QList<int> &itemIds, int notifyId, int forceOpenFlag)
{
    DropBoxConfig config;
    config.boxId = id;
    config.boxValue = weight;
    config.notifyId = notifyId;
    config.forceOpenFlag = forceOpenFlag;
    for (int item : itemIds)
        config.items.append(DropBoxItem{item, item >= 1 ? item % 7 : -1});
    return config;
}

static QList<int> idsOf(const QString &text)
{
    QList<int> ids;
    for (const QString &id : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids << id.toInt();
    return ids;
}

QList<MonsterDropConfig> monstersFrom(const QString &text)
{
    QList<MonsterDropConfig> records;
    for (const QString &entry : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList f = entry.split(QLatin1Char('|'));
        records << monster(f.value(0).toInt(), f.value(1).toInt(), idsOf(f.value(2)),
                           f.value(3).toInt());
    }
    return records;
}

QList<DropBoxConfig> boxesFrom(const QString &text)
{
    QList<DropBoxConfig> list;
    for (const QString &entry : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList f = entry.split(QLatin1Char('|'));
        list << box(f.value(0).toInt(), f.value(1).toInt(), idsOf(f.value(2)),
                    f.size() > 3 ? f.at(3).toInt() : -1, f.value(4).toInt());
    }
    return list;
}

MonsterDropConfig padded(MonsterDropConfig record, int slots)
{
    while (record.dropBoxIds.size() < slots)
        record.dropBoxIds.append(-1);
    return record;
}

DropBoxConfig padded(DropBoxConfig box, int slots)
{
    while (box.items.size() < slots)
        box.items.append(DropBoxItem{});
    return box;
}

MonsterDropData monsters(const QList<MonsterDropConfig> &records)
{
    MonsterDropData data;
    data.headerLine1 = QStringLiteral("MonsterId\tMValue");
    data.headerLine2 = QStringLiteral("int\tint");
    data.records = records;
    return data;
}

DropBoxContentData boxes(const QList<DropBoxConfig> &list)
{
    DropBoxContentData data;
    data.headerLine1 = QStringLiteral("ID\tBoxValue");
    data.headerLine2 = QStringLiteral("int\tint");
    data.commentBlock = QStringLiteral("// made-up boxes");
    data.boxes = list;
    return data;
}

QString joined(const QList<int> &ids)
{
    QStringList parts;
    for (int id : ids)
        parts << QString::number(id);
    return parts.join(QLatin1Char(','));
}

// "id|value|type|slots|slot count" (and "|name" when there is one); trailing -1 slots are left
// out of the list but counted.
QString describe(const MonsterDropConfig &r)
{
    QList<int> slots = r.dropBoxIds;
    while (!slots.isEmpty() && slots.constLast() == -1)
        slots.removeLast();
    return QStringLiteral("%1|%2|%3|%4|%5")
               .arg(r.monsterId)
               .arg(r.mValue)
               .arg(r.dropType)
               .arg(joined(slots))
               .arg(r.dropBoxIds.size()) +
           (r.displayName.isEmpty() ? QString() : QLatin1Char('|') + r.displayName);
}

// "id|weight|notify|flag|item:level,...|slot count"; trailing empty slots (-1:-1) are left out
// of the list but counted.
QString describe(const DropBoxConfig &b)
{
    QList<DropBoxItem> slots = b.items;
    while (!slots.isEmpty() && slots.constLast() == DropBoxItem{})
        slots.removeLast();
    QStringList items;
    for (const DropBoxItem &item : slots)
        items << QStringLiteral("%1:%2").arg(item.itemId).arg(item.level);
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(b.boxId)
        .arg(b.boxValue)
        .arg(b.notifyId)
        .arg(b.forceOpenFlag)
        .arg(items.join(QLatin1Char(',')))
        .arg(b.items.size());
}

QStringList describe(const MonsterDropData &data)
{
    QStringList lines{data.headerLine1, data.headerLine2};
    for (const MonsterDropConfig &r : data.records)
        lines << describe(r);
    return lines;
}

QStringList describe(const DropBoxContentData &data)
{
    QStringList lines{data.headerLine1, data.headerLine2, data.commentBlock};
    for (const DropBoxConfig &b : data.boxes)
        lines << describe(b);
    return lines;
}

QByteArray savedBytes(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QString error;
    buffer.open(QIODevice::WriteOnly);
    MonsterDropParser(20).write(buffer, monsters, error);
    buffer.write("=====\n");
    DropBoxContentParser(100).write(buffer, boxes, error);
    return bytes;
}

} // namespace EditFixtures

namespace ExportSample {

QString timestamp()
{
    return QStringLiteral("2026-12-06 08:30:00");
}

void fill(MonsterDropData &monsters, DropBoxContentData &boxes, NameResolver &names)
{
    using EditFixtures::padded;
    const auto box = [](int id, int weight, const QList<int> &itemIds) {
        return padded(EditFixtures::box(id, weight, itemIds));
    };
    const auto monster = [](int id, int value, const QList<int> &boxIds,
                            const QString &displayName = {}) {
        MonsterDropConfig record = padded(EditFixtures::monster(id, value, boxIds));
        record.displayName = displayName;
        return record;
    };
    names.clear();
    names.monsterNames = {{1001, QStringLiteral("Goblin <Chief>")},
                          {205, QStringLiteral("骷髅弓手")},
                          {300, QStringLiteral("Red \"Fire\" Dragon")},
                          {1003, QStringLiteral("Ghost")}};
    names.commonItemNames = {{5001, QStringLiteral("Iron Sword")},
                             {5003, QStringLiteral("金币")},
                             {5004, QStringLiteral("Tom's \"Lucky\" Charm & Co")}};
    names.equipNames = {{5002, QStringLiteral("Steel Shield")}, {5006, QStringLiteral("<Bow>")}};
    names.gemNames = {{5005, QStringLiteral("红宝石")}};

    boxes = DropBoxContentData();
    boxes.boxes = {
        box(10, 10000, {5001, 5002}), box(11, 4000, {5003, -1, 5001}), box(12, 0, {5004}),
        box(13, 9000, {5006}),        box(14, 10000, {5006, 5005}),    box(15, 500, {-1, 0, -1}),
        box(16, 1000, {5001}), // replaced by the later box 16
        box(17, 2, {5005}),           box(16, 3, {7777, 5001, 5001}),
    };

    monsters = MonsterDropData();
    monsters.records = {
        monster(1001, 100, {10, -1, 11}), monster(1002, 50, {12}, QStringLiteral("Forest Wolf")),
        monster(205, 900, {13, 14}),      monster(1003, 100, {99}),
        monster(1004, 100, {15, 0}),      monster(300, 1, {16}),
        monster(42, 3, {17, 17}),
    };
}

} // namespace ExportSample
