#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// The user guide: help/index.html, looked for beside the current directory first and then beside
// the program, so that it opens also when the program was started from elsewhere. When neither
// exists, the path beside the program is the one named.
QString helpIndexPath();

// The plain messages of "Справка". Both name the file's full path, so the user can open it by hand.
QString helpMissingMessage(const QString& path);
QString helpNotOpenedMessage(const QString& path);

// Hands a local file to the desktop's opener (xdg-open), which starts the user's browser. Returns
// false when the opener cannot be started at all; when it starts but reports later that it could
// not open the file (no browser, no handler), `onFailure` runs on the interface thread.
bool openWithDesktop(const QUrl& url, std::function<void()> onFailure);
