// The monster drop clipboard text: any text parses without a fault, the refusals are exactly the
// two of the format, what was parsed copies and parses back unchanged, and a paste leaves every
// selected monster with the pasted drops.
#include "FuzzSupport.h"
#include "edit/DropClipboard.h"
#include "edit/MonsterEdits.h"

namespace {

bool sameDrops(const DropClipboard::PastedDrops &a, const DropClipboard::PastedDrops &b)
{
    return a.sourceId == b.sourceId && a.mValue == b.mValue && a.dropType == b.dropType &&
           a.dropBoxIds == b.dropBoxIds;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace DropClipboard;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const ParseResult parsed = parse(text);
    const ParseError expected = !text.startsWith(QLatin1String("MonsterDrop:"))
                                    ? ParseError::WrongFormat
                                : text.count(u'\n') < 3 ? ParseError::Incomplete
                                                        : ParseError::None;
    if (parsed.error != expected)
        FuzzSupport::fail("the clipboard text is refused for the wrong reason", text.toUtf8());
    if (parsed.error != ParseError::None)
        return 0;
    const PastedDrops &drops = parsed.drops;
    if (drops.dropBoxIds.isEmpty())
        FuzzSupport::fail("a box list text gave no entry", text.toUtf8());

    MonsterDropConfig record;
    record.monsterId = drops.sourceId;
    record.mValue = drops.mValue;
    record.dropType = drops.dropType;
    record.dropBoxIds = drops.dropBoxIds;
    const QString copied = buildText(record);
    const ParseResult again = parse(copied);
    if (again.error != ParseError::None || !sameDrops(again.drops, drops))
        FuzzSupport::fail("copied drops do not parse back", text.toUtf8(), copied.toUtf8());

    // Pasted onto a monster with a record, one without, and the source itself.
    MonsterDropData document;
    document.records.append(MonsterDropConfig{1, {}, 5, 0, {1, 2, 3}});
    const QList<int> selected{1, 2, drops.sourceId};
    const PastePlan plan = preparePaste(selected, text);
    // Drops that name a box beyond the slots a monster keeps are refused, nothing else is.
    MonsterDropConfig pasted;
    pasted.dropBoxIds = drops.dropBoxIds;
    if (DropSlots::boxIdsBeyondLimit(pasted) > 0) {
        if (plan.ok || applyPaste(document, selected, drops).applied)
            FuzzSupport::fail("drops beyond the slot limit are pasted", text.toUtf8());
        return 0;
    }
    if (!plan.ok || !sameDrops(plan.drops, drops))
        FuzzSupport::fail("a text that parses is not pasted", text.toUtf8());
    applyPaste(document, selected, plan.drops);
    for (int id : selected) {
        const MonsterDropConfig *pasted = MonsterEdits::findRecord(document, id);
        if (!pasted || pasted->mValue != drops.mValue || pasted->dropType != drops.dropType ||
            pasted->dropBoxIds != drops.dropBoxIds)
            FuzzSupport::fail("a pasted monster does not hold the pasted drops", text.toUtf8());
    }
    return 0;
}
