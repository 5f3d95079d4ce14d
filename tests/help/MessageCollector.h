#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// Collects the texts of the messages a program can show from its C++ source, so that a message
// added anywhere is found without anybody listing it by hand.
//
// A message starts at a sink: a call of showMessage, showFailure, askYesNo, askYesNoCancel or
// QMessageBox's static functions, the construction of a (batch::)Failure, or a call of addNote,
// which writes a note beside a computed value (the notes of the glass property models). Every string
// literal in the sink's arguments is a message text. Every name there is followed to what it
// stands for: a variable of the same function (its initialiser and every "=" or "+=" to it), a
// constant at namespace or class level in any file, or a function of that name in any file (the
// expressions it returns, not the names handed to it), and so on through those expressions.
// A name declared outside all functions (a global, a class member) is followed into every
// assignment to it, and a method called on an object into what it returns. Names before "::"
// and the enclosing function's parameters are not followed, nor what is handed to .arg() (it
// fills a placeholder: a path, a number, the offending text), nor a function called through a
// class of Qt or the standard library (QString::fromUtf8 is not a fromUtf8 of the program).
// A function of ours that throws an exception made of one of its text parameters (a helper such
// as fail(position, what)) is a sink too: the texts its callers write in that parameter are
// messages (names there are not followed: textToNumber(cell) throws with the offending input).
class MessageCollector {
public:
    // Adds one source file (path for messages only).
    void addSource(const QString& path, const QString& text);
    // The message texts, each literal as it stands in the source (escapes decoded, adjacent
    // literals joined), placeholders such as %1 included; sorted, without duplicates.
    QStringList messages() const;

private:
    struct Literal {
        qsizetype begin;
        qsizetype end;
        QString value;
    };
    struct Function {
        QString name;
        qsizetype paramsBegin, paramsEnd, bodyBegin, bodyEnd;
    };
    struct Source {
        QString path;
        QString code; // comments and the insides of literals blanked out
        QList<Literal> literals;
        QList<Function> functions;
    };
    struct Span {
        int source;
        qsizetype begin, end;
    };

    void resolve(const Span& span, QStringList& found, QSet<QString>& visited) const;
    const Function* enclosing(int source, qsizetype position) const;
    bool isFunction(const QString& name) const;
    void resolveReturns(const QString& name, QStringList& found, QSet<QString>& visited) const;
    // The literals written in the span, without following any name (nor what .arg() is handed).
    void literalsOf(const Span& span, QStringList& found) const;
    // Functions that throw what they are given: name -> (number of parameters, text parameters).
    QMultiMap<QString, QPair<int, QList<int>>> throwers() const;

    QList<Source> sources_;
};

// The text fragments of a message that a reader must find in the guide: the pieces between
// placeholders (%1, %s, %d), blanks trimmed, keeping only pieces that hold a letter.
QStringList messageFragments(const QString& message);

// The visible text of an HTML page: tags dropped, entities decoded, runs of blanks made one.
QString visibleText(const QString& html);
