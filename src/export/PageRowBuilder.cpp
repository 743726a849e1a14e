#include "export/PageRowBuilder.h"

#include "data/NameResolver.h"
#include "export/HtmlDropRateExport.h"
#include "rates/DropRate.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <string_view>

namespace HtmlDropRateExport {

char *ByteBuffer::reserveMore(size_t bytes)
{
    const size_t needed = used + bytes + slack;
    if (needed > capacity) {
        const size_t grown = std::max({needed, capacity * 2, size_t(1) << 12});
        std::unique_ptr<char[]> larger(new char[grown]);
        if (used > 0)
            std::memcpy(larger.get(), storage.get(), used);
        storage = std::move(larger);
        capacity = grown;
    }
    return storage.get() + used;
}

void ByteBuffer::append(const char *from, size_t size)
{
    char *to = reserveMore(size);
    if (size > 0)
        std::memcpy(to, from, size);
    used += size;
}

char *writeUtf8(char *to, QStringView text)
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    auto *out = reinterpret_cast<unsigned char *>(to);
    while (p != end) {
        const char32_t c = *p++;
        if (c < 0x80) {
            *out++ = (unsigned char)c;
        } else if (c < 0x800) {
            *out++ = (unsigned char)(0xC0 | (c >> 6));
            *out++ = (unsigned char)(0x80 | (c & 0x3F));
        } else if (c < 0xD800 || c > 0xDFFF) {
            *out++ = (unsigned char)(0xE0 | (c >> 12));
            *out++ = (unsigned char)(0x80 | ((c >> 6) & 0x3F));
            *out++ = (unsigned char)(0x80 | (c & 0x3F));
        } else if (c < 0xDC00 && p != end && *p >= 0xDC00 && *p <= 0xDFFF) {
            const char32_t code = 0x10000 + ((c - 0xD800) << 10) + (char32_t(*p++) - 0xDC00);
            *out++ = (unsigned char)(0xF0 | (code >> 18));
            *out++ = (unsigned char)(0x80 | ((code >> 12) & 0x3F));
            *out++ = (unsigned char)(0x80 | ((code >> 6) & 0x3F));
            *out++ = (unsigned char)(0x80 | (code & 0x3F));
        } else {
            *out++ = 0xEF; // U+FFFD for an unpaired surrogate
            *out++ = 0xBF;
            *out++ = 0xBD;
        }
    }
    return reinterpret_cast<char *>(out);
}

void appendUtf8(ByteBuffer &out, QStringView text)
{
    out.setEnd(writeUtf8(out.reserveMore(size_t(text.size()) * 3), text));
}

void appendUtf8(std::string &out, QStringView text)
{
    const size_t from = out.size();
    out.resize(from + size_t(text.size()) * 3);
    out.resize(size_t(writeUtf8(out.data() + from, text) - out.data()));
}

void IdTable::prepare(int minId, int maxId, size_t count)
{
    flat.clear();
    sparse.clear();
    first = minId;
    const long long range = minId <= maxId ? (long long)maxId - minId + 1 : 0;
    isFlat = range <= std::min<long long>(4 * (long long)count + (1 << 16), 1 << 22);
    if (isFlat)
        flat.assign(size_t(range), -1);
    else
        sparse.reserve(qsizetype(std::min<size_t>(count, 1 << 20)));
}

void IdTable::set(int id, int value)
{
    if (isFlat)
        flat[size_t((long long)id - first)] = value;
    else
        sparse.insert(id, value);
}

int IdTable::value(int id) const
{
    if (!isFlat)
        return sparse.value(id, -1);
    const long long at = (long long)id - first;
    return at >= 0 && at < (long long)flat.size() ? flat[size_t(at)] : -1;
}

namespace {

// Copies a text of the pools, whose buffers keep ByteBuffer::slack readable bytes past every
// text, so a short one moves in one fixed-size step.
inline char *copyText(char *to, const char *from, size_t size)
{
    if (size <= ByteBuffer::slack)
        std::memcpy(to, from, ByteBuffer::slack);
    else
        std::memcpy(to, from, size);
    return to + size;
}

// A row's item and its rate, ordered by item and then rate.
inline uint64_t keyOf(int32_t item, int32_t rate)
{
    return uint64_t(uint32_t(item)) << 32 | uint32_t(rate);
}
inline int32_t itemOf(uint64_t key)
{
    return int32_t(key >> 32);
}
// A rank of the row's rates, or -1 - where the item's count and ranks start in multiRates.
inline int32_t rateOf(uint64_t key)
{
    return int32_t(uint32_t(key));
}

// Merges two ascending runs; the choice is a conditional move, not a branch.
void mergeKeys(const uint64_t *a, const uint64_t *aEnd, const uint64_t *b, const uint64_t *bEnd,
               uint64_t *to)
{
    while (a != aEnd && b != bEnd) {
        const uint64_t x = *a;
        const uint64_t y = *b;
        const bool takeB = y < x;
        *to++ = takeB ? y : x;
        a += !takeB;
        b += takeB;
    }
    to = std::copy(a, aEnd, to);
    std::copy(b, bEnd, to);
}

template <size_t N> inline char *put(char *to, const char (&text)[N])
{
    std::memcpy(to, text, N - 1);
    return to + N - 1;
}

inline char *putInt(char *to, int value)
{
    return std::to_chars(to, to + 12, value).ptr;
}

constexpr char rowOpen[] = "<tr data-monster-id=\"";
constexpr char afterId[] = "\" data-monster-name=\"";
constexpr char afterNameKey[] = "\" data-items=\"";
constexpr char afterSearch[] = "\"><td class=\"mono\">";
constexpr char afterIdCell[] = "</td><td class=\"name\">";
constexpr char afterName[] = "</td><td class=\"items\" title=\"";
constexpr char afterTitle[] = "\">";
constexpr char rowClose[] = "</td></tr>\n";
constexpr size_t itemSeparatorSize = 3; // "、" in UTF-8
constexpr size_t fixedRowSize = sizeof rowOpen + sizeof afterId + sizeof afterNameKey +
                                sizeof afterSearch + sizeof afterIdCell + sizeof afterName +
                                sizeof afterTitle + sizeof rowClose + 2 * 12;

} // namespace

PageRowBuilder::PageRowBuilder(const MonsterDropData &monsters, const DropBoxContentData &boxes,
                               const NameResolver &names, double multiplier, bool showRates)
    : records(monsters.records), boxList(boxes.boxes), names(names), multiplier(multiplier),
      showRates(showRates)
{
    std::vector<char> boxUsed;
    resolveBoxes(boxUsed);
    collectItems(boxUsed);

    // Keep only boxes that give items; a monster left without one has no row.
    size_t kept = 0;
    for (size_t i = 0; i + 1 < monsterFrom.size(); ++i) {
        const size_t from = monsterFrom[i];
        monsterFrom[i] = uint32_t(kept);
        for (size_t k = from; k < monsterFrom[i + 1]; ++k) {
            const int32_t box = monsterBoxes[k];
            if (boxFrom[size_t(box)] != boxFrom[size_t(box) + 1])
                monsterBoxes[kept++] = box;
        }
        if (kept > monsterFrom[i])
            ++rows;
    }
    monsterFrom.back() = uint32_t(kept);
    monsterBoxes.resize(kept);
}

void PageRowBuilder::resolveBoxes(std::vector<char> &boxUsed)
{
    // A later box with the same id replaces an earlier one.
    int minId = INT_MAX;
    int maxId = 0;
    for (const DropBoxConfig &box : boxList) {
        if (DropSlots::isUsedId(box.boxId)) {
            minId = std::min(minId, box.boxId);
            maxId = std::max(maxId, box.boxId);
        }
    }
    IdTable boxById;
    boxById.prepare(minId, maxId, size_t(boxList.size()));
    for (qsizetype i = 0; i < boxList.size(); ++i) {
        if (DropSlots::isUsedId(boxList.at(i).boxId))
            boxById.set(boxList.at(i).boxId, int(i));
    }

    boxUsed.assign(size_t(boxList.size()), 0);
    monsterFrom.assign(1, 0);
    monsterFrom.reserve(size_t(records.size()) + 1);
    monsterBoxes.clear();
    for (const MonsterDropConfig &monster : records) {
        const size_t from = monsterBoxes.size();
        for (const int boxId : monster.dropBoxIds) {
            if (!DropSlots::isUsedId(boxId))
                continue;
            const int box = boxById.value(boxId);
            // Each box once: a box listed twice gives the same items with the same rate.
            if (box < 0 || std::find(monsterBoxes.cbegin() + qsizetype(from), monsterBoxes.cend(),
                                     box) != monsterBoxes.cend())
                continue;
            monsterBoxes.push_back(box);
            boxUsed[size_t(box)] = 1;
        }
        monsterFrom.push_back(uint32_t(monsterBoxes.size()));
    }
}

void PageRowBuilder::collectItems(const std::vector<char> &boxUsed)
{
    int minId = INT_MAX;
    int maxId = 0;
    size_t slots = 0;
    for (qsizetype i = 0; i < boxList.size(); ++i) {
        if (!boxUsed[size_t(i)])
            continue;
        for (const DropBoxItem &slot : boxList.at(i).items) {
            if (DropSlots::isUsedId(slot.itemId)) {
                minId = std::min(minId, slot.itemId);
                maxId = std::max(maxId, slot.itemId);
                ++slots;
            }
        }
    }

    // Ranks follow the ids, so lists sorted by rank are sorted by id.
    IdTable rankById;
    rankById.prepare(minId, maxId, slots);
    std::vector<int> ids;
    std::vector<char> seen;
    const bool dense = minId <= maxId && (long long)maxId - minId < (1 << 22);
    if (dense)
        seen.assign(size_t((long long)maxId - minId + 1), 0);
    for (qsizetype i = 0; i < boxList.size(); ++i) {
        if (!boxUsed[size_t(i)])
            continue;
        for (const DropBoxItem &slot : boxList.at(i).items) {
            if (!DropSlots::isUsedId(slot.itemId))
                continue;
            if (dense) {
                char &mark = seen[size_t((long long)slot.itemId - minId)];
                if (!mark) {
                    mark = 1;
                    ids.push_back(slot.itemId);
                }
            } else if (rankById.value(slot.itemId) < 0) {
                rankById.set(slot.itemId, 0);
                ids.push_back(slot.itemId);
            }
        }
    }
    seen = std::vector<char>();
    std::sort(ids.begin(), ids.end());
    for (size_t rank = 0; rank < ids.size(); ++rank)
        rankById.set(ids[rank], int(rank));

    boxFrom.assign(1, 0);
    boxFrom.reserve(size_t(boxList.size()) + 1);
    boxItems.clear();
    boxItems.reserve(slots);
    for (qsizetype i = 0; i < boxList.size(); ++i) {
        if (boxUsed[size_t(i)]) {
            const size_t from = boxItems.size();
            for (const DropBoxItem &slot : boxList.at(i).items) {
                if (DropSlots::isUsedId(slot.itemId))
                    boxItems.push_back(rankById.value(slot.itemId));
            }
            std::sort(boxItems.begin() + qsizetype(from), boxItems.end());
            boxItems.erase(std::unique(boxItems.begin() + qsizetype(from), boxItems.end()),
                           boxItems.end());
        }
        boxFrom.push_back(uint32_t(boxItems.size()));
    }
    boxItems.shrink_to_fit();

    // Each item's pieces of a row, escaped, in one pool.
    itemBytes.resize(ids.size() + 1);
    itemPool.clear();
    for (size_t rank = 0; rank < ids.size(); ++rank) {
        const int id = ids[rank];
        QString name = names.itemName(id);
        if (name.isEmpty())
            name = QString::number(id);
        ItemBytes &bytes = itemBytes[rank];
        bytes.display = itemPool.size();
        appendUtf8(itemPool, u"、");
        appendUtf8(itemPool, escapeHtml(name));
        if (showRates)
            itemPool += '(';
        bytes.search = itemPool.size();
        itemPool += ' ';
        itemPool += std::to_string(id);
        itemPool += ' ';
        appendUtf8(itemPool, escapeHtml(name.toLower()));
    }
    itemBytes.back() = {itemPool.size(), itemPool.size()};
    itemPool.append(ByteBuffer::slack, '\0');

    boxSearchBytes.assign(size_t(boxList.size()), 0);
    boxDisplayBytes.assign(size_t(boxList.size()), 0);
    for (size_t box = 0; box < size_t(boxList.size()); ++box) {
        for (uint32_t k = boxFrom[box]; k < boxFrom[box + 1]; ++k) {
            const size_t rank = size_t(boxItems[k]);
            boxSearchBytes[box] += itemBytes[rank + 1].display - itemBytes[rank].search;
            boxDisplayBytes[box] += itemBytes[rank].search - itemBytes[rank].display;
        }
    }
    itemIds = std::move(ids);
}

void PageRowBuilder::appendRows(ByteBuffer &out, size_t until)
{
    while (nextRecord < size_t(records.size()) && out.size() < until) {
        const size_t record = nextRecord++;
        if (monsterFrom[record] == monsterFrom[record + 1])
            continue;
        appendRow(out, record, mergeRow(record));
    }
}

PageRowBuilder::RowSize PageRowBuilder::mergeRow(size_t record)
{
    const MonsterDropConfig &monster = records.at(qsizetype(record));
    const int32_t *const boxes = monsterBoxes.data() + monsterFrom[record];
    const size_t boxCount = monsterFrom[record + 1] - monsterFrom[record];

    // Each box's rate formatted once; the distinct texts ranked in string order, so every
    // item's rates come out sorted and distinct.
    RowSize size;
    runs.clear();
    for (size_t j = 0; j < boxCount; ++j) {
        const size_t box = size_t(boxes[j]);
        runs.push_back({boxItems.data() + boxFrom[box], boxItems.data() + boxFrom[box + 1], 0});
        size.search += boxSearchBytes[box];
        size.items += boxDisplayBytes[box];
    }
    if (showRates) {
        rateText.clear();
        textFrom.assign(1, 0);
        for (size_t j = 0; j < boxCount; ++j) {
            appendUtf8(rateText, DropRate::tableText(monster.mValue, boxList.at(boxes[j]).boxValue,
                                                     multiplier));
            textFrom.push_back(uint32_t(rateText.size()));
        }
        const auto textOf = [this](uint32_t j) {
            return std::string_view(rateText).substr(textFrom[j], textFrom[j + 1] - textFrom[j]);
        };
        rateOrder.resize(boxCount);
        for (size_t j = 0; j < boxCount; ++j)
            rateOrder[j] = uint32_t(j);
        std::sort(rateOrder.begin(), rateOrder.end(),
                  [&](uint32_t a, uint32_t b) { return textOf(a) < textOf(b); });
        rateBytes.clear();
        rateFrom.assign(1, 0);
        for (size_t k = 0; k < boxCount; ++k) {
            const std::string_view text = textOf(rateOrder[k]);
            if (k == 0 || text != textOf(rateOrder[k - 1])) {
                rateBytes.append(text);
                rateFrom.push_back(uint32_t(rateBytes.size()));
            }
            runs[rateOrder[k]].rate = int32_t(rateFrom.size() - 2);
        }
        rateBytes.append(ByteBuffer::slack, '\0');
    }
    if (showRates) {
        // An item's rates take no more room than the rates of all its boxes, each with one
        // "/" or ")".
        for (const Run &run : runs) {
            const size_t rank = size_t(run.rate);
            size.items += size_t(run.end - run.next) * (rateFrom[rank + 1] - rateFrom[rank] + 1);
        }
    }

    // Merge the boxes' item lists, each ascending, into one list of (item, rate) keys, by item
    // and then rate: pairwise, without branching on the items.
    keys.clear();
    runBounds.assign(1, 0);
    for (const Run &run : runs) {
        for (const int32_t *item = run.next; item != run.end; ++item)
            keys.push_back(keyOf(*item, run.rate));
        runBounds.push_back(keys.size());
    }
    spareKeys.resize(keys.size());
    while (runBounds.size() > 2) {
        size_t kept = 1;
        for (size_t r = 0; r + 1 < runBounds.size(); r += 2) {
            const uint64_t *first = keys.data() + runBounds[r];
            const uint64_t *middle = keys.data() + runBounds[r + 1];
            uint64_t *to = spareKeys.data() + runBounds[r];
            if (r + 2 < runBounds.size()) {
                mergeKeys(first, middle, middle, keys.data() + runBounds[r + 2], to);
                runBounds[kept++] = runBounds[r + 2];
            } else {
                std::copy(first, middle, to);
                runBounds[kept++] = runBounds[r + 1];
            }
        }
        runBounds.resize(kept);
        keys.swap(spareKeys);
    }

    // One key per item, kept in place; an item of several boxes keeps each distinct rate once,
    // in order, in multiRates.
    multiRates.clear();
    size_t unique = 0;
    int32_t lastItem = -1;
    int32_t lastRate = -1;
    for (size_t k = 0; k < keys.size(); ++k) {
        const uint64_t key = keys[k];
        const int32_t item = itemOf(key);
        const int32_t rate = rateOf(key);
        if (item != lastItem) {
            __builtin_prefetch(&itemBytes[size_t(item)]);
            keys[unique++] = key;
            lastItem = item;
            lastRate = rate;
            continue;
        }
        if (!showRates || rate == lastRate)
            continue;
        int32_t at = rateOf(keys[unique - 1]);
        if (at >= 0) {
            const int32_t first = at;
            at = -1 - int32_t(multiRates.size());
            keys[unique - 1] = keyOf(item, at);
            multiRates.push_back(1);
            multiRates.push_back(first);
        }
        ++multiRates[size_t(-1 - at)];
        multiRates.push_back(rate);
        lastRate = rate;
    }
    keys.resize(unique);

    // The next row's boxes, fetched while this one is written.
    if (record + 1 < size_t(records.size())) {
        for (uint32_t k = monsterFrom[record + 1]; k < monsterFrom[record + 2]; ++k) {
            const size_t box = size_t(monsterBoxes[k]);
            for (uint32_t at = boxFrom[box]; at < boxFrom[box + 1]; at += 16)
                __builtin_prefetch(boxItems.data() + at);
        }
    }
    return size;
}

void PageRowBuilder::appendRow(ByteBuffer &out, size_t record, RowSize size)
{
    const MonsterDropConfig &monster = records.at(qsizetype(record));
    QString name = names.monsterName(monster.monsterId);
    if (name.isEmpty())
        name = monster.displayName;
    const QString escapedName = escapeHtml(name);
    const QString nameKey = escapedName.toLower();

    char *p = out.reserveMore(fixedRowSize + size.search + 2 * size.items +
                              3 * size_t(escapedName.size() + nameKey.size()));
    p = put(p, rowOpen);
    p = putInt(p, monster.monsterId);
    p = put(p, afterId);
    p = writeUtf8(p, nameKey);
    p = put(p, afterNameKey);
    const char *const pool = itemPool.data();
    const size_t count = keys.size();
    // The items' texts are spread over the pool: they are fetched some items ahead.
    constexpr size_t ahead = 16;
    for (size_t i = 0; i < count && i < ahead; ++i)
        __builtin_prefetch(pool + itemBytes[size_t(itemOf(keys[i]))].display);
    for (size_t i = 0; i < count; ++i) {
        if (i + ahead < count) {
            const ItemBytes &later = itemBytes[size_t(itemOf(keys[i + ahead]))];
            __builtin_prefetch(pool + later.display);
            __builtin_prefetch(pool + later.search);
        }
        const size_t rank = size_t(itemOf(keys[i]));
        const size_t skip = i == 0 ? 1 : 0;
        const size_t from = itemBytes[rank].search + skip;
        p = copyText(p, pool + from, itemBytes[rank + 1].display - from);
    }
    p = put(p, afterSearch);
    p = putInt(p, monster.monsterId);
    p = put(p, afterIdCell);
    p = writeUtf8(p, escapedName);
    p = put(p, afterName);
    char *const itemsText = p;
    const char *const rates = rateBytes.data();
    for (size_t i = 0; i < count; ++i) {
        const ItemBytes &bytes = itemBytes[size_t(itemOf(keys[i]))];
        const size_t from = bytes.display + (i == 0 ? itemSeparatorSize : 0);
        p = copyText(p, pool + from, bytes.search - from);
        if (!showRates)
            continue;
        const int32_t rate = rateOf(keys[i]);
        if (rate >= 0) {
            const uint32_t from = rateFrom[size_t(rate)];
            p = copyText(p, rates + from, rateFrom[size_t(rate) + 1] - from);
        } else {
            const int32_t *rank = multiRates.data() + (-1 - rate);
            const int32_t count = *rank++;
            for (int32_t r = 0; r < count; ++r) {
                if (r > 0)
                    *p++ = '/';
                const uint32_t from = rateFrom[size_t(rank[r])];
                p = copyText(p, rates + from, rateFrom[size_t(rank[r]) + 1] - from);
            }
        }
        *p++ = ')';
    }
    const size_t itemsSize = size_t(p - itemsText);
    p = put(p, afterTitle);
    std::memcpy(p, itemsText, itemsSize); // the cell repeats its title
    p += itemsSize;
    p = put(p, rowClose);
    out.setEnd(p);
}

} // namespace HtmlDropRateExport
