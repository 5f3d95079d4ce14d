#pragma once

#include "export/LibreOfficeClient.h"
#include "export/LibreOfficeProfile.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

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
    }

private:
    QTemporaryDir profile_;
    exporting::LibreOfficeSettings settings_;
};
