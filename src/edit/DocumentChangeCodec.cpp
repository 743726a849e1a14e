// The compact form of a DocumentChange for the recovery journal.
//
// Numbers are LEB128 varints (signed ones zigzagged), texts UTF-16 with their length. A change is
// its text changes, then the record hunks, then the box hunks; a hunk is oldAt, newAt, the
// removed and the inserted count, the removed entries (their numbers in full, their slot list as
// its length and a 64-bit hash: the replay compares both with the documents and takes the list
// from there), then each inserted entry against the removed entry at the same place (or an
// empty entry): a flag byte says which fields differ and how the slot list is written: the same,
// changed slots only, in full, or a reference to a list the documents or this change already
// hold (unify's box copies share their items with the box they copy).
#include "edit/DocumentChange.h"

#include <QDataStream>
#include <QHash>
#include <algorithm>
#include <climits>
#include <tuple>
#include <utility>
#include <vector>

namespace {

class Encoder
{
public:
    explicit Encoder(qsizetype expected) { bytes.resize(std::max<qsizetype>(expected, 256)); }

    // At least n bytes to write at the returned pointer; done() takes the end.
    char *room(qsizetype n)
    {
        if (used + n > bytes.size())
            bytes.resize(std::max(bytes.size() * 2, used + n + 4096));
        return bytes.data() + used;
    }
    void done(char *end) { used = end - bytes.data(); }

    static char *u(char *out, quint64 value)
    {
        while (value >= 0x80) {
            *out++ = char(value | 0x80);
            value >>= 7;
        }
        *out++ = char(value);
        return out;
    }
    static char *s(char *out, qint64 value)
    {
        return u(out, (quint64(value) << 1) ^ quint64(value >> 63));
    }
    void number(quint64 value) { done(u(room(10), value)); }
    void word(quint64 value)
    {
        char *out = room(8);
        for (int i = 0; i < 8; ++i)
            out[i] = char(value >> (8 * i));
        done(out + 8);
    }
    void text(const QString &value)
    {
        const qsizetype bytes = value.size() * 2;
        char *out = u(room(10 + bytes), quint64(value.size()));
        for (const QChar c : value) {
            *out++ = char(c.unicode() & 0xff);
            *out++ = char(c.unicode() >> 8);
        }
        done(out);
    }
    QByteArray take()
    {
        bytes.truncate(used);
        return std::move(bytes);
    }

private:
    QByteArray bytes;
    qsizetype used = 0;
};

class Decoder
{
public:
    explicit Decoder(const QByteArray &bytes)
        : at(reinterpret_cast<const uchar *>(bytes.constData())), end(at + bytes.size())
    {
    }

    bool ok = true;

    quint64 u()
    {
        quint64 value = 0;
        for (int shift = 0; at < end && shift < 64; shift += 7) {
            const uchar byte = *at++;
            value |= quint64(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return value;
        }
        ok = false;
        return 0;
    }
    qint64 s()
    {
        const quint64 zigzag = u();
        return qint64(zigzag >> 1) ^ -qint64(zigzag & 1);
    }
    int i32()
    {
        const qint64 value = s();
        if (value < INT_MIN || value > INT_MAX)
            ok = false;
        return int(value);
    }
    // A count of things at least one byte each: never more than the bytes left.
    qsizetype count()
    {
        const quint64 value = u();
        if (value > quint64(end - at)) {
            ok = false;
            return 0;
        }
        return qsizetype(value);
    }
    QString text()
    {
        const qsizetype size = count();
        if (!ok || size * 2 > end - at) {
            ok = false;
            return QString();
        }
        QString value(size, Qt::Uninitialized);
        for (QChar &c : value) {
            c = QChar(ushort(at[0] | (at[1] << 8)));
            at += 2;
        }
        return value;
    }
    quint64 word()
    {
        if (end - at < 8) {
            ok = false;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < 8; ++i)
            value |= quint64(at[i]) << (8 * i);
        at += 8;
        return value;
    }
    bool atEnd() const { return at == end; }

private:
    const uchar *at;
    const uchar *end;
};

// How each kind of entry is written: its four numbers or texts, and its slot list.
struct RecordCodec
{
    using Entry = MonsterDropConfig;
    using Slot = int;
    static constexpr qsizetype maxSlotBytes = 10;
    static const QList<int> &slots(const Entry &entry) { return entry.dropBoxIds; }
    static QList<int> &slots(Entry &entry) { return entry.dropBoxIds; }
    static char *slot(char *out, int id) { return Encoder::s(out, id); }
    static int slot(Decoder &in) { return in.i32(); }
    // The empty slot, which often ends the list.
    static int trailing() { return -1; }
    static quint64 mix(quint64 hash, int id) { return (hash ^ quint32(id)) * 0x100000001b3ULL; }

    static unsigned differing(const Entry &a, const Entry &b)
    {
        return (a.monsterId != b.monsterId ? 1u : 0u) | (a.displayName != b.displayName ? 2u : 0u) |
               (a.mValue != b.mValue ? 4u : 0u) | (a.dropType != b.dropType ? 8u : 0u);
    }
    static void fields(Encoder &out, const Entry &entry, unsigned which)
    {
        char *at = out.room(30);
        if (which & 1u)
            at = Encoder::s(at, entry.monsterId);
        out.done(at);
        if (which & 2u)
            out.text(entry.displayName);
        at = out.room(30);
        if (which & 4u)
            at = Encoder::s(at, entry.mValue);
        if (which & 8u)
            at = Encoder::s(at, entry.dropType);
        out.done(at);
    }
    static void fields(Decoder &in, Entry &entry, unsigned which)
    {
        if (which & 1u)
            entry.monsterId = in.i32();
        if (which & 2u)
            entry.displayName = in.text();
        if (which & 4u)
            entry.mValue = in.i32();
        if (which & 8u)
            entry.dropType = in.i32();
    }
};

struct BoxCodec
{
    using Entry = DropBoxConfig;
    using Slot = DropBoxItem;
    static constexpr qsizetype maxSlotBytes = 20;
    static const QList<DropBoxItem> &slots(const Entry &entry) { return entry.items; }
    static QList<DropBoxItem> &slots(Entry &entry) { return entry.items; }
    static char *slot(char *out, const DropBoxItem &item)
    {
        return Encoder::s(Encoder::s(out, item.itemId), item.level);
    }
    static DropBoxItem slot(Decoder &in)
    {
        DropBoxItem item;
        item.itemId = in.i32();
        item.level = in.i32();
        return item;
    }
    static DropBoxItem trailing() { return DropBoxItem{}; }
    static quint64 mix(quint64 hash, const DropBoxItem &item)
    {
        hash = (hash ^ quint32(item.itemId)) * 0x100000001b3ULL;
        return (hash ^ quint32(item.level)) * 0x100000001b3ULL;
    }

    static unsigned differing(const Entry &a, const Entry &b)
    {
        return (a.boxId != b.boxId ? 1u : 0u) | (a.boxValue != b.boxValue ? 2u : 0u) |
               (a.notifyId != b.notifyId ? 4u : 0u) |
               (a.forceOpenFlag != b.forceOpenFlag ? 8u : 0u);
    }
    static void fields(Encoder &out, const Entry &entry, unsigned which)
    {
        char *at = out.room(40);
        if (which & 1u)
            at = Encoder::s(at, entry.boxId);
        if (which & 2u)
            at = Encoder::s(at, entry.boxValue);
        if (which & 4u)
            at = Encoder::s(at, entry.notifyId);
        if (which & 8u)
            at = Encoder::s(at, entry.forceOpenFlag);
        out.done(at);
    }
    static void fields(Decoder &in, Entry &entry, unsigned which)
    {
        if (which & 1u)
            entry.boxId = in.i32();
        if (which & 2u)
            entry.boxValue = in.i32();
        if (which & 4u)
            entry.notifyId = in.i32();
        if (which & 8u)
            entry.forceOpenFlag = in.i32();
    }
};

enum ListMode : unsigned
{
    SameList = 0,
    ChangedSlots = 1,
    FullList = 2,
    ReferencedList = 3,
};
constexpr unsigned allFields = 15u;
constexpr int listModeShift = 4;

using ListKey = std::pair<quintptr, qsizetype>;

template <class Codec> ListKey keyOf(const typename Codec::Entry &entry)
{
    const auto &list = Codec::slots(entry);
    return {quintptr(list.constData()), list.size()};
}

// The full list: its length, how many default slots end it, the others.
// The full list: its length, how many empty slots end it, the others.
template <class Codec> void writeFullList(Encoder &out, const typename Codec::Entry &entry)
{
    const auto &list = Codec::slots(entry);
    qsizetype kept = list.size();
    while (kept > 0 && list.at(kept - 1) == Codec::trailing())
        --kept;
    char *at = out.room(20 + kept * Codec::maxSlotBytes);
    at = Encoder::u(at, quint64(list.size()));
    at = Encoder::u(at, quint64(list.size() - kept));
    for (qsizetype i = 0; i < kept; ++i)
        at = Codec::slot(at, list.at(i));
    out.done(at);
}

template <class Codec> bool readFullList(Decoder &in, typename Codec::Entry &entry)
{
    const qsizetype size = qsizetype(in.u());
    const qsizetype trailing = qsizetype(in.u());
    if (!in.ok || trailing > size || size > 1 << 24)
        return false;
    auto &list = Codec::slots(entry);
    list.clear();
    list.reserve(size);
    for (qsizetype i = 0; i < size - trailing && in.ok; ++i)
        list.append(Codec::slot(in));
    if (!in.ok)
        return false;
    list.insert(list.size(), trailing, Codec::trailing());
    return true;
}

// The changed slots: gaps between their indexes and their values.
template <class Codec>
void writeChangedSlots(Encoder &out, const typename Codec::Entry &entry,
                       const typename Codec::Entry &base, qsizetype changed)
{
    const auto &list = Codec::slots(entry);
    const auto &from = Codec::slots(base);
    char *at = out.room(10 + changed * (10 + Codec::maxSlotBytes));
    at = Encoder::u(at, quint64(changed));
    qsizetype previous = 0;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list.at(i) == from.at(i))
            continue;
        at = Codec::slot(Encoder::u(at, quint64(i - previous)), list.at(i));
        previous = i;
    }
    out.done(at);
}

// FNV-1a over the slots' numbers (not their bytes, so it is the same on every machine).
template <class Codec> quint64 listHash(const QList<typename Codec::Slot> &list)
{
    quint64 hash = 0xcbf29ce484222325ULL ^ quint64(list.size());
    for (const auto &slot : list)
        hash = Codec::mix(hash, slot);
    return hash ^ (hash >> 31);
}

// A removed entry: its numbers, and its list as the length and hash of what the documents hold.
template <class Codec> void writeRemoved(Encoder &out, const typename Codec::Entry &entry)
{
    Codec::fields(out, entry, allFields);
    out.number(quint64(Codec::slots(entry).size()));
    out.word(listHash<Codec>(Codec::slots(entry)));
}

// How each added entry's list goes: the same as its base's, its changed slots, or (planned here
// as `elsewhere`) a reference to a list the reader has by then, else in full. The references:
// a removed or kept entry of the documents (its index before the change, even), or an entry
// added earlier in this change (odd).
constexpr qsizetype elsewhere = -2; // and below: list number elsewhere - n
constexpr quint64 unresolved = ~quint64(0);

template <class Codec, class Hunks>
void writeHunks(Encoder &out, const Hunks &hunks, const QList<typename Codec::Entry> &after)
{
    using Entry = typename Codec::Entry;
    const Entry empty;
    // Per added entry: -1 its base's list, n >= 0 that many changed slots, or the number of a
    // list looked for elsewhere (encoded below -1).
    std::vector<qsizetype> plan;
    QHash<ListKey, qsizetype> wanted;
    std::vector<quint64> sources;
    for (const auto &hunk : hunks) {
        for (qsizetype t = 0; t < hunk.inserted.size(); ++t) {
            const Entry &entry = hunk.inserted.at(t);
            const Entry &base = t < hunk.removed.size() ? hunk.removed.at(t) : empty;
            const auto &list = Codec::slots(entry);
            const auto &from = Codec::slots(base);
            qsizetype changed = elsewhere;
            if (keyOf<Codec>(entry) == keyOf<Codec>(base)) {
                changed = -1;
            } else if (list.size() == from.size()) {
                changed = 0;
                for (qsizetype i = 0; i < list.size(); ++i)
                    changed += list.at(i) != from.at(i) ? 1 : 0;
                changed = changed == 0 ? -1 : changed * 4 <= list.size() ? changed : elsewhere;
            }
            if (changed == elsewhere && !list.isEmpty()) {
                const auto found = wanted.constFind(keyOf<Codec>(entry));
                if (found != wanted.constEnd()) {
                    changed = elsewhere - *found;
                } else {
                    changed = elsewhere - qsizetype(sources.size());
                    wanted.insert(keyOf<Codec>(entry), qsizetype(sources.size()));
                    sources.push_back(unresolved);
                }
            }
            plan.push_back(changed);
        }
    }
    qsizetype open = qsizetype(sources.size());
    const auto resolve = [&](const Entry &entry, qsizetype beforeIndex) {
        const auto found = wanted.constFind(keyOf<Codec>(entry));
        if (found != wanted.constEnd() && sources[size_t(*found)] == unresolved) {
            sources[size_t(*found)] = quint64(beforeIndex) * 2;
            --open;
        }
    };
    for (const auto &hunk : hunks) {
        for (qsizetype t = 0; t < hunk.removed.size() && open > 0; ++t)
            resolve(hunk.removed.at(t), hunk.oldAt + t);
    }
    // The kept entries: every place of the list after the change outside the added runs,
    // numbered as before the change.
    qsizetype position = 0;
    qsizetype shift = 0;
    for (qsizetype h = 0; h <= hunks.size() && open > 0; ++h) {
        const qsizetype until = h < hunks.size() ? hunks.at(h).newAt : after.size();
        for (; position < until && open > 0; ++position)
            resolve(after.at(position), position - shift);
        if (h < hunks.size()) {
            position = hunks.at(h).newAt + hunks.at(h).inserted.size();
            shift += hunks.at(h).inserted.size() - hunks.at(h).removed.size();
        }
    }

    quint64 added = 0;
    out.number(quint64(hunks.size()));
    for (const auto &hunk : hunks) {
        char *at = out.room(40);
        at = Encoder::u(at, quint64(hunk.oldAt));
        at = Encoder::u(at, quint64(hunk.newAt));
        at = Encoder::u(at, quint64(hunk.removed.size()));
        at = Encoder::u(at, quint64(hunk.inserted.size()));
        out.done(at);
        for (const Entry &entry : hunk.removed)
            writeRemoved<Codec>(out, entry);
        for (qsizetype t = 0; t < hunk.inserted.size(); ++t, ++added) {
            const Entry &entry = hunk.inserted.at(t);
            const Entry &base = t < hunk.removed.size() ? hunk.removed.at(t) : empty;
            const qsizetype changed = plan[size_t(added)];
            unsigned mode = changed == -1 ? SameList : changed >= 0 ? ChangedSlots : FullList;
            quint64 source = unresolved;
            if (changed < elsewhere || (changed == elsewhere && !Codec::slots(entry).isEmpty())) {
                quint64 &known = sources[size_t(elsewhere - changed)];
                if (known == unresolved)
                    known = added * 2 + 1; // written in full here: later copies refer to it
                else
                    source = known;
            }
            if (source != unresolved)
                mode = ReferencedList;
            const unsigned differs = Codec::differing(entry, base);
            char *flags = out.room(1);
            *flags = char(differs | (mode << listModeShift));
            out.done(flags + 1);
            Codec::fields(out, entry, differs);
            if (mode == ReferencedList)
                out.number(source);
            else if (mode == ChangedSlots)
                writeChangedSlots<Codec>(out, entry, base, changed);
            else if (mode == FullList)
                writeFullList<Codec>(out, entry);
        }
    }
}

} // namespace

// Reads and checks the hunks of one list; what waits for the documents goes to `removedLists`
// and `recipes`.
struct ChangeCodec
{
    template <class Codec, class Hunks, class Recipes>
    static bool readHunks(Decoder &in, Hunks &hunks,
                          QList<DocumentChange::RemovedList> &removedLists, Recipes &recipes)
    {
        using Entry = typename Codec::Entry;
        using Recipe = typename Recipes::value_type;
        const qsizetype count = in.count();
        hunks.reserve(count);
        // Added entries in order, for references to them.
        QList<std::pair<qsizetype, qsizetype>> added;
        qsizetype oldEnd = 0;
        qsizetype growth = 0;
        for (qsizetype h = 0; h < count && in.ok; ++h) {
            typename Hunks::value_type hunk;
            hunk.oldAt = qsizetype(in.u());
            hunk.newAt = qsizetype(in.u());
            const qsizetype removed = in.count();
            const qsizetype inserted = in.count();
            // In order, apart, and each one's place after the change follows from those before.
            if (!in.ok || hunk.oldAt < oldEnd || hunk.newAt != hunk.oldAt + growth)
                return false;
            oldEnd = hunk.oldAt + removed;
            growth += inserted - removed;
            const qsizetype firstRemoved = removedLists.size();
            hunk.removed.resize(removed);
            for (Entry &entry : hunk.removed) {
                Codec::fields(in, entry, allFields);
                DocumentChange::RemovedList list;
                list.size = qsizetype(in.u());
                list.hash = in.word();
                if (!in.ok)
                    return false;
                removedLists.append(list);
            }
            hunk.inserted.resize(inserted);
            for (qsizetype t = 0; t < inserted && in.ok; ++t) {
                Entry &entry = hunk.inserted[t];
                if (t < removed)
                    entry = hunk.removed.at(t);
                const auto flags = unsigned(in.u());
                Codec::fields(in, entry, flags & allFields);
                Recipe recipe;
                recipe.hunk = h;
                recipe.entry = t;
                switch ((flags >> listModeShift) & 3u) {
                case SameList:
                case ChangedSlots: {
                    const bool changes = ((flags >> listModeShift) & 3u) == ChangedSlots;
                    // An added entry without one at its place has the empty list as its base.
                    if (t >= removed) {
                        if (changes)
                            return false;
                        break;
                    }
                    const qsizetype size = removedLists.at(firstRemoved + t).size;
                    const qsizetype changed = changes ? in.count() : 0;
                    qsizetype index = 0;
                    for (qsizetype n = 0; n < changed && in.ok; ++n) {
                        index += qsizetype(in.u());
                        if (index < 0 || index >= size)
                            return false;
                        recipe.changes.append({index, Codec::slot(in)});
                    }
                    recipes.append(recipe);
                    break;
                }
                case FullList:
                    if (!readFullList<Codec>(in, entry))
                        return false;
                    break;
                default: {
                    const quint64 source = in.u();
                    recipe.index = qsizetype(source / 2);
                    if (source & 1u) {
                        if (recipe.index >= added.size())
                            return false;
                        recipe.kind = Recipe::AddedList;
                        std::tie(recipe.index, recipe.fromEntry) = added.at(recipe.index);
                    } else {
                        recipe.kind = Recipe::DocumentList;
                    }
                    recipes.append(recipe);
                }
                }
                added.append({h, t});
            }
            hunks.append(std::move(hunk));
        }
        return in.ok;
    }

    static bool read(const QByteArray &bytes, DocumentChange &change)
    {
        Decoder in(bytes);
        DocumentChange read;
        read.listsOpen = true;
        const qsizetype textCount = in.count();
        for (qsizetype i = 0; i < textCount && in.ok; ++i) {
            DocumentChange::TextChange text;
            text.field = int(in.u());
            text.before = in.text();
            text.after = in.text();
            if (text.field < 0 || text.field >= DocumentChange::TextFieldCount)
                return false;
            read.texts.append(text);
        }
        if (!in.ok ||
            !readHunks<RecordCodec>(in, read.recordHunks, read.removedRecordLists,
                                    read.recordRecipes) ||
            !readHunks<BoxCodec>(in, read.boxHunks, read.removedBoxLists, read.boxRecipes) ||
            !in.atEnd())
            return false;
        change = std::move(read);
        return true;
    }

    template <class Codec, class Hunks, class Recipes>
    static bool hunksApply(const Hunks &hunks, bool listsOpen,
                           const QList<DocumentChange::RemovedList> &removedLists,
                           const Recipes &recipes, const QList<typename Codec::Entry> &list)
    {
        qsizetype removed = 0;
        for (const auto &hunk : hunks) {
            if (hunk.oldAt + hunk.removed.size() > list.size())
                return false;
            for (qsizetype t = 0; t < hunk.removed.size(); ++t, ++removed) {
                const auto &held = list.at(hunk.oldAt + t);
                if (!listsOpen) {
                    if (!(hunk.removed.at(t) == held))
                        return false;
                    continue;
                }
                const DocumentChange::RemovedList &expected = removedLists.at(removed);
                if (Codec::differing(hunk.removed.at(t), held) != 0 ||
                    Codec::slots(held).size() != expected.size ||
                    listHash<Codec>(Codec::slots(held)) != expected.hash)
                    return false;
            }
        }
        using Recipe = typename Recipes::value_type;
        return std::all_of(recipes.cbegin(), recipes.cend(), [&](const Recipe &recipe) {
            return recipe.kind != Recipe::DocumentList || recipe.index < list.size();
        });
    }

    // The removed entries' lists from the documents, then the added entries' recipes in order.
    template <class Codec, class Hunks, class Recipes>
    static void fillLists(Hunks &hunks, const Recipes &recipes,
                          const QList<typename Codec::Entry> &list)
    {
        using Recipe = typename Recipes::value_type;
        for (auto &hunk : hunks) {
            for (qsizetype t = 0; t < hunk.removed.size(); ++t)
                Codec::slots(hunk.removed[t]) = Codec::slots(list.at(hunk.oldAt + t));
        }
        for (const Recipe &recipe : recipes) {
            auto &into = Codec::slots(hunks[recipe.hunk].inserted[recipe.entry]);
            switch (recipe.kind) {
            case Recipe::BaseList:
                into = Codec::slots(hunks.at(recipe.hunk).removed.at(recipe.entry));
                for (const auto &[index, slot] : recipe.changes)
                    into[index] = slot;
                break;
            case Recipe::DocumentList:
                into = Codec::slots(list.at(recipe.index));
                break;
            case Recipe::AddedList:
                into = Codec::slots(hunks.at(recipe.index).inserted.at(recipe.fromEntry));
                break;
            }
        }
    }
};

QByteArray DocumentChange::toBytes(const MonsterDropData &monsters,
                                   const DropBoxContentData &boxes) const
{
    Encoder encoder(storedBytes() / 2);
    encoder.number(quint64(texts.size()));
    for (const TextChange &text : texts) {
        encoder.number(quint64(text.field));
        encoder.text(text.before);
        encoder.text(text.after);
    }
    writeHunks<RecordCodec>(encoder, recordHunks, monsters.records);
    writeHunks<BoxCodec>(encoder, boxHunks, boxes.boxes);
    return encoder.take();
}

bool DocumentChange::fromBytes(const QByteArray &bytes, DocumentChange &change)
{
    return ChangeCodec::read(bytes, change);
}

void DocumentChange::write(QDataStream &out, const MonsterDropData &monsters,
                           const DropBoxContentData &boxes) const
{
    out << toBytes(monsters, boxes);
}

bool DocumentChange::read(QDataStream &in, DocumentChange &change)
{
    QByteArray bytes;
    in >> bytes;
    return in.status() == QDataStream::Ok && fromBytes(bytes, change);
}

bool DocumentChange::appliesTo(const MonsterDropData &monsters,
                               const DropBoxContentData &boxes) const
{
    for (const TextChange &text : texts) {
        const QString &now = text.field == MonsterHeader1   ? monsters.headerLine1
                             : text.field == MonsterHeader2 ? monsters.headerLine2
                             : text.field == BoxHeader1     ? boxes.headerLine1
                             : text.field == BoxHeader2     ? boxes.headerLine2
                                                            : boxes.commentBlock;
        if (now != text.before)
            return false;
    }
    return ChangeCodec::hunksApply<RecordCodec>(recordHunks, listsOpen, removedRecordLists,
                                                recordRecipes, monsters.records) &&
           ChangeCodec::hunksApply<BoxCodec>(boxHunks, listsOpen, removedBoxLists, boxRecipes,
                                             boxes.boxes);
}

bool DocumentChange::bindTo(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    if (!appliesTo(monsters, boxes))
        return false;
    if (listsOpen) {
        ChangeCodec::fillLists<RecordCodec>(recordHunks, recordRecipes, monsters.records);
        ChangeCodec::fillLists<BoxCodec>(boxHunks, boxRecipes, boxes.boxes);
        listsOpen = false;
        removedRecordLists.clear();
        removedBoxLists.clear();
        recordRecipes.clear();
        boxRecipes.clear();
    }
    return true;
}
