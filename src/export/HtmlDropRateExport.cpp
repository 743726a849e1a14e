#include "export/HtmlDropRateExport.h"

#include "data/NameResolver.h"
#include "rates/DropRate.h"

#include <QDateTime>
#include <QHash>
#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace HtmlDropRateExport {

const QString noticeTitle = QStringLiteral("提示");
const QString nothingLoadedText = QStringLiteral("请先加载怪物掉落配置和包裹内容配置");
const QString nothingToExportText = QStringLiteral("未找到可导出的掉落数据");
const QString failedTitle = QStringLiteral("导出失败");
const QString cannotWriteText = QStringLiteral("无法写入文件：%1");
const QString succeededTitle = QStringLiteral("导出成功");
const QString succeededText = QStringLiteral("已导出爆率表到：\n%1");

namespace {

constexpr QStringView pageHead =
    u"<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n"
    u"<meta charset=\"utf-8\" />\n"
    u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n"
    u"<title>怪物掉落爆率表</title>\n"
    u"<style>\n"
    u"body{margin:0;font-family:\"Microsoft YaHei\",\"PingFang SC\",sans-serif;"
    u"background:radial-gradient(circle at top,#1b1f2a 0%,#0f1117 45%,#050607 100%);"
    u"color:#e8e2d0;}\n"
    u".header{padding:22px 28px;background:linear-gradient(135deg,rgba(200,160,60,.12),"
    u"rgba(120,20,20,.25));border-bottom:1px solid rgba(245,213,122,.35);} \n"
    u".header h1{margin:0;font-family:\"STKaiti\",\"KaiTi\",\"Microsoft YaHei\";"
    u"letter-spacing:4px;font-size:30px;color:#f5d57a;text-shadow:0 2px 8px rgba(0,0,0,.6);} \n"
    u".sub{margin-top:6px;font-size:12px;color:#b9b2a0;} \n"
    u".controls{display:flex;flex-wrap:wrap;gap:10px;padding:12px 18px;"
    u"background:rgba(8,9,12,.85);position:sticky;top:0;z-index:10;"
    u"border-bottom:1px solid rgba(255,255,255,.06);} \n"
    u".controls input{background:#0f1218;border:1px solid rgba(245,213,122,.35);color:#eee;"
    u"border-radius:6px;padding:8px 10px;min-width:160px;outline:none;} \n"
    u".controls input:focus{border-color:#f5d57a;box-shadow:0 0 0 2px rgba(245,213,122,.2);} \n"
    u".controls .btn{background:linear-gradient(180deg,#2a2f3a,#151821);"
    u"border:1px solid rgba(245,213,122,.4);color:#f5d57a;border-radius:6px;"
    u"padding:8px 14px;cursor:pointer;} \n"
    u".controls .btn:hover{filter:brightness(1.1);} \n"
    u"table{width:100%;border-collapse:collapse;font-size:13px;} \n"
    u"thead th{position:sticky;top:58px;background:rgba(15,18,24,.98);color:#f5d57a;"
    u"text-align:left;padding:10px;border-bottom:2px solid rgba(245,213,122,.55);} \n"
    u"tbody td{padding:8px 10px;border-bottom:1px solid rgba(255,255,255,.06);} \n"
    u"tbody tr:nth-child(even){background:rgba(255,255,255,.03);} \n"
    u"tbody tr:hover{background:rgba(245,213,122,.10);} \n"
    u".mono{font-family:Consolas,monospace;color:#c7d6ff;} .name{color:#efe7d6;} \n"
    u".items{max-width:720px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis;"
    u"color:#7ef07b;font-weight:600;} \n"
    u".rates{max-width:240px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis;"
    u"color:#9be7ff;font-weight:600;} \n"
    u".footer{padding:10px 18px;font-size:12px;color:#a9a394;} \n"
    u"</style>\n</head>\n<body>\n"
    u"<div class=\"header\"><h1>怪物掉落爆率表</h1>"
    u"<div class=\"sub\">导出时间：";

constexpr QStringView controlsAndTableHead =
    u"</div></div>\n"
    u"<div class=\"controls\">"
    u"<input id=\"monsterIdSearch\" placeholder=\"怪物ID搜索\" />"
    u"<input id=\"monsterNameSearch\" placeholder=\"怪物名称搜索\" />"
    u"<input id=\"itemSearch\" placeholder=\"物品ID/名称搜索\" />"
    u"<button class=\"btn\" id=\"resetBtn\">重置筛选</button>"
    u"<span class=\"sub\" id=\"countInfo\" style=\"margin-left:auto\"></span>"
    u"</div>\n"
    u"<table id=\"dropTable\"><thead><tr>"
    u"<th>怪物ID</th><th>怪物名称</th><th>掉落物品";

constexpr QStringView pageTail =
    u"</tbody></table>\n"
    u"<div class=\"footer\">提示：支持按物品/怪物搜索；鼠标悬浮在掉落物品上可查看完整列表。</div>\n"
    u"<script>\n"
    u"const mid=document.getElementById('monsterIdSearch');\n"
    u"const mname=document.getElementById('monsterNameSearch');\n"
    u"const item=document.getElementById('itemSearch');\n"
    u"const rows=[...document.querySelectorAll('#dropTable tbody tr')];\n"
    u"const countInfo=document.getElementById('countInfo');\n"
    u"function applyFilter(){\n"
    u"  const midv=mid.value.trim().toLowerCase();\n"
    u"  const mnamev=mname.value.trim().toLowerCase();\n"
    u"  const itemv=item.value.trim().toLowerCase();\n"
    u"  let visible=0;\n"
    u"  for(const r of rows){\n"
    u"    const okMid=!midv||r.dataset.monsterId.includes(midv);\n"
    u"    const okMname=!mnamev||r.dataset.monsterName.includes(mnamev);\n"
    u"    const okItem=!itemv||r.dataset.items.includes(itemv);\n"
    u"    const show=okMid&&okMname&&okItem;\n"
    u"    r.style.display=show?'':'none';\n"
    u"    if(show) visible++;\n"
    u"  }\n"
    u"  countInfo.textContent=`当前显示 ${visible} / ${rows.length} 条`;\n"
    u"}\n"
    u"mid.addEventListener('input',applyFilter);\n"
    u"mname.addEventListener('input',applyFilter);\n"
    u"item.addEventListener('input',applyFilter);\n"
    u"document.getElementById('resetBtn').addEventListener('click',()=>{mid.value='';"
    u"mname.value='';item.value='';applyFilter();});\n"
    u"applyFilter();\n"
    u"</script>\n"
    u"</body>\n</html>\n";

constexpr QStringView rowOpen = u"<tr data-monster-id=\"";
constexpr QStringView afterId = u"\" data-monster-name=\"";
constexpr QStringView afterNameKey = u"\" data-items=\"";
constexpr QStringView afterSearch = u"\"><td class=\"mono\">";
constexpr QStringView afterIdCell = u"</td><td class=\"name\">";
constexpr QStringView afterName = u"</td><td class=\"items\" title=\"";
constexpr QStringView afterTitle = u"\">";
constexpr QStringView rowClose = u"</td></tr>\n";

qsizetype digitCount(int value)
{
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    qsizetype count = value < 0 ? 2 : 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++count;
    }
    return count;
}

// Writes into space that was sized beforehand.
struct Cursor
{
    char16_t *p;

    void put(QStringView text)
    {
        if (text.isEmpty())
            return; // a null view has no data pointer to copy from
        std::memcpy(p, text.utf16(), size_t(text.size()) * sizeof(char16_t));
        p += text.size();
    }
    void put(char16_t c) { *p++ = c; }
    void putInt(int value)
    {
        // Unsigned arithmetic keeps INT_MIN representable.
        unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
        char16_t *end = p + digitCount(value);
        char16_t *q = end;
        do {
            *--q = char16_t(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            *--q = u'-';
        p = end;
    }
};

// Where one item's pieces of a row stand in the text pool, escaped: its display name and
// "id lower-case-name" for the search. One pool keeps the texts close together for the cache.
struct ItemText
{
    qsizetype name;
    qsizetype search;
    int nameSize;
    int searchSize;
};

struct ItemRef
{
    int itemId;
    int text; // index into the item texts
};

// The distinct used items of one box, by ascending id.
struct BoxItems
{
    bool ready = false;
    std::vector<ItemRef> items;
};

// One box of a monster's row: its items and the rank of its rate text among the row's texts.
struct Run
{
    const ItemRef *next;
    const ItemRef *end;
    int rank;
};

// One entry of a row's item list; its rate ranks are rowRanks[ranksFrom, ranksTo).
struct RowItem
{
    int text;
    int ranksFrom;
    int ranksTo;
};

constexpr qsizetype drainSize = 1 << 19;

class PageBuilder
{
public:
    PageBuilder(const DropBoxContentData &boxes, const NameResolver &names, double multiplier,
                bool showRates)
        : boxData(boxes), names(names), multiplier(multiplier), showRates(showRates),
          boxItems(size_t(boxes.boxes.size()))
    {
        // A later box with the same id replaces an earlier one.
        lastBoxById.reserve(boxes.boxes.size());
        for (qsizetype i = 0; i < boxes.boxes.size(); ++i) {
            const int id = boxes.boxes.at(i).boxId;
            if (DropSlots::isUsedId(id))
                lastBoxById.insert(id, int(i));
        }
    }

    // Resolves every monster's boxes that give items; returns the number of rows.
    int collect(const QList<MonsterDropConfig> &monsters);
    // Appends the rows of the monsters given to collect. When drain is given it is called
    // whenever out has grown past drainSize, to take the text away; false from it stops.
    bool appendRows(QString &out, const QList<MonsterDropConfig> &monsters,
                    const std::function<bool(QString &)> &drain = {});

private:
    const BoxItems &itemsOf(int boxIndex);
    int textOf(int itemId);
    void mergeItems(const MonsterDropConfig &monster, const int *boxesFrom, const int *boxesTo);
    void appendRow(QString &out, const MonsterDropConfig &monster);

    const DropBoxContentData &boxData;
    const NameResolver &names;
    const double multiplier;
    const bool showRates;

    QHash<int, int> lastBoxById;
    std::vector<BoxItems> boxItems;
    QHash<int, int> itemTextIndex;
    std::vector<ItemText> itemTexts;
    QString textPool;

    // Every monster's box indexes, monster i at [boxStart[i], boxStart[i + 1]).
    std::vector<int> monsterBoxes;
    std::vector<size_t> boxStart;

    // Scratch of one row, kept to reuse its capacity.
    std::vector<QString> rowRates;
    std::vector<QString> sortedRates;
    std::vector<Run> runs;
    std::vector<RowItem> rowItems;
    std::vector<int> rowRanks;
};

int PageBuilder::textOf(int itemId)
{
    const auto found = itemTextIndex.constFind(itemId);
    if (found != itemTextIndex.cend())
        return found.value();
    QString name = names.itemName(itemId);
    if (name.isEmpty())
        name = QString::number(itemId);
    ItemText text;
    text.name = textPool.size();
    appendEscapedHtml(textPool, name);
    text.nameSize = int(textPool.size() - text.name);
    text.search = textPool.size();
    textPool += QString::number(itemId) + QLatin1Char(' ');
    appendEscapedHtml(textPool, name.toLower());
    text.searchSize = int(textPool.size() - text.search);
    const int index = int(itemTexts.size());
    itemTexts.push_back(std::move(text));
    itemTextIndex.insert(itemId, index);
    return index;
}

const BoxItems &PageBuilder::itemsOf(int boxIndex)
{
    BoxItems &entry = boxItems[size_t(boxIndex)];
    if (entry.ready)
        return entry;
    entry.ready = true;
    const QList<DropBoxItem> &slots = boxData.boxes.at(boxIndex).items;
    entry.items.reserve(size_t(slots.size()));
    for (const DropBoxItem &slot : slots) {
        if (DropSlots::isUsedId(slot.itemId))
            entry.items.push_back({slot.itemId, 0});
    }
    std::sort(entry.items.begin(), entry.items.end(),
              [](const ItemRef &a, const ItemRef &b) { return a.itemId < b.itemId; });
    entry.items.erase(
        std::unique(entry.items.begin(), entry.items.end(),
                    [](const ItemRef &a, const ItemRef &b) { return a.itemId == b.itemId; }),
        entry.items.end());
    entry.items.shrink_to_fit();
    for (ItemRef &ref : entry.items)
        ref.text = textOf(ref.itemId);
    return entry;
}

int PageBuilder::collect(const QList<MonsterDropConfig> &monsters)
{
    int rows = 0;
    monsterBoxes.clear();
    boxStart.assign(1, 0);
    boxStart.reserve(size_t(monsters.size()) + 1);
    for (const MonsterDropConfig &monster : monsters) {
        const size_t from = monsterBoxes.size();
        for (const int boxId : monster.dropBoxIds) {
            if (!DropSlots::isUsedId(boxId))
                continue;
            const auto found = lastBoxById.constFind(boxId);
            if (found == lastBoxById.cend())
                continue;
            const int boxIndex = found.value();
            // Each box once: a box listed twice gives the same items with the same rate.
            if (std::find(monsterBoxes.cbegin() + qsizetype(from), monsterBoxes.cend(), boxIndex) !=
                monsterBoxes.cend())
                continue;
            if (!itemsOf(boxIndex).items.empty())
                monsterBoxes.push_back(boxIndex);
        }
        if (monsterBoxes.size() > from)
            ++rows;
        boxStart.push_back(monsterBoxes.size());
    }
    return rows;
}

bool PageBuilder::appendRows(QString &out, const QList<MonsterDropConfig> &monsters,
                             const std::function<bool(QString &)> &drain)
{
    for (qsizetype i = 0; i < monsters.size(); ++i) {
        const size_t from = boxStart[size_t(i)];
        const size_t to = boxStart[size_t(i) + 1];
        if (from == to)
            continue;
        mergeItems(monsters.at(i), monsterBoxes.data() + from, monsterBoxes.data() + to);
        appendRow(out, monsters.at(i));
        if (drain && out.size() >= drainSize && !drain(out))
            return false;
    }
    return true;
}

void PageBuilder::mergeItems(const MonsterDropConfig &monster, const int *boxesFrom,
                             const int *boxesTo)
{
    // Rate texts ranked in string order, so each item's texts come out sorted and distinct.
    rowRates.clear();
    if (showRates) {
        for (const int *box = boxesFrom; box != boxesTo; ++box)
            rowRates.push_back(
                DropRate::tableText(monster.mValue, boxData.boxes.at(*box).boxValue, multiplier));
        sortedRates = rowRates;
        std::sort(sortedRates.begin(), sortedRates.end());
        sortedRates.erase(std::unique(sortedRates.begin(), sortedRates.end()), sortedRates.end());
    }
    runs.clear();
    for (const int *box = boxesFrom; box != boxesTo; ++box) {
        const std::vector<ItemRef> &items = boxItems[size_t(*box)].items;
        int rank = 0;
        if (showRates) {
            const QString &rate = rowRates[size_t(box - boxesFrom)];
            rank = int(std::lower_bound(sortedRates.cbegin(), sortedRates.cend(), rate) -
                       sortedRates.cbegin());
        }
        runs.push_back({items.data(), items.data() + items.size(), rank});
    }

    // Merge the boxes' item lists, each sorted by id, into one list by id.
    rowItems.clear();
    rowRanks.clear();
    while (true) {
        int smallest = 0;
        bool any = false;
        for (const Run &run : runs) {
            if (run.next != run.end && (!any || run.next->itemId < smallest)) {
                smallest = run.next->itemId;
                any = true;
            }
        }
        if (!any)
            break;
        RowItem item{0, int(rowRanks.size()), 0};
        for (Run &run : runs) {
            if (run.next != run.end && run.next->itemId == smallest) {
                item.text = run.next->text;
                rowRanks.push_back(run.rank);
                ++run.next;
            }
        }
        const auto ranksFrom = rowRanks.begin() + item.ranksFrom;
        std::sort(ranksFrom, rowRanks.end());
        rowRanks.erase(std::unique(ranksFrom, rowRanks.end()), rowRanks.end());
        item.ranksTo = int(rowRanks.size());
        rowItems.push_back(item);
    }
}

void PageBuilder::appendRow(QString &out, const MonsterDropConfig &monster)
{
    QString name = names.monsterName(monster.monsterId);
    if (name.isEmpty())
        name = monster.displayName;
    const QString escapedName = escapeHtml(name);
    const QString nameKey = escapedName.toLower();

    // The row's exact length first, so it is written straight into the page.
    qsizetype searchLength = qsizetype(rowItems.size()) - 1;
    qsizetype itemsLength = qsizetype(rowItems.size()) - 1;
    for (const RowItem &item : rowItems) {
        const ItemText &text = itemTexts[size_t(item.text)];
        searchLength += text.searchSize;
        itemsLength += text.nameSize;
        if (showRates) {
            itemsLength += 2 + (item.ranksTo - item.ranksFrom - 1);
            for (int r = item.ranksFrom; r < item.ranksTo; ++r)
                itemsLength += sortedRates[size_t(rowRanks[size_t(r)])].size();
        }
    }
    const qsizetype idLength = digitCount(monster.monsterId);
    const qsizetype rowLength = rowOpen.size() + idLength + afterId.size() + nameKey.size() +
                                afterNameKey.size() + searchLength + afterSearch.size() + idLength +
                                afterIdCell.size() + escapedName.size() + afterName.size() +
                                itemsLength + afterTitle.size() + itemsLength + rowClose.size();
    const qsizetype start = out.size();
    out.resize(start + rowLength);
    Cursor cursor{reinterpret_cast<char16_t *>(out.data()) + start};
    const char16_t *pool = reinterpret_cast<const char16_t *>(textPool.constData());

    cursor.put(rowOpen);
    cursor.putInt(monster.monsterId);
    cursor.put(afterId);
    cursor.put(nameKey);
    cursor.put(afterNameKey);
    for (size_t i = 0; i < rowItems.size(); ++i) {
        if (i > 0)
            cursor.put(u' ');
        const ItemText &text = itemTexts[size_t(rowItems[i].text)];
        cursor.put(QStringView(pool + text.search, text.searchSize));
    }
    cursor.put(afterSearch);
    cursor.putInt(monster.monsterId);
    cursor.put(afterIdCell);
    cursor.put(escapedName);
    cursor.put(afterName);
    const char16_t *itemsText = cursor.p;
    for (size_t i = 0; i < rowItems.size(); ++i) {
        const RowItem &item = rowItems[i];
        if (i > 0)
            cursor.put(u'、');
        const ItemText &text = itemTexts[size_t(item.text)];
        cursor.put(QStringView(pool + text.name, text.nameSize));
        if (showRates) {
            cursor.put(u'(');
            for (int r = item.ranksFrom; r < item.ranksTo; ++r) {
                if (r > item.ranksFrom)
                    cursor.put(u'/');
                cursor.put(sortedRates[size_t(rowRanks[size_t(r)])]);
            }
            cursor.put(u')');
        }
    }
    cursor.put(afterTitle);
    cursor.put(QStringView(itemsText, itemsLength)); // the cell repeats its title
    cursor.put(rowClose);
    Q_ASSERT(cursor.p == reinterpret_cast<const char16_t *>(out.constData()) + out.size());
}

} // namespace

void appendEscapedHtml(QString &out, QStringView text)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QStringView entity;
        switch (text[i].unicode()) {
        case u'&':
            entity = u"&amp;";
            break;
        case u'<':
            entity = u"&lt;";
            break;
        case u'>':
            entity = u"&gt;";
            break;
        case u'"':
            entity = u"&quot;";
            break;
        case u'\'':
            entity = u"&#39;";
            break;
        default:
            continue;
        }
        out.append(text.mid(plainFrom, i - plainFrom));
        out.append(entity);
        plainFrom = i + 1;
    }
    out.append(text.mid(plainFrom));
}

QString escapeHtml(QStringView text)
{
    QString out;
    out.reserve(text.size());
    appendEscapedHtml(out, text);
    return out;
}

QString timestampText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {

void appendHead(QString &html, int exportCount, double multiplier, bool showRates,
                const QString &timestamp)
{
    html += pageHead;
    html += timestamp;
    html += QStringLiteral(" ｜ 导出怪物数：");
    html += QString::number(exportCount);
    html += QStringLiteral(" ｜ 全局掉落倍数：x");
    html += QString::number(multiplier, 'f', 2);
    html += QStringLiteral(" ｜ 显示爆率：");
    html += showRates ? QStringLiteral("是") : QStringLiteral("否");
    html += controlsAndTableHead;
    if (showRates)
        html += QStringLiteral("（爆率）");
    html += QStringView(u"</th></tr></thead><tbody>\n");
}

// UTF-8 with a byte-order mark into a temporary file that replaces the target on commit.
class PageFileWriter
{
public:
    explicit PageFileWriter(const QString &path) : file(path) {}

    bool open()
    {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        return file.write("\xEF\xBB\xBF", 3) == 3;
    }

    // Encoded in slices so that no second copy of a long text is held.
    bool write(QStringView text)
    {
        constexpr qsizetype sliceSize = 1 << 16;
        if (bytes.isEmpty())
            bytes.resize(encoder.requiredSpace(sliceSize));
        for (qsizetype from = 0; from < text.size();) {
            qsizetype length = std::min(sliceSize, text.size() - from);
            // Never split a surrogate pair between two slices.
            if (from + length < text.size() && text[from + length - 1].isHighSurrogate())
                --length;
            char *end = encoder.appendToBuffer(bytes.data(), text.mid(from, length));
            const qint64 size = end - bytes.data();
            if (file.write(bytes.constData(), size) != size)
                return false;
            from += length;
        }
        return true;
    }

    bool commit() { return file.commit(); }

private:
    QSaveFile file;
    QStringEncoder encoder{QStringEncoder::Utf8};
    QByteArray bytes;
};

} // namespace

Page buildPage(const MonsterDropData &monsters, const DropBoxContentData &boxes,
               const NameResolver &names, double multiplier, bool showRates,
               const QString &timestamp)
{
    Page page;
    PageBuilder builder(boxes, names, multiplier, showRates);
    // The count stands above the rows: count first, so the page is built in one string.
    page.exportCount = builder.collect(monsters.records);
    if (page.exportCount == 0)
        return page;
    QString &html = page.html;
    // A first guess; the string grows in place past it.
    html.reserve(pageHead.size() + pageTail.size() + qsizetype(page.exportCount) * 512);
    appendHead(html, page.exportCount, multiplier, showRates, timestamp);
    builder.appendRows(html, monsters.records);
    html += pageTail;
    return page;
}

bool writePage(const QString &path, const QString &html, QString &error)
{
    PageFileWriter writer(path);
    if (!writer.open() || !writer.write(html) || !writer.commit()) {
        error = cannotWriteText.arg(path);
        return false;
    }
    return true;
}

QString withHtmlSuffix(const QString &fileName)
{
    if (fileName.isEmpty() || fileName.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QLatin1String(".html");
}

bool hasDocuments(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    return !monsters.records.isEmpty() && !boxes.boxes.isEmpty();
}

Outcome exportToFile(const QString &path, const MonsterDropData &monsters,
                     const DropBoxContentData &boxes, const NameResolver &names, double multiplier,
                     bool showRates, const QDateTime &time)
{
    Outcome outcome;
    PageBuilder builder(boxes, names, multiplier, showRates);
    outcome.exportCount = builder.collect(monsters.records);
    if (outcome.exportCount == 0) {
        outcome.title = noticeTitle;
        outcome.text = nothingToExportText;
        return outcome;
    }
    // The same text as buildPage, handed to the file in pieces: a large page is never held whole.
    PageFileWriter writer(path);
    bool ok = writer.open();
    if (ok) {
        QString text;
        text.reserve(drainSize + (1 << 16));
        appendHead(text, outcome.exportCount, multiplier, showRates, timestampText(time));
        ok = builder.appendRows(text, monsters.records, [&writer](QString &rows) {
            const bool written = writer.write(rows);
            rows.resize(0);
            return written;
        });
        text += pageTail;
        ok = ok && writer.write(text) && writer.commit();
    }
    if (!ok) {
        outcome.kind = Outcome::Critical;
        outcome.title = failedTitle;
        outcome.text = cannotWriteText.arg(path);
        return outcome;
    }
    outcome.written = true;
    outcome.title = succeededTitle;
    outcome.text = succeededText.arg(path);
    return outcome;
}

} // namespace HtmlDropRateExport
