#include "export/CsvDropRateExport.h"

#include "data/NameResolver.h"
#include "export/PageRowBuilder.h"
#include "rates/DropOdds.h"
#include "rates/DropRate.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

namespace CsvDropRateExport {

using namespace HtmlDropRateExport;

namespace {

void appendNumber(std::string &out, int value)
{
    char digits[12];
    out.append(digits, size_t(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
}

// Texts are copied in fixed steps of this size where they fit, so the copy is a few moves and no
// call; every source keeps this many readable bytes past its end and every target as much room.
constexpr size_t padding = 64;

inline char *copyPadded(char *to, const char *from, size_t size)
{
    if (size <= 32)
        std::memcpy(to, from, 32);
    else if (size <= padding)
        std::memcpy(to, from, padding);
    else
        std::memcpy(to, from, size);
    return to + size;
}

// A text of the current row with padding behind it.
struct PaddedText
{
    std::string bytes;
    size_t size = 0;

    void set(const std::string &text)
    {
        size = text.size();
        bytes.assign(text);
        bytes.append(padding, '\0');
    }
};

// The rows of the page's monsters, boxes and items, built as UTF-8 bytes.
class CsvRowBuilder : public RowSource
{
public:
    CsvRowBuilder(const MonsterDropData &monsters, const DropBoxContentData &boxes,
                  const NameResolver &names, double multiplier, bool showRates)
        : page(monsters, boxes, names, multiplier, false), records(monsters.records),
          boxList(boxes.boxes), names(names), multiplier(multiplier), showRates(showRates)
    {
        // "id,name" of every item once.
        itemFrom.reserve(page.itemCount() + 1);
        for (size_t rank = 0; rank < page.itemCount(); ++rank) {
            itemFrom.push_back(itemPool.size());
            const int id = page.itemIdOfRank(int32_t(rank));
            QString name = names.itemName(id);
            if (name.isEmpty())
                name = QString::number(id);
            appendNumber(itemPool, id);
            itemPool += ',';
            appendUtf8(itemPool, field(name, true));
            maxItemSize = std::max(maxItemSize, itemPool.size() - itemFrom.back());
        }
        itemFrom.push_back(itemPool.size());
        itemPool.append(padding, '\0');
    }

    int rowCount() const { return page.rowCount(); }

    void appendRows(ByteBuffer &out, size_t until) override
    {
        while (nextRecord < size_t(records.size()) && out.size() < until) {
            const size_t record = nextRecord++;
            const PageRowBuilder::Span boxes = page.rowBoxes(record);
            if (boxes.begin == boxes.end)
                continue;
            const MonsterDropConfig &monster = records.at(qsizetype(record));
            QString name = names.monsterName(monster.monsterId);
            if (name.isEmpty())
                name = monster.displayName;
            monsterPart.clear();
            appendNumber(monsterPart, monster.monsterId);
            monsterPart += ',';
            appendUtf8(monsterPart, field(name, true));
            monsterPart += ',';
            appendNumber(monsterPart, monster.mValue);
            monsterPart += ',';
            appendNumber(monsterPart, monster.dropType);
            monsterPart += ',';
            for (const int32_t *box = boxes.begin; box != boxes.end; ++box)
                appendBox(out, monster, boxList.at(*box), page.boxItemRanks(size_t(*box)));
        }
    }

    bool atEnd() const override { return nextRecord >= size_t(records.size()); }

private:
    void appendBox(ByteBuffer &out, const MonsterDropConfig &monster, const DropBoxConfig &box,
                   PageRowBuilder::Span items)
    {
        lead = monsterPart;
        appendNumber(lead, box.boxId);
        lead += ',';
        appendNumber(lead, box.boxValue);
        lead += ',';
        tail.clear();
        if (showRates) {
            const int value = monster.mValue;
            const int weight = box.boxValue;
            tail += ',';
            appendUtf8(tail, DropRate::tableText(value, weight, multiplier));
            tail += ',';
            // N of "1/N" alone.
            QString oneIn = DropRate::oneInText(value, weight, multiplier);
            if (oneIn.startsWith(QLatin1String("1/")))
                oneIn.remove(0, 2);
            appendUtf8(tail, oneIn);
            tail += ',';
            const double rate =
                DropRate::hasRate(weight) ? DropRate::fraction(value, weight, multiplier) : 0.0;
            appendUtf8(tail, DropOdds::killsText(DropOdds::killsFor(rate, 0.9)));
        }
        tail += "\r\n";
        paddedLead.set(lead);
        paddedTail.set(tail);
        const size_t count = size_t(items.end - items.begin);
        char *p = out.reserveMore(count * (lead.size() + maxItemSize + tail.size()) + padding);
        // Locals: the stores through p could alias any member, which would be read again per row.
        const char *const pool = itemPool.data();
        const size_t *const bounds = itemFrom.data();
        const char *const leadBytes = paddedLead.bytes.data();
        const size_t leadSize = paddedLead.size;
        const char *const tailBytes = paddedTail.bytes.data();
        const size_t tailSize = paddedTail.size;
        // The items lie spread over the pool: their bounds and texts are fetched some rows ahead.
        constexpr ptrdiff_t ahead = 8;
        for (const int32_t *rank = items.begin; rank != items.end; ++rank) {
            if (items.end - rank > ahead) {
                __builtin_prefetch(bounds + rank[ahead]);
                if (items.end - rank > 2 * ahead)
                    __builtin_prefetch(bounds + rank[2 * ahead]);
                __builtin_prefetch(pool + bounds[size_t(rank[ahead])]);
            }
            const size_t from = bounds[size_t(*rank)];
            const size_t size = bounds[size_t(*rank) + 1] - from;
            p = copyPadded(p, leadBytes, leadSize);
            p = copyPadded(p, pool + from, size);
            p = copyPadded(p, tailBytes, tailSize);
        }
        out.setEnd(p);
    }

    PageRowBuilder page;
    const QList<MonsterDropConfig> &records;
    const QList<DropBoxConfig> &boxList;
    const NameResolver &names;
    const double multiplier;
    const bool showRates;
    size_t nextRecord = 0;
    std::string itemPool;
    std::vector<size_t> itemFrom; // rank r: itemPool[itemFrom[r], itemFrom[r + 1])
    size_t maxItemSize = 0;
    // Scratch of one row: the monster's fields, then the box's, and what follows the item.
    std::string monsterPart;
    std::string lead;
    std::string tail;
    PaddedText paddedLead;
    PaddedText paddedTail;
};

} // namespace

QStringList headerCells(bool showRates)
{
    QStringList cells{QStringLiteral("怪物ID"),   QStringLiteral("怪物名称"),
                      QStringLiteral("怪物价值"), QStringLiteral("掉落类型"),
                      QStringLiteral("包裹ID"),   QStringLiteral("包裹权值"),
                      QStringLiteral("物品ID"),   QStringLiteral("物品名称")};
    if (showRates)
        cells << QStringLiteral("爆率") << QStringLiteral("N（1/N）")
              << QStringLiteral("90%需击杀");
    return cells;
}

QString field(QStringView text, bool guardFormula)
{
    QString value;
    value.reserve(text.size() + 3);
    if (guardFormula && !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()))
        value += u'\'';
    value += text;
    const bool quote = value.contains(u',') || value.contains(u'"') || value.contains(u'\n') ||
                       value.contains(u'\r');
    if (!quote)
        return value;
    value.replace(u'"', QStringLiteral("\"\""));
    return u'"' + value + u'"';
}

QString withCsvSuffix(const QString &fileName)
{
    if (fileName.isEmpty() || fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QLatin1String(".csv");
}

Outcome exportToFile(const QString &path, const MonsterDropData &monsters,
                     const DropBoxContentData &boxes, const NameResolver &names, double multiplier,
                     bool showRates)
{
    Outcome outcome;
    CsvRowBuilder rows(monsters, boxes, names, multiplier, showRates);
    outcome.exportCount = rows.rowCount();
    if (outcome.exportCount == 0) {
        outcome.title = noticeTitle();
        outcome.text = nothingToExportText();
        return outcome;
    }
    QStringList header;
    for (const QString &cell : headerCells(showRates))
        header << field(cell, false);
    const QString head = header.join(u',') + QStringLiteral("\r\n");
    QString error;
    const bool written = writeStreamed(path, head, rows, QStringView(), false, error);
    return writtenOutcome(path, outcome.exportCount, written, error);
}

} // namespace CsvDropRateExport
