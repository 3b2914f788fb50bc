#include "SseClient.h"

#include "ApiKey.h"
#include "Configuration.h"
#include "Log.h"
#include "Timing.h"

#include <QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QTimer>

namespace kv {

namespace {

constexpr char kBadServerResponse[] = "bad server response";

} // namespace

SSEClient::SSEClient(QNetworkAccessManager* network, KeyProvider apiKey)
    : m_network(network), m_apiKey(std::move(apiKey)),
      m_parser(SseParser::Handlers{[this](const SseFrame& frame) { handleFrame(frame); },
                                   [this] {
                                       // The heartbeat: proof of life, and the end of the replay.
                                       emitState(ConnectionState::connected);
                                       finishCatchUp();
                                   }}) {}

SSEClient::~SSEClient() {
    // The loop resumes inside cancel() and must find the client whole.
    if (m_run)
        std::exchange(m_run, std::nullopt)->cancel();
    if (m_catchUp)
        std::exchange(m_catchUp, std::nullopt)->cancel();
}

void SSEClient::start() {
    if (m_run)
        return;
    qCInfo(lcSseClient).noquote() << "SSE start";
    m_run = Cancellation();
    runLoop(*m_run);
}

void SSEClient::stop() {
    qCInfo(lcSseClient).noquote() << "SSE stop";
    if (m_run)
        std::exchange(m_run, std::nullopt)->cancel();
    if (m_catchUp)
        std::exchange(m_catchUp, std::nullopt)->cancel();
    m_inCatchUp = false;
    // Events, catch-up ends and states still queued belong to the stream that
    // just ended (they must not reach a signed-out owner): drop them.
    ++m_generation;
    emitState(ConnectionState::disconnected);
}

void SSEClient::reconnectNow() {
    if (!m_run)
        return;
    qCInfo(lcSseClient).noquote() << "SSE reconnect now";
    // Events the old connection already delivered still reach the owner: the
    // resume point has moved past them.
    std::exchange(m_run, std::nullopt)->cancel();
    if (m_catchUp)
        std::exchange(m_catchUp, std::nullopt)->cancel();
    m_inCatchUp = false;
    emitState(ConnectionState::reconnecting);
    m_run = Cancellation();
    runLoop(*m_run);
}

QCoro::Task<> SSEClient::runLoop(Cancellation cancel) {
    const Timing& timing = Timing::current();
    if (cancel.isCancelled()) {
        emitState(ConnectionState::disconnected);
        co_return;
    }
    auto backoff = timing.sseInitialBackoff;
    for (;;) {
        const Outcome outcome = co_await connectAndStream(cancel);
        if (cancel.isCancelled() || outcome.kind == Outcome::Kind::stopLoop) {
            // Cancelled: stop() has posted `disconnected`, or a new loop runs.
            if (!cancel.isCancelled())
                emitState(ConnectionState::disconnected);
            co_return;
        }
        if (outcome.kind == Outcome::Kind::cleanEnd)
            backoff = timing.sseInitialBackoff;
        else
            qCInfo(lcSseClient).noquote()
                << QStringLiteral("SSE stream ended: %1").arg(outcome.error);

        emitState(ConnectionState::reconnecting);
        const auto jitter = std::chrono::milliseconds(
            QRandomGenerator::global()->bounded(qint64(timing.sseJitterMax.count()) + 1));
        co_await sleepFor(backoff + jitter, cancel);
        if (cancel.isCancelled())
            co_return; // stop() has posted `disconnected`, and the client may be gone
        backoff = std::min(backoff * 2, timing.sseMaxBackoff);
    }
}

QCoro::Task<SSEClient::Outcome> SSEClient::connectAndStream(Cancellation cancel) {
    const std::optional<QString> key = m_apiKey ? m_apiKey() : std::nullopt;
    if (!key || !isUsableApiKey(*key)) {
        qCInfo(lcSseClient).noquote() << "SSE: no credential — not connecting";
        emitUnauthorized();
        co_return Outcome{Outcome::Kind::stopLoop, {}};
    }

    const QUrl base = Configuration::baseURL();
    QNetworkRequest request(QUrl(base.toString(QUrl::FullyEncoded) + "/api/v2/events"));
    request.setTransferTimeout(0); // silence is the watchdog's call, below
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Authorization", "Bearer " + key->toUtf8());
    request.setRawHeader("Accept", "text/event-stream");
    request.setRawHeader("User-Agent", Configuration::userAgent().toUtf8());
    if (const auto resume = m_parser.resumeId()) {
        QByteArray value = resume->toUtf8();
        if (value.isNull())
            value = QByteArray("", 0); // an empty id is still sent, as an empty value
        request.setRawHeader("Last-Event-ID", value);
    }
    // Decompression would lift the body-size guard and buffer more than a frame.
    request.setRawHeader("Accept-Encoding", "identity");

    QNetworkReply* reply = m_network->get(request);
    cancel.track(reply);

    // Handlers below never abort the reply themselves: an abort resumes this
    // coroutine at once, inside the handler. They queue it instead. They are
    // connected through `handlers`, so that only they are cut afterwards: the
    // reply's own connections carry an abort to the network thread, and an
    // abort that never arrives there leaves the socket open.
    QObject handlers;
    std::optional<Outcome> verdict;
    bool streaming = false;
    auto finish = [&verdict, reply](Outcome outcome) {
        if (verdict)
            return;
        verdict = std::move(outcome);
        QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
    };

    QTimer watchdog;
    watchdog.setSingleShot(true);
    watchdog.setInterval(Timing::current().sseWatchdog);
    QObject::connect(&watchdog, &QTimer::timeout, &handlers, [&finish] {
        finish(Outcome{
            Outcome::Kind::failed,
            QStringLiteral("no data for %1 ms").arg(Timing::current().sseWatchdog.count())});
    });
    watchdog.start();

    auto judge = [&] {
        if (streaming || verdict)
            return;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!status.isValid())
            return;
        const int code = status.toInt();
        if (code == 401) {
            qCInfo(lcSseClient).noquote() << "SSE: 401 — signing out";
            emitUnauthorized();
            finish(Outcome{Outcome::Kind::stopLoop, {}});
        } else if (code != 200) {
            qCInfo(lcSseClient).noquote() << QStringLiteral("SSE: HTTP %1 — will retry").arg(code);
            finish(Outcome{Outcome::Kind::failed, QString::fromLatin1(kBadServerResponse)});
        } else {
            streaming = true;
            emitState(ConnectionState::connected);
            qCInfo(lcSseClient).noquote()
                << QStringLiteral("SSE connected%1")
                       .arg(m_parser.resumeId() ? QStringLiteral(" (resuming)") : QString());
            m_parser.reset();
            beginCatchUp();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &handlers, judge);
    QObject::connect(reply, &QNetworkReply::readyRead, &handlers, [&] {
        judge();
        if (!streaming || verdict) {
            reply->readAll(); // nothing of a refused or finished stream is read
            return;
        }
        watchdog.start();
        if (const auto error = m_parser.feed(reply->readAll()))
            finish(Outcome{Outcome::Kind::failed, *error});
    });

    co_await reply;
    QObject::disconnect(reply, nullptr, &handlers, nullptr);
    watchdog.stop();
    reply->deleteLater();
    if (cancel.isCancelled())
        co_return Outcome{Outcome::Kind::stopLoop, {}};
    if (!verdict)
        judge(); // a reply that finished before any signal reached us
    if (verdict)
        co_return *verdict;
    if (reply->error() != QNetworkReply::NoError)
        co_return Outcome{Outcome::Kind::failed, reply->errorString()};
    if (!streaming)
        co_return Outcome{Outcome::Kind::failed, QString::fromLatin1(kBadServerResponse)};
    // The service closed a good stream; a frame still unfinished is dropped.
    co_return Outcome{Outcome::Kind::cleanEnd, {}};
}

void SSEClient::handleFrame(const SseFrame& frame) {
    if (onRawFrame) {
        post([callback = onRawFrame, frame] { callback(frame); });
    }
    const auto event = RealtimeEvent::fromFrameData(frame.data);
    if (!event) {
        qCInfo(lcSseClient).noquote()
            << QStringLiteral("SSE: undecodable frame (event=%1)").arg(frame.eventType);
        return;
    }
    emitEvent(*event);
}

void SSEClient::beginCatchUp() {
    m_inCatchUp = true;
    emitCatchUp(true);
    if (m_catchUp)
        m_catchUp->cancel();
    m_catchUp = Cancellation();
    catchUpTimer(*m_catchUp);
}

QCoro::Task<> SSEClient::catchUpTimer(Cancellation cancel) {
    co_await sleepFor(Timing::current().sseCatchUp, cancel);
    if (!cancel.isCancelled())
        finishCatchUp();
}

void SSEClient::finishCatchUp() {
    if (!m_inCatchUp)
        return;
    m_inCatchUp = false;
    if (m_catchUp)
        std::exchange(m_catchUp, std::nullopt)->cancel();
    emitCatchUp(false);
}

void SSEClient::post(std::function<void()> job) {
    QMetaObject::invokeMethod(
        &m_mailbox,
        [this, generation = m_generation, job = std::move(job)] {
            if (generation == m_generation)
                job();
        },
        Qt::QueuedConnection);
}

void SSEClient::emitEvent(const RealtimeEvent& event) {
    if (auto callback = onEvent)
        post([callback, event] { callback(event); });
}

void SSEClient::emitState(ConnectionState state) {
    if (auto callback = onStateChange)
        post([callback, state] { callback(state); });
}

void SSEClient::emitCatchUp(bool inCatchUp) {
    if (auto callback = onCatchUp)
        post([callback, inCatchUp] { callback(inCatchUp); });
}

void SSEClient::emitUnauthorized() {
    if (auto callback = onUnauthorized)
        post([callback] { callback(); });
}

} // namespace kv
