#pragma once

#include "data/DropConfig.h"
#include "edit/EditResult.h"

#include <QHash>
#include <QList>

// Batch edits of monster drop records. Every function takes the selection as a list of monster
// ids (the window's selectedMonsterIds); the record of an id is the first record with that
// monsterId. Repeated ids in a selection are handled once; the counts shown in messages are the
// selection's size as given.
//
// Functions whose result may set recordsAddedOrRemoved (setHasDrop, setNoDrop, applyMonsterEdit)
// invalidate every pointer into monsterDropData.records when it is set.
namespace MonsterEdits {

// "个人掉落" for 0, "队伍掉落" for 1, the decimal number otherwise.
QString dropTypeText(int dropType);
// The choices of the drop type input, in order: "个人掉落", "队伍掉落".
QStringList dropTypeChoices();
// 0 when the chosen text is exactly "个人掉落", else 1.
int dropTypeFromChoice(const QString &choice);

// The first record with this id, or nullptr.
MonsterDropConfig *findRecord(MonsterDropData &data, int monsterId);
const MonsterDropConfig *findRecord(const MonsterDropData &data, int monsterId);
// A record exists and has at least one box id of 1 or more.
bool hasDrops(const MonsterDropConfig *record);

// Information "提示" / "请先选择要编辑的怪物": every monster operation with an empty selection.
EditNotice noSelectionNotice();

// --- change monster value ------------------------------------------------------------------
// The value the input starts with: the first selected id's mValue, or 0 without a record.
int initialMonsterValue(const MonsterDropData &data, const QList<int> &ids);
// Input dialog: title "修改怪物价值", label "请输入新的怪物价值:", range 0..999999, step 1.
QString changeValueTitle();
QString changeValueLabel();
// Sets mValue on every selected record; logs "%1：怪物价值 %2 → %3" per changed record.
// Notice "修改成功" / "已修改 %1 个怪物的价值为 %2".
EditResult changeMonsterValue(MonsterDropData &data, const QList<int> &ids, int value);

// --- change drop type ----------------------------------------------------------------------
// The current index of the input: the first selected id's dropType, or 0 without a record.
int initialDropType(const MonsterDropData &data, const QList<int> &ids);
// Item input: title "修改怪物掉落类型", label "请选择掉落类型:", items dropTypeChoices().
QString changeDropTypeTitle();
QString changeDropTypeLabel();
// Sets dropType (dropTypeFromChoice(choice)); logs "%1：掉落类型 %2 → %3" per changed record.
// Notice "修改成功" / "已修改 %1 个怪物的掉落类型为 %2" with the chosen text.
EditResult changeDropType(MonsterDropData &data, const QList<int> &ids, const QString &choice);

// --- clear drop boxes ----------------------------------------------------------------------
// "确认清空" / "确定要清空 %1 个怪物的掉包配置吗？此操作不可恢复！"
EditQuestion clearBoxesQuestion(const QList<int> &ids);
// Every selected record gets nine -1 slots; one log line per record, also when it had none.
// Notice "操作成功" / "已清空 %1 个怪物的掉包配置".
EditResult clearMonsterBoxes(MonsterDropData &data, const QList<int> &ids);

// --- set has drops / no drops --------------------------------------------------------------
struct Eligibility
{
    int eligibleCount = 0;
    // Set when eligibleCount is 0: show it and stop. Otherwise ask `question`.
    EditNotice nothingToDo;
    EditQuestion question;
};

// Selected monsters without drops (no record, or no box id of 1 or more).
Eligibility setHasDropEligibility(const MonsterDropData &data, const QList<int> &ids);
// Creates records (mValue 100, type 0, box 1 + eight -1) or fills empty lists (1 + eight -1).
// Notice "设置成功" / "已将 %1 个怪物设置为有掉落包" with the number changed.
EditResult setHasDrop(MonsterDropData &data, const QList<int> &ids);

// Selected monsters with drops.
Eligibility setNoDropEligibility(const MonsterDropData &data, const QList<int> &ids);
// Removes the record of every selected monster with drops, all in one pass over the records.
// Notice "设置成功" / "已将 %1 个怪物设置为无掉落" with the number removed.
EditResult setNoDrop(MonsterDropData &data, const QList<int> &ids);

// --- edit dialog ---------------------------------------------------------------------------
// What the dialog is pre-filled with in single mode: (true, dropType, mValue) for a record,
// (false, 0, 0) without one.
struct MonsterEditPrefill
{
    bool hasDrop = false;
    int dropType = 0;
    int monsterValue = 0;
};
MonsterEditPrefill editPrefill(const MonsterDropData &data, int monsterId);

// The values read back from an accepted dialog.
struct MonsterEditValues
{
    bool modifyHasDrop = false;
    bool hasDrop = false;
    bool modifyDropType = false;
    int dropType = 0;
    bool modifyMonsterValue = false;
    int monsterValue = 0;
};

// Applies the dialog to every id (single mode when exactly one id: every modify flag counts as
// set) and logs against a snapshot taken before the change.
// Notice "修改成功" / "已修改 %1 个怪物的掉落属性". An empty list changes nothing.
EditResult applyMonsterEdit(MonsterDropData &data, const QList<int> &ids,
                            const MonsterEditValues &values);

} // namespace MonsterEdits
