#!/usr/bin/env python3
"""Writes the demo configuration (six game server files) into demo/config.

Everything here is made up. The output is deterministic: running the script
again gives the same bytes, so the committed files can be checked with
`python3 demo/make_demo_config.py --check`.

The drop files are written in exactly the form the editor's writers produce
(monster lines: 23 TAB-separated fields; box lines: 204 fields separated by
single spaces; comment lines directly after the two header lines), so loading
and saving the demo unchanged gives identical bytes. All files are UTF-8 with
LF line endings.
"""

import argparse
import os
import random
import sys

SEED = 20261206
BOX_SLOTS = 20
ITEM_SLOTS = 100

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "config")

# ---------------------------------------------------------------- items

COMMON_GRADED = ["强化石", "经验丹", "金创药", "魔法药水", "修复卷轴", "祝福油",
                 "灵魂碎片", "兽皮", "铁矿石", "灵草", "蚕丝", "龙鳞", "羽毛",
                 "锻造图纸", "坐骑口粮", "技能书残页", "星辰砂", "精炼石"]
GRADES = ["初级", "中级", "高级", "特级"]
COMMON_SINGLE = ["回城卷轴", "随机传送石", "金币袋", "元宝袋", "绑定元宝", "双倍经验卡",
                 "复活石", "世界喇叭", "宠物蛋", "洗练符", "转职凭证", "藏宝图",
                 "宝箱钥匙", "神秘宝箱", "节日礼包", "烟花", "月饼", "粽子",
                 "红包", "幸运符", "坐骑进阶丹", "翅膀羽毛", "神兽精魄", "天赋石",
                 "改名卡", "背包扩展券", "仓库扩展券", "行会令牌"]

EQUIP_SETS = [("青铜", 10), ("玄铁", 20), ("赤金", 30), ("寒玉", 40), ("龙鳞", 50),
              ("凤羽", 60), ("星辰", 70), ("破军", 80), ("天罡", 90), ("混沌", 100)]
EQUIP_PARTS = [("剑", 1), ("刀", 1), ("法杖", 1), ("弓", 1), ("头盔", 2), ("铠甲", 3),
               ("护腿", 4), ("战靴", 5), ("护腕", 6), ("腰带", 7), ("项链", 8),
               ("戒指", 9), ("手镯", 10), ("披风", 11), ("盾牌", 12), ("玉佩", 13)]

GEM_KINDS = [("红宝石", "攻击"), ("蓝宝石", "法力"), ("黄玉", "防御"),
             ("翡翠", "生命"), ("紫晶", "暴击"), ("黑曜石", "穿透")]
GEM_LEVELS = 10

# ---------------------------------------------------------------- monsters

MONSTER_PREFIXES = ["赤焰", "寒冰", "幽冥", "暗影", "狂暴", "嗜血", "青木", "黄沙",
                    "雷霆", "迷雾", "枯骨", "玄铁", "紫电", "碧水", "烈风", "腐化",
                    "远古", "深渊", "山岭", "沼泽"]
MONSTER_KINDS = ["狼", "野猪", "蜘蛛", "骷髅兵", "僵尸", "巨蟒", "蝎子", "石像",
                 "树妖", "鬼火", "花妖", "蝙蝠", "猿猴", "熊", "刀客", "法师",
                 "弓手", "祭司", "守卫", "巨人"]
ELITE_SUFFIXES = ["头目", "首领", "统领"]
BOSS_SUFFIXES = ["之王", "魔王", "领主"]
WORLD_BOSSES = ["上古魔龙·炎煌", "九幽冥帝", "天外邪神"]

NAMED_MONSTERS = 330        # rows of the monster name table
MONSTERS_WITHOUT_DROPS = 30  # named monsters that have no drop line
UNNAMED_DROP_MONSTERS = 12   # drop lines whose monster is in no name table
LEVEL_BANDS = 20             # level 1-5, 6-10, ... 96-100 (and above, banded as 96-100)


class Item:
    def __init__(self, item_id, name, table, level=0, kind=""):
        self.id = item_id
        self.name = name
        self.table = table
        self.level = level
        self.kind = kind


def make_items(rng):
    common, equips, gems = [], [], []
    next_id = 100001
    for base in COMMON_GRADED:
        for grade_index, grade in enumerate(GRADES):
            common.append(Item(next_id, grade + base, "common", grade_index + 1, base))
            next_id += 1
    for name in COMMON_SINGLE:
        common.append(Item(next_id, name, "common", 1, name))
        next_id += 1

    next_id = 300001
    for set_name, set_level in EQUIP_SETS:
        for part_name, _ in EQUIP_PARTS:
            equips.append(Item(next_id, set_name + part_name, "equip", set_level, part_name))
            next_id += 1
        next_id += 100 - len(EQUIP_PARTS)  # each set starts on a round id

    next_id = 500001
    for gem_name, attr in GEM_KINDS:
        for level in range(1, GEM_LEVELS + 1):
            gems.append(Item(next_id, "%d级%s" % (level, gem_name), "gem", level, attr))
            next_id += 1
        next_id += 100 - GEM_LEVELS
    return common, equips, gems


class Monster:
    def __init__(self, monster_id, name, level, role):
        self.id = monster_id
        self.name = name
        self.level = level
        self.role = role  # normal, elite, boss, world


def make_monsters(rng):
    combos = [p + k for p in MONSTER_PREFIXES for k in MONSTER_KINDS]
    rng.shuffle(combos)
    count = NAMED_MONSTERS - len(WORLD_BOSSES)
    levels = sorted(rng.randint(1, 100) for _ in range(count))
    monsters = []
    for index in range(count):
        roll = rng.random()
        name = combos[index]
        if roll < 0.08:
            role = "boss"
            name += rng.choice(BOSS_SUFFIXES)
        elif roll < 0.28:
            role = "elite"
            name += rng.choice(ELITE_SUFFIXES)
        else:
            role = "normal"
        monsters.append(Monster(10001 + index, name, levels[index], role))
    for index, name in enumerate(WORLD_BOSSES):
        monsters.append(Monster(18001 + index, name, 110 + 10 * index, "world"))
    return monsters


class Box:
    def __init__(self, box_id, value, notify_id=-1, force_open=0):
        self.id = box_id
        self.value = value
        self.notify_id = notify_id
        self.force_open = force_open
        self.items = []  # (item id, level)

    def line(self):
        fields = [self.id, self.value, self.notify_id, self.force_open]
        for item_id, level in self.items:
            fields += [item_id, level]
        fields += [-1, -1] * (ITEM_SLOTS - len(self.items))
        assert len(fields) == 4 + 2 * ITEM_SLOTS
        return " ".join(str(f) for f in fields)


def band_of(level):
    return min(LEVEL_BANDS - 1, max(0, (level - 1) // 5))


def make_boxes(rng, common, equips, gems):
    boxes = []
    next_id = [20001]

    def new_box(value, notify_id=-1, force_open=0):
        box = Box(next_id[0], value, notify_id, force_open)
        next_id[0] += 1
        boxes.append(box)
        return box

    def common_item(base_names, grade):
        picks = [i for i in common if i.kind in base_names and i.level == grade]
        return picks

    band_boxes = []
    for band in range(LEVEL_BANDS):
        grade = min(4, 1 + band * 4 // LEVEL_BANDS)
        set_level = (band // 2 + 1) * 10
        equip_set = [e for e in equips if e.level == set_level]
        gem_low = [g for g in gems if g.level in (band // 4 + 1, band // 4 + 2)]
        group = {}

        # Coins for ordinary monsters: weight about their monster value (near 100 %).
        box = new_box(rng.choice([1000, 1200, 1200, 1500]))
        box.items = [(next(i.id for i in common if i.name == "金币袋"), 1)]
        group["coins"] = box

        box = new_box(rng.randint(15, 30) * 100)
        for item in common_item(["兽皮", "铁矿石", "灵草", "蚕丝", "羽毛"], grade):
            box.items.append((item.id, grade))
        group["material"] = box

        box = new_box(rng.randint(20, 40) * 100)
        for item in common_item(["金创药", "魔法药水"], grade):
            box.items.append((item.id, 1))
        box.items.append((next(i.id for i in common if i.name == "回城卷轴"), 1))
        group["potion"] = box

        box = new_box(rng.randint(20, 60) * 1000)
        parts = rng.sample(equip_set, rng.randint(4, 8))
        for item in sorted(parts, key=lambda i: i.id):
            box.items.append((item.id, rng.choice([0, 0, 0, 1, 2])))
        group["equip"] = box

        box = new_box(rng.randint(10, 30) * 10000)
        for item in common_item(["强化石", "经验丹", "精炼石"], grade):
            box.items.append((item.id, 1))
        group["upgrade"] = box

        box = new_box(rng.randint(5, 20) * 100000)
        for item in gem_low:
            box.items.append((item.id, 0))
        group["gem"] = box

        box = new_box(rng.randint(10, 50) * 100000, 1000 + band, 1)
        box.items = [(i.id, 5) for i in rng.sample(equip_set, 2)]
        box.items.append((next(i.id for i in common if i.name == "藏宝图"), 1))
        group["rare"] = box
        band_boxes.append(group)

    # Boxes every level shares.
    shared = {}
    box = new_box(500000, 2001, 0)
    box.items = [(next(i.id for i in common if i.name == n), 1)
                 for n in ["宝箱钥匙", "神秘宝箱", "幸运符"]]
    shared["lucky"] = box
    box = new_box(0)  # switched off after the spring event
    box.items = [(next(i.id for i in common if i.name == n), 1)
                 for n in ["节日礼包", "烟花", "红包"]]
    shared["event_off"] = box
    box = new_box(200000, 2002, 0)
    box.items = [(next(i.id for i in common if i.name == n), 1)
                 for n in ["月饼", "粽子", "双倍经验卡"]]
    shared["festival"] = box
    box = new_box(3000000, 2003, 1)
    box.items = [(next(i.id for i in common if i.name == n), 1)
                 for n in ["坐骑进阶丹", "神兽精魄", "翅膀羽毛"]]
    # Items the item tables do not know yet (added by a later client patch).
    box.items += [(999001, 1), (999002, 1)]
    shared["mount"] = box

    return boxes, band_boxes, shared, new_box


def assign_drops(rng, monsters, boxes, band_boxes, shared, new_box, common, equips, gems):
    """Returns the drop records: (monster id, mValue, drop type, 20 box ids)."""
    records = []
    named = monsters[:]
    rng.shuffle(named)
    # Some named monsters (town guards and the like) have no drop line.
    no_drop = set(m.id for m in named[:MONSTERS_WITHOUT_DROPS] if m.role in ("normal", "elite"))
    missing_ids = [29901, 29902, 29903, 29904]  # box ids that no box line defines
    missing_iter = iter(missing_ids + missing_ids)

    for monster in monsters:
        if monster.id in no_drop:
            continue
        band = band_boxes[band_of(monster.level)]
        drop_type = 0
        if monster.role == "normal":
            m_value = rng.choice([800, 1000, 1000, 1000, 1200])
            slots = [band["coins"].id, band["material"].id, band["potion"].id,
                     band["equip"].id]
            if rng.random() < 0.5:
                slots.append(band["upgrade"].id)
            if rng.random() < 0.3:
                slots.append(band["gem"].id)
        elif monster.role == "elite":
            m_value = rng.choice([2000, 3000, 3000, 5000])
            slots = [band["equip"].id, band["upgrade"].id, band["gem"].id,
                     band["rare"].id, shared["lucky"].id]
        else:
            m_value = 10000 if monster.role == "boss" else 50000
            drop_type = 1 if monster.role == "world" else 0
            slots = [band["equip"].id, band["upgrade"].id, band["gem"].id,
                     band["rare"].id, shared["lucky"].id, shared["festival"].id]
            set_level = (band_of(monster.level) // 2 + 1) * 10
            gear = [e for e in equips if e.level == set_level]
            for _ in range(rng.randint(2, 4) if monster.role == "boss" else 4):
                box = new_box(rng.randint(2, 20) * (10000 if monster.role == "boss" else 50000),
                              3000 + len(records) if monster.role == "world" else -1,
                              1 if monster.role == "world" else 0)
                for item in sorted(rng.sample(gear, rng.randint(3, 6)), key=lambda i: i.id):
                    box.items.append((item.id, rng.randint(0, 5)))
                if monster.role == "world":
                    box.items += [(g.id, 0) for g in gems if g.level >= 8][:6]
                slots.append(box.id)
            if monster.role == "world":
                slots.append(shared["mount"].id)
        if rng.random() < 0.04:
            slots.append(shared["event_off"].id)
        if rng.random() < 0.02:
            slots.append(next(missing_iter, 29999))
        slots = slots[:BOX_SLOTS]
        slots += [-1] * (BOX_SLOTS - len(slots))
        records.append([monster.id, m_value, drop_type, slots])

    # Placeholder monsters of the next content patch: drop lines, no names yet.
    for index in range(UNNAMED_DROP_MONSTERS):
        band = band_boxes[index % LEVEL_BANDS]
        slots = [band["coins"].id, band["material"].id] + [-1] * (BOX_SLOTS - 2)
        records.append([19001 + index, 1000, 0, slots])

    # A few hand-made oddities a real table has.
    by_id = {r[0]: r for r in records}
    first = records[0]
    first[3][1] = -1                     # a gap between two boxes
    second = records[1]
    second[3][5] = second[3][0]          # the same box listed twice
    records[2][1] = 0                    # drops switched off by monster value
    records[3][3] = [-1] * BOX_SLOTS     # no drops at all
    records[4][3][0] = missing_ids[-1]   # first slot names a missing box
    assert len(by_id) == len(records)
    return records


def unused_boxes(rng, new_box, common, gems, count):
    """Boxes no monster lists (old events, boxes kept for scripts)."""
    for _ in range(count):
        box = new_box(0 if rng.random() < 0.05 else rng.choice([100000, 250000, 1000000, 2000000]))
        pool = common + gems
        for item in sorted(rng.sample(pool, rng.randint(1, 10)), key=lambda i: i.id):
            box.items.append((item.id, item.level if item.table == "gem" else 1))


def make_tables(rng, monsters, common, equips, gems):
    files = {}
    lines = ["ID\tName\tType\tLevel\tHP\tAttack\tDefense\tExp\tModel",
             "怪物ID\t名称\t类型\t等级\t生命\t攻击\t防御\t经验\t模型"]
    role_type = {"normal": 0, "elite": 1, "boss": 2, "world": 3}
    for m in monsters:
        factor = {"normal": 1, "elite": 3, "boss": 12, "world": 60}[m.role]
        hp = m.level * 120 * factor
        lines.append("\t".join(str(f) for f in [
            m.id, m.name, role_type[m.role], m.level, hp, m.level * 9 * factor,
            m.level * 5 * factor, m.level * 14 * factor, 5000 + m.id % 300]))
    # Lines the reader skips: an id of 0 and a placeholder without an id.
    lines.insert(5, "0\t测试怪物（勿用）\t0\t1\t1\t1\t1\t1\t5000")
    lines.append("\t未定名\t0\t1\t100\t10\t5\t10\t5000")
    files["MonsterAttrExTable.txt"] = lines

    lines = ["ID\tType\tSubType\tIcon\tPrice\tStackMax\tName\tDesc",
             "物品ID\t类型\t子类型\t图标\t价格\t堆叠上限\t名称\t描述"]
    for item in common:
        lines.append("\t".join(str(f) for f in [
            item.id, 1, item.level, "icon_%d" % item.id, 10 * item.level ** 2 * 5,
            rng.choice([1, 20, 99, 999]), item.name, "%s，可在商店出售。" % item.name]))
    files["CommonItem.txt"] = lines

    lines = ["ID\tType\tPart\tJob\tLevel\tQuality\tIcon\tPrice\tAttack\tDefense\tName\tDesc",
             "装备ID\t类型\t部位\t职业\t等级\t品质\t图标\t价格\t攻击\t防御\t名称\t描述"]
    part_of = dict(EQUIP_PARTS)
    for item in equips:
        part = part_of[item.kind]
        attack = item.level * 12 if part == 1 else item.level * 2
        defense = 0 if part == 1 else item.level * 6
        lines.append("\t".join(str(f) for f in [
            item.id, 2, part, rng.randint(0, 3), item.level, 1 + item.level // 25,
            "equip_%d" % item.id, item.level * 150, attack, defense, item.name,
            "%d级装备" % item.level]))
    files["EquipBase.txt"] = lines

    lines = ["ID\tType\tLevel\tAttr\tValue\tIcon\tPrice\tName\tDesc",
             "宝石ID\t类型\t等级\t属性\t数值\t图标\t价格\t名称\t描述"]
    for item in gems:
        lines.append("\t".join(str(f) for f in [
            item.id, 3, item.level, item.kind, item.level * 15, "gem_%d" % item.id,
            3 ** item.level * 10, item.name, "镶嵌后增加%s" % item.kind]))
    files["GemInfo.txt"] = lines
    return files


def build():
    rng = random.Random(SEED)
    common, equips, gems = make_items(rng)
    monsters = make_monsters(rng)
    boxes, band_boxes, shared, new_box = make_boxes(rng, common, equips, gems)
    records = assign_drops(rng, monsters, boxes, band_boxes, shared, new_box,
                           common, equips, gems)
    unused_boxes(rng, new_box, common, gems, max(25, 300 - len(boxes)))

    files = make_tables(rng, monsters, common, equips, gems)

    header1 = "\t".join(["MonsterID", "MValue", "DropType"]
                        + ["Box%d" % n for n in range(1, BOX_SLOTS + 1)])
    header2 = "\t".join(["怪物ID", "怪物值", "掉落类型(0个人/1队伍)"]
                        + ["掉落包%d" % n for n in range(1, BOX_SLOTS + 1)])
    lines = [header1, header2]
    for monster_id, m_value, drop_type, slots in sorted(records, key=lambda r: r[0]):
        fields = [monster_id, m_value, drop_type] + slots
        assert len(fields) == 3 + BOX_SLOTS
        lines.append("\t".join(str(f) for f in fields))
    files["MonsterDropBoxs.txt"] = lines

    header1 = " ".join(["ID", "BoxValue", "NotifyId", "ForceOpenFlag"]
                       + ["ItemId%d Level%d" % (n, n) for n in range(1, ITEM_SLOTS + 1)])
    header2 = "掉落包ID 权重 广播ID 强制打开 物品ID 等级（共100组）"
    lines = [header1, header2,
             "# 爆率 = 怪物值 / 权重；权重为 0 的包不会掉落",
             "# 空槽写 -1 -1"]
    for box in boxes:
        assert len(box.items) <= ITEM_SLOTS
        lines.append(box.line())
    files["DropBoxContent.txt"] = lines
    return files


def render(lines):
    return ("\n".join(lines) + "\n").encode("utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the files on disk instead of writing them")
    parser.add_argument("--out", default=OUT_DIR, help="output directory")
    args = parser.parse_args()

    files = build()
    if args.check:
        stale = []
        for name, lines in sorted(files.items()):
            path = os.path.join(args.out, name)
            try:
                with open(path, "rb") as f:
                    if f.read() != render(lines):
                        stale.append(name)
            except OSError:
                stale.append(name)
        if stale:
            print("out of date: " + ", ".join(stale), file=sys.stderr)
            return 1
        return 0

    os.makedirs(args.out, exist_ok=True)
    for name, lines in sorted(files.items()):
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(render(lines))
        print("%-24s %5d lines" % (name, len(lines)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
