#include "SimHostile.h"

#include "SimData.h"

namespace kv::sim {

QStringList hostileTexts(const QString& beacon) {
    return {
        // Styled text where the first line holds a tag; its image would be fetched.
        QStringLiteral("Greeting <img src=\"%1/html.png\">").arg(beacon),
        QStringLiteral("<b>Bold</b> & <i>slanted</i> <a href=\"javascript:alert(1)\">link</a>"),
        QStringLiteral("![pixel](%1/markdown.png) and [passwords](file:///etc/passwd)").arg(beacon),
        QStringLiteral("[run me](javascript:alert(1)) <script>alert(1)</script>"),
        // A direction override and zero-width characters.
        QStringLiteral("\u202Egnp.exe \u200Bzero\u200Dwidth\uFEFFjoin"),
        QStringLiteral("nul") + QChar(u'\0') + QStringLiteral("byte"),
        // Written by the JSON writer as "\ud800".
        QStringLiteral("half ") + QChar(0xD800) + QStringLiteral(" surrogate"),
        QStringLiteral("<img src=\"%1/bare.png\"><table><tr><td>cell</td></tr></table>")
            .arg(beacon),
    };
}

QString endlessWord() {
    return QString(100'000, u'W');
}

namespace {

// Hands out the hostile texts in turn, so that each kind of field gets each kind of text.
class Rotation {
public:
    explicit Rotation(QStringList texts) : m_texts(std::move(texts)) {}
    QString next() { return m_texts[m_index++ % m_texts.size()]; }

private:
    QStringList m_texts;
    qsizetype m_index = 0;
};

} // namespace

void makeHostile(SimData& data, const QString& beacon) {
    Rotation text(hostileTexts(beacon));
    // Addresses a careless console would open or fetch.
    Rotation address({QStringLiteral("javascript:alert(document.cookie)"),
                      QStringLiteral("file:///etc/passwd"), beacon + QStringLiteral("/page.html"),
                      QStringLiteral("<img src=\"%1/url.png\">").arg(beacon)});
    Rotation logo({QStringLiteral("file:///dev/zero"), QStringLiteral("javascript:alert(1)"),
                   QStringLiteral("<img src=x>"), QStringLiteral("data:image/png;base64,AAAA")});

    data.user.name = text.next();
    data.user.email = text.next();
    for (SimClient& c : data.clients)
        c.name = text.next();
    for (SimProject& p : data.projects) {
        p.name = text.next();
        p.websiteUrl = address.next();
        p.widgetColor = text.next();
        p.widgetHeaderIcon = text.next();
        p.widgetLogoUrl = logo.next();
    }
    bool endless = false;
    for (SimConversation& c : data.conversations) {
        // One visitor's name is a single word of 100 000 letters.
        c.visitorName = endless ? text.next() : endlessWord();
        endless = true;
        c.visitorCountry = c.visitorCountry ? QStringLiteral("<b") : text.next();
        c.tags = QStringList{text.next(), text.next()};
        c.aiEscalationReason = text.next();
        c.aiSuggestedReply = text.next();
        for (SimChunk& chunk : c.chunks) {
            chunk.title = text.next();
            chunk.snippet = text.next();
            chunk.sourceUrl = address.next();
        }
        for (SimMessage& m : c.messages) {
            m.content = text.next();
            if (m.translation)
                m.translation = text.next();
            // The translator answers with hostile text too.
            if (m.role == u"user")
                data.translations.insert(m.content, {QStringLiteral("fr"), text.next()});
        }
    }
    if (!data.conversations.isEmpty() && !data.conversations[0].messages.isEmpty())
        data.conversations[0].messages.last().content = endlessWord();
    for (SimVisitor& v : data.visitors) {
        v.pageUrl = address.next();
        v.pageTitle = text.next();
        v.country = text.next();
        v.city = text.next();
        v.browser = text.next();
        v.os = text.next();
        v.referrer = address.next();
    }
    if (!data.visitors.isEmpty())
        data.visitors[0].pageTitle = endlessWord();
    for (QList<SimSnippet>& list : data.snippets) {
        for (SimSnippet& s : list) {
            s.title = text.next();
            s.body = text.next();
            s.emoji = text.next();
        }
    }
}

} // namespace kv::sim
