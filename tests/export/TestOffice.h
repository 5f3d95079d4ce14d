#pragma once

#include "export/LibreOfficeClient.h"
#include "export/LibreOfficeProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <signal.h>

// A headless LibreOffice of the test's own: a private, seeded profile with a Russian locale and a
// pipe named after the process, so that it never meets the user's office. It is ended on
// destruction after the documents the test made are closed.
class TestOffice {
public:
    TestOffice() {
        profile_.setAutoRemove(true);
        exporting::seedOfficeProfile(profile_.path(), QStringLiteral("ru-RU"));
        settings_.plugin = QStringLiteral(VELTRONA_OFFICE_PLUGIN);
        settings_.program = QStringLiteral("soffice");
        settings_.pipe = QStringLiteral("veltrona-test-%1").arg(QCoreApplication::applicationPid());
        settings_.profile = profile_.path();
        settings_.headless = true;
        settings_.startTimeoutMs = 60000;
    }

    ~TestOffice() { stop(); }

    const exporting::LibreOfficeSettings& settings() const { return settings_; }

    // Ends the office if it runs, and waits until its pipe is gone so that the profile can go.
    void stop() {
        exporting::LibreOfficeClient client(settings_);
        if (!client.listening())
            return;
        try {
            client.connect()->terminate();
        } catch (const std::exception&) {
            // The office went away while being asked to: what was wanted.
        }
        for (int i = 0; i < 100 && client.listening(); ++i)
            QThread::msleep(100);
        if (client.listening())
            killOffice();
    }

private:
    // An office that refused to end (a failed test may have left a document in a dialog) is
    // killed, found by the pipe name only it listens on, so that it never outlives the tests.
    void killOffice() const {
        const QByteArray accept = "pipe,name=" + settings_.pipe.toUtf8() + ';';
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool isProcess = false;
            const int pid = entry.toInt(&isProcess);
            QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
            if (isProcess && commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(accept))
                ::kill(pid, SIGKILL);
        }
    }

    QTemporaryDir profile_;
    exporting::LibreOfficeSettings settings_;
};
