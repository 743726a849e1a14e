#include "data/DropFile.h"

#include "data/CheckedFile.h"
#include "data/FileStamp.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace DropFile {

namespace {

// Hands a file's bytes on as they are read and hashes them, so a load knows what it read
// without reading the file twice.
class HashingReader : public QIODevice
{
public:
    explicit HashingReader(QFile &source) : file(source)
    {
        QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    qint64 size() const override { return file.size(); }
    qint64 bytesRead() const { return total; }
    QByteArray result() const { return hash.result(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 got = file.read(data, maxSize);
        if (got < 0) {
            setErrorString(CheckedFile::readableReason(file));
            return -1;
        }
        hash.addData(data, got);
        total += got;
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QFile &file;
    ContentHash hash;
    qint64 total = 0;
};

} // namespace

bool load(const QString &path, const Texts &texts, const std::function<bool(QIODevice &)> &read,
          QString &error, FileStamp *stamp)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = texts.cannotOpen.arg(texts.pathWhenNotOpened ? path : file.errorString());
        if (texts.debugTag)
            qDebug() << texts.debugTag << "错误 - 无法打开文件:" << path;
        return false;
    }
    if (!stamp)
        return read(file);
    HashingReader reader(file);
    if (!read(reader))
        return false;
    stamp->size = reader.bytesRead();
    stamp->hash = reader.result();
    stamp->modified = QFileInfo(file).lastModified();
    return true;
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

bool writeChecked(CheckedFile &file, const Texts &texts,
                  const std::function<bool(QIODevice &)> &write, QString &error)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = texts.cannotCreate.arg(file.failureText());
        return false;
    }
    if (!DropFile::write(file, texts, write, error))
        return false;
    if (!file.finish()) {
        error = texts.cannotWrite.arg(file.failureText());
        return false;
    }
    return true;
}

bool save(const QString &path, const Texts &texts, const std::function<bool(QIODevice &)> &write,
          QString &error)
{
    CheckedFile file(path);
    if (!writeChecked(file, texts, write, error))
        return false;
    if (!file.commit()) {
        error = texts.cannotWrite.arg(file.failureText());
        return false;
    }
    return true;
}

} // namespace DropFile
