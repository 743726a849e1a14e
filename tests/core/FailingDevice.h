#pragma once

// A device for the reader and writer failure tests: it delivers the first `failAfter` bytes of
// its content, then every read fails, as a failing disk or a broken network share does; every
// write fails.

#include <QIODevice>

#include <algorithm>
#include <cstring>

class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(QByteArray content = {}, qint64 failAfter = 0)
        : bytes(std::move(content)), limit(failAfter)
    {
        open(QIODevice::ReadWrite);
        setErrorString(QStringLiteral("设备已满"));
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = std::min({maxSize, limit - served, qint64(bytes.size()) - served});
        if (count <= 0) {
            setErrorString(QStringLiteral("输入/输出错误"));
            return -1;
        }
        std::memcpy(data, bytes.constData() + served, size_t(count));
        served += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray bytes;
    qint64 limit;
    qint64 served = 0;
};
