#include "data/FileSystemCalls.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace FileSystemCalls {

namespace {

#ifdef Q_OS_WIN
std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

bool failed(QString &reason)
{
    reason = qt_error_string(int(GetLastError()));
    return false;
}
#else
bool failed(QString &reason)
{
    reason = qt_error_string(errno);
    return false;
}
#endif

} // namespace

bool syncFile(int handle, QString &reason)
{
#ifdef Q_OS_WIN
    const HANDLE file = HANDLE(_get_osfhandle(handle));
    if (file == INVALID_HANDLE_VALUE || !FlushFileBuffers(file))
        return _commit(handle) == 0 || failed(reason);
    return true;
#else
    while (fsync(handle) != 0) {
        if (errno != EINTR)
            return failed(reason);
    }
    return true;
#endif
}

bool syncDirectory(const QString &directory, QString &reason)
{
#ifdef Q_OS_WIN
    // Renames are written through (MOVEFILE_WRITE_THROUGH); a directory cannot be flushed.
    Q_UNUSED(directory);
    Q_UNUSED(reason);
    return true;
#else
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(reason);
    bool ok = true;
    while (fsync(fd) != 0) {
        // Some file systems cannot sync a directory; the rename itself has happened.
        if (errno == EINVAL || errno == EROFS || errno == EBADF)
            break;
        if (errno != EINTR) {
            ok = failed(reason);
            break;
        }
    }
    ::close(fd);
    return ok;
#endif
}

bool renameOver(const QString &from, const QString &to, QString &reason)
{
#ifdef Q_OS_WIN
    return MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           failed(reason);
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ||
           failed(reason);
#endif
}

bool linkFile(const QString &existing, const QString &newName, QString &reason)
{
#ifdef Q_OS_WIN
    return CreateHardLinkW(nativePath(newName).c_str(), nativePath(existing).c_str(), nullptr) ||
           failed(reason);
#else
    return ::link(QFile::encodeName(existing).constData(),
                  QFile::encodeName(newName).constData()) == 0 ||
           failed(reason);
#endif
}

} // namespace FileSystemCalls
