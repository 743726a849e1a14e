#include "data/DropBoxContentParser.h"

#include "data/DropFile.h"
#include "data/TextScan.h"

#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

using TextScan::isAsciiSpace;

// Fields are separated by runs of the white space that QRegularExpression("\\s+") matches
// without Unicode properties: TAB, LF, VT, FF, CR and space. Empty pieces never appear.
struct IsBlank
{
    template <typename Char> bool operator()(Char c) const { return isAsciiSpace(c); }
};

template <typename Char> void skipBlanks(const Char *&p, const Char *end)
{
    while (p < end && isAsciiSpace(*p))
        ++p;
}

template <typename Char>
bool parseFields(const Char *p, const Char *end, int slotCount, DropBoxConfig &box, QString &error)
{
    // The column count is checked before any number.
    int count = 0;
    for (const Char *q = p; count < 4;) {
        skipBlanks(q, end);
        if (q == end)
            break;
        ++count;
        while (q < end && !isAsciiSpace(*q))
            ++q;
    }
    if (count < 4) {
        error = QCoreApplication::translate("Lootwright", "列数过少: %1").arg(count);
        return false;
    }
    skipBlanks(p, end);
    if (!TextScan::scanInt(p, end, IsBlank(), box.boxId)) {
        error = QCoreApplication::translate("Lootwright", "ID 解析失败");
        return false;
    }
    skipBlanks(p, end);
    if (!TextScan::scanInt(p, end, IsBlank(), box.boxValue)) {
        error = QCoreApplication::translate("Lootwright", "BoxValue 解析失败");
        return false;
    }
    skipBlanks(p, end);
    if (!TextScan::scanInt(p, end, IsBlank(), box.notifyId)) {
        error = QCoreApplication::translate("Lootwright", "NotifyId 解析失败");
        return false;
    }
    skipBlanks(p, end);
    if (!TextScan::scanInt(p, end, IsBlank(), box.forceOpenFlag)) {
        error = QCoreApplication::translate("Lootwright", "ForceOpenFlag 解析失败");
        return false;
    }
    const int slots = std::max(slotCount, 0);
    box.items.clear();
    box.items.reserve(slots); // exact size; resize alone would leave growth room
    box.items.resize(slots);
    DropBoxItem *item = box.items.data();
    for (int n = 1; n <= slots; ++n, ++item) {
        skipBlanks(p, end);
        if (p == end)
            break; // the remaining slots keep their -1, -1
        if (!TextScan::scanInt(p, end, IsBlank(), item->itemId)) {
            error = QCoreApplication::translate("Lootwright", "ItemId 解析失败（槽 %1）").arg(n);
            return false;
        }
        skipBlanks(p, end);
        if (p == end)
            break;
        if (!TextScan::scanInt(p, end, IsBlank(), item->level)) {
            error = QCoreApplication::translate("Lootwright", "Level 解析失败（槽 %1）").arg(n);
            return false;
        }
    }
    return true;
}

qsizetype maxLineLength(const DropBoxConfig &box, int slotCount)
{
    // Eleven characters and one separator per number at most.
    return 12 * (4 + 2 * std::max<qsizetype>(box.items.size(), slotCount));
}

char *writeLine(char *out, const DropBoxConfig &box, int slotCount)
{
    out = TextScan::writeDecimal(out, box.boxId);
    *out++ = ' ';
    out = TextScan::writeDecimal(out, box.boxValue);
    *out++ = ' ';
    out = TextScan::writeDecimal(out, box.notifyId);
    *out++ = ' ';
    out = TextScan::writeDecimal(out, box.forceOpenFlag);
    for (const DropBoxItem &item : box.items) {
        *out++ = ' ';
        out = TextScan::writeDecimal(out, item.itemId);
        *out++ = ' ';
        out = TextScan::writeDecimal(out, item.level);
    }
    for (qsizetype i = box.items.size(); i < slotCount; ++i) {
        std::memcpy(out, " -1 -1", 6);
        out += 6;
    }
    return out;
}

void appendPiece(QString &text, const QString &piece)
{
    // An empty header line is written as an empty line so it stays in its place on reading.
    text += piece;
    if (!piece.endsWith(u'\n'))
        text += u'\n';
}

// Built when used, so the texts are translated.
DropFile::Texts texts()
{
    return {QCoreApplication::translate("Lootwright", "无法打开文件: %1"),
            QCoreApplication::translate("Lootwright", "读取文件失败: %1"),
            QCoreApplication::translate("Lootwright", "无法写入文件: %1"),
            QCoreApplication::translate("Lootwright", "无法写入文件: %1"),
            true,
            nullptr};
}

bool writeDocument(QIODevice &device, const DropBoxContentData &data, int slotCount)
{
    QString head;
    appendPiece(head, data.headerLine1);
    appendPiece(head, data.headerLine2);
    if (!data.commentBlock.isEmpty())
        appendPiece(head, data.commentBlock);
    return DropFile::writeDocument(
        device, head, data.boxes,
        [slotCount](const DropBoxConfig &box) { return maxLineLength(box, slotCount); },
        [slotCount](char *out, const DropBoxConfig &box) {
            return writeLine(out, box, slotCount);
        });
}

// Lines from the third on into a fresh document that replaces `data` only when every line parsed.
class DocumentReader
{
public:
    explicit DocumentReader(int slots) : slotCount(slots) {}

    // A line from the third on, given trimmed as characters of either width; `text` is the
    // untrimmed line, needed only when it is a comment.
    template <typename Char>
    bool body(QStringView text, const Char *begin, const Char *end, int lineNumber)
    {
        if (begin == end)
            return true;
        if (*begin == Char('#')) {
            if (!loaded.commentBlock.isEmpty())
                loaded.commentBlock += u'\n';
            loaded.commentBlock += text;
            return true;
        }
        DropBoxConfig box;
        QString lineError;
        if (!parseFields(begin, end, slotCount, box, lineError)) {
            error = QCoreApplication::translate("Lootwright", "解析数据行失败（第 %1 行）：%2")
                        .arg(lineNumber)
                        .arg(lineError);
            return false;
        }
        loaded.boxes.append(std::move(box));
        return true;
    }

    bool textLine(QStringView text, int lineNumber)
    {
        const QStringView trimmed = text.trimmed();
        return body(text, trimmed.utf16(), trimmed.utf16() + trimmed.size(), lineNumber);
    }

    bool asciiLine(QByteArrayView line, int lineNumber)
    {
        // Only a comment needs its text.
        const QByteArrayView trimmed = TextScan::trimmed(line);
        const QString comment = trimmed.startsWith('#') ? QString::fromLatin1(line) : QString();
        return body(comment, trimmed.data(), trimmed.data() + trimmed.size(), lineNumber);
    }

    QString error;
    DropBoxContentData loaded;

private:
    int slotCount;
};

bool readDocument(QIODevice &device, bool dropCarriageReturns, int slotCount,
                  DropBoxContentData &data, QString &error)
{
    DocumentReader reader(slotCount);
    DropBoxContentData &loaded = reader.loaded;
    int lines = 0;
    if (!DropFile::readLines(device, dropCarriageReturns, texts(), loaded.headerLine1,
                             loaded.headerLine2, reader, error, lines))
        return false;
    if (loaded.boxes.capacity() > loaded.boxes.size())
        loaded.boxes.squeeze();
    data = std::move(loaded);
    return true;
}

} // namespace

DropBoxContentParser::DropBoxContentParser(int itemSlotCount) : slotCount(itemSlotCount) {}

bool DropBoxContentParser::read(QIODevice &device, DropBoxContentData &data, QString &error) const
{
    return readDocument(device, device.isTextModeEnabled(), slotCount, data, error);
}

bool DropBoxContentParser::load(const QString &path, DropBoxContentData &data, QString &error,
                                FileStamp *stamp) const
{
    return DropFile::load(
        path, texts(),
        [&](QIODevice &file) { return readDocument(file, true, slotCount, data, error); }, error,
        stamp);
}

bool DropBoxContentParser::write(QIODevice &device, const DropBoxContentData &data,
                                 QString &error) const
{
    return DropFile::write(
        device, texts(), [&](QIODevice &target) { return writeDocument(target, data, slotCount); },
        error);
}

bool DropBoxContentParser::writeChecked(CheckedFile &file, const DropBoxContentData &data,
                                        QString &error) const
{
    return DropFile::writeChecked(
        file, texts(), [&](QIODevice &target) { return writeDocument(target, data, slotCount); },
        error);
}

bool DropBoxContentParser::save(const QString &path, const DropBoxContentData &data,
                                QString &error) const
{
    return DropFile::save(
        path, texts(), [&](QIODevice &target) { return writeDocument(target, data, slotCount); },
        error);
}
