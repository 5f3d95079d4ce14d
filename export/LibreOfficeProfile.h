#pragma once

#include <QString>

namespace exporting {

// Prepares a private office profile in the folder so that a headless office started on it comes
// up in well under a second (a fresh profile costs seconds of first-start work that a headless
// office never records as done) and reads and shows numbers as under the given locale ("ru-RU").
void seedOfficeProfile(const QString& folder, const QString& locale);

} // namespace exporting
