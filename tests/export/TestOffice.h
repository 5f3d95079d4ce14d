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
#include <unistd.h>

// A headless LibreOffice of the test's own: a private, seeded profile with a locale of the test's
// choice (Russian unless told) and a pipe named after the process, so that it never meets the
// user's office. It is ended on destruction after the documents the test made are closed.
class TestOffice {
public:
    // `name` is added to the pipe's name, for a second office of the same test. A test whose
    // office must outlive a process of its own gives the pipe's whole name and the profile folder.
    explicit TestOffice(const QString& locale = QStringLiteral("ru-RU"), const QString& name = QString(),
                        const QString& pipe = QString(), const QString& profile = QString()) {
        if (profile.isEmpty()) {
            ownProfile_ = std::make_unique<QTemporaryDir>();
            ownProfile_->setAutoRemove(true);
        }
        settings_.plugin = QStringLiteral(VELTRONA_OFFICE_PLUGIN);
        settings_.program = QStringLiteral("soffice");
        settings_.pipe =
            pipe.isEmpty()
                ? QStringLiteral("veltrona-test-%1%2").arg(QCoreApplication::applicationPid()).arg(name)
                : pipe;
        settings_.profile = profile.isEmpty() ? ownProfile_->path() : profile;
        settings_.headless = true;
        settings_.startTimeoutMs = 60000;
        exporting::seedOfficeProfile(settings_.profile, locale);
    }

    ~TestOffice() {
        stop();
        // A killed office leaves its pipe behind.
        if (processes().isEmpty())
            QFile::remove(QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(::getuid()).arg(settings_.pipe));
    }

    const exporting::LibreOfficeSettings& settings() const { return settings_; }

    // Sends a signal to the office's processes: SIGSTOP makes an office that does not answer,
    // SIGCONT lets it go on, SIGKILL makes one that goes away, 0 asks whether it runs. Gives the
    // number of processes.
    int signal(int number) const {
        int signalled = 0;
        for (const int pid : processes())
            if (::kill(pid, number) == 0)
                ++signalled;
        return signalled;
    }

    // True when the office runs and every process of it is stopped (a stop signal takes effect
    // once a process leaves the system call it may be in: allowed a few seconds).
    bool stopped() const {
        for (int i = 0; i < 50; ++i) {
            if (const QByteArray states = processStates();
                !states.isEmpty() && states.count('T') == states.size())
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    // Ends the office if it runs, and waits until its pipe is gone so that the profile can go.
    void stop() {
        signal(SIGCONT); // a test may have left it stopped
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
        // An office that refused to end (a failed test may have left a document in a dialog) is
        // killed, so that it never outlives the tests.
        if (client.listening())
            signal(SIGKILL);
        // The office writes its profile after its pipe has gone; the profile folder can go after it.
        for (int i = 0; i < 100 && !processes().isEmpty(); ++i)
            QThread::msleep(100);
    }

private:
    // The office's processes, found by the pipe name only this office listens on.
    QList<int> processes() const {
        const QByteArray accept = "pipe,name=" + settings_.pipe.toUtf8() + ';';
        QList<int> pids;
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool isProcess = false;
            const int pid = entry.toInt(&isProcess);
            QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
            if (isProcess && commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(accept))
                pids << pid;
        }
        return pids;
    }

    // The state letter of each process ("pid (name) state ..."): T when stopped.
    QByteArray processStates() const {
        QByteArray states;
        for (const int pid : processes()) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
            const qsizetype close = text.lastIndexOf(')');
            states += close < 0 ? '?' : text.at(close + 2);
        }
        return states;
    }

    std::unique_ptr<QTemporaryDir> ownProfile_;
    exporting::LibreOfficeSettings settings_;
};
