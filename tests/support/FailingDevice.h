#pragma once

// A device for the reader and writer failure tests: it delivers the first `failAfter` bytes of
// its content, then every read fails, as a failing disk or a broken network share does; every
// write fails.

#include <QIODevice>

class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(QByteArray content = {}, qint64 failAfter = 0);
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray bytes;
    qint64 limit;
    qint64 served = 0;
};
