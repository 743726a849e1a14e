#pragma once

#include <QDialog>

// How the main window shows its tool windows.
namespace ToolWindows {

// Brings an open tool window to the front.
inline void bringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

// A separate window with title, minimise and close buttons that stays on top of the main window,
// modeless and kept when closed (its owner deletes it once it finished).
inline void makeToolWindow(QDialog *dialog)
{
    dialog->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowCloseButtonHint);
    dialog->setWindowModality(Qt::NonModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
}

} // namespace ToolWindows
