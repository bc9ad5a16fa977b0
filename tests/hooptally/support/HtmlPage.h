#pragma once

#include <memory>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>

namespace hooptally::testing {

// One element of a page as libxml2's HTML parser built it; text nodes have an empty name.
struct HtmlNode
{
    QString name;
    QHash<QString, QString> attributes;
    QString text;
    std::vector<std::unique_ptr<HtmlNode>> children;

    // The text of the node and its descendants, ASCII white space at both ends removed.
    QString innerText() const;
    // Every descendant element of that name, in document order.
    std::vector<const HtmlNode*> descendants(const QString& elementName) const;
    // The rows of a table, not those of tables inside it.
    std::vector<const HtmlNode*> rows() const;
    // The cells of a row.
    std::vector<const HtmlNode*> cells() const;
    // The cells' texts.
    QStringList cellTexts() const;
    // The columns a row covers: its cells' colspans summed (1 when absent).
    int columnSpan() const;
};

// A page read by `xmllint --html`: what the parser reported and the tree it built.
struct ParsedHtml
{
    QString errors; // everything xmllint printed for the page; empty when it had nothing to say
    std::unique_ptr<HtmlNode> root;
    // The tables that are not inside another table, in document order.
    std::vector<const HtmlNode*> topTables() const;
};

ParsedHtml parseHtmlFile(const QString& path);

} // namespace hooptally::testing
