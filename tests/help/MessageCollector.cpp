#include "MessageCollector.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <functional>

namespace {

bool isIdentifierChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// The index of the bracket that closes the one at `open`, or -1.
qsizetype matchingClose(const QString& code, qsizetype open) {
    const QChar opening = code[open];
    const QChar closing = opening == u'(' ? u')' : opening == u'{' ? u'}' : u']';
    int depth = 0;
    for (qsizetype i = open; i < code.size(); ++i) {
        if (code[i] == opening)
            ++depth;
        else if (code[i] == closing && --depth == 0)
            return i;
    }
    return -1;
}

qsizetype matchingOpen(const QString& code, qsizetype close) {
    const QChar closing = code[close];
    const QChar opening = closing == u')' ? u'(' : closing == u'}' ? u'{' : u'[';
    int depth = 0;
    for (qsizetype i = close; i >= 0; --i) {
        if (code[i] == closing)
            ++depth;
        else if (code[i] == opening && --depth == 0)
            return i;
    }
    return -1;
}

qsizetype skipBlanksBack(const QString& code, qsizetype i) {
    while (i >= 0 && code[i].isSpace())
        --i;
    return i;
}

// The end of an initialiser or assignment starting at `begin`: the ";" or "," at depth 0.
qsizetype expressionEnd(const QString& code, qsizetype begin) {
    int depth = 0;
    for (qsizetype i = begin; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'(' || c == u'{' || c == u'[')
            ++depth;
        else if (c == u')' || c == u'}' || c == u']') {
            if (--depth < 0)
                return i;
        } else if (depth == 0 && (c == u';' || c == u','))
            return i;
    }
    return code.size();
}

QString decodeEscape(const QString& text, qsizetype& i) {
    const QChar c = text[i];
    switch (c.unicode()) {
    case 'n':
        return QStringLiteral("\n");
    case 't':
        return QStringLiteral("\t");
    case 'r':
        return QStringLiteral("\r");
    case 'u':
    case 'U': {
        const int digits = c == u'u' ? 4 : 8;
        bool ok = false;
        const char32_t code = text.mid(i + 1, digits).toUInt(&ok, 16);
        i += digits;
        return ok ? QString::fromUcs4(&code, 1) : QString();
    }
    default:
        return QString(c); // \\ \" \' and the rest stand for themselves
    }
}

const QSet<QString>& keywords() {
    static const QSet<QString> words = {
        QStringLiteral("if"),
        QStringLiteral("for"),
        QStringLiteral("while"),
        QStringLiteral("switch"),
        QStringLiteral("catch"),
        QStringLiteral("return"),
        QStringLiteral("sizeof"),
        QStringLiteral("this"),
        QStringLiteral("const"),
        QStringLiteral("auto"),
        QStringLiteral("new"),
        QStringLiteral("true"),
        QStringLiteral("false"),
        QStringLiteral("nullptr"),
        QStringLiteral("static_cast"),
        QStringLiteral("throw"),
        QStringLiteral("QStringLiteral"),
        QStringLiteral("QLatin1String"),
        QStringLiteral("QLatin1Char"),
        QStringLiteral("QString"),
        QStringLiteral("u"),
        QStringLiteral("u8"),
        QStringLiteral("L"),
        QStringLiteral("R"),
    };
    return words;
}

// Whether the sink name at `at` is declared or defined there rather than called: a type name
// stands before it ("void showMessage(", "Answer QtDialogs::askYesNo(", "explicit Failure(").
bool declaresSink(const QString& code, qsizetype at) {
    static const QSet<QString> beforeCalls = {
        QStringLiteral("return"), QStringLiteral("throw"), QStringLiteral("case"), QStringLiteral("else"),
        QStringLiteral("do"),     QStringLiteral("const"), QStringLiteral("new")};
    qsizetype p = skipBlanksBack(code, at - 1);
    while (p >= 1 && code[p] == u':' && code[p - 1] == u':') { // a qualifier: batch::Failure
        p = skipBlanksBack(code, p - 2);
        while (p >= 0 && isIdentifierChar(code[p]))
            --p;
        p = skipBlanksBack(code, p);
    }
    if (p < 0)
        return false;
    if (isIdentifierChar(code[p])) {
        qsizetype begin = p;
        while (begin > 0 && isIdentifierChar(code[begin - 1]))
            --begin;
        return !beforeCalls.contains(code.mid(begin, p - begin + 1));
    }
    const bool arrow = code[p] == u'>' && p > 0 && code[p - 1] == u'-';
    const bool logical = code[p] == u'&' && p > 0 && code[p - 1] == u'&';
    return !arrow && !logical && (code[p] == u'>' || code[p] == u'*' || code[p] == u'&');
}

// The arguments of the call whose "(" is at `open` and ")" at `close`: [begin, end) of each.
QList<QPair<qsizetype, qsizetype>> callArguments(const QString& code, qsizetype open, qsizetype close) {
    QList<QPair<qsizetype, qsizetype>> arguments;
    qsizetype begin = open + 1;
    int depth = 0;
    for (qsizetype i = open + 1; i < close; ++i) {
        const QChar c = code[i];
        if (c == u'(' || c == u'{' || c == u'[')
            ++depth;
        else if (c == u')' || c == u'}' || c == u']')
            --depth;
        else if (c == u',' && depth == 0) {
            arguments.append({begin, i});
            begin = i + 1;
        }
    }
    if (!code.mid(begin, close - begin).trimmed().isEmpty() || !arguments.isEmpty())
        arguments.append({begin, close});
    return arguments;
}

// Whether a position between begin and end lies in what .arg() is handed: that fills a
// placeholder of the message (a path, a number, the offending text); it is not message text.
std::function<bool(qsizetype)> fillerTest(const QString& code, qsizetype begin, qsizetype end) {
    static const QRegularExpression argCall(QStringLiteral("\\.\\s*arg\\s*\\("));
    QList<QPair<qsizetype, qsizetype>> fillers;
    for (auto it = argCall.globalMatch(code.mid(begin, end - begin)); it.hasNext();) {
        const qsizetype open = begin + it.next().capturedEnd() - 1;
        fillers.append({open, matchingClose(code, open)});
    }
    return [fillers](qsizetype position) {
        return std::any_of(fillers.begin(), fillers.end(), [&](const auto& range) {
            return range.first < position && position < range.second;
        });
    };
}

} // namespace

void MessageCollector::addSource(const QString& path, const QString& text) {
    Source source{path, text, {}, {}};
    QString& code = source.code;
    // Blank out comments and the insides of literals, remembering each string literal.
    for (qsizetype i = 0; i < code.size();) {
        if (code.mid(i, 2) == QLatin1String("//")) {
            const qsizetype end = code.indexOf(u'\n', i);
            const qsizetype stop = end < 0 ? code.size() : end;
            code.replace(i, stop - i, QString(stop - i, u' '));
            i = stop;
        } else if (code.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = code.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? code.size() : end + 2;
            for (qsizetype k = i; k < stop; ++k)
                if (code[k] != u'\n')
                    code[k] = u' ';
            i = stop;
        } else if (code[i] == u'"' && i > 0 && code[i - 1] == u'R') {
            const qsizetype open = code.indexOf(u'(', i);
            const QString closing = u')' + code.mid(i + 1, open - i - 1) + u'"';
            const qsizetype end = code.indexOf(closing, open);
            const qsizetype stop = end < 0 ? code.size() : end + closing.size();
            source.literals.append({i, stop, text.mid(open + 1, end - open - 1)});
            code.replace(i + 1, stop - i - 2, QString(stop - i - 2, u' '));
            i = stop;
        } else if (code[i] == u'"' || code[i] == u'\'') {
            const QChar quote = code[i];
            const bool digitSeparator = quote == u'\'' && i > 0 && code[i - 1].isDigit();
            if (digitSeparator) {
                ++i;
                continue;
            }
            QString value;
            qsizetype k = i + 1;
            for (; k < code.size() && code[k] != quote && code[k] != u'\n'; ++k) {
                if (code[k] == u'\\' && k + 1 < code.size()) {
                    ++k;
                    value += decodeEscape(text, k);
                } else {
                    value += text[k];
                }
            }
            const qsizetype stop = qMin(k + 1, code.size());
            for (qsizetype b = i + 1; b < stop - 1; ++b)
                code[b] = u' ';
            if (quote == u'"') {
                // Literals next to each other are one text.
                if (!source.literals.isEmpty() &&
                    code.mid(source.literals.last().end, i - source.literals.last().end)
                        .trimmed()
                        .isEmpty()) {
                    source.literals.last().end = stop;
                    source.literals.last().value += value;
                } else {
                    source.literals.append({i, stop, value});
                }
            }
            i = stop;
        } else {
            ++i;
        }
    }

    // Functions: a body "{" after ")" (and perhaps const, noexcept, override) after a name.
    static const QRegularExpression trailing(
        QStringLiteral("(\\s*\\b(const|noexcept|override|final|mutable)\\b)*\\s*$"));
    for (qsizetype open = code.indexOf(u'{'); open >= 0; open = code.indexOf(u'{', open + 1)) {
        const QString before = code.left(open);
        const auto match = trailing.match(before);
        qsizetype close = skipBlanksBack(code, match.capturedStart() - 1);
        if (close < 0 || code[close] != u')')
            continue;
        const qsizetype paramsOpen = matchingOpen(code, close);
        if (paramsOpen < 0)
            continue;
        qsizetype nameEnd = skipBlanksBack(code, paramsOpen - 1);
        qsizetype nameBegin = nameEnd;
        while (nameBegin >= 0 && isIdentifierChar(code[nameBegin]))
            --nameBegin;
        const QString name = code.mid(nameBegin + 1, nameEnd - nameBegin);
        if (name.isEmpty() || name[0].isDigit() || keywords().contains(name))
            continue;
        const qsizetype bodyEnd = matchingClose(code, open);
        if (bodyEnd < 0)
            continue;
        source.functions.append({name, paramsOpen + 1, close, open + 1, bodyEnd});
    }
    sources_.append(std::move(source));
}

bool MessageCollector::isFunction(const QString& name) const {
    for (const Source& source : sources_)
        for (const Function& function : source.functions)
            if (function.name == name)
                return true;
    // A declaration without a body here: a name followed by its parameter list and ";".
    const QRegularExpression declared(
        QStringLiteral("[\\w>&*]\\s+%1\\s*\\([^;{]*\\)\\s*(const\\s*)?;").arg(name));
    for (const Source& source : sources_)
        if (declared.match(source.code).hasMatch())
            return true;
    return false;
}

const MessageCollector::Function* MessageCollector::enclosing(int source, qsizetype position) const {
    const Function* innermost = nullptr;
    for (const Function& function : sources_[source].functions)
        if (function.bodyBegin <= position && position < function.bodyEnd &&
            (!innermost || function.bodyBegin > innermost->bodyBegin))
            innermost = &function;
    return innermost;
}

void MessageCollector::resolve(const Span& span, QStringList& found, QSet<QString>& visited) const {
    const Source& source = sources_[span.source];
    const QString key = QStringLiteral("%1:%2:%3").arg(span.source).arg(span.begin).arg(span.end);
    if (visited.contains(key))
        return;
    visited.insert(key);

    const auto filler = fillerTest(source.code, span.begin, span.end);
    literalsOf(span, found);

    const Function* scope = enclosing(span.source, span.begin);
    const QString params =
        scope ? source.code.mid(scope->paramsBegin, scope->paramsEnd - scope->paramsBegin) : QString();
    static const QRegularExpression identifier(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    const QString expression = source.code.mid(span.begin, span.end - span.begin);
    qsizetype skipUntil = -1;
    for (auto it = identifier.globalMatch(expression); it.hasNext();) {
        const auto match = it.next();
        const QString name = match.captured();
        const qsizetype at = span.begin + match.capturedStart();
        const qsizetype after = at + name.size();
        if (at < skipUntil || filler(at))
            continue;
        // A function reached through a class of Qt or the standard library is none of ours, even
        // where one of ours has its name; what it is given is followed as any other expression.
        if (const qsizetype colons = skipBlanksBack(source.code, at - 1);
            colons >= 1 && source.code[colons] == u':' && source.code[colons - 1] == u':') {
            const qsizetype end = skipBlanksBack(source.code, colons - 2);
            qsizetype begin = end;
            while (begin >= 0 && isIdentifierChar(source.code[begin]))
                --begin;
            const QString qualifier = source.code.mid(begin + 1, end - begin);
            static const QRegularExpression library(QStringLiteral("^(Q[A-Z]\\w*|std)$"));
            if (library.match(qualifier).hasMatch())
                continue;
        }
        // A call of one of our functions: what it returns counts, what it is given is its input
        // (file names, error codes, the offending text), not a message of its own.
        qsizetype next = after;
        while (next < source.code.size() && source.code[next].isSpace())
            ++next;
        if (next < source.code.size() && source.code[next] == u'(' && isFunction(name))
            skipUntil = matchingClose(source.code, next);
        const QString tail = source.code.mid(after, 2);
        const qsizetype back = skipBlanksBack(source.code, at - 1);
        const bool member =
            back >= 0 && (source.code[back] == u'.' ||
                          (source.code[back] == u'>' && back > 0 && source.code[back - 1] == u'-'));
        if (keywords().contains(name) || tail == QLatin1String("::") ||
            (after < source.code.size() && source.code[after] == u'"'))
            continue;
        if (member) {
            // A method of an object: only one of ours counts, through what it returns.
            if (next < source.code.size() && source.code[next] == u'(')
                resolveReturns(name, found, visited);
            continue;
        }
        if (scope && QRegularExpression(QStringLiteral("\\b%1\\b").arg(name)).match(params).hasMatch())
            continue;

        // Definitions and assignments of the name: in the enclosing function, or outside all.
        const QRegularExpression definition(
            QStringLiteral("(?<![\\w.>])%1\\s*\\+?=(?!=)|[\\w>&*]\\s+%1\\s*[({]").arg(name));
        const auto initialiser = [&](int s, qsizetype start) {
            const QString& code = sources_[s].code;
            const QChar opener = code[start - 1];
            const qsizetype end = opener == u'(' || opener == u'{' ? matchingClose(code, start - 1)
                                                                   : expressionEnd(code, start);
            resolve({s, start, end}, found, visited);
        };
        bool local = false;
        if (scope) {
            const QString body = source.code.mid(scope->bodyBegin, scope->bodyEnd - scope->bodyBegin);
            for (auto d = definition.globalMatch(body); d.hasNext();) {
                local = true;
                initialiser(span.source, scope->bodyBegin + d.next().capturedEnd());
            }
        }
        if (local || visited.contains(u'=' + name))
            continue;
        visited.insert(u'=' + name);
        // A name declared outside every function (a constant, a global, a class member) is also
        // followed into the assignments made to it inside functions that have no variable of
        // that name of their own: an error text kept in a member and handed out later.
        const QRegularExpression declared(
            QStringLiteral("\\b(?:auto|bool|int|char|QString|QByteArray|std::string|[A-Z]\\w*)"
                           "(?:<[^;{}()]*>)?[\\s&*]+(?:const\\s+)?%1\\s*[;=({\\[]")
                .arg(name));
        bool outside = false;
        for (int s = 0; s < sources_.size() && !outside; ++s)
            for (auto d = declared.globalMatch(sources_[s].code); d.hasNext() && !outside;)
                outside = !enclosing(s, d.next().capturedStart());
        for (int s = 0; s < sources_.size(); ++s) {
            const Source& other = sources_[s];
            for (auto d = definition.globalMatch(other.code); d.hasNext();) {
                const auto def = d.next();
                const bool bracket = !def.captured().endsWith(u'=');
                const Function* function = enclosing(s, def.capturedStart());
                if (!function) {
                    // Not the head of a function of that name.
                    if (!(bracket && isFunction(name)))
                        initialiser(s, def.capturedEnd());
                } else if (outside && !bracket &&
                           !declared
                                .match(other.code.mid(function->bodyBegin,
                                                      function->bodyEnd - function->bodyBegin))
                                .hasMatch()) {
                    initialiser(s, def.capturedEnd());
                }
            }
        }
        resolveReturns(name, found, visited);
    }
}

void MessageCollector::resolveReturns(const QString& name, QStringList& found, QSet<QString>& visited) const {
    if (visited.contains(u'(' + name))
        return;
    visited.insert(u'(' + name);
    static const QRegularExpression returned(QStringLiteral("\\breturn\\b"));
    for (int s = 0; s < sources_.size(); ++s) {
        const Source& source = sources_[s];
        for (const Function& function : source.functions) {
            if (function.name != name)
                continue;
            const QString body = source.code.mid(function.bodyBegin, function.bodyEnd - function.bodyBegin);
            for (auto r = returned.globalMatch(body); r.hasNext();) {
                const qsizetype start = function.bodyBegin + r.next().capturedEnd();
                resolve({s, start, expressionEnd(source.code, start)}, found, visited);
            }
        }
    }
}

void MessageCollector::literalsOf(const Span& span, QStringList& found) const {
    const Source& source = sources_[span.source];
    const auto filler = fillerTest(source.code, span.begin, span.end);
    for (const Literal& literal : source.literals)
        if (literal.begin >= span.begin && literal.end <= span.end && !filler(literal.begin))
            found << literal.value;
}

QMultiMap<QString, QPair<int, QList<int>>> MessageCollector::throwers() const {
    static const QRegularExpression throwStatement(QStringLiteral("\\bthrow\\b[^;]*;"));
    static const QRegularExpression textType(
        QStringLiteral("\\bchar\\s*\\*|\\bQString\\b|\\bstd::string\\b|\\bQByteArray\\b"));
    static const QRegularExpression lastName(QStringLiteral("([A-Za-z_]\\w*)\\s*$"));
    QMultiMap<QString, QPair<int, QList<int>>> found;
    for (const Source& source : sources_)
        for (const Function& function : source.functions) {
            const auto parameters = callArguments(source.code, function.paramsBegin - 1, function.paramsEnd);
            const QString body = source.code.mid(function.bodyBegin, function.bodyEnd - function.bodyBegin);
            QList<int> texts;
            for (int i = 0; i < parameters.size(); ++i) {
                QString parameter =
                    source.code.mid(parameters[i].first, parameters[i].second - parameters[i].first);
                parameter = parameter.left(parameter.indexOf(u'=')); // no default value
                const QString name = lastName.match(parameter).captured(1);
                if (name.isEmpty() || !textType.match(parameter).hasMatch())
                    continue;
                const QRegularExpression used(QStringLiteral("\\b%1\\b").arg(name));
                for (auto t = throwStatement.globalMatch(body); t.hasNext();)
                    if (used.match(t.next().captured()).hasMatch()) {
                        texts << i;
                        break;
                    }
            }
            if (!texts.isEmpty())
                found.insert(function.name, {static_cast<int>(parameters.size()), texts});
        }
    return found;
}

QStringList MessageCollector::messages() const {
    static const QRegularExpression sink(
        QStringLiteral("\\b(showMessage|showFailure|askYesNo|askYesNoCancel|addNote|"
                       "QMessageBox::(?:information|warning|critical|question|about)|Failure(?:\\s+[A-Za-z_]"
                       "\\w*)?)\\s*[({]"));
    QStringList found;
    QSet<QString> visited;
    for (int s = 0; s < sources_.size(); ++s) {
        const QString& code = sources_[s].code;
        for (auto it = sink.globalMatch(code); it.hasNext();) {
            const auto match = it.next();
            if (declaresSink(code, match.capturedStart()))
                continue;
            const qsizetype open = match.capturedEnd() - 1;
            const qsizetype close = matchingClose(code, open);
            if (close > open)
                resolve({s, open + 1, close}, found, visited);
        }
    }
    const auto helpers = throwers();
    for (const QString& name : helpers.uniqueKeys()) {
        const QRegularExpression call(QStringLiteral("(?<![\\w.>:])%1\\s*\\(").arg(name));
        for (int s = 0; s < sources_.size(); ++s) {
            const QString& code = sources_[s].code;
            for (auto it = call.globalMatch(code); it.hasNext();) {
                const auto match = it.next();
                if (declaresSink(code, match.capturedStart()))
                    continue;
                const qsizetype open = match.capturedEnd() - 1;
                const qsizetype close = matchingClose(code, open);
                if (close < open)
                    continue;
                const auto arguments = callArguments(code, open, close);
                // Only the texts written in the call: a helper such as textToNumber(cell) also
                // throws with what it is given, but that is the offending input, not a message.
                for (const auto& [count, texts] : helpers.values(name))
                    if (count == arguments.size())
                        for (int i : texts)
                            literalsOf({s, arguments[i].first, arguments[i].second}, found);
            }
        }
    }
    found.removeDuplicates();
    found.sort();
    return found;
}

QStringList messageFragments(const QString& message) {
    static const QRegularExpression placeholder(QStringLiteral("%(L?\\d{1,2}|s|d|n)"));
    QStringList fragments;
    for (const QString& piece : message.split(placeholder)) {
        const QString fragment = piece.simplified();
        if (std::any_of(fragment.begin(), fragment.end(), [](QChar c) { return c.isLetter(); }))
            fragments << fragment;
    }
    return fragments;
}

QString visibleText(const QString& html) {
    static const QRegularExpression hidden(QStringLiteral("<(script|style)\\b.*?</\\1>|<!--.*?-->|<[^>]*>"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression entity(QStringLiteral("&(#\\d+|#x[0-9a-fA-F]+|[a-z]+);"));
    static const QMap<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},    {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},     {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},   {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("laquo"), QStringLiteral("«")},  {QStringLiteral("raquo"), QStringLiteral("»")},
        {QStringLiteral("hellip"), QStringLiteral("…")}, {QStringLiteral("mdash"), QStringLiteral("—")},
        {QStringLiteral("ndash"), QStringLiteral("–")},
    };
    QString text = html;
    text.replace(hidden, QStringLiteral(" "));
    QString decoded;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        decoded += text.mid(last, match.capturedStart() - last);
        const QString name = match.captured(1);
        if (name.startsWith(u'#')) {
            const bool hex = name.size() > 1 && (name[1] == u'x');
            const char32_t code = name.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
            decoded += QString::fromUcs4(&code, 1);
        } else {
            decoded += named.value(name, match.captured());
        }
        last = match.capturedEnd();
    }
    decoded += text.mid(last);
    return decoded.simplified();
}
