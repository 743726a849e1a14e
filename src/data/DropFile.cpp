#include "data/DropFile.h"

#include <QDebug>
#include <QFile>
#include <QSaveFile>

namespace DropFile {

namespace {

QString notOpened(const QString &text, const Texts &texts, const QString &path,
                  const QString &reason)
{
    return text.arg(texts.pathWhenNotOpened ? path : reason);
}

} // namespace

bool load(const QString &path, const Texts &texts, const std::function<bool(QIODevice &)> &read,
          QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = notOpened(texts.cannotOpen, texts, path, file.errorString());
        if (texts.debugTag)
            qDebug() << texts.debugTag << "错误 - 无法打开文件:" << path;
        return false;
    }
    return read(file);
}

QString readError(QIODevice &device, const Texts &texts)
{
    const QString error = texts.cannotRead.arg(device.errorString());
    if (texts.debugTag)
        qDebug() << texts.debugTag << "错误 -" << error;
    return error;
}

bool write(QIODevice &device, const Texts &texts, const std::function<bool(QIODevice &)> &write,
           QString &error)
{
    if (write(device))
        return true;
    error = texts.cannotWrite.arg(device.errorString());
    return false;
}

bool save(const QString &path, const Texts &texts, const std::function<bool(QIODevice &)> &write,
          QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = notOpened(texts.cannotCreate, texts, path, file.errorString());
        return false;
    }
    if (!DropFile::write(file, texts, write, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = texts.cannotWrite.arg(file.errorString());
        return false;
    }
    return true;
}

} // namespace DropFile
