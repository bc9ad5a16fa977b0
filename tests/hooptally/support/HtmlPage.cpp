#include "support/HtmlPage.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace hooptally::testing {

namespace {

QString trimAscii(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    auto ascii = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (first < last && ascii(text[first]))
        ++first;
    while (last > first && ascii(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

void collect(const HtmlNode& node, const QString& name, bool intoMatches, std::vector<const HtmlNode*>& found)
{
    for (const auto& child : node.children) {
        if (child->name == name) {
            found.push_back(child.get());
            if (!intoMatches)
                continue;
        }
        collect(*child, name, intoMatches, found);
    }
}

QString run(const QStringList& arguments, QByteArray* out)
{
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"), arguments);
    if (!xmllint.waitForFinished(30000))
        return QStringLiteral("xmllint did not run");
    if (out)
        *out = xmllint.readAllStandardOutput();
    return QString::fromLocal8Bit(xmllint.readAllStandardError());
}

} // namespace

QString HtmlNode::innerText() const
{
    QString result = text;
    for (const auto& child : children)
        result += child->name.isEmpty() ? child->text : child->innerText();
    return trimAscii(result);
}

std::vector<const HtmlNode*> HtmlNode::descendants(const QString& elementName) const
{
    std::vector<const HtmlNode*> found;
    collect(*this, elementName, true, found);
    return found;
}

std::vector<const HtmlNode*> HtmlNode::rows() const
{
    std::vector<const HtmlNode*> found;
    for (const auto& child : children) {
        if (child->name == QStringLiteral("tr"))
            found.push_back(child.get());
        else if (child->name == QStringLiteral("tbody") || child->name == QStringLiteral("thead"))
            collect(*child, QStringLiteral("tr"), false, found);
    }
    return found;
}

std::vector<const HtmlNode*> HtmlNode::cells() const
{
    std::vector<const HtmlNode*> found;
    for (const auto& child : children) {
        if (child->name == QStringLiteral("td") || child->name == QStringLiteral("th"))
            found.push_back(child.get());
    }
    return found;
}

QStringList HtmlNode::cellTexts() const
{
    QStringList texts;
    for (const HtmlNode* cell : cells())
        texts << cell->innerText();
    return texts;
}

int HtmlNode::columnSpan() const
{
    int span = 0;
    for (const HtmlNode* cell : cells())
        span += cell->attributes.value(QStringLiteral("colspan"), QStringLiteral("1")).toInt();
    return span;
}

std::vector<const HtmlNode*> ParsedHtml::topTables() const
{
    std::vector<const HtmlNode*> found;
    if (root)
        collect(*root, QStringLiteral("table"), false, found);
    return found;
}

ParsedHtml parseHtmlFile(const QString& path)
{
    ParsedHtml parsed;
    QByteArray xml;
    // The parser's complaints go to the error output, the tree it built to the standard output.
    parsed.errors = run({QStringLiteral("--html"), QStringLiteral("--xmlout"), QStringLiteral("--encode"),
                         QStringLiteral("UTF-8"), path},
                        &xml);
    // What precedes the root element (declarations, the page's own XML declaration read as a
    // processing instruction) and the root's namespace attributes are of no interest here.
    QString document = QString::fromUtf8(xml);
    const qsizetype start = document.indexOf(QStringLiteral("<html"));
    if (start < 0)
        return parsed;
    document = document.mid(start);
    document.replace(QRegularExpression(QStringLiteral("^<html[^>]*>")), QStringLiteral("<html>"));

    QXmlStreamReader reader(document);
    std::vector<HtmlNode*> open;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            auto node = std::make_unique<HtmlNode>();
            node->name = reader.name().toString().toLower();
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                node->attributes.insert(attribute.qualifiedName().toString().toLower(),
                                        attribute.value().toString());
            HtmlNode* raw = node.get();
            if (open.empty())
                parsed.root = std::move(node);
            else
                open.back()->children.push_back(std::move(node));
            open.push_back(raw);
        } else if (reader.isEndElement()) {
            if (!open.empty())
                open.pop_back();
        } else if (reader.isCharacters() && !open.empty()) {
            auto node = std::make_unique<HtmlNode>();
            node->text = reader.text().toString();
            open.back()->children.push_back(std::move(node));
        }
    }
    if (reader.hasError())
        parsed.errors += QStringLiteral("\nconverted page unreadable: ") + reader.errorString();
    return parsed;
}

} // namespace hooptally::testing
