#pragma once

#include <QString>

class QCoreApplication;

// The interface language, stored per user: "zh_CN" (the default, the texts as written) or "en".
// It is applied once at start-up, before any window exists; a change takes effect at the next
// start.
namespace LanguageSettings {

QString chinese();
QString english();

// The stored language; anything but "en" reads as "zh_CN".
QString stored();
// False when the settings file could not be written.
bool store(const QString &language);
// The per-user settings file, for the message when store() fails.
QString fileName();

// Installs the translation of `language` into the application (none for Chinese) and makes it
// the running one; false when its translation does not load.
bool apply(QCoreApplication &application, const QString &language);
// The language apply() installed last, "zh_CN" before any.
QString running();

} // namespace LanguageSettings
