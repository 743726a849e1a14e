#include "data/DropBoxContentParser.h"

#include "data/TextScan.h"

#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace {

// Splits at runs of the white space that QRegularExpression("\\s+") matches without Unicode
// properties: TAB, LF, VT, FF, CR and space. Empty pieces never appear.
struct BlankFields
{
    const char16_t *p;
    const char16_t *end;

    explicit BlankFields(QStringView line) : p(line.utf16()), end(line.utf16() + line.size()) {}

    bool next(const char16_t *&fieldBegin, const char16_t *&fieldEnd)
    {
        while (p < end && TextScan::isAsciiSpace(*p))
            ++p;
        if (p == end)
            return false;
        fieldBegin = p;
        while (p < end && !TextScan::isAsciiSpace(*p))
            ++p;
        fieldEnd = p;
        return true;
    }
};

bool parseView(QStringView line, int slotCount, DropBoxConfig &box, QString &error)
{
    BlankFields fields(line);
    const char16_t *begin[4];
    const char16_t *end[4];
    int count = 0;
    while (count < 4 && fields.next(begin[count], end[count]))
        ++count;
    if (count < 4) {
        error = QStringLiteral("列数过少: %1").arg(count);
        return false;
    }
    if (!TextScan::toInt(begin[0], end[0], box.boxId)) {
        error = QStringLiteral("ID 解析失败");
        return false;
    }
    if (!TextScan::toInt(begin[1], end[1], box.boxValue)) {
        error = QStringLiteral("BoxValue 解析失败");
        return false;
    }
    if (!TextScan::toInt(begin[2], end[2], box.notifyId)) {
        error = QStringLiteral("NotifyId 解析失败");
        return false;
    }
    if (!TextScan::toInt(begin[3], end[3], box.forceOpenFlag)) {
        error = QStringLiteral("ForceOpenFlag 解析失败");
        return false;
    }
    const int slots = std::max(slotCount, 0);
    box.items.clear();
    box.items.reserve(slots); // exact size; resize alone would leave growth room
    box.items.resize(slots);
    DropBoxItem *item = box.items.data();
    const char16_t *b = nullptr, *e = nullptr;
    bool more = true;
    for (int n = 1; n <= slots; ++n, ++item) {
        if (more && (more = fields.next(b, e))) {
            if (!TextScan::toInt(b, e, item->itemId)) {
                error = QStringLiteral("ItemId 解析失败（槽 %1）").arg(n);
                return false;
            }
        } else {
            item->itemId = -1;
        }
        if (more && (more = fields.next(b, e))) {
            if (!TextScan::toInt(b, e, item->level)) {
                error = QStringLiteral("Level 解析失败（槽 %1）").arg(n);
                return false;
            }
        } else {
            item->level = -1;
        }
    }
    return true;
}

qsizetype lineLength(const DropBoxConfig &box, int slotCount)
{
    qsizetype length =
        TextScan::decimalLength(box.boxId) + 1 + TextScan::decimalLength(box.boxValue) + 1 +
        TextScan::decimalLength(box.notifyId) + 1 + TextScan::decimalLength(box.forceOpenFlag);
    for (const DropBoxItem &item : box.items)
        length += 2 + TextScan::decimalLength(item.itemId) + TextScan::decimalLength(item.level);
    const qsizetype padding = std::max<qsizetype>(slotCount - box.items.size(), 0);
    return length + padding * 6; // " -1 -1"
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

QByteArray dataLines(const DropBoxContentData &data, int slotCount)
{
    qsizetype total = 0;
    for (const DropBoxConfig &box : data.boxes)
        total += lineLength(box, slotCount) + 1;
    QByteArray bytes(total, Qt::Uninitialized);
    char *out = bytes.data();
    for (const DropBoxConfig &box : data.boxes) {
        out = writeLine(out, box, slotCount);
        *out++ = '\n';
    }
    return bytes;
}

void appendPiece(QString &text, const QString &piece)
{
    // An empty header line is written as an empty line so it stays in its place on reading.
    text += piece;
    if (!piece.endsWith(u'\n'))
        text += u'\n';
}

QByteArray encodeDocument(const DropBoxContentData &data, int slotCount)
{
    QString head;
    appendPiece(head, data.headerLine1);
    appendPiece(head, data.headerLine2);
    if (!data.commentBlock.isEmpty())
        appendPiece(head, data.commentBlock);
    if (TextScan::systemEncodingIsAsciiCompatible())
        return TextScan::encodeSystem(head) + dataLines(data, slotCount);
    return TextScan::encodeSystem(QString(head + QString::fromLatin1(dataLines(data, slotCount))));
}

QString writeError(const QString &reason)
{
    return QStringLiteral("无法写入文件: %1").arg(reason);
}

bool readText(QStringView text, int slotCount, DropBoxContentData &data, QString &error)
{
    // Filled aside and handed over only when every line parsed: a failed load changes nothing.
    DropBoxContentData loaded;
    loaded.boxes.reserve(text.count(u'\n') + 1);
    TextScan::LineReader lines(text);
    QStringView line;
    int lineNumber = 0;
    while (lines.next(line)) {
        ++lineNumber;
        if (lineNumber == 1) {
            loaded.headerLine1 = line.toString();
            continue;
        }
        if (lineNumber == 2) {
            loaded.headerLine2 = line.toString();
            continue;
        }
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(u'#')) {
            if (!loaded.commentBlock.isEmpty())
                loaded.commentBlock += u'\n';
            loaded.commentBlock += line;
            continue;
        }
        DropBoxConfig box;
        QString lineError;
        if (!parseView(trimmed, slotCount, box, lineError)) {
            error = QStringLiteral("解析数据行失败（第 %1 行）：%2").arg(lineNumber).arg(lineError);
            return false;
        }
        loaded.boxes.append(std::move(box));
    }
    if (loaded.boxes.capacity() > loaded.boxes.size() + loaded.boxes.size() / 8 + 16)
        loaded.boxes.squeeze();
    data = std::move(loaded);
    return true;
}

} // namespace

DropBoxContentParser::DropBoxContentParser(int itemSlotCount) : slotCount(itemSlotCount) {}

bool DropBoxContentParser::parseLine(const QString &line, DropBoxConfig &box, QString &error) const
{
    return parseView(line, slotCount, box, error);
}

QString DropBoxContentParser::formatLine(const DropBoxConfig &box) const
{
    QByteArray bytes(lineLength(box, slotCount), Qt::Uninitialized);
    writeLine(bytes.data(), box, slotCount);
    return QString::fromLatin1(bytes);
}

bool DropBoxContentParser::read(QIODevice &device, DropBoxContentData &data, QString &error) const
{
    return readText(TextScan::readAllText(device), slotCount, data, error);
}

bool DropBoxContentParser::load(const QString &path, DropBoxContentData &data, QString &error) const
{
    QString text;
    QString openError;
    if (!TextScan::readTextFile(path, text, openError)) {
        error = QStringLiteral("无法打开文件: %1").arg(path);
        return false;
    }
    return readText(text, slotCount, data, error);
}

bool DropBoxContentParser::write(QIODevice &device, const DropBoxContentData &data,
                                 QString &error) const
{
    const QByteArray bytes = encodeDocument(data, slotCount);
    if (device.write(bytes) != bytes.size()) {
        error = writeError(device.errorString());
        return false;
    }
    return true;
}

bool DropBoxContentParser::save(const QString &path, const DropBoxContentData &data,
                                QString &error) const
{
    // Written to a temporary file and moved into place only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = QStringLiteral("无法写入文件: %1").arg(path);
        return false;
    }
    if (!write(file, data, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = writeError(file.errorString());
        return false;
    }
    return true;
}
