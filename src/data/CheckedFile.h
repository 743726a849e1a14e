#pragma once

#include "data/FileStamp.h"

#include <QFile>
#include <QIODevice>
#include <QString>

#include <functional>

// A file written so that it is replaced only when every byte is known to be on disk: the bytes
// go to a temporary file beside it, which is flushed, synced and checked to hold as many bytes as
// were written before it is renamed over the target. (Qt 6.4's QSaveFile renames even when
// writing out its last buffered bytes failed, so nothing this program writes goes through it.)
// Every file the program writes goes through here. On any failure the target is untouched and
// failureText() names it and the reason.
class CheckedFile : public QIODevice
{
public:
    explicit CheckedFile(const QString &target);
    ~CheckedFile() override; // removes the temporary file unless it was used or released
    CheckedFile(const CheckedFile &) = delete;
    CheckedFile &operator=(const CheckedFile &) = delete;

    // Creates the temporary file; WriteOnly, with Text where line ends are to be translated.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    // Syncs the temporary file and checks that it holds every byte written; it stays for commit
    // or for the caller (release).
    bool finish();
    // finish, then the temporary file replaces the target.
    bool commit();
    // After finish: the temporary file is the caller's and stays.
    QString release();

    const QString &targetPath() const { return target; }
    const QString &temporaryPath() const { return temp; }
    // After finish: the size, hash and time of what was written.
    const FileStamp &writtenStamp() const { return stamp; }
    const QString &reason() const { return why; }
    // "<target>（<reason>）"
    QString failureText() const;

    // A fresh name beside target: ".<name>.<8 hex digits>.<kind>".
    static QString siblingName(const QString &target, const QString &kind);
    // Whether fileName is such a name made for targetName with kind "saving" or "kept".
    static bool isSiblingOf(const QString &fileName, const QString &targetName);
    // Renames from over to and syncs the directory.
    static bool replace(const QString &from, const QString &to, QString &reason);
    // Why a file operation failed, in words (never "Unknown error").
    static QString readableReason(const QFileDevice &file);

    // Tests make a step fail for a target: the hook returns false with a reason.
    enum class Step
    {
        Create,
        Finish,
        Replace,
    };
    using FaultHook = std::function<bool(Step, const QString &target, QString &reason)>;
    static void setFaultHook(FaultHook hook);

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool fail(const QString &reason);

    QString target;
    QString temp;
    QFile file;
    ContentHash hash;
    qint64 written = 0;
    FileStamp stamp;
    bool finished = false;
    bool released = false;
    QString why;
};
