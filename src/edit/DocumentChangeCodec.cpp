// The compact form of a DocumentChange for the recovery journal.
//
// Numbers are LEB128 varints (signed ones zigzagged), texts UTF-16 with their length. A change is
// its text changes, then the record hunks, then the box hunks; a hunk is oldAt, newAt, the
// removed and the inserted count, the removed entries in full (the replay compares them with the
// documents), then each inserted entry against the removed entry at the same place (or an empty
// entry): a flag byte says which fields differ and how the slot list is written: the same,
// changed slots only, in full, or a reference to a list the documents or this change already
// hold (unify's box copies share their items with the box they copy).
#include "edit/DocumentChange.h"

#include <QDataStream>
#include <QHash>
#include <algorithm>
#include <climits>
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

template <class Codec>
bool readChangedSlots(Decoder &in, typename Codec::Entry &entry, const typename Codec::Entry &base)
{
    auto &list = Codec::slots(entry);
    list = Codec::slots(base);
    const qsizetype changed = in.count();
    qsizetype index = 0;
    for (qsizetype n = 0; n < changed && in.ok; ++n) {
        index += qsizetype(in.u());
        if (index < 0 || index >= list.size())
            return false;
        list[index] = Codec::slot(in);
    }
    return in.ok;
}

template <class Codec> void writeEntry(Encoder &out, const typename Codec::Entry &entry)
{
    Codec::fields(out, entry, allFields);
    writeFullList<Codec>(out, entry);
}

template <class Codec> bool readEntry(Decoder &in, typename Codec::Entry &entry)
{
    Codec::fields(in, entry, allFields);
    return in.ok && readFullList<Codec>(in, entry);
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
            writeEntry<Codec>(out, entry);
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

// Reads and checks the hunks of one list; references to kept entries are left in `references`.
struct ChangeCodec
{
    template <class Codec, class Hunks>
    static bool readHunks(Decoder &in, Hunks &hunks,
                          QList<DocumentChange::ListReference> &references)
    {
        using Entry = typename Codec::Entry;
        const qsizetype count = in.count();
        hunks.reserve(count);
        const Entry empty;
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
            hunk.removed.resize(removed);
            for (Entry &entry : hunk.removed) {
                if (!readEntry<Codec>(in, entry))
                    return false;
            }
            hunk.inserted.resize(inserted);
            for (qsizetype t = 0; t < inserted && in.ok; ++t) {
                Entry &entry = hunk.inserted[t];
                const Entry &base = t < removed ? hunk.removed.at(t) : empty;
                entry = base;
                const auto flags = unsigned(in.u());
                Codec::fields(in, entry, flags & allFields);
                switch ((flags >> listModeShift) & 3u) {
                case SameList:
                    break;
                case ChangedSlots:
                    if (!readChangedSlots<Codec>(in, entry, base))
                        return false;
                    break;
                case FullList:
                    if (!readFullList<Codec>(in, entry))
                        return false;
                    break;
                default: {
                    const quint64 source = in.u();
                    const qsizetype index = qsizetype(source / 2);
                    if (source & 1u) {
                        if (index >= added.size())
                            return false;
                        const auto [fromHunk, fromEntry] = added.at(index);
                        Codec::slots(entry) =
                            Codec::slots(fromHunk == h ? hunk.inserted.at(fromEntry)
                                                       : hunks.at(fromHunk).inserted.at(fromEntry));
                    } else {
                        references.append({h, t, index});
                    }
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
        if (!in.ok || !readHunks<RecordCodec>(in, read.recordHunks, read.recordReferences) ||
            !readHunks<BoxCodec>(in, read.boxHunks, read.boxReferences) || !in.atEnd())
            return false;
        change = std::move(read);
        return true;
    }

    template <class Hunks, class Entry>
    static bool hunksApply(const Hunks &hunks,
                           const QList<DocumentChange::ListReference> &references,
                           const QList<Entry> &list)
    {
        for (const auto &hunk : hunks) {
            if (hunk.oldAt + hunk.removed.size() > list.size())
                return false;
            for (qsizetype t = 0; t < hunk.removed.size(); ++t) {
                if (!(hunk.removed.at(t) == list.at(hunk.oldAt + t)))
                    return false;
            }
        }
        return std::all_of(references.cbegin(), references.cend(),
                           [&](const DocumentChange::ListReference &reference) {
                               return reference.beforeIndex < list.size();
                           });
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
    return ChangeCodec::hunksApply(recordHunks, recordReferences, monsters.records) &&
           ChangeCodec::hunksApply(boxHunks, boxReferences, boxes.boxes);
}

bool DocumentChange::bindTo(const MonsterDropData &monsters, const DropBoxContentData &boxes)
{
    if (!appliesTo(monsters, boxes))
        return false;
    for (const ListReference &reference : std::as_const(recordReferences))
        recordHunks[reference.hunk].inserted[reference.entry].dropBoxIds =
            monsters.records.at(reference.beforeIndex).dropBoxIds;
    for (const ListReference &reference : std::as_const(boxReferences))
        boxHunks[reference.hunk].inserted[reference.entry].items =
            boxes.boxes.at(reference.beforeIndex).items;
    recordReferences.clear();
    boxReferences.clear();
    return true;
}
