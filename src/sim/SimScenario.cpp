#include "SimScenario.h"

#include <array>

namespace kv::sim {

namespace {

constexpr std::array visitorLines{
    "Hello? Is anyone there?",
    "Could a person call me back, please?",
    "Thanks — and what about delivery to Norway?",
    "I'd like to speak to a human about my invoice.",
    "Can you hold the table until 8?",
};
constexpr std::array assistantLines{
    "Let me check that for you.",
    "Here is what I found in our help centre.",
    "I've passed this to a colleague who will reply shortly.",
};
constexpr std::array arrivalPages{"/", "/pricing", "/contact", "/booking", "/faq"};
constexpr std::array arrivalCities{"Aarhus", "Hamburg", "Nantes", "Sevilla", "Uppsala", "Oslo"};
constexpr std::array arrivalCountries{"DK", "DE", "FR", "ES", "SE", "NO"};

} // namespace

SimScenario::SimScenario(std::mutex& dataMutex, SimData& data, SimStream& stream, quint64 seed)
    : m_dataMutex(dataMutex), m_data(data), m_stream(stream), m_random(seed ^ 0x5ce7a710) {}

SimScenario::~SimScenario() {
    {
        std::lock_guard lock(m_clockMutex);
        m_quit = true;
    }
    m_clockWake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void SimScenario::setSpeed(double speed) {
    {
        std::lock_guard lock(m_clockMutex);
        m_speed = std::max(0.0, speed);
    }
    m_clockWake.notify_all();
    if (speed > 0 && !m_thread.joinable())
        m_thread = std::thread([this] { run(); });
}

void SimScenario::run() {
    std::unique_lock lock(m_clockMutex);
    while (!m_quit) {
        if (m_speed <= 0) {
            m_clockWake.wait(lock);
            continue;
        }
        const auto interval = std::chrono::milliseconds(qint64(4000 / m_speed));
        if (m_clockWake.wait_for(lock, interval, [this] { return m_quit; }))
            break;
        lock.unlock();
        step();
        lock.lock();
    }
}

void SimScenario::step() {
    const int roll = std::uniform_int_distribution<int>(0, 99)(m_random);
    if (roll < 25)
        visitorArrives();
    else if (roll < 40)
        visitorLeaves();
    else if (roll < 65)
        visitorWrites();
    else if (roll < 80)
        assistantAnswers();
    else if (roll < 97)
        chatEscalates();
    else
        somethingUnknown();
}

QString SimScenario::projectName(const QString& projectId) const {
    const SimProject* p = m_data.project(projectId);
    return p ? p->name : projectId;
}

void SimScenario::visitorArrives() {
    std::lock_guard lock(m_dataMutex);
    if (m_data.projects.isEmpty())
        return;
    const auto pick = [this](size_t n) {
        return std::uniform_int_distribution<size_t>(0, n - 1)(m_random);
    };
    const SimProject& project = m_data.projects[qsizetype(pick(size_t(m_data.projects.size())))];
    SimVisitor v;
    v.visitorId = m_data.nextId(QStringLiteral("vis_"));
    v.projectId = project.id;
    v.pageUrl = project.websiteUrl.value_or(QStringLiteral("https://example.com")) +
                QString::fromLatin1(arrivalPages[pick(arrivalPages.size())]);
    const size_t place = pick(arrivalCities.size());
    v.city = QString::fromLatin1(arrivalCities[place]);
    v.country = QString::fromLatin1(arrivalCountries[place]);
    v.browser = QStringLiteral("Firefox");
    v.os = QStringLiteral("Linux");
    v.firstSeen = v.lastSeen = QDateTime::currentDateTimeUtc();
    m_data.visitors.append(v);
    m_stream.publish(
        QStringLiteral("visitor.online"), project.id, std::nullopt,
        QJsonObject{{"visitor_id", v.visitorId}, {"project_name", project.name}, {"notify", true}});
}

void SimScenario::visitorLeaves() {
    std::lock_guard lock(m_dataMutex);
    if (m_data.visitors.isEmpty())
        return;
    const auto index =
        std::uniform_int_distribution<qsizetype>(0, m_data.visitors.size() - 1)(m_random);
    m_data.visitors.removeAt(index); // leaving is silent; the next refresh shows it
}

void SimScenario::visitorWrites() {
    std::lock_guard lock(m_dataMutex);
    QList<SimConversation*> open;
    for (auto& c : m_data.conversations) {
        if (c.status != u"resolved")
            open.append(&c);
    }
    if (open.isEmpty())
        return;
    SimConversation* c =
        open[std::uniform_int_distribution<qsizetype>(0, open.size() - 1)(m_random)];
    const QString text = QString::fromUtf8(
        visitorLines[std::uniform_int_distribution<size_t>(0, visitorLines.size() - 1)(m_random)]);
    c->messages.append(SimMessage{m_data.nextId(QStringLiteral("msg_")), c->id,
                                  QStringLiteral("user"), text, QDateTime::currentDateTimeUtc(),
                                  QStringLiteral("en"), std::nullopt});
    c->hasUnread = true;
    // The AI handles active chats; a human is only told about chats that wait for one.
    const bool forHuman = c->status == u"waiting" || c->status == u"operator_active";
    m_stream.publish(QStringLiteral("message.received"), c->projectId, c->id,
                     QJsonObject{{"role", "user"},
                                 {"preview", text},
                                 {"project_name", projectName(c->projectId)},
                                 {"notify", forHuman}});
}

void SimScenario::assistantAnswers() {
    std::lock_guard lock(m_dataMutex);
    for (auto& c : m_data.conversations) {
        if (c.status != u"active" || c.messages.isEmpty() || c.messages.last().role != u"user")
            continue;
        const QString text = QString::fromUtf8(assistantLines[std::uniform_int_distribution<size_t>(
            0, assistantLines.size() - 1)(m_random)]);
        c.messages.append(
            SimMessage{m_data.nextId(QStringLiteral("msg_")), c.id, QStringLiteral("assistant"),
                       text, QDateTime::currentDateTimeUtc(), QStringLiteral("en"), std::nullopt});
        m_stream.publish(QStringLiteral("message.received"), c.projectId, c.id,
                         QJsonObject{{"role", "assistant"},
                                     {"preview", text},
                                     {"project_name", projectName(c.projectId)},
                                     {"notify", false}});
        return;
    }
}

void SimScenario::chatEscalates() {
    std::lock_guard lock(m_dataMutex);
    QList<SimConversation*> active;
    for (auto& c : m_data.conversations) {
        if (c.status == u"active")
            active.append(&c);
    }
    if (active.isEmpty())
        return;
    SimConversation* c =
        active[std::uniform_int_distribution<qsizetype>(0, active.size() - 1)(m_random)];
    c->status = QStringLiteral("waiting");
    c->hasUnread = true;
    c->aiEscalationReason = QStringLiteral("Visitor asked for a human.");
    QString preview;
    for (auto it = c->messages.crbegin(); it != c->messages.crend(); ++it) {
        if (it->role == u"user") {
            preview = it->content;
            break;
        }
    }
    c->messages.append(SimMessage{m_data.nextId(QStringLiteral("msg_")), c->id,
                                  QStringLiteral("system"),
                                  QStringLiteral("The AI asked for a human."),
                                  QDateTime::currentDateTimeUtc(), std::nullopt, std::nullopt});
    QJsonObject data{{"project_name", projectName(c->projectId)}, {"notify", true}};
    if (c->visitorName)
        data.insert("visitor_name", *c->visitorName);
    if (!preview.isEmpty())
        data.insert("preview", preview);
    m_stream.publish(QStringLiteral("conversation.escalated"), c->projectId, c->id, data);
}

void SimScenario::somethingUnknown() {
    std::lock_guard lock(m_dataMutex);
    if (m_data.projects.isEmpty())
        return;
    // A kind of event this console does not know yet; it must shrug it off.
    m_stream.publish(QStringLiteral("widget.updated"), m_data.projects.first().id, std::nullopt,
                     QJsonObject{{"project_name", m_data.projects.first().name}});
}

} // namespace kv::sim
