// The name tables: any bytes read without a fault, and the reader gives what the table rules
// give read the plain way (QTextStream on a text-mode device, QString::split, trimmed, toInt).
#include "FuzzSupport.h"
#include "data/NameResolver.h"

#include <QTextStream>

#include <algorithm>

namespace {

struct Plain
{
    QMap<int, QString> names;
    QMap<int, int> levels;
};

// idColumn/nameColumn as for the item tables; levelColumn >= 0 for the monster table.
Plain plainRead(QByteArray bytes, int idColumn, int nameColumn, int levelColumn)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly | QIODevice::Text);
    QTextStream in(&device);
    in.setEncoding(QStringConverter::System);
    const int fields = std::max({idColumn, nameColumn, levelColumn}) + 1;
    Plain plain;
    for (int lineNumber = 1; !in.atEnd(); ++lineNumber) {
        const QString line = in.readLine();
        if (lineNumber <= 2 || line.trimmed().isEmpty())
            continue;
        const QStringList field = line.split(u'\t');
        if (field.size() < fields)
            continue;
        bool ok = false;
        const int id = field.at(idColumn).trimmed().toInt(&ok);
        if (!ok || id < 1)
            continue;
        const QString name = field.at(nameColumn).trimmed();
        if (!name.isEmpty())
            plain.names[id] = name;
        if (levelColumn >= 0) {
            const int level = field.at(levelColumn).trimmed().toInt(&ok);
            if (ok)
                plain.levels[id] = level;
        }
    }
    return plain;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::silenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = FuzzSupport::bytesOf(data, size);
    NameResolver &names = NameResolver::instance();
    // GemInfo.txt, CommonItem.txt and EquipBase.txt.
    const int nameColumns[] = {7, 6, 10};
    for (int nameColumn : nameColumns) {
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        QMap<int, QString> read;
        QString error;
        if (!names.loadItemTable(device, 0, nameColumn, read, error))
            FuzzSupport::fail("an item table in memory does not load");
        if (read != plainRead(bytes, 0, nameColumn, -1).names)
            FuzzSupport::fail("the item table reader differs from the plain reading", bytes);
    }
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    QString error;
    if (!names.loadMonsterTable(device, error))
        FuzzSupport::fail("a monster table in memory does not load");
    const Plain plain = plainRead(bytes, 0, 1, 3);
    if (names.monsterNames != plain.names || names.monsterLevels != plain.levels)
        FuzzSupport::fail("the monster table reader differs from the plain reading", bytes);
    return 0;
}
