#include "edit/DropRateEdits.h"

#include "edit/EditSupport.h"
#include "edit/LogLabels.h"
#include "rates/DropRate.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QVarLengthArray>
#include <algorithm>
#include <climits>
#include <cmath>

using EditSupport::num;

namespace DropRateEdits {

// --- target drop rate -> box weight -----------------------------------------------------------

QString targetRateErrorText(TargetRateError error)
{
    switch (error) {
    case TargetRateError::None:
        return QString();
    case TargetRateError::NoSelection:
        return QCoreApplication::translate("Lootwright", "当前没有选中的包裹或怪物");
    case TargetRateError::InvalidTarget:
        return QCoreApplication::translate("Lootwright", "请输入有效的目标爆率");
    case TargetRateError::InvalidMonsterValue:
        return QCoreApplication::translate("Lootwright", "怪物价值必须大于0，请先设置怪物价值");
    case TargetRateError::InvalidWeight:
        return QCoreApplication::translate("Lootwright", "计算出的包裹权值无效，请检查参数");
    case TargetRateError::BoxNotFound:
        return QCoreApplication::translate("Lootwright", "找不到对应的包裹配置");
    case TargetRateError::NoFreeBoxId:
        return EditTexts::noFreeBoxIdText();
    }
    return QString();
}

TargetWeight targetWeight(int monsterValue, double targetPercent, double multiplier)
{
    if (targetPercent <= 0)
        return {TargetRateError::InvalidTarget, 0};
    if (monsterValue <= 0)
        return {TargetRateError::InvalidMonsterValue, 0};
    const double exact = multiplier * monsterValue * 100.0 / targetPercent;
    // Not-a-number and infinity pass a plain "x <= 0" check; neither they nor weights beyond
    // 32 bits can become an int weight.
    if (!std::isfinite(exact) || !(exact > 0) || exact > double(INT_MAX))
        return {TargetRateError::InvalidWeight, 0};
    const int lower = std::max(int(std::floor(exact)), 1);
    const int upper = std::max(int(std::ceil(exact)), 1);
    const double lowerMiss =
        std::abs(DropRate::percent(monsterValue, lower, multiplier) - targetPercent);
    const double upperMiss =
        std::abs(DropRate::percent(monsterValue, upper, multiplier) - targetPercent);
    return {TargetRateError::None, lowerMiss > upperMiss ? upper : lower};
}

TargetRateResult applyTargetRate(const MonsterDropData &monsters, MonsterDropConfig *monster,
                                 DropBoxContentData &boxes, const DropBoxConfig *currentBox,
                                 const QString &targetText, double multiplier)
{
    TargetRateResult result;
    const auto refuse = [&result](TargetRateError error) {
        result.error = error;
        result.notice = EditNotice::warning(EditTexts::errorTitle(), targetRateErrorText(error));
        return result;
    };
    if (!monster || !currentBox)
        return refuse(TargetRateError::NoSelection);
    const int boxId = currentBox->boxId;

    bool ok = false;
    const double target = targetText.trimmed().toDouble(&ok);
    if (!ok)
        return refuse(TargetRateError::InvalidTarget);
    const int monsterValue = monster->mValue;
    const TargetWeight weight = targetWeight(monsterValue, target, multiplier);
    if (weight.error != TargetRateError::None)
        return refuse(weight.error);

    const int boxIndex = DropSlots::indexOfBox(boxes, boxId);
    if (boxIndex < 0)
        return refuse(TargetRateError::BoxNotFound);
    const int oldWeight = boxes.boxes.at(boxIndex).boxValue;

    int sharers = 0;
    for (const MonsterDropConfig &record : monsters.records) {
        if (record.dropBoxIds.contains(boxId))
            ++sharers;
    }

    result.targetPercent = target;
    result.actualPercent = DropRate::percent(monsterValue, weight.weight, multiplier);
    result.boxId = boxId;
    result.oldWeight = oldWeight;
    result.newWeight = weight.weight;
    result.sharerCount = sharers;
    const QString label = LogLabels::monsterLabel(monster->monsterId);
    const QString targetText4 = DropRate::percentFieldText(target);
    const QString actualText4 = DropRate::percentFieldText(result.actualPercent);

    if (sharers > 1) {
        const std::optional<int> copyId = EditSupport::newBoxId(boxes, monsters);
        if (!copyId)
            return refuse(TargetRateError::NoFreeBoxId);
        DropBoxConfig copy = boxes.boxes.at(boxIndex);
        copy.boxId = *copyId;
        copy.boxValue = weight.weight;
        boxes.boxes.append(copy);
        for (int &slot : monster->dropBoxIds) {
            if (slot == boxId)
                slot = *copyId;
        }
        result.copied = true;
        result.inUseBoxId = *copyId;
        result.boxesAddedOrRemoved = true;
        result.logLines << QCoreApplication::translate(
                               "Lootwright", "%1：应用目标爆率 %2%%（实际≈%3%%），包裹[%4] 被 %5 "
                                             "个怪物共用，已复制为包裹[%6]（权值 %7 → %8）")
                               .arg(label, targetText4, actualText4, num(boxId), num(sharers),
                                    num(*copyId), num(oldWeight), num(weight.weight));
    } else {
        boxes.boxes[boxIndex].boxValue = weight.weight;
        result.inUseBoxId = boxId;
        result.logLines << QCoreApplication::translate(
                               "Lootwright",
                               "%1：应用目标爆率 %2%%（实际≈%3%%），包裹[%4] 权值 %5 → %6")
                               .arg(label, targetText4, actualText4, num(boxId), num(oldWeight),
                                    num(weight.weight));
    }
    result.applied = true;
    return result;
}

// --- unify monster value ----------------------------------------------------------------------

QString unifyInputTitle()
{
    return QCoreApplication::translate("Lootwright", "统一怪物价值");
}

QString unifyInputLabel()
{
    return QCoreApplication::translate("Lootwright", "请输入统一的怪物价值:");
}

namespace {

// W × new / old rounded half up, kept within 1..INT_MAX.
int scaledWeight(int weight, int newValue, int oldValue)
{
    const double scaled = double(weight) * double(newValue) / double(oldValue) + 0.5;
    if (!(scaled < double(INT_MAX)))
        return INT_MAX;
    return std::max(int(scaled), 1);
}

struct UnifyCounts
{
    int adjusted = 0;
    int copied = 0;
    int skipped = 0;
};

// The distinct used box ids of one record.
QVarLengthArray<int, 32> distinctUsedIds(const MonsterDropConfig &record)
{
    QVarLengthArray<int, 32> ids;
    for (int id : record.dropBoxIds) {
        if (DropSlots::isUsedId(id))
            ids.append(id);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

// What a run over the selected records starts from, worked out once over both documents.
struct UnifyPlan
{
    QSet<int> selected;
    int newValue = 0;
    QHash<int, int> users;          // records naming each box id; a run counts its copies off
    QHash<int, qsizetype> boxIndex; // the first box of each id
    qint64 nextId = 1;              // the id of the next copy
};

// One run over the selected records; log, when given, gets a line per monster. With dryRun
// nothing is written: it only counts the copies the real run will make, so a lack of free ids
// can be refused before anything changes.
UnifyCounts runUnify(MonsterDropData &monsters, DropBoxContentData &boxes, UnifyPlan plan,
                     bool dryRun, QStringList *log)
{
    const QSet<int> &selected = plan.selected;
    const int newValue = plan.newValue;
    QHash<int, int> &users = plan.users;
    const QHash<int, qsizetype> &boxIndex = plan.boxIndex;
    qint64 &nextId = plan.nextId;
    UnifyCounts counts;
    // Per monster: box id -> the id its slots now name (the copy, or the box itself).
    QVarLengthArray<std::pair<int, int>, 32> handled;
    const qsizetype recordCount = monsters.records.size();
    for (qsizetype r = 0; r < recordCount; ++r) {
        if (!selected.contains(monsters.records.at(r).monsterId))
            continue;
        MonsterDropConfig *record = dryRun ? nullptr : &monsters.records[r];
        const MonsterDropConfig &view = monsters.records.at(r);
        const int monsterId = view.monsterId;
        const int oldValue = view.mValue;
        if (oldValue <= 0) {
            if (record)
                record->mValue = newValue;
            ++counts.skipped;
            if (log)
                *log << QCoreApplication::translate(
                            "Lootwright", "%1：怪物价值 %2 → %3（原价值为0，无法保持爆率）")
                            .arg(LogLabels::monsterLabel(monsterId), num(oldValue), num(newValue));
            continue;
        }
        handled.clear();
        const qsizetype slotCount = view.dropBoxIds.size();
        for (qsizetype s = 0; s < slotCount; ++s) {
            const int boxId = view.dropBoxIds.at(s);
            if (!DropSlots::isUsedId(boxId))
                continue;
            const auto seen =
                std::find_if(handled.cbegin(), handled.cend(),
                             [boxId](const auto &entry) { return entry.first == boxId; });
            if (seen != handled.cend()) {
                if (record && seen->second != boxId)
                    record->dropBoxIds[s] = seen->second;
                continue;
            }
            const auto found = boxIndex.constFind(boxId);
            if (found == boxIndex.cend())
                continue;
            const qsizetype index = found.value();
            const int weight = boxes.boxes.at(index).boxValue;
            if (weight < 1)
                continue;
            const int scaled = scaledWeight(weight, newValue, oldValue);
            int &userCount = users[boxId];
            if (userCount >= 2) {
                const int copyId = int(nextId);
                if (!dryRun) {
                    DropBoxConfig copy = boxes.boxes.at(index);
                    copy.boxId = copyId;
                    copy.boxValue = scaled;
                    boxes.boxes.append(copy);
                    record->dropBoxIds[s] = copyId;
                }
                // No slot names a copy's id (new ids go above every named id), so copies need
                // no entry in the id index or the user counts.
                --userCount;
                handled.append({boxId, copyId});
                ++nextId;
                ++counts.copied;
            } else {
                if (scaled != weight) {
                    if (!dryRun)
                        boxes.boxes[index].boxValue = scaled;
                    ++counts.adjusted;
                }
                handled.append({boxId, boxId});
            }
        }
        if (record)
            record->mValue = newValue;
        if (log && oldValue != newValue)
            *log << QCoreApplication::translate("Lootwright",
                                                "%1：怪物价值 %2 → %3（已尽量保持爆率不变）")
                        .arg(LogLabels::monsterLabel(monsterId), num(oldValue), num(newValue));
    }
    return counts;
}

} // namespace

UnifyResult unifyMonsterValue(MonsterDropData &monsters, DropBoxContentData &boxes,
                              const QList<int> &selectedIds, int newValue)
{
    UnifyResult result;
    result.selectedCount = int(selectedIds.size());
    result.newValue = newValue;
    if (selectedIds.isEmpty()) {
        result.error = UnifyError::NoSelection;
        result.notice = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "请先选择要编辑的怪物"));
        return result;
    }
    if (newValue < unifyInputMinimum) {
        result.error = UnifyError::InvalidValue;
        result.notice = EditNotice::warning(
            EditTexts::errorTitle(),
            QCoreApplication::translate("Lootwright", "统一的怪物价值必须大于0"));
        return result;
    }

    UnifyPlan plan;
    plan.selected = QSet<int>(selectedIds.cbegin(), selectedIds.cend());
    plan.newValue = newValue;
    QHash<int, int> &users = plan.users;
    users.reserve(boxes.boxes.size());
    qint64 slotBound = 0; // no run can make more copies than the selected records have slots
    qint64 largest = 0;   // copies go above every box id and every id a slot names
    for (const MonsterDropConfig &record : monsters.records) {
        const auto ids = distinctUsedIds(record);
        for (int id : ids)
            ++users[id];
        if (!ids.isEmpty())
            largest = std::max<qint64>(largest, ids.back());
        if (plan.selected.contains(record.monsterId))
            slotBound += ids.size();
    }

    QHash<int, qsizetype> &boxIndex = plan.boxIndex;
    boxIndex.reserve(boxes.boxes.size());
    for (qsizetype i = boxes.boxes.size() - 1; i >= 0; --i) {
        const int id = boxes.boxes.at(i).boxId;
        boxIndex.insert(id, i); // walking backwards leaves the first box of each id
        largest = std::max<qint64>(largest, id);
    }
    plan.nextId = largest + 1;
    const bool logEach = result.selectedCount <= unifyDetailLogLimit;

    if (largest + slotBound > INT_MAX) {
        const UnifyCounts planned = runUnify(monsters, boxes, plan, true, nullptr);
        if (largest + planned.copied > INT_MAX) {
            result.error = UnifyError::NoFreeBoxId;
            result.notice =
                EditNotice::warning(EditTexts::errorTitle(), EditTexts::noFreeBoxIdText());
            return result;
        }
    }

    const UnifyCounts counts =
        runUnify(monsters, boxes, std::move(plan), false, logEach ? &result.logLines : nullptr);
    result.adjusted = counts.adjusted;
    result.copied = counts.copied;
    result.skipped = counts.skipped;
    result.applied = true;
    result.boxesAddedOrRemoved = counts.copied > 0;
    result.logLines << QCoreApplication::translate(
                           "Lootwright", "统一怪物价值：目标=%1，选择=%2，直接调整包裹=%3，"
                                         "复制新包裹=%4，跳过(原价值为0)=%5")
                           .arg(num(newValue), num(result.selectedCount), num(counts.adjusted),
                                num(counts.copied), num(counts.skipped));
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "操作成功"),
        QCoreApplication::translate(
            "Lootwright", "已统一 %1 个怪物的价值为 %2。\n直接调整包裹 %3 个，复制新包裹 %4 个。\n"
                          "有 %5 个怪物因原价值为0无法保持爆率。")
            .arg(num(result.selectedCount), num(newValue), num(counts.adjusted), num(counts.copied),
                 num(counts.skipped)));
    return result;
}

} // namespace DropRateEdits
