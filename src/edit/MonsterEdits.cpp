#include "edit/MonsterEdits.h"

#include "edit/EditSupport.h"
#include "edit/LogLabels.h"

#include <QCoreApplication>

using EditSupport::num;
using LogLabels::monsterLabel;

namespace MonsterEdits {

namespace {

QList<int> defaultDropBoxIds()
{
    QList<int> ids(9, -1);
    ids[0] = 1;
    return ids;
}

const MonsterDropConfig *recordAt(const MonsterDropData &data, const QHash<int, qsizetype> &index,
                                  int id)
{
    const auto it = index.constFind(id);
    return it == index.cend() ? nullptr : &data.records.at(it.value());
}

MonsterDropConfig *recordAt(MonsterDropData &data, const QHash<int, qsizetype> &index, int id)
{
    const auto it = index.constFind(id);
    return it == index.cend() ? nullptr : &data.records[it.value()];
}

EditResult refusal(const EditNotice &notice)
{
    EditResult result;
    result.notice = notice;
    return result;
}

} // namespace

QString dropTypeText(int dropType)
{
    if (dropType == 0)
        return QCoreApplication::translate("Lootwright", "个人掉落");
    if (dropType == 1)
        return QCoreApplication::translate("Lootwright", "队伍掉落");
    return QString::number(dropType);
}

QStringList dropTypeChoices()
{
    return {QCoreApplication::translate("Lootwright", "个人掉落"),
            QCoreApplication::translate("Lootwright", "队伍掉落")};
}

int dropTypeFromChoice(const QString &choice)
{
    return choice == QCoreApplication::translate("Lootwright", "个人掉落") ? 0 : 1;
}

const MonsterDropConfig *findRecord(const MonsterDropData &data, int monsterId)
{
    for (const MonsterDropConfig &record : data.records) {
        if (record.monsterId == monsterId)
            return &record;
    }
    return nullptr;
}

MonsterDropConfig *findRecord(MonsterDropData &data, int monsterId)
{
    for (qsizetype i = 0; i < data.records.size(); ++i) {
        if (data.records.at(i).monsterId == monsterId)
            return &data.records[i];
    }
    return nullptr;
}

bool hasDrops(const MonsterDropConfig *record)
{
    return record && DropSlots::validBoxCount(*record) > 0;
}

EditNotice noSelectionNotice()
{
    return EditNotice::information(
        EditTexts::noticeTitle(),
        QCoreApplication::translate("Lootwright", "请先选择要编辑的怪物"));
}

// --- change monster value ---------------------------------------------------------------------

int initialMonsterValue(const MonsterDropData &data, const QList<int> &ids)
{
    if (ids.isEmpty())
        return 0;
    const MonsterDropConfig *record = findRecord(data, ids.first());
    return record ? record->mValue : 0;
}

QString changeValueTitle()
{
    return QCoreApplication::translate("Lootwright", "修改怪物价值");
}

QString changeValueLabel()
{
    return QCoreApplication::translate("Lootwright", "请输入新的怪物价值:");
}

EditResult changeMonsterValue(MonsterDropData &data, const QList<int> &ids, int value)
{
    if (ids.isEmpty())
        return refusal(noSelectionNotice());
    EditResult result;
    result.applied = true;
    const QList<int> distinct = EditSupport::distinctIds(ids);
    const QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, distinct);
    for (int id : distinct) {
        MonsterDropConfig *record = recordAt(data, index, id);
        if (!record)
            continue;
        const int old = record->mValue;
        record->mValue = value;
        if (old != value)
            result.logLines << QCoreApplication::translate("Lootwright", "%1：怪物价值 %2 → %3")
                                   .arg(monsterLabel(id), num(old), num(value));
    }
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "修改成功"),
        QCoreApplication::translate("Lootwright", "已修改 %1 个怪物的价值为 %2")
            .arg(num(ids.size()), num(value)));
    return result;
}

// --- change drop type -------------------------------------------------------------------------

int initialDropType(const MonsterDropData &data, const QList<int> &ids)
{
    if (ids.isEmpty())
        return 0;
    const MonsterDropConfig *record = findRecord(data, ids.first());
    return record ? record->dropType : 0;
}

QString changeDropTypeTitle()
{
    return QCoreApplication::translate("Lootwright", "修改怪物掉落类型");
}

QString changeDropTypeLabel()
{
    return QCoreApplication::translate("Lootwright", "请选择掉落类型:");
}

EditResult changeDropType(MonsterDropData &data, const QList<int> &ids, const QString &choice)
{
    if (ids.isEmpty())
        return refusal(noSelectionNotice());
    EditResult result;
    result.applied = true;
    const int type = dropTypeFromChoice(choice);
    const QList<int> distinct = EditSupport::distinctIds(ids);
    const QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, distinct);
    for (int id : distinct) {
        MonsterDropConfig *record = recordAt(data, index, id);
        if (!record)
            continue;
        const int old = record->dropType;
        record->dropType = type;
        if (old != type)
            result.logLines << QCoreApplication::translate("Lootwright", "%1：掉落类型 %2 → %3")
                                   .arg(monsterLabel(id), dropTypeText(old), dropTypeText(type));
    }
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "修改成功"),
        QCoreApplication::translate("Lootwright", "已修改 %1 个怪物的掉落类型为 %2")
            .arg(num(ids.size()), choice));
    return result;
}

// --- clear drop boxes -------------------------------------------------------------------------

EditQuestion clearBoxesQuestion(const QList<int> &ids)
{
    return {QCoreApplication::translate("Lootwright", "确认清空"),
            QCoreApplication::translate("Lootwright",
                                        "确定要清空 %1 个怪物的掉包配置吗？此操作不可恢复！")
                .arg(ids.size())};
}

EditResult clearMonsterBoxes(MonsterDropData &data, const QList<int> &ids)
{
    if (ids.isEmpty())
        return refusal(noSelectionNotice());
    EditResult result;
    result.applied = true;
    const QList<int> distinct = EditSupport::distinctIds(ids);
    const QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, distinct);
    const QList<int> emptySlots(9, -1);
    for (int id : distinct) {
        MonsterDropConfig *record = recordAt(data, index, id);
        if (!record)
            continue;
        const int oldCount = DropSlots::validBoxCount(*record);
        record->dropBoxIds = emptySlots;
        result.logLines << QCoreApplication::translate(
                               "Lootwright",
                               "%1：清空掉包配置（原有效掉包 %2 个，已重置为 9 个空槽位）")
                               .arg(monsterLabel(id), num(oldCount));
    }
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "操作成功"),
        QCoreApplication::translate("Lootwright", "已清空 %1 个怪物的掉包配置").arg(ids.size()));
    return result;
}

// --- set has drops / no drops -----------------------------------------------------------------

Eligibility setHasDropEligibility(const MonsterDropData &data, const QList<int> &ids)
{
    Eligibility eligibility;
    if (ids.isEmpty()) {
        eligibility.nothingToDo = noSelectionNotice();
        return eligibility;
    }
    const QList<int> distinct = EditSupport::distinctIds(ids);
    const QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, distinct);
    for (int id : distinct) {
        if (!hasDrops(recordAt(data, index, id)))
            ++eligibility.eligibleCount;
    }
    if (eligibility.eligibleCount == 0) {
        eligibility.nothingToDo = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "选中的怪物都有掉落包，无需设置"));
    } else {
        eligibility.question = {
            QCoreApplication::translate("Lootwright", "确认设置"),
            QCoreApplication::translate("Lootwright",
                                        "确定要将 %1 个没有掉落包的怪物设置为有掉落包吗？\n\n"
                                        "注意：此操作将为这些怪物添加一个默认的空掉落包配置。")
                .arg(eligibility.eligibleCount)};
    }
    return eligibility;
}

EditResult setHasDrop(MonsterDropData &data, const QList<int> &ids)
{
    const Eligibility eligibility = setHasDropEligibility(data, ids);
    if (eligibility.eligibleCount == 0)
        return refusal(eligibility.nothingToDo);
    EditResult result;
    result.applied = true;
    const QList<int> distinct = EditSupport::distinctIds(ids);
    const QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, distinct);
    int changed = 0;
    for (int id : distinct) {
        MonsterDropConfig *record = recordAt(data, index, id);
        if (!record) {
            MonsterDropConfig created;
            created.monsterId = id;
            created.mValue = 100;
            created.dropType = 0;
            created.dropBoxIds = defaultDropBoxIds();
            data.records.append(created);
            result.recordsAddedOrRemoved = true;
            result.logLines
                << QCoreApplication::translate(
                       "Lootwright",
                       "%1：设置为有掉落（创建掉落配置：mValue=%2，类型=%3，默认掉落包=1）")
                       .arg(monsterLabel(id), num(100), dropTypeText(0));
            ++changed;
        } else if (!hasDrops(record)) {
            record->dropBoxIds = defaultDropBoxIds();
            result.logLines << QCoreApplication::translate(
                                   "Lootwright",
                                   "%1：设置为有掉落（补齐默认掉落包：1 + 8个空槽位）")
                                   .arg(monsterLabel(id));
            ++changed;
        }
    }
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "设置成功"),
        QCoreApplication::translate("Lootwright", "已将 %1 个怪物设置为有掉落包").arg(changed));
    return result;
}

Eligibility setNoDropEligibility(const MonsterDropData &data, const QList<int> &ids)
{
    Eligibility eligibility;
    if (ids.isEmpty()) {
        eligibility.nothingToDo = noSelectionNotice();
        return eligibility;
    }
    const QList<int> distinct = EditSupport::distinctIds(ids);
    const QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, distinct);
    for (int id : distinct) {
        if (hasDrops(recordAt(data, index, id)))
            ++eligibility.eligibleCount;
    }
    if (eligibility.eligibleCount == 0) {
        eligibility.nothingToDo = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "选中的怪物都没有掉落包，无需设置"));
    } else {
        eligibility.question = {
            QCoreApplication::translate("Lootwright", "确认设置"),
            QCoreApplication::translate("Lootwright",
                                        "确定要将 %1 个有掉落包的怪物设置为无掉落吗？\n\n"
                                        "注意：此操作将删除这些怪物的掉落配置，不可恢复！")
                .arg(eligibility.eligibleCount)};
    }
    return eligibility;
}

EditResult setNoDrop(MonsterDropData &data, const QList<int> &ids)
{
    if (ids.isEmpty())
        return refusal(noSelectionNotice());
    const QList<int> distinct = EditSupport::distinctIds(ids);
    const QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, distinct);
    EditResult result;
    QList<bool> remove;
    int removed = 0;
    for (int id : distinct) {
        const auto it = index.constFind(id);
        if (it == index.cend() || !hasDrops(&data.records.at(it.value())))
            continue;
        if (remove.isEmpty())
            remove.resize(data.records.size(), false);
        remove[it.value()] = true;
        result.logLines << QCoreApplication::translate("Lootwright",
                                                       "%1：设置为无掉落（已删除掉落配置）")
                               .arg(monsterLabel(id));
        ++removed;
    }
    if (removed == 0) {
        return refusal(EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "选中的怪物都没有掉落包，无需设置")));
    }
    EditSupport::removeRecords(data, remove);
    result.applied = true;
    result.recordsAddedOrRemoved = true;
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "设置成功"),
        QCoreApplication::translate("Lootwright", "已将 %1 个怪物设置为无掉落").arg(removed));
    return result;
}

// --- edit dialog ------------------------------------------------------------------------------

MonsterEditPrefill editPrefill(const MonsterDropData &data, int monsterId)
{
    const MonsterDropConfig *record = findRecord(data, monsterId);
    if (!record)
        return {};
    return {true, record->dropType, record->mValue};
}

EditResult applyMonsterEdit(MonsterDropData &data, const QList<int> &ids,
                            const MonsterEditValues &values)
{
    EditResult result;
    if (ids.isEmpty())
        return result;
    const bool single = ids.size() == 1;
    const bool hasDropApplies = values.modifyHasDrop || single;
    const bool typeApplies = values.modifyDropType || single;
    const bool valueApplies = values.modifyMonsterValue || single;

    struct Snapshot
    {
        bool hadRecord = false;
        int dropType = 0;
        int mValue = 0;
    };
    const QList<int> distinct = EditSupport::distinctIds(ids);
    const QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, distinct);
    QHash<int, Snapshot> snapshots;
    snapshots.reserve(distinct.size());
    for (int id : distinct) {
        const MonsterDropConfig *record = recordAt(data, index, id);
        snapshots.insert(id,
                         record ? Snapshot{true, record->dropType, record->mValue} : Snapshot{});
    }

    QList<bool> remove;
    for (int id : distinct) {
        MonsterDropConfig *record = recordAt(data, index, id);
        if (hasDropApplies && values.hasDrop) {
            if (record) {
                if (typeApplies)
                    record->dropType = values.dropType;
                if (valueApplies)
                    record->mValue = values.monsterValue;
            } else {
                MonsterDropConfig created;
                created.monsterId = id;
                created.mValue = values.monsterValue;
                created.dropType = values.dropType;
                data.records.append(created);
                result.recordsAddedOrRemoved = true;
            }
        } else if (hasDropApplies) {
            if (record) {
                if (remove.isEmpty())
                    remove.resize(data.records.size(), false);
                remove[index.value(id)] = true;
                result.recordsAddedOrRemoved = true;
            }
        } else if (record) {
            if (values.modifyDropType)
                record->dropType = values.dropType;
            if (values.modifyMonsterValue)
                record->mValue = values.monsterValue;
        }
    }
    if (!remove.isEmpty())
        EditSupport::removeRecords(data, remove);

    const QHash<int, qsizetype> after =
        result.recordsAddedOrRemoved ? EditSupport::firstRecordIndexOf(data, distinct) : index;
    for (int id : distinct) {
        const Snapshot before = snapshots.value(id);
        const MonsterDropConfig *now = recordAt(std::as_const(data), after, id);
        if (before.hadRecord && now) {
            if (before.dropType != now->dropType)
                result.logLines << QCoreApplication::translate("Lootwright", "%1：掉落类型 %2 → %3")
                                       .arg(monsterLabel(id), dropTypeText(before.dropType),
                                            dropTypeText(now->dropType));
            if (before.mValue != now->mValue)
                result.logLines << QCoreApplication::translate("Lootwright", "%1：怪物价值 %2 → %3")
                                       .arg(monsterLabel(id), num(before.mValue), num(now->mValue));
        } else if (before.hadRecord) {
            result.logLines << QCoreApplication::translate("Lootwright",
                                                           "%1：禁用掉落（已删除掉落配置）")
                                   .arg(monsterLabel(id));
        } else if (now) {
            result.logLines << QCoreApplication::translate(
                                   "Lootwright", "%1：启用掉落，类型=%2，怪物价值=%3，掉包数=%4")
                                   .arg(monsterLabel(id), dropTypeText(now->dropType),
                                        num(now->mValue), num(DropSlots::validBoxCount(*now)));
        }
    }
    result.applied = true;
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "修改成功"),
        QCoreApplication::translate("Lootwright", "已修改 %1 个怪物的掉落属性").arg(ids.size()));
    return result;
}

} // namespace MonsterEdits
