#pragma once

#include "data/DropConfig.h"

#include <QHash>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class NameResolver;

// The table rows of the export page, built as UTF-8 bytes.
namespace HtmlDropRateExport {

// Growing bytes that always keep `slack` spare bytes past the end, so short texts can be copied
// with one fixed-size move.
class ByteBuffer
{
public:
    static constexpr size_t slack = 32;

    // Room for `bytes` more (plus the slack); returns where they go. Finish with setEnd.
    char *reserveMore(size_t bytes);
    void setEnd(const char *end) { used = size_t(end - storage.get()); }
    void append(const char *from, size_t size);
    void clear() { used = 0; }
    const char *data() const { return storage.get(); }
    size_t size() const { return used; }

private:
    std::unique_ptr<char[]> storage;
    size_t used = 0;
    size_t capacity = 0;
};

// UTF-8 bytes of text as QStringEncoder writes them: an unpaired surrogate becomes U+FFFD.
// `to` must have room for 3 bytes per UTF-16 unit.
char *writeUtf8(char *to, QStringView text);
void appendUtf8(ByteBuffer &out, QStringView text);
void appendUtf8(std::string &out, QStringView text);

// Ids of 1 or more mapped to indexes: a flat table when the ids lie close together, else a hash.
class IdTable
{
public:
    // minId..maxId bound every id that will be set; `count` is about how many there are.
    void prepare(int minId, int maxId, size_t count);
    void set(int id, int value);
    int value(int id) const; // -1 when absent

private:
    int first = 0;
    std::vector<int> flat;
    QHash<int, int> sparse;
    bool isFlat = true;
};

// Rows appended piece by piece, so a writer can take the finished pieces from another thread.
class RowSource
{
public:
    virtual ~RowSource() = default;
    // Appends the next rows until out holds at least `until` bytes or every row is out.
    virtual void appendRows(ByteBuffer &out, size_t until) = 0;
    virtual bool atEnd() const = 0;
};

// Resolves every monster's boxes, their items and the items' escaped texts once, then appends
// the rows monster by monster. After construction it reads only the documents (and its own
// state), so the rows may be appended on another thread while nothing changes the documents.
class PageRowBuilder : public RowSource
{
public:
    PageRowBuilder(const MonsterDropData &monsters, const DropBoxContentData &boxes,
                   const NameResolver &names, double multiplier, bool showRates);

    // Monsters with a row, the export count.
    int rowCount() const { return rows; }
    void appendRows(ByteBuffer &out, size_t until) override;
    bool atEnd() const override { return nextRecord >= size_t(records.size()); }

    // What the rows list, for other formats: a record's boxes (positions in the box document,
    // in slot order, each once, only boxes that hold items; none when the monster has no row)
    // and the ranks of a box's distinct items, in ascending item id.
    struct Span
    {
        const int32_t *begin;
        const int32_t *end;
    };
    Span rowBoxes(size_t record) const
    {
        return {monsterBoxes.data() + monsterFrom[record],
                monsterBoxes.data() + monsterFrom[record + 1]};
    }
    Span boxItemRanks(size_t box) const
    {
        return {boxItems.data() + boxFrom[box], boxItems.data() + boxFrom[box + 1]};
    }
    size_t itemCount() const { return itemIds.size(); }
    int itemIdOfRank(int32_t rank) const { return itemIds[size_t(rank)]; }

private:
    // An item's texts in itemPool: "、" + escaped name (+ "(" with rates), then right after it
    // " " + id + " " + escaped lower-case name. The first item of a row leaves out the "、" and
    // the space.
    struct ItemBytes
    {
        size_t display;
        size_t search; // the display text ends here; the search text ends at the next display
    };
    struct Run
    {
        const int32_t *next;
        const int32_t *end;
        int32_t rate; // a rank of rateFrom
    };

    void resolveBoxes(std::vector<char> &boxUsed);
    void collectItems(const std::vector<char> &boxUsed);
    // Bounds of a row's two lists, in bytes.
    struct RowSize
    {
        size_t search = 0;
        size_t items = 0;
    };
    RowSize mergeRow(size_t record);
    void appendRow(ByteBuffer &out, size_t record, RowSize size);

    const QList<MonsterDropConfig> &records;
    const QList<DropBoxConfig> &boxList;
    const NameResolver &names;
    const double multiplier;
    const bool showRates;
    int rows = 0;
    size_t nextRecord = 0;

    // Record i draws on boxes monsterBoxes[monsterFrom[i], monsterFrom[i + 1]), each with items.
    std::vector<uint32_t> monsterFrom;
    std::vector<int32_t> monsterBoxes;
    // Box i's distinct items, ascending: ranks into itemBytes, in id order.
    std::vector<uint32_t> boxFrom;
    std::vector<int32_t> boxItems;
    std::vector<int> itemIds;         // by rank
    std::vector<ItemBytes> itemBytes; // by rank, and one past the last
    // Box i's texts at most add boxSearchBytes[i] to a row's search list and boxDisplayBytes[i]
    // (before the rates) to its item list.
    std::vector<size_t> boxSearchBytes;
    std::vector<size_t> boxDisplayBytes;
    std::string itemPool;

    // Scratch of one row, kept to reuse its room.
    std::vector<Run> runs;
    std::vector<int32_t> multiRates; // count, then the ranks
    std::vector<uint64_t> keys;      // the row's items with their rates, see keyOf
    std::vector<uint64_t> spareKeys;
    std::vector<size_t> runBounds;
    std::string rateText;           // the row's rate texts in box order
    std::vector<uint32_t> textFrom; // box j's text: rateText[textFrom[j], textFrom[j + 1])
    std::vector<uint32_t> rateOrder;
    std::string rateBytes;          // the distinct texts in string order
    std::vector<uint32_t> rateFrom; // rank r: rateBytes[rateFrom[r], rateFrom[r + 1])
};

} // namespace HtmlDropRateExport
