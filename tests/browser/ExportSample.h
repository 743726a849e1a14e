#pragma once

// A small made-up configuration whose exported page the golden file and the browser test share.

#include "data/DropConfig.h"
#include "data/NameResolver.h"

namespace ExportSample {

inline QString timestamp()
{
    return QStringLiteral("2026-12-06 08:30:00");
}

inline MonsterDropConfig monster(int id, int value, const QList<int> &boxIds,
                                 const QString &displayName = {})
{
    MonsterDropConfig config;
    config.monsterId = id;
    config.displayName = displayName;
    config.mValue = value;
    config.dropBoxIds = boxIds;
    while (config.dropBoxIds.size() < 20)
        config.dropBoxIds.append(-1);
    return config;
}

inline DropBoxConfig box(int id, int weight, const QList<int> &itemIds)
{
    DropBoxConfig config;
    config.boxId = id;
    config.boxValue = weight;
    for (int itemId : itemIds)
        config.items.append({itemId, itemId > 0 ? 1 : -1});
    while (config.items.size() < 100)
        config.items.append({-1, -1});
    return config;
}

// Fills the documents and the name tables (after clearing them).
inline void fill(MonsterDropData &monsters, DropBoxContentData &boxes, NameResolver &names)
{
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
