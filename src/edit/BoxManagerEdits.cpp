#include "edit/BoxManagerEdits.h"

#include "data/NameResolver.h"
#include "edit/EditSupport.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <optional>

using EditSupport::num;

namespace BoxManagerEdits {

namespace {

std::optional<int> parseDecimal(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<int> parsePositive(const QString &text)
{
    const std::optional<int> value = parseDecimal(text);
    return value && DropSlots::isUsedId(*value) ? value : std::nullopt;
}

bool holdsItem(const DropBoxConfig &box, int itemId)
{
    return std::any_of(box.items.cbegin(), box.items.cend(),
                       [itemId](const DropBoxItem &item) { return item.itemId == itemId; });
}

// "ID: %1 (%2)" per monster record naming the box, once per record, in document order.
QStringList referenceLines(const MonsterDropData &monsters, int boxId)
{
    QStringList lines;
    const NameResolver &names = NameResolver::instance();
    for (const MonsterDropConfig &record : monsters.records) {
        if (!record.dropBoxIds.contains(boxId))
            continue;
        const QString name = names.monsterName(record.monsterId);
        lines << (name.isEmpty() ? QStringLiteral("ID: %1").arg(record.monsterId)
                                 : QStringLiteral("ID: %1 (%2)").arg(num(record.monsterId), name));
    }
    return lines;
}

EditNotice notice(const QString &text)
{
    return EditNotice::information(EditTexts::noticeTitle(), text);
}

EditNotice saveRefusal(const QString &text)
{
    return EditNotice::warning(QCoreApplication::translate("Lootwright", "保存失败"), text);
}

DropBoxConfig emptyBox(int boxId)
{
    DropBoxConfig box;
    box.boxId = boxId;
    box.boxValue = 100;
    box.notifyId = -1;
    box.forceOpenFlag = 0;
    box.items.fill(DropBoxItem{-1, -1}, 10);
    return box;
}

} // namespace

// --- box list -----------------------------------------------------------------------------------

int boxFilterItemId(const QString &text)
{
    return parsePositive(text).value_or(-1);
}

QList<int> boxesToList(const DropBoxContentData &boxes, int filterItemId)
{
    QList<int> indexes;
    indexes.reserve(boxes.boxes.size());
    for (qsizetype i = 0; i < boxes.boxes.size(); ++i) {
        if (filterItemId < 1 || holdsItem(boxes.boxes.at(i), filterItemId))
            indexes.append(int(i));
    }
    return indexes;
}

// --- references ---------------------------------------------------------------------------------

QString boxReferencesText(const MonsterDropData *monsters, int boxId)
{
    if (!monsters)
        return QCoreApplication::translate("Lootwright", "未加载怪物配置信息");
    const QStringList lines = referenceLines(*monsters, boxId);
    if (lines.isEmpty())
        return QCoreApplication::translate("Lootwright", "未找到使用包裹 ID %1 的怪物").arg(boxId);
    return QCoreApplication::translate("Lootwright", "使用包裹 ID %1 的怪物列表:\n\n").arg(boxId) +
           lines.join(QLatin1Char('\n'));
}

QString renamedBoxReferencesNote(const MonsterDropData *monsters, int oldId, int newId)
{
    if (!monsters || oldId == newId)
        return QString();
    const QStringList lines = referenceLines(*monsters, oldId);
    if (lines.isEmpty())
        return QString();
    return QCoreApplication::translate(
               "Lootwright",
               "注意：包裹ID已由 %1 改为 %2，以下怪物仍引用旧ID %1（引用未随之修改）:\n\n")
               .arg(num(oldId), num(newId)) +
           lines.join(QLatin1Char('\n'));
}

// --- box detail pane ----------------------------------------------------------------------------

BoxEditResult applyBoxEdits(DropBoxContentData &boxes, int currentBoxId, const BoxEditInput &input)
{
    BoxEditResult result;
    result.oldBoxId = currentBoxId;
    result.newBoxId = currentBoxId;
    if (!DropSlots::isUsedId(currentBoxId)) {
        result.notice = notice(QCoreApplication::translate("Lootwright", "请先选择一个包裹"));
        return result;
    }
    const int index = DropSlots::indexOfBox(boxes, currentBoxId);
    if (index < 0) {
        result.notice = saveRefusal(
            QCoreApplication::translate("Lootwright", "当前选中的包裹不存在（可能已被删除）"));
        return result;
    }
    const DropBoxConfig &box = boxes.boxes.at(index);
    const std::optional<int> newId = parsePositive(input.boxIdText);
    if (!newId) {
        result.notice =
            saveRefusal(QCoreApplication::translate("Lootwright", "包裹ID必须为正整数"));
        return result;
    }
    if (*newId != box.boxId && DropSlots::indexOfBox(boxes, *newId) >= 0) {
        result.notice = saveRefusal(
            QCoreApplication::translate("Lootwright", "包裹ID %1 已存在，请换一个ID").arg(*newId));
        return result;
    }
    const std::optional<int> weight = parseDecimal(input.weightText);
    if (!weight || *weight < 0) {
        result.notice =
            saveRefusal(QCoreApplication::translate("Lootwright", "包裹权值必须为非负整数"));
        return result;
    }
    std::optional<int> notifyId = -1;
    if (!input.notifyIdText.trimmed().isEmpty())
        notifyId = parseDecimal(input.notifyIdText);
    if (!notifyId) {
        result.notice = saveRefusal(
            QCoreApplication::translate("Lootwright", "掉落系统编号必须为整数（可留空表示 -1）"));
        return result;
    }
    // The check box only says "not 0": a stored flag such as 2 stays while it stays checked.
    const int flag = input.forceBind ? (box.forceOpenFlag != 0 ? box.forceOpenFlag : 1) : 0;

    result.ok = true;
    result.newBoxId = *newId;
    if (box.boxId == *newId && box.boxValue == *weight && box.notifyId == *notifyId &&
        box.forceOpenFlag == flag)
        return result;
    DropBoxConfig &target = boxes.boxes[index];
    target.boxId = *newId;
    target.boxValue = *weight;
    target.notifyId = *notifyId;
    target.forceOpenFlag = flag;
    result.applied = true;
    return result;
}

// --- adding and copying boxes
// ---------------------------------------------------------------------

NewBoxResult addBox(DropBoxContentData &boxes, const MonsterDropData *monsters)
{
    NewBoxResult result;
    const std::optional<int> id = EditSupport::nextFreeBoxId(boxes, monsters, 1);
    if (!id) {
        result.notice = EditNotice::warning(EditTexts::errorTitle(), EditTexts::noFreeBoxIdText());
        return result;
    }
    boxes.boxes.append(emptyBox(*id));
    result.newBoxId = *id;
    result.boxesAddedOrRemoved = true;
    result.applied = true;
    return result;
}

EditNotice copyNoSelectionNotice()
{
    return notice(QCoreApplication::translate("Lootwright", "请先选择要复制的包裹"));
}

NewBoxResult copyBox(DropBoxContentData &boxes, const MonsterDropData *monsters, int sourceBoxId)
{
    NewBoxResult result;
    const int index = DropSlots::indexOfBox(boxes, sourceBoxId);
    if (index < 0) {
        result.notice =
            EditNotice::warning(EditTexts::errorTitle(),
                                QCoreApplication::translate("Lootwright", "找不到要复制的包裹"));
        return result;
    }
    std::optional<int> id = EditSupport::nextFreeBoxId(boxes, monsters, qint64(sourceBoxId) + 1);
    if (!id)
        id = EditSupport::nextFreeBoxId(boxes, monsters, 1);
    if (!id) {
        result.notice = EditNotice::warning(EditTexts::errorTitle(), EditTexts::noFreeBoxIdText());
        return result;
    }
    DropBoxConfig copy = boxes.boxes.at(index); // taken before the append may move the list
    copy.boxId = *id;
    boxes.boxes.append(std::move(copy));
    result.newBoxId = *id;
    result.boxesAddedOrRemoved = true;
    result.applied = true;
    return result;
}

// --- items of one box -------------------------------------------------------------------------

EditResult removeItemSlots(DropBoxContentData &boxes, int boxId, const QList<int> &rows)
{
    EditResult result;
    const int index = DropSlots::isUsedId(boxId) ? DropSlots::indexOfBox(boxes, boxId) : -1;
    if (index < 0)
        return result;
    if (rows.isEmpty()) {
        result.notice = notice(QCoreApplication::translate("Lootwright", "请先选择要删除的物品"));
        return result;
    }
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const qsizetype slotCount = boxes.boxes.at(index).items.size();
    sorted.erase(std::remove_if(sorted.begin(), sorted.end(),
                                [slotCount](int row) { return row < 0 || row >= slotCount; }),
                 sorted.end());
    if (sorted.isEmpty())
        return result;
    DropBoxConfig &box = boxes.boxes[index];
    for (int row : std::as_const(sorted))
        box.items[row] = DropBoxItem{-1, -1};
    EditSupport::compactBoxSlots(box, slotCount);
    result.applied = true;
    return result;
}

AddItemsResult addLibraryItems(DropBoxContentData &boxes, int boxId, const QList<int> &itemIds,
                               bool quietWhenNoneAdded)
{
    AddItemsResult result;
    if (!DropSlots::isUsedId(boxId)) {
        result.notice = notice(QCoreApplication::translate("Lootwright", "请先选择一个包裹"));
        return result;
    }
    if (itemIds.isEmpty()) {
        result.notice =
            notice(QCoreApplication::translate("Lootwright", "请先在物品库选择要添加的物品"));
        return result;
    }
    const int index = DropSlots::indexOfBox(boxes, boxId);
    if (index < 0)
        return result;
    result.notice = EditSupport::itemRoomNotice(boxes.boxes.at(index), itemIds);
    if (!result.notice.isNone())
        return result;
    result.addedCount = int(EditSupport::addItemIdsToBox(boxes.boxes[index], itemIds).size());
    result.applied = result.addedCount > 0;
    if (!result.applied && !quietWhenNoneAdded)
        result.notice = notice(
            QCoreApplication::translate("Lootwright", "没有添加任何物品（可能已存在或无效）"));
    return result;
}

// --- removing boxes -----------------------------------------------------------------------------

RemoveBoxResult removeBoxEverywhere(DropBoxContentData &boxes, MonsterDropData *monsters, int boxId)
{
    RemoveBoxResult result;
    const int first = DropSlots::indexOfBox(boxes, boxId);
    if (first < 0)
        return result;
    const int weight = boxes.boxes.at(first).boxValue;
    const qsizetype slotCount = boxes.boxes.at(first).items.size();
    QList<DropBoxConfig> &list = boxes.boxes;
    list.erase(std::remove_if(list.begin() + first, list.end(),
                              [boxId](const DropBoxConfig &box) { return box.boxId == boxId; }),
               list.end());
    result.boxesAddedOrRemoved = true;

    if (monsters) {
        QList<MonsterDropConfig> &records = monsters->records;
        for (qsizetype i = 0; i < records.size(); ++i) {
            // Read first: a list shared with a copy of the document is detached only when it
            // really changes.
            const QList<int> &ids = std::as_const(records).at(i).dropBoxIds;
            if (!ids.contains(boxId))
                continue;
            ++result.affectedMonsters;
            for (int &id : records[i].dropBoxIds) {
                if (id == boxId) {
                    id = -1;
                    ++result.changedSlots;
                }
            }
        }
    }
    result.paneText =
        QCoreApplication::translate("Lootwright", "已删除包裹：ID=%1（权值=%2，槽位=%3）")
            .arg(num(boxId), num(weight), num(slotCount));
    if (result.changedSlots > 0)
        result.paneText +=
            QCoreApplication::translate("Lootwright", "\n已从 %1 个怪物中移除引用（共 %2 处）")
                .arg(num(result.affectedMonsters), num(result.changedSlots));
    result.applied = true;
    return result;
}

RemoveBoxResult removeSelectedBox(DropBoxContentData &boxes, MonsterDropData *monsters, int boxId)
{
    RemoveBoxResult result = removeBoxEverywhere(boxes, monsters, boxId);
    if (!result.applied)
        result.paneText =
            QCoreApplication::translate("Lootwright", "删除包裹失败：未找到包裹ID %1").arg(boxId);
    return result;
}

RemoveBoxResult removeBoxByIdText(DropBoxContentData &boxes, MonsterDropData *monsters,
                                  const QString &answer)
{
    const std::optional<int> id = parsePositive(answer);
    if (!id) {
        RemoveBoxResult result;
        result.paneText = QCoreApplication::translate("Lootwright", "删除包裹：包裹ID无效：%1")
                              .arg(answer.trimmed());
        return result;
    }
    RemoveBoxResult result = removeBoxEverywhere(boxes, monsters, *id);
    if (!result.applied)
        result.paneText =
            QCoreApplication::translate("Lootwright", "删除包裹：找不到包裹ID %1").arg(*id);
    return result;
}

QString removeBoxNoSelectionText()
{
    return QCoreApplication::translate("Lootwright", "删除包裹：未选择包裹");
}

// --- item ids across all boxes
// --------------------------------------------------------------------

ItemIdResult deleteItemIdEverywhere(DropBoxContentData &boxes, const QString &answer)
{
    ItemIdResult result;
    const std::optional<int> itemId = parsePositive(answer);
    if (!itemId) {
        result.notice = notice(QCoreApplication::translate("Lootwright", "物品ID必须为正整数"));
        return result;
    }
    for (qsizetype i = 0; i < boxes.boxes.size(); ++i) {
        if (!holdsItem(std::as_const(boxes.boxes).at(i), *itemId))
            continue;
        DropBoxConfig &box = boxes.boxes[i];
        for (DropBoxItem &item : box.items) {
            if (item.itemId == *itemId) {
                item = DropBoxItem{-1, -1};
                ++result.slots;
            }
        }
        ++result.boxCount;
        EditSupport::compactBoxSlots(box, box.items.size());
    }
    if (result.slots == 0) {
        result.notice =
            notice(QCoreApplication::translate("Lootwright", "未找到物品ID %1").arg(*itemId));
        return result;
    }
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "删除完成"),
        QCoreApplication::translate("Lootwright", "已从 %1 个槽位删除物品ID %2（涉及 %3 个包裹）")
            .arg(num(result.slots), num(*itemId), num(result.boxCount)));
    result.applied = true;
    return result;
}

ItemIdResult replaceItemIdEverywhere(DropBoxContentData &boxes, const QString &oldIdText,
                                     const QString &newIdText)
{
    ItemIdResult result;
    const std::optional<int> oldId = parsePositive(oldIdText);
    const std::optional<int> newId = parsePositive(newIdText);
    if (!oldId || !newId) {
        result.notice =
            notice(QCoreApplication::translate("Lootwright", "请输入合法的物品ID（正整数）"));
        return result;
    }
    if (*oldId == *newId) {
        result.notice =
            notice(QCoreApplication::translate("Lootwright", "旧物品ID与新物品ID相同，无需替换"));
        return result;
    }
    for (qsizetype i = 0; i < boxes.boxes.size(); ++i) {
        if (!holdsItem(std::as_const(boxes.boxes).at(i), *oldId))
            continue;
        ++result.boxCount;
        for (DropBoxItem &item : boxes.boxes[i].items) {
            if (item.itemId == *oldId) {
                item.itemId = *newId;
                ++result.slots;
            }
        }
    }
    if (result.slots == 0) {
        result.notice =
            notice(QCoreApplication::translate("Lootwright", "未找到旧物品ID %1").arg(*oldId));
        return result;
    }
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "替换完成"),
        QCoreApplication::translate("Lootwright", "已替换 %1 个槽位：%2 → %3")
            .arg(num(result.slots), num(*oldId), num(*newId)));
    result.applied = true;
    return result;
}

} // namespace BoxManagerEdits
