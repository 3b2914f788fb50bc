#include "Cli.h"

#include "DemoService.h"
#include "KeychainCredentialStore.h"
#include "RecordJson.h"
#include "StopSignals.h"
#include "service/ApiClient.h"
#include "service/ApiKey.h"
#include "service/Configuration.h"
#include "service/SseClient.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>

#include <cstdio>
#include <functional>
#include <map>

namespace kv::cli {

namespace {

constexpr char kUsage[] = R"(usage: kestovar-cli [--demo] COMMAND [ARGS]

Commands (one JSON record per output line):
  me                                   the signed-in user
  projects                             the agents
  clients                              the clients that group agents
  inbox [--project P] [--status S] [--limit N]
                                       conversations (limit 50 unless given)
  conversation P C                     one conversation, then its messages
  visitors [--project P]               live visitors
  stats [--project P] --days N         statistics of an agent, or of all
  snippets P                           an agent's snippets
  prefs                                notification preferences
  send P C TEXT [--resolve]            reply as the operator
  resolve P C                          resolve a conversation
  translate TEXT --target CODE         translate a text
  mute P on|off                        mute or unmute an agent's notifications
  snippet-add P SHORTCUT TITLE BODY [EMOJI]
  snippet-edit P ID SHORTCUT TITLE BODY [EMOJI]
  snippet-rm P ID
  sign-in --code C --state S           trade a sign-in code for a key and store it
  sign-out                             forget the stored key
  events [--raw]                       follow the realtime stream until interrupted:
                                       events (or, with --raw, frames) and connection states

Environment: KESTOVAR_API_URL (service origin), KESTOVAR_API_KEY (key to use
instead of the stored one). --demo runs against an embedded simulator;
--verbose writes the client's log lines to standard error; --version prints
the version.
)";

struct UsageError {
    QString message;
};

struct Context {
    QCommandLineParser& parser;
    QStringList args; // positional arguments after the command
    ApiClient& api;
    CredentialStore& store;
    QNetworkAccessManager& network;
};

void printLine(const QJsonObject& record) {
    const QByteArray line = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

void printError(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

template <typename T>
void printAll(const QList<T>& records) {
    for (const auto& r : records)
        printLine(toJson(r));
}

void requireArgs(const Context& c, qsizetype min, qsizetype max, const char* shape) {
    if (c.args.size() < min || c.args.size() > max)
        throw UsageError{QStringLiteral("expected: ") + QLatin1StringView(shape)};
}

qint64 positiveNumber(const Context& c, const char* option) {
    bool ok = false;
    const qint64 n = c.parser.value(QLatin1StringView(option)).toLongLong(&ok);
    if (!ok || n <= 0)
        throw UsageError{
            QStringLiteral("--%1 takes a positive whole number").arg(QLatin1StringView(option))};
    return n;
}

std::optional<QString> optionValue(const Context& c, const char* option) {
    if (!c.parser.isSet(QLatin1StringView(option)))
        return std::nullopt;
    return c.parser.value(QLatin1StringView(option));
}

// Prints the records of a successful result; the error's text otherwise.
template <typename T, typename Print>
int report(const ApiResult<T>& result, Print print) {
    if (!result) {
        printError(result.error().errorDescription());
        return kExitFailure;
    }
    print(result.value());
    return kExitOk;
}

int report(const ApiResult<void>& result) {
    if (!result) {
        printError(result.error().errorDescription());
        return kExitFailure;
    }
    return kExitOk;
}

auto printOne = [](const auto& record) { printLine(toJson(record)); };
auto printList = [](const auto& records) { printAll(records); };

QJsonObject eventJson(const RealtimeEvent& e) {
    QJsonObject o{{"kind", RealtimeEvent::kindText(e.kind)},
                  {"type", e.type},
                  {"projectID", e.projectID},
                  {"notify", e.notify},
                  {"title", e.title},
                  {"body", e.body}};
    if (e.conversationID)
        o.insert("conversationID", *e.conversationID);
    return o;
}

// Follows the stream until a signal (exit 0) or a rejected key (exit 1).
int followEvents(Context& c) {
    QEventLoop loop;
    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, &loop, [&loop] { loop.exit(kExitOk); });

    const bool raw = c.parser.isSet("raw");
    SSEClient stream(&c.network, [&api = c.api] { return api.apiKey(); });
    std::optional<ConnectionState> shown;
    stream.onStateChange = [&shown](ConnectionState state) {
        if (shown == state)
            return; // heartbeats repeat "connected"
        shown = state;
        printLine({{"state", QLatin1StringView(connectionStateText(state))}});
    };
    stream.onCatchUp = [](bool inCatchUp) { printLine({{"catchUp", inCatchUp}}); };
    stream.onUnauthorized = [&loop] {
        printLine({{"unauthorized", true}});
        loop.exit(kExitFailure);
    };
    if (raw) {
        stream.onRawFrame = [](const SseFrame& frame) {
            QJsonObject o{{"event", frame.eventType}, {"data", frame.data}};
            if (frame.resumeId)
                o.insert("id", *frame.resumeId);
            printLine(o);
        };
    } else {
        stream.onEvent = [](const RealtimeEvent& event) { printLine(eventJson(event)); };
    }
    stream.start();
    const int code = loop.exec();
    stream.stop();
    return code;
}

using Command = std::function<QCoro::Task<int>(Context&)>;

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> table{
        {"me",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "me");
             co_return report(co_await c.api.fetchMe(), printOne);
         }},
        {"projects",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "projects");
             co_return report(co_await c.api.fetchProjects(), printList);
         }},
        {"clients",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "clients");
             co_return report(co_await c.api.fetchClients(), printList);
         }},
        {"inbox",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "inbox [--project P] [--status S] [--limit N]");
             const qint64 limit = c.parser.isSet("limit") ? positiveNumber(c, "limit") : 50;
             co_return report(co_await c.api.fetchConversations(optionValue(c, "project"),
                                                                optionValue(c, "status"), limit),
                              printList);
         }},
        {"conversation",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 2, 2, "conversation P C");
             co_return report(co_await c.api.fetchConversationDetail(c.args[0], c.args[1]),
                              [](const ConversationDetail& d) {
                                  printLine(toJson(d.conversation));
                                  printAll(d.messages);
                              });
         }},
        {"visitors",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "visitors [--project P]");
             co_return report(co_await c.api.fetchLiveVisitors(optionValue(c, "project")),
                              printList);
         }},
        {"stats",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "stats [--project P] --days N");
             if (!c.parser.isSet("days"))
                 throw UsageError{QStringLiteral("stats needs --days N")};
             const qint64 days = positiveNumber(c, "days");
             const auto project = optionValue(c, "project");
             // (No co_await inside ?: — g++ 12 destroys its temporaries too early.)
             ApiResult<ProjectStats> result;
             if (project)
                 result = co_await c.api.fetchStats(*project, days);
             else
                 result = co_await c.api.fetchAggregateStats(days);
             co_return report(result, printOne);
         }},
        {"snippets",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 1, 1, "snippets P");
             co_return report(co_await c.api.fetchSnippets(c.args[0]), printList);
         }},
        {"prefs",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "prefs");
             co_return report(co_await c.api.fetchNotificationPrefs(), printList);
         }},
        {"send",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 3, 3, "send P C TEXT [--resolve]");
             co_return report(co_await c.api.sendMessage(c.args[0], c.args[1], c.args[2],
                                                         c.parser.isSet("resolve")),
                              printOne);
         }},
        {"resolve",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 2, 2, "resolve P C");
             co_return report(co_await c.api.resolveConversation(c.args[0], c.args[1]));
         }},
        {"translate",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 1, 1, "translate TEXT --target CODE");
             const auto target = optionValue(c, "target");
             if (!target || target->isEmpty())
                 throw UsageError{QStringLiteral("translate needs --target CODE")};
             co_return report(co_await c.api.translate(c.args[0], *target, QStringLiteral("auto")),
                              printOne);
         }},
        {"mute",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 2, 2, "mute P on|off");
             if (c.args[1] != u"on" && c.args[1] != u"off")
                 throw UsageError{QStringLiteral("mute takes on or off")};
             co_return report(co_await c.api.updateNotificationPref(c.args[0], c.args[1] == u"on"),
                              printOne);
         }},
        {"snippet-add",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 4, 5, "snippet-add P SHORTCUT TITLE BODY [EMOJI]");
             co_return report(co_await c.api.createSnippet(c.args[0], c.args[1], c.args[2],
                                                           c.args[3], c.args.value(4)),
                              printOne);
         }},
        {"snippet-edit",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 5, 6, "snippet-edit P ID SHORTCUT TITLE BODY [EMOJI]");
             co_return report(co_await c.api.updateSnippet(c.args[0], c.args[1], c.args[2],
                                                           c.args[3], c.args[4], c.args.value(5)),
                              printOne);
         }},
        {"snippet-rm",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 2, 2, "snippet-rm P ID");
             co_return report(co_await c.api.deleteSnippet(c.args[0], c.args[1]));
         }},
        {"sign-in",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "sign-in --code C --state S");
             const auto code = optionValue(c, "code");
             const auto state = optionValue(c, "state");
             if (!code || !state)
                 throw UsageError{QStringLiteral("sign-in needs --code C and --state S")};
             auto exchanged = co_await c.api.exchangeOAuthCode(*code, *state);
             if (!exchanged) {
                 printError(exchanged.error().errorDescription());
                 co_return kExitFailure;
             }
             if (const auto error = co_await c.store.save(exchanged->apiKey)) {
                 printError(QStringLiteral("Couldn't store the API key: %1")
                                .arg(error->message.isEmpty()
                                         ? QStringLiteral("status %1").arg(error->status)
                                         : error->message));
                 co_return kExitFailure;
             }
             printLine(toJson(exchanged->user));
             co_return kExitOk;
         }},
        {"events",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "events [--raw]");
             co_return followEvents(c);
         }},
        {"sign-out",
         [](Context& c) -> QCoro::Task<int> {
             requireArgs(c, 0, 0, "sign-out");
             co_await c.store.clear();
             co_return kExitOk;
         }},
    };
    return table;
}

void quietLog(QtMsgType, const QMessageLogContext&, const QString&) {}

void verboseLog(QtMsgType, const QMessageLogContext& context, const QString& message) {
    std::fprintf(stderr, "%s: %s\n", context.category ? context.category : "default",
                 qPrintable(message));
}

} // namespace

QCoro::Task<int> run(QStringList arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({
        {"demo", "Run against an embedded simulator."},
        {"project", "Agent identifier.", "P"},
        {"status", "Conversation status.", "S"},
        {"limit", "Most conversations to list.", "N"},
        {"days", "Length of the statistics range.", "N"},
        {"resolve", "Resolve after sending."},
        {"target", "Target language code.", "CODE"},
        {"code", "Sign-in code.", "C"},
        {"state", "Sign-in state.", "S"},
        {"verbose", "Write the client's log lines to standard error."},
        {"raw", "events: print frames as received instead of events."},
        {{"h", "help"}, "Show this help."},
        {"version", "Print the version."},
    });
    arguments.prepend(QStringLiteral("kestovar-cli"));
    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        std::fputs(kUsage, stderr);
        co_return kExitUsage;
    }
    // Standard error carries only the error text, unless the log is asked for.
    qInstallMessageHandler(parser.isSet("verbose") ? verboseLog : quietLog);
    if (parser.isSet("help")) {
        std::fputs(kUsage, stdout);
        co_return kExitOk;
    }
    if (parser.isSet("version")) {
        std::printf("kestovar-cli %s\n", qPrintable(Configuration::version()));
        co_return kExitOk;
    }
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        std::fputs(kUsage, stderr);
        co_return kExitUsage;
    }
    const QString name = positional.takeFirst();
    const auto command = commands().find(name);
    if (command == commands().end()) {
        printError(QStringLiteral("unknown command: ") + name);
        std::fputs(kUsage, stderr);
        co_return kExitUsage;
    }

    // Declared first, so it stops last: the client's kept-alive connections close before.
    std::unique_ptr<DemoService> demo;
    QNetworkAccessManager network;
    ApiClient api(&network);
    std::unique_ptr<CredentialStore> keychain;
    CredentialStore* store = nullptr;

    if (parser.isSet("demo")) {
        demo =
            DemoService::start(DemoService::Options{}); // lively: something to watch with `events`
        if (!demo) {
            printError(QStringLiteral("Couldn't start the embedded simulator."));
            co_return kExitFailure;
        }
        store = &demo->credentials();
        if (name != u"sign-in") {
            const auto signedIn = co_await demo->signIn(api);
            if (!signedIn) {
                printError(signedIn.error().errorDescription());
                co_return kExitFailure;
            }
        }
    } else {
        keychain = std::make_unique<KeychainCredentialStore>();
        store = keychain.get();
    }

    // The environment's key wins; the store is only asked when a command needs a key.
    const QString envKey = qEnvironmentVariable("KESTOVAR_API_KEY");
    if (!envKey.isEmpty())
        api.setApiKey(envKey);
    else if (name != u"sign-in" && name != u"sign-out")
        api.setApiKey(co_await store->read());
    // A key with a line break in it would add headers to every request: refused, never sent.
    if (const auto key = api.apiKey(); key && !key->isEmpty() && !isUsableApiKey(*key)) {
        printError(envKey.isEmpty()
                       ? QStringLiteral("The stored API key holds a control character: refused.")
                       : QStringLiteral("KESTOVAR_API_KEY holds a control character: refused."));
        co_return kExitFailure;
    }

    Context context{parser, positional, api, *store, network};
    try {
        co_return co_await command->second(context);
    } catch (const UsageError& error) {
        printError(error.message);
        co_return kExitUsage;
    }
}

} // namespace kv::cli
