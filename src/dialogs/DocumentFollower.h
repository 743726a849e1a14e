#pragma once

#include "document/ConfigDocument.h"

#include <QTimer>
#include <QWidget>
#include <functional>

// A tool window over the document shows it anew after it changes: once after a burst of changes
// (typing a weight), and only while the window is shown.
inline void followDocument(QWidget *window, ConfigDocument *document,
                           const std::function<void()> &refill)
{
    auto *timer = new QTimer(window);
    timer->setSingleShot(true);
    timer->setInterval(180);
    QObject::connect(document, &ConfigDocument::documentChanged, timer,
                     [timer] { timer->start(); });
    QObject::connect(timer, &QTimer::timeout, window, [window, refill] {
        if (window->isVisible())
            refill();
    });
}
