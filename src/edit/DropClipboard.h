#pragma once

#include "data/DropConfig.h"
#include "edit/EditResult.h"

#include <QList>

// A monster's drop configuration as clipboard text, and pasting it onto selected monsters.
namespace DropClipboard {

// "MonsterDrop:%1\nMValue:%2\nDropType:%3\nDropBoxes:%4\n" with every box slot, empty ones
// included, joined by ",".
QString buildText(const MonsterDropConfig &record);

struct CopyResult
{
    bool ok = false;
    QString text;      // the clipboard text when ok
    EditNotice notice; // "复制成功" when ok, else the refusal
};
// copyMonsterDrops: exactly one selected id with a record. Changes nothing, logs nothing.
CopyResult copyDrops(const MonsterDropData &data, const QList<int> &selectedIds);

enum class ParseError
{
    None,
    WrongFormat, // "剪贴板中的数据格式不正确": does not start with "MonsterDrop:"
    Incomplete,  // "剪贴板中的数据不完整": fewer than four line-feed separated parts
};
QString parseErrorText(ParseError error);

struct PastedDrops
{
    int sourceId = 0;
    int mValue = 0;
    int dropType = 0;
    QList<int> dropBoxIds;
};

struct ParseResult
{
    ParseError error = ParseError::None;
    PastedDrops drops;
};
// The loose reading: the keys of lines 2 to 4 are skipped by length only, numbers that do not
// parse count as 0, an empty box list gives the one entry 0.
ParseResult parse(const QString &text);

struct PastePlan
{
    bool ok = false;
    EditNotice notice;     // the refusal when not ok (no selection, bad text, a box beyond slot 20)
    EditQuestion question; // "确认粘贴" when ok: ask it before applyPaste
    PastedDrops drops;
};
// pasteMonsterDrops up to the question.
PastePlan preparePaste(const QList<int> &selectedIds, const QString &clipboardText);

// Gives every selected id the pasted value, type and box list (refused, changing nothing, when
// a box lies beyond the 20 slots a monster keeps), creating records for ids without one
// (recordsAddedOrRemoved: pointers into records are invalid afterwards). logLines starts with the
// summary line, then the per-monster lines. notice is "粘贴成功".
EditResult applyPaste(MonsterDropData &data, const QList<int> &selectedIds,
                      const PastedDrops &drops);

} // namespace DropClipboard
