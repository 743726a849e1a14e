#include "data/MonsterDropParser.h"

#include "data/DropFile.h"
#include "data/TextScan.h"

#include <QCoreApplication>
#include <QDebug>
#include <QIODevice>

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
        error = QCoreApplication::translate("Lootwright", "字段数量不足");
        return false;
    }
    if (!TextScan::scanInt(p, end, IsTab(), record.monsterId)) {
        error = QCoreApplication::translate("Lootwright", "怪物ID解析失败");
        return false;
    }
    ++p;
    if (!TextScan::scanInt(p, end, IsTab(), record.mValue)) {
        error = QCoreApplication::translate("Lootwright", "Mvalue解析失败");
        return false;
    }
    ++p;
    if (!TextScan::scanInt(p, end, IsTab(), record.dropType)) {
        error = QCoreApplication::translate("Lootwright", "掉落类型解析失败");
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

// Built when used, so the texts are translated.
DropFile::Texts texts()
{
    return {QCoreApplication::translate("Lootwright", "无法打开文件：%1"),
            QCoreApplication::translate("Lootwright", "读取文件失败：%1"),
            QCoreApplication::translate("Lootwright", "无法打开文件：%1"),
            QCoreApplication::translate("Lootwright", "无法写入文件：%1"),
            false,
            "[MonsterDropParser]"};
}

bool writeDocument(QIODevice &device, const MonsterDropData &data)
{
    return DropFile::writeDocument(device, data.headerLine1 + u'\n' + data.headerLine2 + u'\n',
                                   data.records, maxLineLength, writeLine);
}

// Lines from the third on into a fresh document that replaces `data` only when every line parsed.
class DocumentReader
{
public:
    explicit DocumentReader(int slots) : slotCount(slots) {}

    // A line from the third on: the whole line and its trimmed form, of either character width.
    template <typename Char>
    bool body(const Char *begin, const Char *end, const Char *trimmedBegin, const Char *trimmedEnd,
              int lineNumber)
    {
        if (trimmedBegin == trimmedEnd || *trimmedBegin == Char('#'))
            return true;
        MonsterDropConfig record;
        QString lineError;
        if (!parseFields(begin, end, slotCount, record, lineError)) {
            error = QCoreApplication::translate("Lootwright", "第 %1 行解析失败：%2")
                        .arg(lineNumber)
                        .arg(lineError);
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

    bool textLine(QStringView text, int lineNumber)
    {
        const QStringView trimmed = text.trimmed();
        return body(text.utf16(), text.utf16() + text.size(), trimmed.utf16(),
                    trimmed.utf16() + trimmed.size(), lineNumber);
    }

    bool asciiLine(QByteArrayView line, int lineNumber)
    {
        const QByteArrayView trimmed = TextScan::trimmed(line);
        return body(line.data(), line.data() + line.size(), trimmed.data(),
                    trimmed.data() + trimmed.size(), lineNumber);
    }

    QString error;
    MonsterDropData loaded;

private:
    int slotCount;
};

bool readDocument(QIODevice &device, bool dropCarriageReturns, int slotCount, MonsterDropData &data,
                  QString &error)
{
    DocumentReader reader(slotCount);
    MonsterDropData &loaded = reader.loaded;
    int lines = 0;
    if (!DropFile::readLines(device, dropCarriageReturns, texts(), loaded.headerLine1,
                             loaded.headerLine2, reader, error, lines))
        return false;
    if (loaded.records.capacity() > loaded.records.size())
        loaded.records.squeeze();
    qDebug() << "[MonsterDropParser] 掉落配置加载完成 - 总行数:" << lines
             << "有效掉落:" << loaded.records.size();
    data = std::move(loaded);
    return true;
}

} // namespace

MonsterDropParser::MonsterDropParser(int boxSlotCount) : slotCount(boxSlotCount) {}

bool MonsterDropParser::read(QIODevice &device, MonsterDropData &data, QString &error) const
{
    return readDocument(device, device.isTextModeEnabled(), slotCount, data, error);
}

bool MonsterDropParser::load(const QString &path, MonsterDropData &data, QString &error,
                             FileStamp *stamp) const
{
    qDebug() << "[MonsterDropParser] 开始加载掉落配置:" << path;
    return DropFile::load(
        path, texts(),
        [&](QIODevice &file) { return readDocument(file, true, slotCount, data, error); }, error,
        stamp);
}

bool MonsterDropParser::write(QIODevice &device, const MonsterDropData &data, QString &error) const
{
    return DropFile::write(
        device, texts(), [&](QIODevice &target) { return writeDocument(target, data); }, error);
}

bool MonsterDropParser::writeChecked(CheckedFile &file, const MonsterDropData &data,
                                     QString &error) const
{
    return DropFile::writeChecked(
        file, texts(), [&](QIODevice &target) { return writeDocument(target, data); }, error);
}

bool MonsterDropParser::save(const QString &path, const MonsterDropData &data, QString &error) const
{
    return DropFile::save(
        path, texts(), [&](QIODevice &target) { return writeDocument(target, data); }, error);
}
