// The application title that message windows carry: from the executable's file name, unless the
// program sets it (as the guide's picture maker does, which runs under a name of its own).
#include "app/Dialogs.h"

#include <gtest/gtest.h>

TEST(ApplicationTitleTest, ComesFromTheFileNameUntilTheProgramSetsOne) {
    EXPECT_EQ(applicationTitle(), QStringLiteral("tests_app"));
    setApplicationTitle(QStringLiteral("Veltrona"));
    EXPECT_EQ(applicationTitle(), QStringLiteral("Veltrona"));
    setApplicationTitle(QString());
    EXPECT_EQ(applicationTitle(), QStringLiteral("tests_app"));
}
