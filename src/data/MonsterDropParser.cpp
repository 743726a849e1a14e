#include "data/MonsterDropParser.h"

#include "data/TextScan.h"

#include <QDebug>
#include <QFile>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>

namespace {

struct IsTab
{
    template <typename Char> bool operator()(Char c) const { return c == Char('\t'); }
};

// Fields are separated by single TABs; empty fields count. Other white space belongs to the field.
template <typename Char>
bool parseFields(const Char *p, const Char *end, int slotCount, MonsterDropConfig &record,
                 QString &error)
{
    // Three fields need two TABs; the count is checked before any number.
    int tabs = 0;
    for (const Char *q = p; q < end && tabs < 2; ++q)
        tabs += *q == Char('\t');
    if (tabs < 2) {
        error = QStringLiteral("字段数量不足");
        return false;
    }
    if (!TextScan::scanInt(p, end, IsTab(), record.monsterId)) {
        error = QStringLiteral("怪物ID解析失败");
        return false;
    }
    ++p;
    if (!TextScan::scanInt(p, end, IsTab(), record.mValue)) {
        error = QStringLiteral("Mvalue解析失败");
        return false;
    }
    ++p;
    if (!TextScan::scanInt(p, end, IsTab(), record.dropType)) {
        error = QStringLiteral("掉落类型解析失败");
        return false;
    }
    const int count = std::max(slotCount, 0);
    record.dropBoxIds.clear();
    record.dropBoxIds.reserve(count);
    // p stands on the TAB before the next field, or at the end.
    while (record.dropBoxIds.size() < count && p < end) {
        ++p;
        int boxId = -1;
        if (!TextScan::scanInt(p, end, IsTab(), boxId))
            boxId = -1;
        record.dropBoxIds.append(boxId);
    }
    while (record.dropBoxIds.size() < count)
        record.dropBoxIds.append(-1);
    return true;
}

qsizetype maxLineLength(const MonsterDropConfig &record)
{
    // Eleven characters and one separator per number at most.
    return 12 * (3 + record.dropBoxIds.size());
}

char *writeLine(char *out, const MonsterDropConfig &record)
{
    out = TextScan::writeDecimal(out, record.monsterId);
    *out++ = '\t';
    out = TextScan::writeDecimal(out, record.mValue);
    *out++ = '\t';
    out = TextScan::writeDecimal(out, record.dropType);
    for (int id : record.dropBoxIds) {
        *out++ = '\t';
        out = TextScan::writeDecimal(out, id);
    }
    return out;
}

bool writeDocument(QIODevice &device, const MonsterDropData &data)
{
    const QString head =
        TextScan::readableHead(data.headerLine1 + u'\n' + data.headerLine2 + u'\n');
    TextScan::ChunkWriter writer(device);
    if (TextScan::systemEncodingIsAsciiCompatible()) {
        // Number lines are the same bytes in the system encoding: no text in between.
        writer.append(TextScan::encodeSystem(head));
        for (const MonsterDropConfig &record : data.records) {
            char *out = writeLine(writer.room(maxLineLength(record) + 1), record);
            *out++ = '\n';
            writer.done(out);
        }
    } else {
        QString text = head;
        QByteArray line;
        for (const MonsterDropConfig &record : data.records) {
            line.resize(maxLineLength(record));
            line.truncate(writeLine(line.data(), record) - line.data());
            text += QLatin1String(line) + u'\n';
        }
        writer.append(TextScan::encodeSystem(text));
    }
    return writer.finish();
}

QString writeError(const QString &reason)
{
    return QStringLiteral("无法打开文件：%1").arg(reason);
}

// Reads lines into a fresh document that replaces `data` only when every line parsed.
class DocumentReader
{
public:
    explicit DocumentReader(int slots) : slotCount(slots) {}

    bool inHeader() const { return lineNumber < 2; }

    void header(QStringView text)
    {
        ++lineNumber;
        (lineNumber == 1 ? loaded.headerLine1 : loaded.headerLine2) = text.toString();
    }

    // A line from the third on: the whole line and its trimmed form, of either character width.
    template <typename Char>
    bool body(const Char *begin, const Char *end, const Char *trimmedBegin, const Char *trimmedEnd,
              QString &error)
    {
        ++lineNumber;
        if (trimmedBegin == trimmedEnd || *trimmedBegin == Char('#'))
            return true;
        MonsterDropConfig record;
        QString lineError;
        if (!parseFields(begin, end, slotCount, record, lineError)) {
            error = QStringLiteral("第 %1 行解析失败：%2").arg(lineNumber).arg(lineError);
            qDebug() << "[MonsterDropParser] 解析失败 -" << error;
            return false;
        }
        loaded.records.append(std::move(record));
        if (loaded.records.size() <= 5) {
            const MonsterDropConfig &added = loaded.records.constLast();
            qDebug() << "[MonsterDropParser] 加载怪物掉落 - ID:" << added.monsterId
                     << "MValue:" << added.mValue << "掉落类型:" << added.dropType;
        }
        return true;
    }

    bool textLine(QStringView text)
    {
        if (inHeader()) {
            header(text);
            return true;
        }
        const QStringView trimmed = text.trimmed();
        return body(text.utf16(), text.utf16() + text.size(), trimmed.utf16(),
                    trimmed.utf16() + trimmed.size(), error);
    }

    bool asciiLine(QByteArrayView line)
    {
        if (inHeader()) {
            header(QString::fromLatin1(line));
            return true;
        }
        const QByteArrayView trimmed = TextScan::trimmed(line);
        return body(line.data(), line.data() + line.size(), trimmed.data(),
                    trimmed.data() + trimmed.size(), error);
    }

    QString error;

    void finish(MonsterDropData &data)
    {
        if (loaded.records.capacity() > loaded.records.size())
            loaded.records.squeeze();
        qDebug() << "[MonsterDropParser] 掉落配置加载完成 - 总行数:" << lineNumber
                 << "有效掉落:" << loaded.records.size();
        data = std::move(loaded);
    }

private:
    int slotCount;
    int lineNumber = 0;
    MonsterDropData loaded;
};

bool readDocument(QIODevice &device, bool dropCarriageReturns, int slotCount, MonsterDropData &data,
                  QString &error)
{
    DocumentReader reader(slotCount);
    switch (TextScan::forEachDeviceLine(device, dropCarriageReturns, reader)) {
    case TextScan::ReadResult::Failed:
        // A failing disk or share must not pass for the end of the file.
        error = QStringLiteral("读取文件失败：%1").arg(device.errorString());
        qDebug() << "[MonsterDropParser] 错误 -" << error;
        return false;
    case TextScan::ReadResult::Refused:
        error = reader.error;
        return false;
    case TextScan::ReadResult::Done:
        break;
    }
    reader.finish(data);
    return true;
}

} // namespace

MonsterDropParser::MonsterDropParser(int boxSlotCount) : slotCount(boxSlotCount) {}

bool MonsterDropParser::parseLine(const QString &line, MonsterDropConfig &record,
                                  QString &error) const
{
    return parseFields(line.utf16(), line.utf16() + line.size(), slotCount, record, error);
}

QString MonsterDropParser::formatLine(const MonsterDropConfig &record) const
{
    QByteArray bytes(maxLineLength(record), Qt::Uninitialized);
    bytes.truncate(writeLine(bytes.data(), record) - bytes.data());
    return QString::fromLatin1(bytes);
}

bool MonsterDropParser::read(QIODevice &device, MonsterDropData &data, QString &error) const
{
    return readDocument(device, device.isTextModeEnabled(), slotCount, data, error);
}

bool MonsterDropParser::load(const QString &path, MonsterDropData &data, QString &error) const
{
    qDebug() << "[MonsterDropParser] 开始加载掉落配置:" << path;
    QFile file(path);
    // Opened in binary: CRs are dropped after decoding, as a text-mode read would.
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("无法打开文件：%1").arg(file.errorString());
        qDebug() << "[MonsterDropParser] 错误 - 无法打开文件:" << path;
        return false;
    }
    return readDocument(file, true, slotCount, data, error);
}

bool MonsterDropParser::write(QIODevice &device, const MonsterDropData &data, QString &error) const
{
    if (!writeDocument(device, data)) {
        error = writeError(device.errorString());
        return false;
    }
    return true;
}

bool MonsterDropParser::save(const QString &path, const MonsterDropData &data, QString &error) const
{
    // Written to a temporary file and moved into place only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = QStringLiteral("无法打开文件：%1").arg(file.errorString());
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
