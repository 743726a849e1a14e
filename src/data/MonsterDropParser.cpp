#include "data/MonsterDropParser.h"

#include "data/TextScan.h"

#include <QDebug>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>

namespace {

// Splits a line at TAB, keeping empty fields.
struct TabFields
{
    const char16_t *p;
    const char16_t *end;
    bool more = true;

    explicit TabFields(QStringView line) : p(line.utf16()), end(line.utf16() + line.size()) {}

    bool next(const char16_t *&fieldBegin, const char16_t *&fieldEnd)
    {
        if (!more)
            return false;
        fieldBegin = p;
        while (p < end && *p != u'\t')
            ++p;
        fieldEnd = p;
        if (p < end)
            ++p;
        else
            more = false;
        return true;
    }
};

bool parseView(QStringView line, int slotCount, MonsterDropConfig &record, QString &error)
{
    // Three fields need two TABs; the count is checked before any number.
    int tabs = 0;
    for (const char16_t *p = line.utf16(), *end = p + line.size(); p < end && tabs < 2; ++p)
        tabs += *p == u'\t';
    if (tabs < 2) {
        error = QStringLiteral("字段数量不足");
        return false;
    }
    TabFields fields(line);
    const char16_t *b = nullptr, *e = nullptr;
    fields.next(b, e);
    if (!TextScan::toInt(b, e, record.monsterId)) {
        error = QStringLiteral("怪物ID解析失败");
        return false;
    }
    fields.next(b, e);
    if (!TextScan::toInt(b, e, record.mValue)) {
        error = QStringLiteral("Mvalue解析失败");
        return false;
    }
    fields.next(b, e);
    if (!TextScan::toInt(b, e, record.dropType)) {
        error = QStringLiteral("掉落类型解析失败");
        return false;
    }
    const int count = std::max(slotCount, 0);
    record.dropBoxIds.clear();
    record.dropBoxIds.reserve(count);
    while (record.dropBoxIds.size() < count && fields.next(b, e)) {
        int boxId = -1;
        if (!TextScan::toInt(b, e, boxId))
            boxId = -1;
        record.dropBoxIds.append(boxId);
    }
    while (record.dropBoxIds.size() < count)
        record.dropBoxIds.append(-1);
    return true;
}

qsizetype lineLength(const MonsterDropConfig &record)
{
    qsizetype length = TextScan::decimalLength(record.monsterId) + 1 +
                       TextScan::decimalLength(record.mValue) + 1 +
                       TextScan::decimalLength(record.dropType);
    for (int id : record.dropBoxIds)
        length += 1 + TextScan::decimalLength(id);
    return length;
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

// The data lines, each followed by LF, as ASCII bytes.
QByteArray dataLines(const MonsterDropData &data)
{
    qsizetype total = 0;
    for (const MonsterDropConfig &record : data.records)
        total += lineLength(record) + 1;
    QByteArray bytes(total, Qt::Uninitialized);
    char *out = bytes.data();
    for (const MonsterDropConfig &record : data.records) {
        out = writeLine(out, record);
        *out++ = '\n';
    }
    return bytes;
}

QByteArray encodeDocument(const MonsterDropData &data)
{
    const QString headers = data.headerLine1 + u'\n' + data.headerLine2 + u'\n';
    if (TextScan::systemEncodingIsAsciiCompatible())
        return TextScan::encodeSystem(headers) + dataLines(data);
    return TextScan::encodeSystem(QString(headers + QString::fromLatin1(dataLines(data))));
}

QString writeError(const QString &reason)
{
    return QStringLiteral("无法打开文件：%1").arg(reason);
}

} // namespace

MonsterDropParser::MonsterDropParser(int boxSlotCount) : slotCount(boxSlotCount) {}

bool MonsterDropParser::parseLine(const QString &line, MonsterDropConfig &record,
                                  QString &error) const
{
    return parseView(line, slotCount, record, error);
}

QString MonsterDropParser::formatLine(const MonsterDropConfig &record) const
{
    QByteArray bytes(lineLength(record), Qt::Uninitialized);
    writeLine(bytes.data(), record);
    return QString::fromLatin1(bytes);
}

static bool readText(QStringView text, int slotCount, MonsterDropData &data, QString &error)
{
    // Filled aside and handed over only when every line parsed: a failed load changes nothing.
    MonsterDropData loaded;
    loaded.records.reserve(text.count(u'\n') + 1);
    TextScan::LineReader lines(text);
    QStringView line;
    int lineNumber = 0;
    int recordCount = 0;
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
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        MonsterDropConfig record;
        QString lineError;
        if (!parseView(line, slotCount, record, lineError)) {
            error = QStringLiteral("第 %1 行解析失败：%2").arg(lineNumber).arg(lineError);
            qDebug() << "[MonsterDropParser] 解析失败 -" << error;
            return false;
        }
        loaded.records.append(std::move(record));
        ++recordCount;
        if (recordCount <= 5) {
            const MonsterDropConfig &added = loaded.records.constLast();
            qDebug() << "[MonsterDropParser] 加载怪物掉落 - ID:" << added.monsterId
                     << "MValue:" << added.mValue << "掉落类型:" << added.dropType;
        }
    }
    if (loaded.records.capacity() > loaded.records.size() + loaded.records.size() / 8 + 16)
        loaded.records.squeeze();
    qDebug() << "[MonsterDropParser] 掉落配置加载完成 - 总行数:" << lineNumber
             << "有效掉落:" << recordCount;
    data = std::move(loaded);
    return true;
}

bool MonsterDropParser::read(QIODevice &device, MonsterDropData &data, QString &error) const
{
    return readText(TextScan::readAllText(device), slotCount, data, error);
}

bool MonsterDropParser::load(const QString &path, MonsterDropData &data, QString &error) const
{
    qDebug() << "[MonsterDropParser] 开始加载掉落配置:" << path;
    QString text;
    QString openError;
    if (!TextScan::readTextFile(path, text, openError)) {
        error = QStringLiteral("无法打开文件：%1").arg(openError);
        qDebug() << "[MonsterDropParser] 错误 - 无法打开文件:" << path;
        return false;
    }
    return readText(text, slotCount, data, error);
}

bool MonsterDropParser::write(QIODevice &device, const MonsterDropData &data, QString &error) const
{
    const QByteArray bytes = encodeDocument(data);
    if (device.write(bytes) != bytes.size()) {
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
