#pragma once

#include "ScriptedDialogs.h"
#include "analysis/Unit5.h"
#include "app/HintFilter.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "batch/NumberText.h"
#include "storage/ProfileFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The program's windows as start-up creates them, with scripted dialogs and a settings file in a
// folder of the test's own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        batch::setDecimalSeparator(QLatin1Char(','));
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Data")));
        createWindows();
    }

    void TearDown() override { destroyWindows(); }

    void createWindows() {
        form1 = std::make_unique<TForm1>(dialogs);
        form1->openUrl = [this](const QUrl& url) {
            openedUrls << url;
            return true;
        };
        form1->SettingsFile = std::make_unique<storage::ProfileFile>(settingsPath());
        form2 = std::make_unique<TForm2>();
        form3 = std::make_unique<TForm3>();
        form5 = std::make_unique<TForm5>();
        form1->attachWindows(form2.get(), form3.get(), form5.get());
        hints = std::make_unique<HintFilter>(form1->StatusBar1);
        qApp->installEventFilter(hints.get());
        form1->show();
    }

    void destroyWindows() {
        hints.reset();
        form5.reset();
        form3.reset();
        form2.reset();
        form1.reset();
    }

    // Closes the main window as the user would, answering the close question with No, and starts
    // the program afresh on the same settings file.
    void restart() {
        dialogs.answers.push_back(Dialogs::Answer::No);
        form1->close();
        destroyWindows();
        createWindows();
    }

    QString settingsPath() const { return folder.filePath(QStringLiteral("Data/Settings.ini")); }

    template <typename T = QWidget> T* control(const char* name) {
        T* found = form1->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    // Presses the element key with the given caption.
    void element(const QString& symbol) {
        for (QPushButton* key : form1->ElementKeys)
            if (key->text() == symbol) {
                QTest::mouseClick(key, Qt::LeftButton);
                return;
            }
        ADD_FAILURE() << "no element key " << symbol.toStdString();
    }

    // Lets the 100 ms refresh run once at least.
    static void refresh() { QTest::qWait(150); }

    void pick(int list, int item) {
        QComboBox* combo = form1->ComboBoxes[static_cast<size_t>(list - 1)];
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<HintFilter> hints;
    QList<QUrl> openedUrls;
};
