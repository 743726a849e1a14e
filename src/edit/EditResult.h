#pragma once

#include <QString>
#include <QStringList>

// What an edit hands back to the window: the log lines to append (without time stamp, one
// appendOperationLog call each, in order), the message box to show, and whether the length of
// a document list changed.
//
// Whenever recordsAddedOrRemoved or boxesAddedOrRemoved is set, every pointer into
// MonsterDropData::records or DropBoxContentData::boxes taken before the call is invalid:
// re-resolve currentConfig / currentBox by id before reading them.

enum class NoticeKind
{
    None,
    Information, // QMessageBox::information
    Warning,     // QMessageBox::warning
};

struct EditNotice
{
    NoticeKind kind = NoticeKind::None;
    QString title;
    QString text;

    bool isNone() const { return kind == NoticeKind::None; }

    static EditNotice information(const QString &title, const QString &text)
    {
        return {NoticeKind::Information, title, text};
    }
    static EditNotice warning(const QString &title, const QString &text)
    {
        return {NoticeKind::Warning, title, text};
    }
};

// A Yes/No question the window asks before applying; anything but Yes cancels.
struct EditQuestion
{
    QString title;
    QString text;
};

struct EditResult
{
    // False when the edit was refused or had nothing to do; the documents are then unchanged.
    bool applied = false;
    QStringList logLines;
    EditNotice notice;
    bool recordsAddedOrRemoved = false;
    bool boxesAddedOrRemoved = false;
};

namespace EditTexts {
// Shown when a new box would need an id above the 32-bit range.
QString noFreeBoxIdText(); // "包裹ID已达上限，无法创建新包裹"
QString errorTitle();      // "错误"
QString noticeTitle();     // "提示"
} // namespace EditTexts
