#pragma once

#include "app/Dialogs.h"

#include <QStringList>
#include <deque>

// Answers the program's dialogs from a script and records what was shown.
class ScriptedDialogs : public Dialogs {
public:
    QStringList messages;
    QStringList failures;
    QStringList questions;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> fileNames;
    QStringList proposedNames;
    std::deque<std::optional<QColor>> colours;
    QList<QColor> initialColours;

    void showMessage(QWidget*, const QString& text) override { messages << text; }
    void showFailure(QWidget*, const QString& text) override { failures << text; }
    Answer askYesNo(QWidget*, const QString& text) override { return answer(text, Answer::No); }
    Answer askYesNoCancel(QWidget*, const QString& text) override { return answer(text, Answer::Cancel); }
    std::optional<QString> openFileName(QWidget*, const QString&, const QString& proposed) override {
        return fileName(proposed);
    }
    std::optional<QString> saveFileName(QWidget*, const QString&, const QString& proposed) override {
        return fileName(proposed);
    }
    std::optional<QColor> chooseColour(QWidget*, const QColor& initial) override {
        initialColours << initial;
        if (colours.empty())
            return std::nullopt;
        const auto colour = colours.front();
        colours.pop_front();
        return colour;
    }

private:
    // An unscripted question is answered with its default button, an unscripted dialog is cancelled.
    Answer answer(const QString& text, Answer defaultAnswer) {
        questions << text;
        if (answers.empty())
            return defaultAnswer;
        const Answer next = answers.front();
        answers.pop_front();
        return next;
    }
    std::optional<QString> fileName(const QString& proposed) {
        proposedNames << proposed;
        if (fileNames.empty())
            return std::nullopt;
        const auto name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};
