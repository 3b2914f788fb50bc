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

// Links in the colour asked for: the document's own default is the desktop
// palette's, which may not stand out on a bubble.
void colourLinks(QTextDocument& doc, const QColor& color) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isAnchor())
                continue;
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            QTextCharFormat format;
            format.setForeground(color);
            format.setFontUnderline(true);
            cursor.mergeCharFormat(format);
        }
    }
}

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

QString toRichText(const QString& markdown, const QColor& linkColor) {
    QTextDocument doc;
    doc.setMarkdown(markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                              QTextDocument::MarkdownNoHTML));
    if (doc.isEmpty() && !markdown.trimmed().isEmpty())
        return markdown.toHtmlEscaped();
    replaceImagesWithLinks(doc);
    colourLinks(doc, linkColor);
    // The body alone: the document's own font would override the label's (the
    // operator's text size), and a fragment can be wrapped by the screen.
    const QString html = doc.toHtml();
    static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const auto match = body.match(html);
    return match.hasMatch() ? match.captured(1) : html;
}

} // namespace kv::markdown
