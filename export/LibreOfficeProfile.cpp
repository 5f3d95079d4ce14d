#include "export/LibreOfficeProfile.h"

#include "batch/Failure.h"

#include <QDir>
#include <QFile>

namespace exporting {

void seedOfficeProfile(const QString& folder, const QString& locale) {
    const QString user = folder + QStringLiteral("/user");
    if (!QDir().mkpath(user))
        throw batch::Failure(QStringLiteral("Не удалось создать папку профиля %1").arg(user));
    const auto item = [](const char* path, const char* name, const QString& value) {
        return QStringLiteral("<item oor:path=\"%1\"><prop oor:name=\"%2\" oor:op=\"fuse\"><value>%3</value>"
                              "</prop></item>\n")
            .arg(QLatin1String(path), QLatin1String(name), value.toHtmlEscaped());
    };
    const QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                       "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n") +
        item("/org.openoffice.Setup/Product", "ooSetupLastVersion", QStringLiteral("99.0")) +
        item("/org.openoffice.Setup/Office", "ooSetupInstCompleted", QStringLiteral("true")) +
        item("/org.openoffice.Office.Common/Misc", "FirstRun", QStringLiteral("false")) +
        item("/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", QStringLiteral("false")) +
        item("/org.openoffice.Setup/L10N", "ooSetupSystemLocale", locale) + QStringLiteral("</oor:items>\n");
    QFile file(user + QStringLiteral("/registrymodifications.xcu"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        throw batch::Failure(
            QStringLiteral("Не удалось записать профиль LibreOffice: %1").arg(file.errorString()));
}

} // namespace exporting
