#include "edit/BoxEdits.h"

#include "edit/EditSupport.h"
#include "edit/LogLabels.h"

#include <QCoreApplication>
#include <QSet>

using EditSupport::num;
using LogLabels::boxLabel;

namespace BoxEdits {

namespace {

QString labelOf(const MonsterDropConfig *currentConfig)
{
    return currentConfig ? LogLabels::monsterLabel(currentConfig->monsterId)
                         : LogLabels::noMonsterLabel();
}

QString yesNo(int flag)
{
    return flag != 0 ? QCoreApplication::translate("Lootwright", "是")
                     : QCoreApplication::translate("Lootwright", "否");
}

bool parseInt(const QString &text, int *value)
{
    bool ok = false;
    const int parsed = text.toInt(&ok);
    if (ok)
        *value = parsed;
    return ok;
}

} // namespace

// --- box detail form --------------------------------------------------------------------------

namespace {

void setDetailFields(DropBoxConfig &box, const BoxDetailInput &input)
{
    const int oldFlag = box.forceOpenFlag;
    int parsed = 0;
    if (parseInt(input.boxIdText, &parsed))
        box.boxId = parsed;
    if (parseInt(input.boxValueText, &parsed) && parsed >= 0)
        box.boxValue = parsed;
    // The check box only says "not 0": a stored flag such as 2 is kept until the box is toggled,
    // so editing another field does not rewrite it.
    if (input.forceBind != (oldFlag != 0))
        box.forceOpenFlag = input.forceBind ? 1 : 0;
    if (parseInt(input.broadcastIdText, &parsed))
        box.notifyId = parsed;
}

} // namespace

BoxDetailStep boxDetailStep(const DropBoxConfig &box, const BoxDetailInput &input)
{
    DropBoxConfig after = box;
    setDetailFields(after, input);
    if (after.boxId != box.boxId)
        return {QCoreApplication::translate("Lootwright", "修改包裹ID"), QString()};
    if (after.boxValue != box.boxValue)
        return {QCoreApplication::translate("Lootwright", "修改包裹权值"),
                QStringLiteral("weight:%1").arg(box.boxId)};
    if (after.forceOpenFlag != box.forceOpenFlag)
        return {QCoreApplication::translate("Lootwright", "修改拾取绑定"), QString()};
    return {QCoreApplication::translate("Lootwright", "修改广播ID"),
            QStringLiteral("notify:%1").arg(box.boxId)};
}

bool setItemId(DropBoxContentData &boxes, int boxId, int row, int itemId)
{
    const int index = DropSlots::indexOfBox(boxes, boxId);
    if (index < 0 || row < 0 || row >= boxes.boxes.at(index).items.size())
        return false;
    boxes.boxes[index].items[row].itemId = itemId;
    return true;
}

BoxDetailResult applyBoxDetail(DropBoxContentData &boxes, const MonsterDropConfig *currentConfig,
                               const DropBoxConfig *currentBox, const BoxDetailInput &input)
{
    BoxDetailResult result;
    if (!currentBox)
        return result;
    const int index = DropSlots::indexOfBox(boxes, currentBox->boxId);
    if (index < 0)
        return result;
    DropBoxConfig &box = boxes.boxes[index];
    const int oldId = box.boxId;
    const int oldValue = box.boxValue;
    const int oldFlag = box.forceOpenFlag;
    const int oldNotify = box.notifyId;
    setDetailFields(box, input);

    const QString label = labelOf(currentConfig);
    const QString newBox = boxLabel(box.boxId);
    result.idChanged = box.boxId != oldId;
    result.weightChanged = box.boxValue != oldValue;
    result.forceBindChanged = box.forceOpenFlag != oldFlag;
    result.broadcastIdChanged = box.notifyId != oldNotify;
    if (result.idChanged)
        result.logLines << QCoreApplication::translate(
                               "Lootwright", "%1：%2 → %3（注意：仅修改ID不会自动同步所有引用）")
                               .arg(label, boxLabel(oldId), newBox);
    if (result.weightChanged)
        result.logLines << QCoreApplication::translate("Lootwright", "%1：%2 权值 %3 → %4")
                               .arg(label, newBox, num(oldValue), num(box.boxValue));
    if (result.forceBindChanged)
        result.logLines << QCoreApplication::translate("Lootwright", "%1：%2 拾取绑定 %3 → %4")
                               .arg(label, newBox, yesNo(oldFlag), yesNo(box.forceOpenFlag));
    if (result.broadcastIdChanged)
        result.logLines << QCoreApplication::translate("Lootwright", "%1：%2 广播ID %3 → %4")
                               .arg(label, newBox, num(oldNotify), num(box.notifyId));
    result.newBoxId = box.boxId;
    result.applied = true;
    return result;
}

// --- duplicate / delete a box -----------------------------------------------------------------

EditNotice duplicateNoSelectionNotice()
{
    return EditNotice::information(
        EditTexts::noticeTitle(),
        QCoreApplication::translate("Lootwright", "请先选择要复制的包裹"));
}

DuplicateBoxResult duplicateBox(DropBoxContentData &boxes, const MonsterDropData &monsters,
                                MonsterDropConfig *currentConfig, const DropBoxConfig *source)
{
    DuplicateBoxResult result;
    if (!source)
        return result;
    DropBoxConfig copy = *source; // read before the append may move the list
    const std::optional<int> newId = EditSupport::newBoxId(boxes, monsters);
    if (!newId) {
        result.notice = EditNotice::warning(EditTexts::errorTitle(), EditTexts::noFreeBoxIdText());
        return result;
    }
    const int slot = currentConfig ? EditSupport::freeBoxSlot(*currentConfig) : -1;
    if (currentConfig && slot < 0) {
        result.notice = EditSupport::monsterSlotsFullNotice(currentConfig->monsterId);
        return result;
    }
    result.sourceBoxId = copy.boxId;
    result.newBoxId = *newId;
    const int weight = copy.boxValue;
    const qsizetype slots = copy.items.size();
    copy.boxId = *newId;
    boxes.boxes.append(copy);
    result.boxesAddedOrRemoved = true;

    if (currentConfig) {
        QList<int> &ids = currentConfig->dropBoxIds;
        result.slotAppended = slot == ids.size();
        if (result.slotAppended)
            ids.append(*newId);
        else
            ids[slot] = *newId;
        result.slotIndex = slot;
        result.logLines << QCoreApplication::translate(
                               "Lootwright", "%1：复制包裹[%2] → 包裹[%3]（权值=%4，物品槽位=%5）")
                               .arg(LogLabels::monsterLabel(currentConfig->monsterId),
                                    num(result.sourceBoxId), num(*newId), num(weight), num(slots));
    } else {
        result.logLines << QCoreApplication::translate(
                               "Lootwright", "复制包裹[%1] → 包裹[%2]（权值=%3，物品槽位=%4）")
                               .arg(num(result.sourceBoxId), num(*newId), num(weight), num(slots));
    }
    result.applied = true;
    return result;
}

QString deleteNoSelectionLogLine()
{
    return QCoreApplication::translate("Lootwright", "删除包裹：未选择包裹");
}

DeleteBoxResult deleteBox(DropBoxContentData &boxes, MonsterDropConfig *currentConfig,
                          const DropBoxConfig *selected)
{
    DeleteBoxResult result;
    if (!selected)
        return result;
    const int boxId = selected->boxId;
    const int weight = selected->boxValue;
    const qsizetype slots = selected->items.size();
    result.boxId = boxId;

    const int index = DropSlots::indexOfBox(boxes, boxId);
    if (index >= 0) {
        boxes.boxes.removeAt(index);
        result.boxesAddedOrRemoved = true;
    }
    if (currentConfig)
        result.removedSlots = int(currentConfig->dropBoxIds.removeAll(boxId));

    if (currentConfig)
        result.logLines << QCoreApplication::translate("Lootwright",
                                                       "%1：删除包裹[%2]（权值=%3，物品槽位=%4）")
                               .arg(LogLabels::monsterLabel(currentConfig->monsterId), num(boxId),
                                    num(weight), num(slots));
    else
        result.logLines << QCoreApplication::translate("Lootwright",
                                                       "删除包裹[%1]（权值=%2，物品槽位=%3）")
                               .arg(num(boxId), num(weight), num(slots));
    result.applied = true;
    return result;
}

// --- items ------------------------------------------------------------------------------------

AddItemsResult addItems(DropBoxContentData &boxes, const MonsterDropConfig *currentConfig,
                        const DropBoxConfig *currentBox, const QList<int> &itemIds)
{
    AddItemsResult result;
    const EditNotice nothingAdded = EditNotice::information(
        EditTexts::noticeTitle(),
        QCoreApplication::translate("Lootwright", "当前未选中包裹或物品已存在"));
    const int index = currentBox ? DropSlots::indexOfBox(boxes, currentBox->boxId) : -1;
    if (index < 0) {
        result.notice = nothingAdded;
        return result;
    }
    DropBoxConfig &box = boxes.boxes[index];
    result.notice = EditSupport::itemRoomNotice(box, itemIds);
    if (!result.notice.isNone())
        return result;
    result.addedIds = EditSupport::addItemIdsToBox(box, itemIds);
    result.addedCount = int(result.addedIds.size());
    if (result.addedCount == 0) {
        result.notice = nothingAdded;
        return result;
    }
    QStringList shown;
    for (qsizetype i = 0; i < qMin<qsizetype>(10, result.addedIds.size()); ++i)
        shown << num(result.addedIds.at(i));
    const QString more =
        result.addedCount > 10
            ? QCoreApplication::translate("Lootwright", " ...（共%1个）").arg(result.addedCount)
            : QString();
    result.logLines << QCoreApplication::translate("Lootwright",
                                                   "%1：包裹[%2] 添加物品 %3 个：%4%5")
                           .arg(labelOf(currentConfig), num(box.boxId), num(result.addedCount),
                                shown.join(QStringLiteral(", ")), more);
    result.statusText = QCoreApplication::translate("Lootwright", "已添加 %1 个物品到当前包裹")
                            .arg(result.addedCount);
    result.applied = true;
    return result;
}

DeleteItemsPlan planDeleteItems(const DropBoxContentData &boxes, const DropBoxConfig *currentBox,
                                const QList<int> &selectedRows)
{
    DeleteItemsPlan plan;
    if (!currentBox) {
        plan.notice =
            EditNotice::information(EditTexts::noticeTitle(),
                                    QCoreApplication::translate("Lootwright", "请先选择一个包裹"));
        return plan;
    }
    if (selectedRows.isEmpty()) {
        plan.notice = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "请先选择要删除的物品"));
        return plan;
    }
    const DropBoxConfig *box = DropSlots::findBox(boxes, currentBox->boxId);
    if (!box) {
        plan.notice =
            EditNotice::warning(EditTexts::errorTitle(),
                                QCoreApplication::translate("Lootwright", "找不到选中的包裹配置"));
        return plan;
    }
    QSet<int> seen;
    for (int row : selectedRows) {
        if (row < 0 || row >= box->items.size() || seen.contains(row))
            continue;
        seen.insert(row);
        if (DropSlots::isUsedId(box->items.at(row).itemId))
            plan.rows.append(row);
    }
    if (plan.rows.isEmpty()) {
        plan.notice = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "选中的都是空槽位，无需删除"));
        return plan;
    }
    plan.ok = true;
    plan.question = {QCoreApplication::translate("Lootwright", "确认删除"),
                     QCoreApplication::translate("Lootwright", "确定要删除选中的 %1 个物品吗？")
                         .arg(plan.rows.size())};
    return plan;
}

DeleteItemsResult deleteItems(DropBoxContentData &boxes, const MonsterDropConfig *currentConfig,
                              const DropBoxConfig *currentBox, const QList<int> &selectedRows)
{
    DeleteItemsResult result;
    const DeleteItemsPlan plan = planDeleteItems(boxes, currentBox, selectedRows);
    if (!plan.ok) {
        result.notice = plan.notice;
        return result;
    }
    DropBoxConfig &box = boxes.boxes[DropSlots::indexOfBox(boxes, currentBox->boxId)];
    for (int row : plan.rows) {
        result.deletedIds.append(box.items.at(row).itemId);
        box.items[row] = DropBoxItem{-1, -1};
    }
    EditSupport::compactBoxSlots(box, box.items.size());

    result.logLines << QCoreApplication::translate("Lootwright", "%1：包裹[%2] 删除物品 %3 个：%4")
                           .arg(labelOf(currentConfig), num(box.boxId),
                                num(result.deletedIds.size()),
                                LogLabels::formatIdList(result.deletedIds, 8));
    result.notice =
        EditNotice::information(QCoreApplication::translate("Lootwright", "删除成功"),
                                QCoreApplication::translate("Lootwright", "已删除 %1 个物品")
                                    .arg(result.deletedIds.size()));
    result.applied = true;
    return result;
}

// --- favourites -------------------------------------------------------------------------------

QList<int> itemIdsFromCells(const QStringList &cellTexts)
{
    QList<int> ids;
    for (const QString &text : cellTexts) {
        int id = 0;
        if (parseInt(text, &id) && DropSlots::isUsedId(id))
            ids.append(id);
    }
    return ids;
}

FavoritesMerge mergeFavorites(const QStringList &stored, const QList<int> &selectedIds)
{
    FavoritesMerge merge;
    merge.list = stored;
    merge.selectedCount = int(selectedIds.size());
    if (selectedIds.isEmpty())
        return merge;
    QSet<int> collected;
    for (const QString &text : stored) {
        int id = 0;
        if (parseInt(text, &id) && DropSlots::isUsedId(id))
            collected.insert(id);
    }
    for (int id : selectedIds) {
        if (collected.contains(id))
            continue;
        merge.list.append(QString::number(id));
        collected.insert(id);
        ++merge.newCount;
    }
    merge.statusText =
        merge.newCount > 0
            ? QCoreApplication::translate("Lootwright", "已加入收藏夹：新增 %1 个（选中 %2 个）")
                  .arg(num(merge.newCount), num(merge.selectedCount))
            : QCoreApplication::translate("Lootwright", "收藏夹已包含所选物品（选中 %1 个）")
                  .arg(merge.selectedCount);
    return merge;
}

} // namespace BoxEdits
