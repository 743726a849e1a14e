#include "data/CheckedFile.h"

#include "data/FileSystemCalls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

CheckedFile::FaultHook &faultHook()
{
    static CheckedFile::FaultHook hook;
    return hook;
}

bool injected(CheckedFile::Step step, const QString &target, QString &reason)
{
    return faultHook() && !faultHook()(step, target, reason);
}

} // namespace

CheckedFile::CheckedFile(const QString &targetPath) : target(targetPath) {}

CheckedFile::~CheckedFile()
{
    file.close();
    if (!temp.isEmpty() && !released)
        QFile::remove(temp);
}

void CheckedFile::setFaultHook(FaultHook hook)
{
    faultHook() = std::move(hook);
}

QString CheckedFile::siblingName(const QString &targetPath, const QString &kind)
{
    const QFileInfo info(targetPath);
    return info.dir().filePath(
        QStringLiteral(".%1.%2.%3")
            .arg(info.fileName())
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
            .arg(kind));
}

bool CheckedFile::isSiblingOf(const QString &fileName, const QString &targetName)
{
    const QRegularExpression pattern(QStringLiteral("^\\.%1\\.[0-9a-f]{8}\\.(saving|kept)$")
                                         .arg(QRegularExpression::escape(targetName)));
    return pattern.match(fileName).hasMatch();
}

QString CheckedFile::readableReason(const QFileDevice &device)
{
    const QString text = device.errorString();
    if (!text.isEmpty() && text != QLatin1String("Unknown error"))
        return text;
    switch (device.error()) {
    case QFileDevice::ReadError:
        return QCoreApplication::translate("Lootwright", "读取出错");
    case QFileDevice::WriteError:
        return QCoreApplication::translate("Lootwright", "写入出错");
    case QFileDevice::ResourceError:
        return QCoreApplication::translate("Lootwright", "磁盘空间或系统资源不足");
    case QFileDevice::OpenError:
        return QCoreApplication::translate("Lootwright", "无法打开");
    case QFileDevice::RemoveError:
        return QCoreApplication::translate("Lootwright", "无法删除");
    case QFileDevice::RenameError:
        return QCoreApplication::translate("Lootwright", "无法重命名");
    case QFileDevice::ResizeError:
        return QCoreApplication::translate("Lootwright", "无法改变文件大小");
    case QFileDevice::PermissionsError:
        return QCoreApplication::translate("Lootwright", "没有权限");
    default:
        return QCoreApplication::translate("Lootwright", "文件操作失败（错误代码 %1）")
            .arg(int(device.error()));
    }
}

bool CheckedFile::fail(const QString &reason)
{
    why = reason;
    setErrorString(failureText());
    file.close();
    return false;
}

QString CheckedFile::failureText() const
{
    return QCoreApplication::translate("Lootwright", "%1（%2）").arg(target, why);
}

bool CheckedFile::open(OpenMode mode)
{
    QString reason;
    if (injected(Step::Create, target, reason))
        return fail(reason);
    // A random name that is already taken is drawn again.
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = siblingName(target, QStringLiteral("saving"));
        file.setFileName(temp);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return QIODevice::open(mode);
        if (!QFileInfo::exists(temp))
            break;
    }
    const QString reasonText = readableReason(file);
    temp.clear();
    return fail(reasonText);
}

qint64 CheckedFile::writeData(const char *data, qint64 size)
{
    if (!file.isOpen())
        return -1;
    // A short write is tried again once more, so that its reason is known.
    for (qint64 done = 0; done < size;) {
        const qint64 got = file.write(data + done, size - done);
        if (got <= 0) {
            fail(readableReason(file));
            return -1;
        }
        hash.addData(data + done, got);
        written += got;
        done += got;
    }
    return size;
}

bool CheckedFile::finish()
{
    if (finished)
        return true;
    if (!file.isOpen())
        return fail(why.isEmpty() ? QCoreApplication::translate("Lootwright", "文件未打开") : why);
    QString reason;
    if (injected(Step::Finish, target, reason))
        return fail(reason);
    if (!file.flush())
        return fail(readableReason(file));
    if (!FileSystemCalls::syncFile(file.handle(), reason))
        return fail(reason);
    const qint64 onDisk = QFileInfo(temp).size();
    if (onDisk != written)
        return fail(QCoreApplication::translate("Lootwright",
                                                "写入不完整：应写入 %1 字节，文件只有 %2 字节")
                        .arg(written)
                        .arg(onDisk));
    file.close();
    QIODevice::close();
    // The new file keeps the permissions of the one it replaces.
    if (QFileInfo::exists(target))
        QFile::setPermissions(temp, QFile::permissions(target));
    stamp.size = written;
    stamp.hash = hash.result();
    stamp.modified = QFileInfo(temp).lastModified();
    finished = true;
    return true;
}

bool CheckedFile::commit()
{
    QString reason;
    if (!finish())
        return false;
    if (!replace(temp, target, reason))
        return fail(reason);
    released = true;
    return true;
}

QString CheckedFile::release()
{
    released = true;
    return temp;
}

bool CheckedFile::replace(const QString &from, const QString &to, QString &reason)
{
    if (injected(Step::Replace, to, reason) || !FileSystemCalls::renameOver(from, to, reason))
        return false;
    // The rename has happened; a directory that cannot be synced changes nothing about that.
    QString ignored;
    FileSystemCalls::syncDirectory(QFileInfo(to).absolutePath(), ignored);
    return true;
}
