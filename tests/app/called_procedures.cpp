#include "called_procedures.h"

#include <QRegularExpression>
#include <optional>

namespace calledprocs {

namespace {

constexpr int kMaxWrapperDepth = 3;

// Line comments go (they quote calls as examples); the lines stay where they were.
QString withoutLineComments(const QString& text)
{
    static const QRegularExpression comment(QStringLiteral("(^|\\s)//[^\\n]*"),
                                            QRegularExpression::MultilineOption);
    QString stripped = text;
    stripped.replace(comment, QStringLiteral("\\1"));
    return stripped;
}

int lineAt(const QString& text, qsizetype pos)
{
    return static_cast<int>(text.left(pos).count(QLatin1Char('\n'))) + 1;
}

// The position just past the bracket that closes the one at `open`, or -1.
qsizetype closingBracket(const QString& text, qsizetype open)
{
    int depth = 0;
    bool inString = false;
    for (qsizetype i = open; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inString) {
            if (c == QLatin1Char('\\'))
                ++i;
            else if (c == QLatin1Char('"'))
                inString = false;
            continue;
        }
        if (c == QLatin1Char('"'))
            inString = true;
        else if (c == QLatin1Char('(') || c == QLatin1Char('{') || c == QLatin1Char('['))
            ++depth;
        else if ((c == QLatin1Char(')') || c == QLatin1Char('}') || c == QLatin1Char(']')) && --depth == 0)
            return i + 1;
    }
    return -1;
}

// The arguments of the call whose opening parenthesis is at `open`, split at the commas of its level.
QStringList argumentsAt(const QString& text, qsizetype open)
{
    const qsizetype end = closingBracket(text, open);
    if (end < 0)
        return {};
    QStringList args;
    qsizetype start = open + 1;
    for (qsizetype i = start; i < end - 1; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('(') || c == QLatin1Char('{') || c == QLatin1Char('[')) {
            i = closingBracket(text, i) - 1;
            if (i < 0)
                return {};
        } else if (c == QLatin1Char(',')) {
            args << text.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    args << text.mid(start, end - 1 - start).trimmed();
    return args;
}

// Parameters rather than arguments: the definition or a declaration of the function called.
bool isDeclaration(const QStringList& args)
{
    static const QRegularExpression parameter(QStringLiteral("\\bQString\\s*&"));
    return parameter.match(args.join(QLatin1Char(','))).hasMatch();
}

QStringList constantsIn(const QString& code)
{
    static const QRegularExpression constant(QStringLiteral("\\bformnames::(\\w+)"));
    QStringList names;
    for (const auto& match : constant.globalMatch(code))
        names << match.captured(1);
    return names;
}

// The text of the braces that follow `pattern`'s first match in `text`, or nothing.
std::optional<QString> bracedAfter(const QString& text, const QRegularExpression& pattern)
{
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qsizetype open = match.capturedEnd() - 1;
    const qsizetype end = closingBracket(text, open);
    if (end < 0)
        return std::nullopt;
    return text.mid(open, end - open);
}

class Resolver {
public:
    Resolver(const QString& text, bool hasTablePairs) : text_(text), hasTablePairs_(hasTablePairs) {}

    // The names' constants an argument at `pos` can stand for; nothing when it cannot be followed.
    // `forwarded` is set when the argument is a parameter of a forwarding callIfLoaded itself.
    std::optional<QStringList> resolve(QString arg, qsizetype pos, int depth, bool& forwarded) const
    {
        while (arg.startsWith(QLatin1Char('*')) || arg.startsWith(QLatin1Char('&')))
            arg = arg.mid(1).trimmed();
        static const QRegularExpression constant(QStringLiteral("^formnames::(\\w+)$"));
        static const QRegularExpression identifier(QStringLiteral("^\\w+$"));
        static const QRegularExpression member(QStringLiteral("^\\w+(\\.|->)\\w+$"));
        if (const auto match = constant.match(arg); match.hasMatch())
            return QStringList{match.captured(1)};
        if (member.match(arg).hasMatch() && hasTablePairs_)
            return QStringList{}; // the file's table of pairs holds what it calls
        if (!identifier.match(arg).hasMatch())
            return std::nullopt;
        if (auto walked = loopRange(arg, pos))
            return walked;
        return fromCallers(arg, pos, depth, forwarded);
    }

private:
    // What the range of the innermost loop over `variable` before `pos` holds.
    std::optional<QStringList> loopRange(const QString& variable, qsizetype pos) const
    {
        const QRegularExpression loop(QStringLiteral("\\bfor\\s*\\(\\s*(?:const\\s+)?(?:QString|auto)\\s*"
                                                     "(?:\\*\\s*const|\\*|&)?\\s*%1\\s*:\\s*")
                                          .arg(variable));
        qsizetype rangeAt = -1;
        for (const auto& match : loop.globalMatch(text_.left(pos)))
            rangeAt = match.capturedEnd();
        if (rangeAt < 0)
            return std::nullopt;
        if (text_[rangeAt] == QLatin1Char('{')) {
            const qsizetype end = closingBracket(text_, rangeAt);
            return end < 0 ? std::nullopt : std::optional(constantsIn(text_.mid(rangeAt, end - rangeAt)));
        }
        static const QRegularExpression named(QStringLiteral("^(\\w+)\\s*(\\()?"));
        const auto name = named.match(text_.mid(rangeAt, 200));
        if (!name.hasMatch())
            return std::nullopt;
        const QString range = QRegularExpression::escape(name.captured(1));
        // A function that returns the names, or a table of them.
        const QRegularExpression definition(
            name.hasCaptured(2) ? QStringLiteral("\\b%1\\s*\\([^()]*\\)\\s*(?:const\\s*)?\\{").arg(range)
                                : QStringLiteral("\\b%1\\s*(?:\\[\\s*\\w*\\s*\\])?\\s*=?\\s*\\{").arg(range));
        if (auto body = bracedAfter(text_, definition))
            return constantsIn(*body);
        return std::nullopt;
    }

    // A parameter of the enclosing function: what that function's callers in this file hand it.
    std::optional<QStringList> fromCallers(const QString& parameter, qsizetype pos, int depth,
                                           bool& forwarded) const
    {
        static const QRegularExpression function(
            QStringLiteral("\\b(\\w+)\\s*\\(([^()]*)\\)\\s*(?:const\\s*)?(?:override\\s*)?\\{"));
        static const QStringList statements = {QStringLiteral("if"), QStringLiteral("for"),
                                               QStringLiteral("while"), QStringLiteral("switch"),
                                               QStringLiteral("catch")};
        QString name;
        QStringList parameters;
        for (const auto& match : function.globalMatch(text_.left(pos))) {
            if (statements.contains(match.captured(1)))
                continue;
            name = match.captured(1);
            parameters = match.captured(2).split(QLatin1Char(','));
        }
        const QRegularExpression named(QStringLiteral("\\b%1\\s*$").arg(parameter));
        qsizetype index = -1;
        for (qsizetype i = 0; i < parameters.size() && index < 0; ++i) {
            if (named.match(parameters[i]).hasMatch())
                index = i;
        }
        if (name.isEmpty() || index < 0)
            return std::nullopt;
        if (name == QStringLiteral("callIfLoaded")) {
            forwarded = true;
            return QStringList{};
        }
        if (depth >= kMaxWrapperDepth)
            return std::nullopt;
        const QRegularExpression call(QStringLiteral("\\b%1\\s*\\(").arg(name));
        QStringList names;
        bool called = false;
        for (const auto& match : call.globalMatch(text_)) {
            const QStringList args = argumentsAt(text_, match.capturedEnd() - 1);
            if (args.size() != parameters.size() || isDeclaration(args))
                continue; // the definition or a declaration
            bool innerForwarded = false;
            const auto resolved = resolve(args[index], match.capturedStart(), depth + 1, innerForwarded);
            if (!resolved)
                return std::nullopt;
            names << *resolved;
            called = true;
        }
        return called ? std::optional(names) : std::nullopt;
    }

    const QString& text_;
    bool hasTablePairs_;
};

} // namespace

SourceCalls callsIn(const QString& source, const QString& file, const QStringList& windows,
                    const QStringList& procedures)
{
    const QString text = withoutLineComments(source);
    SourceCalls calls;
    auto where = [&](qsizetype pos) { return QStringLiteral("%1:%2").arg(file).arg(lineAt(text, pos)); };

    // A table of calls: a window's constant then a procedure's in one pair of braces.
    static const QRegularExpression tablePair(
        QStringLiteral("\\{\\s*&?formnames::(\\w+)\\s*,\\s*&?formnames::(\\w+)\\s*[,}]"));
    for (const auto& match : tablePair.globalMatch(text)) {
        if (windows.contains(match.captured(1)) && procedures.contains(match.captured(2)))
            calls.pairs.push_back({match.captured(1), match.captured(2), where(match.capturedStart())});
    }
    const Resolver resolver(text, !calls.pairs.empty());

    static const QRegularExpression byName(QStringLiteral("\\bcallIfLoaded\\s*\\("));
    for (const auto& match : byName.globalMatch(text)) {
        const qsizetype pos = match.capturedStart();
        const QStringList args = argumentsAt(text, match.capturedEnd() - 1);
        if (args.size() == 2 && isDeclaration(args))
            continue; // a declaration of the call itself
        bool forwarded = false;
        const auto windowNames =
            args.size() == 2 ? resolver.resolve(args[0], pos, 0, forwarded) : std::nullopt;
        const auto procedureNames =
            args.size() == 2 ? resolver.resolve(args[1], pos, 0, forwarded) : std::nullopt;
        if (forwarded)
            continue;
        if (!windowNames || !procedureNames) {
            calls.unresolved << where(pos) + QStringLiteral(": callIfLoaded(") +
                                    args.join(QStringLiteral(", ")) + QLatin1Char(')');
            continue;
        }
        for (const QString& window : *windowNames) {
            for (const QString& procedure : *procedureNames) {
                if (windows.contains(window) && procedures.contains(procedure))
                    calls.pairs.push_back({window, procedure, where(pos)});
            }
        }
    }
    return calls;
}

DeclaredNames declaredNames(const QString& headerText)
{
    static const QRegularExpression declaration(
        QStringLiteral("^inline const QString (\\w+) = QStringLiteral\\(\"\\w+\"\\);"));
    DeclaredNames names;
    QStringList* section = nullptr;
    for (const QString& line : headerText.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("// ")))
            section = line.startsWith(QStringLiteral("// Windows."))     ? &names.windows
                      : line.startsWith(QStringLiteral("// Procedures")) ? &names.procedures
                                                                         : nullptr;
        else if (const auto match = declaration.match(line); match.hasMatch() && section != nullptr)
            *section << match.captured(1);
    }
    return names;
}

} // namespace calledprocs
