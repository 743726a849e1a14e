#include "ConfigGenerator.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <algorithm>
#include <charconv>
#include <random>
#include <vector>

namespace {

// Made-up name pieces; combined they give names such as "赤焰狼王" or "玄铁重剑".
const char16_t *const monsterPrefixes[] = {
    u"赤焰", u"幽冥", u"雪原", u"暗影", u"血色", u"狂暴", u"远古", u"深渊", u"烈风", u"寒冰",
    u"雷霆", u"毒牙", u"金甲", u"黑石", u"碧水", u"苍穹", u"荒野", u"腐骨", u"紫电", u"铁背"};
const char16_t *const monsterCores[] = {
    u"狼", u"熊", u"鬼将", u"蜘蛛", u"巨龙", u"骷髅", u"魔蝎", u"石像", u"树妖", u"蛇妖",
    u"猿", u"虎", u"鹰",   u"蛛后", u"僵尸", u"巨人", u"术士", u"刀客", u"狐妖", u"野猪"};
const char16_t *const monsterSuffixes[] = {u"王",   u"统领", u"战士", u"守卫", u"法师",
                                           u"首领", u"幼崽", u"",     u"精英", u"长老"};
const char16_t *const itemPrefixes[] = {u"玄铁", u"精钢", u"青铜", u"龙鳞", u"凤羽", u"寒玉",
                                        u"紫金", u"乌木", u"天蚕", u"破军", u"流云", u"灵犀"};
const char16_t *const commonCores[] = {u"药水", u"卷轴", u"符咒", u"宝箱", u"碎片",
                                       u"精华", u"矿石", u"令牌", u"丹药", u"礼包"};
const char16_t *const equipCores[] = {u"重剑", u"长枪", u"战甲", u"头盔", u"护腕",
                                      u"战靴", u"法杖", u"弓",   u"戒指", u"项链"};
const char16_t *const gemCores[] = {u"红宝石", u"蓝宝石", u"绿宝石", u"黄玉", u"紫晶", u"黑曜石"};

template <size_t N> QStringView pick(std::mt19937 &random, const char16_t *const (&table)[N])
{
    return QStringView(table[random() % N]);
}

void appendNumber(QByteArray &out, long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr - buffer);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

QString tableHeader(int fields, const QString &nameTitle, int nameColumn)
{
    QStringList first, second;
    for (int i = 0; i < fields; ++i) {
        first.append(i == 0            ? QStringLiteral("ID")
                     : i == nameColumn ? QStringLiteral("Name")
                                       : QStringLiteral("Col%1").arg(i + 1));
        second.append(i == 0            ? QStringLiteral("编号")
                      : i == nameColumn ? nameTitle
                                        : QStringLiteral("字段%1").arg(i + 1));
    }
    return first.join(u'\t') + u'\n' + second.join(u'\t') + u'\n';
}

// One item table: id in column 1, name in nameColumn (0-based), other columns filled with numbers.
QString itemTable(std::mt19937 &random, const std::vector<int> &ids, int fields, int nameColumn,
                  const char16_t *const *cores, size_t coreCount, const QString &nameTitle)
{
    QString text = tableHeader(fields, nameTitle, nameColumn);
    text.reserve(qsizetype(ids.size()) * (fields * 4 + 10));
    for (int id : ids) {
        text += QString::number(id);
        for (int column = 1; column < fields; ++column) {
            text += u'\t';
            if (column == nameColumn) {
                text += pick(random, itemPrefixes);
                text += QStringView(cores[random() % coreCount]);
                if (random() % 4 == 0)
                    text += QStringLiteral("(%1级)").arg(1 + random() % 9);
            } else {
                text += QString::number(random() % 1000);
            }
        }
        text += u'\n';
    }
    return text;
}

} // namespace

bool generateConfiguration(const QString &dir, const GeneratorOptions &options)
{
    if (!QDir().mkpath(dir))
        return false;
    const QDir target(dir);
    std::mt19937 random(options.seed);
    const int monsterCount = std::max(options.monsterCount, 0);
    const int boxCount = std::max(options.boxCount, 0);
    const int itemCount = std::max(options.itemCount, 0);

    // Items: half common, three tenths equipment, a fifth gems; a few ids in two tables.
    std::vector<int> commonIds, equipIds, gemIds, allItems;
    for (int i = 0; i < itemCount; ++i) {
        const int kind = i % 10;
        // One id range for all tables, as the game server numbers its items.
        if (kind < 5)
            commonIds.push_back(10000 + i);
        else if (kind < 8)
            equipIds.push_back(10000 + i);
        else
            gemIds.push_back(10000 + i);
    }
    for (size_t i = 0; i < equipIds.size() && i < commonIds.size(); i += 97)
        equipIds.push_back(commonIds[i]);
    allItems.insert(allItems.end(), commonIds.begin(), commonIds.end());
    allItems.insert(allItems.end(), equipIds.begin(), equipIds.end());
    allItems.insert(allItems.end(), gemIds.begin(), gemIds.end());
    if (allItems.empty())
        allItems.push_back(1);

    const size_t commonCoreCount = sizeof commonCores / sizeof *commonCores;
    const size_t equipCoreCount = sizeof equipCores / sizeof *equipCores;
    const size_t gemCoreCount = sizeof gemCores / sizeof *gemCores;
    if (!writeFile(target.filePath(QStringLiteral("CommonItem.txt")),
                   encode(itemTable(random, commonIds, 9, 6, commonCores, commonCoreCount,
                                    QStringLiteral("物品名称")))) ||
        !writeFile(target.filePath(QStringLiteral("EquipBase.txt")),
                   encode(itemTable(random, equipIds, 14, 10, equipCores, equipCoreCount,
                                    QStringLiteral("装备名称")))) ||
        !writeFile(target.filePath(QStringLiteral("GemInfo.txt")),
                   encode(itemTable(random, gemIds, 8, 7, gemCores, gemCoreCount,
                                    QStringLiteral("宝石名称")))))
        return false;

    // Monsters: ids with small gaps, names from the syllable tables, levels 1 to 120.
    std::vector<int> monsterIds;
    monsterIds.reserve(size_t(monsterCount));
    QString monsters = tableHeader(10, QStringLiteral("怪物名称"), 1);
    monsters.reserve(qsizetype(monsterCount) * 40);
    int nextMonster = 100000;
    for (int i = 0; i < monsterCount; ++i) {
        nextMonster += 1 + int(random() % 3 == 0);
        monsterIds.push_back(nextMonster);
        monsters += QString::number(nextMonster) + u'\t' + pick(random, monsterPrefixes) +
                    pick(random, monsterCores) + pick(random, monsterSuffixes) + u'\t' +
                    QString::number(random() % 500) + u'\t' + QString::number(1 + random() % 120);
        for (int column = 4; column < 10; ++column)
            monsters += u'\t' + QString::number(random() % 100000);
        monsters += u'\n';
    }
    if (!writeFile(target.filePath(QStringLiteral("MonsterAttrExTable.txt")), encode(monsters)))
        return false;

    // Boxes: weights mostly in the thousands, some 0; 1 to 100 of 100 slots filled.
    QByteArray boxes =
        encode(QStringLiteral("ID BoxValue NotifyId ForceOpenFlag ItemId1 Level1 ...\n"
                              "# 掉落包编号 权重 公告编号 强制绑定 物品编号 等级 ...\n"
                              "# 生成的测试数据，数值均为虚构\n"));
    boxes.reserve(qsizetype(boxCount) * 720 + 256);
    for (int box = 1; box <= boxCount; ++box) {
        appendNumber(boxes, box);
        boxes += ' ';
        const unsigned roll = random() % 100;
        appendNumber(boxes, roll == 0   ? 0
                            : roll < 60 ? 1000 + random() % 9000
                                        : 10000 + random() % 990000);
        boxes += ' ';
        appendNumber(boxes, random() % 10 == 0 ? qint64(1 + random() % 50) : -1);
        boxes += ' ';
        appendNumber(boxes, random() % 5 == 0);
        const int filled = 1 + int(random() % 100);
        for (int slot = 0; slot < 100; ++slot) {
            if (slot < filled) {
                boxes += ' ';
                appendNumber(boxes, allItems[random() % allItems.size()]);
                boxes += ' ';
                appendNumber(boxes, random() % 4 == 0 ? qint64(1 + random() % 9) : 0);
            } else {
                boxes += " -1 -1";
            }
        }
        boxes += '\n';
        if (box == boxCount / 2)
            boxes += encode(QStringLiteral("# 以下为高级掉落包\n"));
    }
    if (!writeFile(target.filePath(QStringLiteral("DropBoxContent.txt")), boxes))
        return false;

    // Drop lines for about 80 % of the monsters; popular boxes are shared, a few ids name no box.
    QByteArray drops = encode(QStringLiteral("MonsterID\tMValue\tDropType\tDropBox1\t...\n"
                                             "# 怪物编号\t价值\t掉落类型\t掉落包\n"));
    drops.reserve(qsizetype(monsterCount) * 90 + 128);
    const int popular = std::max(1, boxCount / 50);
    for (int monster : monsterIds) {
        if (random() % 5 == 0)
            continue;
        appendNumber(drops, monster);
        drops += '\t';
        appendNumber(drops, 100 + random() % 9900);
        drops += '\t';
        appendNumber(drops, random() % 4 == 0);
        const int used = 1 + int(random() % 6);
        for (int slot = 0; slot < 20; ++slot) {
            drops += '\t';
            if (slot >= used || boxCount == 0) {
                drops += "-1";
                continue;
            }
            const unsigned roll = random() % 100;
            if (roll < 2)
                appendNumber(drops, boxCount + 1 + random() % 1000); // no such box
            else if (roll < 40)
                appendNumber(drops, 1 + random() % popular);
            else
                appendNumber(drops, 1 + random() % boxCount);
        }
        drops += '\n';
    }
    return writeFile(target.filePath(QStringLiteral("MonsterDropBoxs.txt")), drops);
}
