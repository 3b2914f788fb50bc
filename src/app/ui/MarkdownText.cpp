#include "MarkdownText.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace kv::markdown {

namespace {

struct ImageAt {
    int position;
    int length;
    QString source;
};

// Every image becomes its address as a link, at the same place.
void replaceImagesWithLinks(QTextDocument& doc) {
    QList<ImageAt> images;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat()) {
                images.append({fragment.position(), fragment.length(),
                               fragment.charFormat().toImageFormat().name()});
            }
        }
    }
    for (auto image = images.crbegin(); image != images.crend(); ++image) {
        QTextCursor cursor(&doc);
        cursor.setPosition(image->position);
        cursor.setPosition(image->position + image->length, QTextCursor::KeepAnchor);
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(image->source);
        link.setFontUnderline(true);
        cursor.insertText(image->source, link);
    }
}

} // namespace

QString toRichText(const QString& markdown) {
    QTextDocument doc;
    doc.setMarkdown(markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                              QTextDocument::MarkdownNoHTML));
    if (doc.isEmpty() && !markdown.trimmed().isEmpty())
        return markdown.toHtmlEscaped();
    replaceImagesWithLinks(doc);
    QString html = doc.toHtml();
    // The document's own font would override the label's (the operator's text size).
    static const QRegularExpression bodyStyle(QStringLiteral("<body style=\"[^\"]*\">"));
    html.replace(bodyStyle, QStringLiteral("<body>"));
    return html;
}

} // namespace kv::markdown
