#include "SimData.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace kv::sim {

namespace {

struct AgentSeed {
    const char* name;
    const char* website;
    const char* color;    // null: none
    const char* icon;     // null: none
    const char* logo;     // null: none
    int client;           // index into clients, -1: ungrouped
    const char* language; // the language most of its visitors write in
};

// Header icons and logos are mixed on purpose: known names, an unknown
// spelling, none; bare-path and absolute logos, and none. The absolute one
// points at a closed loopback port, so it fails fast and the fallback shows.
constexpr std::array agentSeeds{
    AgentSeed{"Northwind Support", "https://northwind-outfitters.example", "#2F6FEB", "headset",
              "/static/logos/northwind.svg", 0, "en"},
    AgentSeed{"Bluebell Dental Concierge", "https://bluebell-dental.example", "#3BA9A0", "person",
              "http://127.0.0.1:9/logos/bluebell.png", 1, "sv"},
    AgentSeed{"Harbor & Vine Sommelier", "https://harborandvine.example", "#8E2C48", "sparkles",
              nullptr, 2, "it"},
    AgentSeed{"Fjordlys Booking", "https://fjordlys.example", nullptr, "robot", nullptr, 0, "da"},
    AgentSeed{"Café Lumière", "https://cafe-lumiere.example", "#C9A227", nullptr, nullptr, -1,
              "fr"},
    AgentSeed{"Bergmann Technik Hilfe", "https://bergmann-technik.example", "#4A5568", "Robot",
              "/static/logos/bergmann.svg", 1, "de"},
    AgentSeed{"Solmar Reservas", "https://solmar.example", "#E07A1F", "headset", nullptr, -1, "es"},
};

struct ChatSeed {
    const char* language;
    const char* visitorText;
    const char* english;
    const char* assistantText;
    const char* escalation;     // null: none
    const char* suggestedReply; // null: none
};

constexpr std::array chatSeeds{
    ChatSeed{"en", "Can I change the delivery address on order #4471? It's going to my old flat.",
             "Can I change the delivery address on order #4471? It's going to my old flat.",
             "Once an order has shipped I can't change its address, but a teammate can ask the "
             "courier to redirect it.",
             "Order changes after dispatch need a human.",
             "Hi! I've asked the courier to redirect parcel #4471 — you'll get a new tracking "
             "email within the hour."},
    ChatSeed{"da", "Hej, jeg vil gerne tale med et menneske om min booking.",
             "Hi, I would like to talk to a human about my booking.",
             "Selvfølgelig — jeg henter en kollega til dig.", "Visitor asked for a human.",
             "Hej! Jeg kigger på din booking nu."},
    ChatSeed{"de", "Mein Gerät zeigt den Fehler E42 an. Was kann ich tun?",
             "My device shows error E42. What can I do?",
             "E42 bedeutet meist einen verstopften Filter. Haben Sie ihn schon gereinigt?",
             "Repeated error after troubleshooting.", nullptr},
    ChatSeed{"fr", "Bonjour, avez-vous une table pour quatre ce soir ?",
             "Hello, do you have a table for four tonight?",
             "Bonjour ! Nous avons une table à 20 h 30. Voulez-vous la réserver ?", nullptr,
             nullptr},
    ChatSeed{"es", "¿A qué hora es el check-in?", "What time is check-in?",
             "El check-in es a partir de las 15:00.", nullptr, nullptr},
    ChatSeed{"sv", "Hej! Kan jag avboka min tid i morgon?",
             "Hi! Can I cancel my appointment tomorrow?",
             "Jag kan inte avboka åt dig, men en kollega hjälper dig strax.",
             "Cancellations need staff approval.", "Hej! Jag har avbokat din tid. Välkommen åter!"},
    ChatSeed{"no", "Har dere ledige rom i helgen?", "Do you have rooms available this weekend?",
             "Ja, vi har to dobbeltrom ledige fra fredag.", nullptr, nullptr},
    ChatSeed{"fi", "Voinko maksaa laskulla?", "Can I pay by invoice?",
             "Kyllä, lasku on mahdollinen yli 50 euron tilauksille.", nullptr, nullptr},
    ChatSeed{"it", "Spedite anche in Italia?", "Do you also ship to Italy?",
             "Sì, spediamo in tutta Italia in 3–5 giorni lavorativi.", nullptr, nullptr},
    ChatSeed{"nl", "Is de winkel op zondag open?", "Is the shop open on Sunday?",
             "Op zondag zijn we open van 12:00 tot 17:00.", nullptr, nullptr},
    ChatSeed{"pt", "Vocês têm opções sem glúten?", "Do you have gluten-free options?",
             "Temos sim! Vários pratos do menu são sem glúten.", nullptr, nullptr},
    ChatSeed{"en", "I was charged twice for my subscription this month. Can someone refund one?",
             "I was charged twice for my subscription this month. Can someone refund one?",
             "I'm sorry about that. Refunds are handled by our billing team — I've flagged it.",
             "Billing dispute: refund requested.",
             "Hi, I've refunded the duplicate charge. It should appear in 3–5 days."},
};

const QHash<QString, QString> countryOf{
    {"en", "GB"}, {"da", "DK"}, {"de", "DE"}, {"fr", "FR"}, {"es", "ES"}, {"sv", "SE"},
    {"no", "NO"}, {"fi", "FI"}, {"it", "IT"}, {"nl", "NL"}, {"pt", "BR"},
};

constexpr std::array visitorNames{"Mette Hansen",  "Lukas Weber",    "Camille Durand",
                                  "Sofia García",  "Erik Lindqvist", "Ingrid Berg",
                                  "Aino Virtanen", "Giulia Romano",  "Daan de Vries",
                                  "Ana Souza",     "Oliver Smith",   "Priya Patel"};
constexpr std::array cities{"Copenhagen", "Berlin",  "Lyon",    "Valencia",     "Malmö", "Bergen",
                            "Tampere",    "Bologna", "Utrecht", "Porto Alegre", "Leeds", "Austin"};
constexpr std::array browsers{"Chrome", "Safari", "Firefox", "Edge"};
constexpr std::array systems{"macOS", "Windows", "iOS", "Android", "Linux"};
constexpr std::array statuses{"waiting", "active", "operator_active", "resolved"};

struct PageSeed {
    const char* path;
    const char* title;
};
// The AI's suggested reply where the chat seed has none, in the visitor's language.
const QHash<QString, QString> suggestionIn{
    {"en", "Hi! I'm a real person and I'm looking into this for you right now."},
    {"da", "Hej! Jeg er et rigtigt menneske og kigger på det med det samme."},
    {"de", "Hallo! Ich bin ein Mensch und kümmere mich gleich darum."},
    {"fr", "Bonjour ! Je suis une vraie personne et je m'en occupe tout de suite."},
    {"es", "¡Hola! Soy una persona real y lo reviso ahora mismo."},
    {"sv", "Hej! Jag är en riktig person och tittar på det direkt."},
    {"no", "Hei! Jeg er et ekte menneske og ser på det med en gang."},
    {"fi", "Hei! Olen oikea ihminen ja katson asiaa heti."},
    {"it", "Ciao! Sono una persona reale e me ne occupo subito."},
    {"nl", "Hallo! Ik ben een echt persoon en kijk er meteen naar."},
    {"pt", "Olá! Sou uma pessoa real e vou verificar isso agora mesmo."},
};

constexpr std::array chunkTitles{"Help centre", "Delivery and returns", "Opening hours"};
constexpr std::array chunkSnippets{
    "Orders ship within two working days; returns are free within 30 days.",
    "We're open Monday to Friday, 9:00–17:00, and Saturday 10:00–14:00.",
    "Refunds reach your account three to five working days after we receive the item.",
};

constexpr char longVisitorText[] =
    "Sorry for the long message, but I want to explain properly. I ordered two jackets last "
    "week, one in medium and one in large, because I wasn't sure about the size. The medium "
    "arrived on Tuesday and fits perfectly, but the large hasn't arrived at all, and the "
    "tracking page still says it is waiting at the depot. I'd like to cancel the large one if "
    "it hasn't left yet, or return it when it comes — whichever is easier for you. Also, can "
    "the refund go back to the card I paid with? I changed banks recently and want to be sure "
    "it doesn't get lost. Thank you so much for your help!";

struct SnippetSeed {
    const char* language;
    const char* shortcut;
    const char* title;
    const char* body;
    const char* emoji;
};

// Three canned replies per agent, in the language its visitors write in.
constexpr std::array snippetSeeds{
    SnippetSeed{"en", "hello", "Greeting", "Hi there! I'm a real person and happy to help.", "👋"},
    SnippetSeed{"en", "thanks", "Thanks for waiting",
                "Thanks for your patience — I'm looking into it now.", "🙏"},
    SnippetSeed{"en", "hours", "Opening hours",
                "We're open Monday to Friday, 9:00–17:00, and Saturday 10:00–14:00.", ""},
    SnippetSeed{"sv", "hej", "Hälsning", "Hej! Jag är en riktig person och hjälper gärna till.",
                "👋"},
    SnippetSeed{"sv", "tack", "Tack för att du väntade",
                "Tack för ditt tålamod — jag tittar på det nu.", "🙏"},
    SnippetSeed{"sv", "tider", "Öppettider", "Vi har öppet måndag–fredag 8–17.", "🕘"},
    SnippetSeed{"it", "ciao", "Saluto", "Ciao! Sono una persona reale e sono qui per aiutarti.",
                "👋"},
    SnippetSeed{"it", "grazie", "Grazie dell'attesa",
                "Grazie per la pazienza — me ne sto occupando ora.", "🙏"},
    SnippetSeed{"it", "spedizione", "Spedizione",
                "Spediamo in tutta Italia in 3–5 giorni lavorativi.", "📦"},
    SnippetSeed{"da", "hej", "Hilsen", "Hej! Jeg er et rigtigt menneske og hjælper gerne.", "👋"},
    SnippetSeed{"da", "tak", "Tak fordi du ventede",
                "Tak for din tålmodighed — jeg kigger på det nu.", "🙏"},
    SnippetSeed{"da", "tjekind", "Check-in", "Check-in er fra kl. 15, og check-ud senest kl. 11.",
                "🛎️"},
    SnippetSeed{"fr", "bonjour", "Accueil",
                "Bonjour ! Je suis une vraie personne, ravie de vous aider.", "👋"},
    SnippetSeed{"fr", "merci", "Merci de patienter",
                "Merci de votre patience — je m'en occupe tout de suite.", "🙏"},
    SnippetSeed{"fr", "horaires", "Horaires",
                "Nous sommes ouverts du mardi au dimanche, de 8 h à 18 h.", "☕"},
    SnippetSeed{"de", "hallo", "Begrüßung", "Hallo! Ich bin ein Mensch und helfe gern weiter.",
                "👋"},
    SnippetSeed{"de", "danke", "Danke fürs Warten",
                "Danke für Ihre Geduld — ich schaue mir das jetzt an.", "🙏"},
    SnippetSeed{"de", "filter", "Filter reinigen",
                "Bitte nehmen Sie den Filter heraus und spülen Sie ihn unter warmem Wasser.", "🔧"},
    SnippetSeed{"es", "hola", "Saludo", "¡Hola! Soy una persona real y encantada de ayudarte.",
                "👋"},
    SnippetSeed{"es", "gracias", "Gracias por esperar",
                "Gracias por tu paciencia — lo estoy revisando ahora.", "🙏"},
    SnippetSeed{"es", "checkin", "Horario de check-in",
                "El check-in es a partir de las 15:00 y el check-out hasta las 11:00.", "🛎️"},
};

constexpr std::array pages{PageSeed{"/", "Home"},
                           PageSeed{"/pricing", "Pricing"},
                           PageSeed{"/contact", "Contact us"},
                           PageSeed{"/products/trail-jacket", "Trail Jacket — Shop"},
                           PageSeed{"/booking", "Book a table"},
                           PageSeed{"/faq", "Frequently asked questions"}};

template <typename T, size_t N>
const T& pick(std::mt19937_64& random, const std::array<T, N>& items) {
    return items[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

std::optional<QString> text(const char* s) {
    return s ? std::optional<QString>(QString::fromUtf8(s)) : std::nullopt;
}

} // namespace

int between(std::mt19937_64& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

QDateTime SimConversation::lastMessageAt() const {
    return messages.isEmpty() ? QDateTime() : messages.last().createdAt;
}

QString SimConversation::lastMessagePreview() const {
    return messages.isEmpty() ? QString() : messages.last().content.left(140);
}

SimData::SimData(const SimOptions& options, QDateTime now)
    : m_random(options.seed), m_now(now.toUTC()), m_seed(options.seed) {
    user = SimUser{QStringLiteral("u_1"), QStringLiteral("alex@kestovar.example"),
                   QStringLiteral("Alex Morgan"), false, true};
    clients = {SimClient{QStringLiteral("c_1"), QStringLiteral("Northwind Group")},
               SimClient{QStringLiteral("c_2"), QStringLiteral("Bluebell Health")},
               SimClient{QStringLiteral("c_3"), QStringLiteral("Harbor & Vine Hospitality")}};
    seedProjects(std::max(1, options.agents));
    seedConversations(options.conversationsPerAgent);
    seedVisitors(options.visitors);
    seedSnippets();
}

QString SimData::nextId(const QString& prefix) {
    return prefix + QString::number(++m_counter);
}

void SimData::seedProjects(int agents) {
    for (int i = 0; i < agents; ++i) {
        const AgentSeed& seed = agentSeeds[size_t(i) % agentSeeds.size()];
        SimProject p;
        p.id = QStringLiteral("p%1").arg(i + 1);
        p.name = QString::fromUtf8(seed.name);
        if (i >= int(agentSeeds.size()))
            p.name += QStringLiteral(" %1").arg(i / int(agentSeeds.size()) + 1);
        p.websiteUrl = text(seed.website);
        p.widgetColor = text(seed.color);
        p.widgetHeaderIcon = text(seed.icon);
        p.widgetLogoUrl = text(seed.logo);
        if (seed.client >= 0)
            p.clientId = clients[seed.client].id;
        projects.append(p);
        SimPref pref{p.id};
        pref.muted = (i == 4);             // one agent muted entirely
        pref.muteVisitorOnline = (i == 1); // one that only mutes arrivals
        prefs.append(pref);
    }
}

void SimData::seedConversations(int perAgent) {
    int visitorIndex = 0;
    for (qsizetype projectIndex = 0; projectIndex < projects.size(); ++projectIndex) {
        const SimProject& p = projects[projectIndex];
        const QString site = p.websiteUrl.value_or(QStringLiteral("https://example.com"));
        const int count = perAgent > 0 ? perAgent : between(m_random, 3, 6);
        for (int k = 0; k < count; ++k) {
            const ChatSeed& chat = pick(m_random, chatSeeds);
            SimConversation c;
            c.id = nextId(QStringLiteral("conv_"));
            c.projectId = p.id;
            // The first chats of the first agents wait for a human, so the inbox has work.
            c.status = QString::fromLatin1(
                k == 0 && projectIndex < 3 ? "waiting" : statuses[size_t(between(m_random, 0, 3))]);
            if (between(m_random, 0, 4) > 0)
                c.visitorName =
                    QString::fromUtf8(visitorNames[size_t(visitorIndex++) % visitorNames.size()]);
            if (between(m_random, 0, 5) > 0)
                c.visitorCountry = countryOf.value(QString::fromLatin1(chat.language));
            c.visitorId = QStringLiteral("v_%1_%2").arg(p.id).arg(k);
            const int minutesAgo = between(m_random, 1, 60 * 24 * 3);
            c.startedAt = m_now.addSecs(-60 * minutesAgo - 300);
            c.hasUnread = c.status == u"waiting" || between(m_random, 0, 2) == 0;
            if (c.status == u"resolved" && between(m_random, 0, 1))
                c.rating = between(m_random, 3, 5);

            // What the AI knew and thought, whatever the chat's status now.
            const QString language = QString::fromLatin1(chat.language);
            c.aiSuggestedReply =
                chat.suggestedReply ? text(chat.suggestedReply) : suggestionIn.value(language);
            if (c.status == u"waiting" || between(m_random, 0, 3) == 0)
                c.aiEscalationReason =
                    text(chat.escalation ? chat.escalation : "Visitor asked for a human.");
            if (c.aiEscalationReason)
                c.tags.append(QStringLiteral("escalated"));
            for (const char* tag : {"vip", "billing", "booking", "shipping"}) {
                if (between(m_random, 0, 5) == 0)
                    c.tags.append(QString::fromLatin1(tag));
            }
            const int chunks = between(m_random, 0, 3);
            for (int n = 0; n < chunks; ++n) {
                c.chunks.append(SimChunk{
                    QStringLiteral("kb_%1_%2").arg(k + 1).arg(n + 1),
                    QString::fromUtf8(chunkTitles[size_t(n) % chunkTitles.size()]),
                    n == 0 ? QString::fromUtf8(chat.assistantText)
                           : QString::fromUtf8(chunkSnippets[size_t(k + n) % chunkSnippets.size()]),
                    site + QStringLiteral("/help"),
                    // One of each band: good from 0.8, fair from 0.6, weak below.
                    (n == 0   ? 80 + between(m_random, 0, 18)
                     : n == 1 ? 60 + between(m_random, 0, 19)
                              : 35 + between(m_random, 0, 20)) /
                        100.0});
            }

            QDateTime at = c.startedAt;
            auto add = [&](const QString& role, const QString& content,
                           std::optional<QString> detected) {
                at = at.addSecs(between(m_random, 5, 90));
                c.messages.append(SimMessage{nextId(QStringLiteral("msg_")), c.id, role, content,
                                             at, std::move(detected), std::nullopt});
            };
            const QString visitorText = QString::fromUtf8(chat.visitorText);
            add(QStringLiteral("system"), QStringLiteral("Chat started on %1").arg(site),
                std::nullopt);
            add(QStringLiteral("user"), visitorText, language);
            add(QStringLiteral("assistant"), QString::fromUtf8(chat.assistantText), language);
            // Every few chats the AI answers in Markdown, and the visitor writes at length.
            if (k % 3 == 1) {
                add(QStringLiteral("assistant"),
                    QStringLiteral("Here is what usually helps:\n\n"
                                   "1. **Check** the order number in your confirmation email.\n"
                                   "2. Have a look at our [help centre](%1/help).\n"
                                   "3. See the size chart: ![size chart](%1/img/size-chart.png)\n\n"
                                   "_Still stuck?_ Just write back.")
                        .arg(site),
                    QStringLiteral("en"));
            }
            if (k % 4 == 2)
                add(QStringLiteral("user"), QString::fromUtf8(longVisitorText),
                    QStringLiteral("en"));
            if (c.status == u"waiting")
                add(QStringLiteral("system"), QStringLiteral("The AI asked for a human."),
                    std::nullopt);
            if (c.status == u"operator_active" || c.status == u"resolved") {
                add(QStringLiteral("operator"), QStringLiteral("Thanks for waiting — I'm on it."),
                    std::nullopt);
                add(QStringLiteral("operator"),
                    QStringLiteral("You can follow it here: [your order](%1/orders). "
                                   "Write to **help@%2** if anything else comes up.")
                        .arg(site, QUrl(site).host()),
                    std::nullopt);
            }
            if (c.status == u"resolved")
                add(QStringLiteral("system"), QStringLiteral("Conversation resolved."),
                    std::nullopt);
            translations.insert(visitorText, {language, QString::fromUtf8(chat.english)});
            conversations.append(c);
        }
    }
}

void SimData::seedVisitors(int total) {
    visitors.clear();
    int index = 0;
    for (qsizetype projectIndex = 0; projectIndex < projects.size(); ++projectIndex) {
        const SimProject& p = projects[projectIndex];
        // A given total is spread evenly, the first agents taking what is left over.
        const int count =
            total > 0
                ? int(total / projects.size() + (projectIndex < total % projects.size() ? 1 : 0))
                : between(m_random, 0, 4);
        for (int k = 0; k < count; ++k, ++index) {
            const PageSeed& page = pick(m_random, pages);
            SimVisitor v;
            v.visitorId = QStringLiteral("vis_%1_%2").arg(p.id).arg(k + 1);
            v.projectId = p.id;
            v.pageUrl = p.websiteUrl.value_or(QStringLiteral("https://example.com")) +
                        QString::fromLatin1(page.path);
            v.pageTitle = QString::fromUtf8(page.title);
            const auto& language =
                QString::fromLatin1(chatSeeds[size_t(index) % chatSeeds.size()].language);
            if (index % 5 != 4)
                v.country = countryOf.value(language);
            v.city = QString::fromUtf8(cities[size_t(index) % cities.size()]);
            v.browser = QString::fromLatin1(pick(m_random, browsers));
            v.os = QString::fromLatin1(pick(m_random, systems));
            if (index % 3 == 0)
                v.referrer = QStringLiteral("https://www.search.example/?q=%1")
                                 .arg(QString(p.name).replace(u' ', u'+'));
            v.timeOnSiteSeconds = between(m_random, 20, 1800);
            v.firstSeen = m_now.addSecs(-v.timeOnSiteSeconds);
            v.lastSeen = m_now.addSecs(-between(m_random, 0, 20));
            v.pagesThisSession = between(m_random, 1, 9);
            v.isReturning = between(m_random, 0, 2) == 0;
            v.previousConversations = v.isReturning ? between(m_random, 0, 3) : 0;
            v.hasConversation = between(m_random, 0, 3) == 0;
            visitors.append(v);
        }
    }
}

void SimData::seedSnippets() {
    for (qsizetype i = 0; i < projects.size(); ++i) {
        const QString language =
            QString::fromLatin1(agentSeeds[size_t(i) % agentSeeds.size()].language);
        QList<SimSnippet> list;
        for (const SnippetSeed& seed : snippetSeeds) {
            if (QLatin1StringView(seed.language) != language)
                continue;
            list.append(SimSnippet{nextId(QStringLiteral("snip_")),
                                   QString::fromUtf8(seed.shortcut), QString::fromUtf8(seed.title),
                                   QString::fromUtf8(seed.body), QString::fromUtf8(seed.emoji)});
        }
        snippets.insert(projects[i].id, list);
    }
}

const SimProject* SimData::project(const QString& id) const {
    for (const auto& p : projects) {
        if (p.id == id)
            return &p;
    }
    return nullptr;
}

SimConversation* SimData::conversation(const QString& projectId, const QString& id) {
    for (auto& c : conversations) {
        if (c.id == id && c.projectId == projectId)
            return &c;
    }
    return nullptr;
}

SimPref* SimData::pref(const QString& projectId) {
    for (auto& p : prefs) {
        if (p.projectId == projectId)
            return &p;
    }
    return nullptr;
}

} // namespace kv::sim
