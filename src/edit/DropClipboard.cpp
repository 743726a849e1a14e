#include "edit/DropClipboard.h"

#include "edit/EditSupport.h"
#include "edit/LogLabels.h"
#include "edit/MonsterEdits.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

using EditSupport::num;
using LogLabels::monsterLabel;
using MonsterEdits::dropTypeText;

namespace DropClipboard {

namespace {

const QString sourceKey = QStringLiteral("MonsterDrop:");

int looseInt(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

int usedCount(const QList<int> &ids)
{
    return int(std::count_if(ids.cbegin(), ids.cend(), DropSlots::isUsedId));
}

// The refusal of drops with a box beyond the 20 slots a monster keeps; none when they fit.
EditNotice slotLimitNotice(const PastedDrops &drops)
{
    MonsterDropConfig pasted;
    pasted.dropBoxIds = drops.dropBoxIds;
    const int beyond = DropSlots::boxIdsBeyondLimit(pasted);
    if (beyond == 0)
        return {};
    return EditNotice::warning(
        QCoreApplication::translate("Lootwright", "粘贴失败"),
        QCoreApplication::translate(
            "Lootwright",
            "剪贴板中的掉落配置在第 %1 个槽位之后还有 %2 个包裹，怪物最多只有 %1 个掉落槽位")
            .arg(num(DropSlots::monsterSlotLimit), num(beyond)));
}

} // namespace

QString buildText(const MonsterDropConfig &record)
{
    QStringList boxes;
    boxes.reserve(record.dropBoxIds.size());
    for (int id : record.dropBoxIds)
        boxes << QString::number(id);
    return QStringLiteral("MonsterDrop:%1\nMValue:%2\nDropType:%3\nDropBoxes:%4\n")
        .arg(num(record.monsterId), num(record.mValue), num(record.dropType),
             boxes.join(QLatin1Char(',')));
}

CopyResult copyDrops(const MonsterDropData &data, const QList<int> &selectedIds)
{
    CopyResult result;
    if (selectedIds.size() != 1) {
        result.notice = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "请选择一个怪物进行复制"));
        return result;
    }
    const MonsterDropConfig *record = MonsterEdits::findRecord(data, selectedIds.first());
    if (!record) {
        result.notice = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "选中的怪物没有掉落配置"));
        return result;
    }
    result.ok = true;
    result.text = buildText(*record);
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "复制成功"),
        QCoreApplication::translate("Lootwright", "怪物掉落配置已复制到剪贴板"));
    return result;
}

QString parseErrorText(ParseError error)
{
    switch (error) {
    case ParseError::None:
        return QString();
    case ParseError::WrongFormat:
        return QCoreApplication::translate("Lootwright", "剪贴板中的数据格式不正确");
    case ParseError::Incomplete:
        return QCoreApplication::translate("Lootwright", "剪贴板中的数据不完整");
    }
    return QString();
}

ParseResult parse(const QString &text)
{
    ParseResult result;
    if (!text.startsWith(sourceKey)) {
        result.error = ParseError::WrongFormat;
        return result;
    }
    const QStringList parts = text.split(QLatin1Char('\n'));
    if (parts.size() < 4) {
        result.error = ParseError::Incomplete;
        return result;
    }
    result.drops.sourceId = looseInt(parts.at(0).mid(sourceKey.size()));
    result.drops.mValue = looseInt(parts.at(1).mid(7));
    result.drops.dropType = looseInt(parts.at(2).mid(9));
    const QStringList boxes = parts.at(3).mid(10).split(QLatin1Char(','));
    result.drops.dropBoxIds.reserve(boxes.size());
    for (const QString &box : boxes)
        result.drops.dropBoxIds << looseInt(box);
    return result;
}

PastePlan preparePaste(const QList<int> &selectedIds, const QString &clipboardText)
{
    PastePlan plan;
    if (selectedIds.isEmpty()) {
        plan.notice = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "请先选择要粘贴的怪物"));
        return plan;
    }
    const ParseResult parsed = parse(clipboardText);
    if (parsed.error != ParseError::None) {
        plan.notice = EditNotice::warning(QCoreApplication::translate("Lootwright", "粘贴失败"),
                                          parseErrorText(parsed.error));
        return plan;
    }
    plan.notice = slotLimitNotice(parsed.drops);
    if (!plan.notice.isNone())
        return plan;
    plan.ok = true;
    plan.drops = parsed.drops;
    plan.question = {QCoreApplication::translate("Lootwright", "确认粘贴"),
                     QCoreApplication::translate(
                         "Lootwright", "确定要将怪物 %1 的掉落配置粘贴到 %2 个选中的怪物吗？")
                         .arg(num(parsed.drops.sourceId), num(selectedIds.size()))};
    return plan;
}

EditResult applyPaste(MonsterDropData &data, const QList<int> &selectedIds,
                      const PastedDrops &drops)
{
    EditResult result;
    if (selectedIds.isEmpty()) {
        result.notice = EditNotice::information(
            EditTexts::noticeTitle(),
            QCoreApplication::translate("Lootwright", "请先选择要粘贴的怪物"));
        return result;
    }
    result.notice = slotLimitNotice(drops);
    if (!result.notice.isNone())
        return result;
    const int pastedCount = usedCount(drops.dropBoxIds);
    const QList<int> ids = EditSupport::distinctIds(selectedIds);
    QHash<int, qsizetype> index = EditSupport::firstRecordIndexOf(data, ids);

    struct Snapshot
    {
        bool hadRecord = false;
        int mValue = 0;
        int dropType = 0;
        int boxCount = 0;
    };
    QList<Snapshot> snapshots;
    snapshots.reserve(ids.size());
    for (int id : ids) {
        const auto it = index.constFind(id);
        if (it == index.cend()) {
            snapshots.append(Snapshot{});
        } else {
            const MonsterDropConfig &record = data.records.at(it.value());
            snapshots.append(
                Snapshot{true, record.mValue, record.dropType, DropSlots::validBoxCount(record)});
        }
    }

    result.logLines.reserve(1 + ids.size());
    result.logLines << QCoreApplication::translate(
                           "Lootwright",
                           "粘贴爆率：%1 → %2 个怪物（mValue=%3，类型=%4，掉包数=%5）")
                           .arg(monsterLabel(drops.sourceId), num(selectedIds.size()),
                                num(drops.mValue), dropTypeText(drops.dropType), num(pastedCount));

    for (int id : ids) {
        const auto it = index.constFind(id);
        if (it != index.cend()) {
            MonsterDropConfig &record = data.records[it.value()];
            record.mValue = drops.mValue;
            record.dropType = drops.dropType;
            record.dropBoxIds = drops.dropBoxIds;
        } else {
            MonsterDropConfig created;
            created.monsterId = id;
            created.mValue = drops.mValue;
            created.dropType = drops.dropType;
            created.dropBoxIds = drops.dropBoxIds;
            data.records.append(created);
            result.recordsAddedOrRemoved = true;
        }
    }

    for (qsizetype i = 0; i < ids.size(); ++i) {
        const Snapshot &before = snapshots.at(i);
        const QString label = monsterLabel(ids.at(i));
        if (!before.hadRecord) {
            result.logLines << QCoreApplication::translate(
                                   "Lootwright",
                                   "%1：创建掉落配置（mValue=%2，类型=%3，掉包数=%4）")
                                   .arg(label, num(drops.mValue), dropTypeText(drops.dropType),
                                        num(pastedCount));
            continue;
        }
        if (before.mValue != drops.mValue)
            result.logLines << QCoreApplication::translate("Lootwright", "%1：怪物价值 %2 → %3")
                                   .arg(label, num(before.mValue), num(drops.mValue));
        if (before.dropType != drops.dropType)
            result.logLines << QCoreApplication::translate("Lootwright", "%1：掉落类型 %2 → %3")
                                   .arg(label, dropTypeText(before.dropType),
                                        dropTypeText(drops.dropType));
        if (before.boxCount != pastedCount)
            result.logLines << QCoreApplication::translate("Lootwright", "%1：掉包数 %2 → %3")
                                   .arg(label, num(before.boxCount), num(pastedCount));
    }

    result.applied = true;
    result.notice = EditNotice::information(
        QCoreApplication::translate("Lootwright", "粘贴成功"),
        QCoreApplication::translate("Lootwright", "已将怪物 %1 的掉落配置粘贴到 %2 个怪物")
            .arg(num(drops.sourceId), num(selectedIds.size())));
    return result;
}

} // namespace DropClipboard
