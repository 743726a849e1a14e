#pragma once

#include "data/DropConfig.h"
#include "edit/EditResult.h"

#include <QList>

// Edits that change box weights so as to reach or keep drop rates. Both may append boxes
// (boxesAddedOrRemoved): every pointer into boxContentData.boxes is invalid afterwards.
// A new box gets an id above every box id and every id a monster slot names, so a slot that
// names a missing box never comes to name the new one.
namespace DropRateEdits {

// --- target drop rate -> box weight -------------------------------------------------------------

enum class TargetRateError
{
    None,
    NoSelection,         // "当前没有选中的包裹或怪物"
    InvalidTarget,       // "请输入有效的目标爆率"
    InvalidMonsterValue, // "怪物价值必须大于0，请先设置怪物价值"
    InvalidWeight, // "计算出的包裹权值无效，请检查参数" (also NaN/infinite, beyond 32 bits)
    BoxNotFound, // "找不到对应的包裹配置"
    NoFreeBoxId, // "包裹ID已达上限，无法创建新包裹"
};

// The warning text of an error (shown with the title "错误").
QString targetRateErrorText(TargetRateError error);

// The weight whose rate is nearest the target: candidates max(floor(x),1) and max(ceil(x),1) of
// x = m × V × 100 / T; a tie goes to the lower weight. Refuses V < 1, T not above 0, a weight
// that is not finite, not above 0 or beyond the 32-bit range.
struct TargetWeight
{
    TargetRateError error = TargetRateError::None;
    int weight = 0;
};
TargetWeight targetWeight(int monsterValue, double targetPercent, double multiplier);

struct TargetRateResult : EditResult
{
    TargetRateError error = TargetRateError::None;
    double targetPercent = 0; // T
    double actualPercent = 0; // A, the rate of the new weight
    int boxId = 0;            // I, the box looked up
    int oldWeight = 0;        // O
    int newWeight = 0;        // N
    int sharerCount = 0;      // S, monster records naming I
    bool copied = false;      // a copy with id inUseBoxId was appended
    int inUseBoxId = 0;       // I, or the copy's id K: select this box afterwards
};

// onApplyTargetDropRate. `monster` is the selected record (currentConfig; it must point into
// monsters.records), `currentBox` the selected box (only its boxId is read, before any change).
// Either may be null. `targetText` is the target field's text in percent, `multiplier` the
// rate models' drop multiplier. On refusal, `notice` holds the warning and nothing changed.
TargetRateResult applyTargetRate(const MonsterDropData &monsters, MonsterDropConfig *monster,
                                 DropBoxContentData &boxes, const DropBoxConfig *currentBox,
                                 const QString &targetText, double multiplier);

// --- unify monster value ------------------------------------------------------------------------

enum class UnifyError
{
    None,
    NoSelection,  // information "提示" / "请先选择要编辑的怪物"
    InvalidValue, // the new value is below 1 (the input never offers it)
    NoFreeBoxId,  // the copies would need box ids beyond the 32-bit range; nothing changed
};

// Input: title "统一怪物价值", label "请输入统一的怪物价值:", initial 1000, range 1..999999.
QString unifyInputTitle();
QString unifyInputLabel();
constexpr int unifyInputInitial = 1000;
constexpr int unifyInputMinimum = 1;
constexpr int unifyInputMaximum = 999999;
// Per-monster lines are written only for selections of at most this many ids.
constexpr int unifyDetailLogLimit = 10;

struct UnifyResult : EditResult
{
    UnifyError error = UnifyError::None;
    int selectedCount = 0;
    int newValue = 0;
    int adjusted = 0; // boxes scaled in place
    int copied = 0;   // boxes copied under a new id
    int skipped = 0;  // monsters whose old value was 0 or less
};

// unifyMonsterValue. Gives every selected monster `newValue` and scales its boxes' weights by
// new / old; a box also used by another monster record is copied under a new id first. A box
// named in several slots of one monster is handled once for that monster. Scaled weights are
// clamped to 1..INT_MAX. logLines holds the per-monster lines (only when at most 10 ids are
// selected) followed by the summary line; notice is the "操作成功" information box.
UnifyResult unifyMonsterValue(MonsterDropData &monsters, DropBoxContentData &boxes,
                              const QList<int> &selectedIds, int newValue);

} // namespace DropRateEdits
