#include "platform/ui/dialog_service.h"

#include <QPageSize>
#include <QRegularExpression>

namespace ui {

std::vector<FileFilter> parseClassicFilter(const QString& filter)
{
    static const QRegularExpression separators(QStringLiteral("[|:]"));
    const QStringList parts = filter.split(separators);
    std::vector<FileFilter> filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        FileFilter entry{parts[i].trimmed(), i + 1 < parts.size() ? parts[i + 1].trimmed() : QString()};
        if (entry.description.isEmpty() && entry.patterns.isEmpty())
            continue; // a trailing separator
        filters.push_back(entry);
    }
    return filters;
}

QString classicFilterText(const std::vector<FileFilter>& filters)
{
    QStringList parts;
    for (const FileFilter& f : filters)
        parts << f.description << f.patterns;
    return parts.join(QLatin1Char('|'));
}

QString qtNameFilter(const FileFilter& filter)
{
    QStringList patterns;
    for (const QString& raw : filter.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = raw.trimmed();
        if (pattern.isEmpty())
            continue;
        // Classically "*.*" is every file, also those without an extension.
        patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    if (patterns.isEmpty())
        patterns << QStringLiteral("*");
    QString wanted = patterns.join(QLatin1Char(' '));

    // Qt reads the patterns from the last parenthesised group of the text.
    static const QRegularExpression trailingGroup(QStringLiteral("^(.*)\\(([^()]*)\\)\\s*$"));
    const auto match = trailingGroup.match(filter.description);
    if (match.hasMatch()) {
        if (match.captured(2).simplified() == wanted)
            return filter.description.trimmed();
        return match.captured(1).trimmed() + QStringLiteral(" (") + wanted + QLatin1Char(')');
    }
    if (filter.description.isEmpty())
        return wanted;
    return filter.description + QStringLiteral(" (") + wanted + QLatin1Char(')');
}

FileDialogResult showFileDialog(const FileDialogRequest& request)
{
    if (request.kind == FileDialogRequest::Kind::Save)
        return dialogService().saveFile(request);
    return dialogService().openFile(request);
}

namespace {
struct PaperNumber {
    int classic;
    QPageSize::PageSizeId qt;
};
constexpr PaperNumber kPapers[] = {
    {1, QPageSize::Letter},
    {5, QPageSize::Legal},
    {7, QPageSize::Executive},
    {8, QPageSize::A3},
    {9, QPageSize::A4},
    {11, QPageSize::A5},
    {12, QPageSize::B4},
    {13, QPageSize::B5},
    {20, QPageSize::Envelope10},
    {27, QPageSize::EnvelopeDL},
    {28, QPageSize::EnvelopeC5},
    {34, QPageSize::EnvelopeB5},
    {37, QPageSize::EnvelopeMonarch},
    {3, QPageSize::Tabloid},
};
} // namespace

int classicPaperSize(int qtPageSizeId)
{
    for (const PaperNumber& p : kPapers)
        if (p.qt == qtPageSizeId)
            return p.classic;
    return 0;
}

int qtPageSizeId(int classicPaperSize)
{
    for (const PaperNumber& p : kPapers)
        if (p.classic == classicPaperSize)
            return p.qt;
    return QPageSize::A4;
}

} // namespace ui
