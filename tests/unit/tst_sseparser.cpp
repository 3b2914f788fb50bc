// The event-stream parser: every case fed whole, split at every position and
// one byte at a time must give the same frames, comments and resume id.

#include "service/SseParser.h"

#include <QTest>

using kv::SseFrame;
using kv::SseParser;

namespace {

struct Result {
    QList<SseFrame> frames;
    int comments = 0;
    std::optional<QString> resumeId;
    std::optional<QString> error;
    bool operator==(const Result&) const = default;
};

// Feeds `bytes` in the given pieces into a fresh parser.
Result parse(const QList<QByteArray>& pieces, qsizetype maxLine = SseParser::kMaxLine,
             qsizetype maxFrame = SseParser::kMaxFrame) {
    Result r;
    SseParser parser({[&](const SseFrame& f) { r.frames.append(f); }, [&] { ++r.comments; }},
                     maxLine, maxFrame);
    for (const QByteArray& piece : pieces) {
        if (!r.error)
            r.error = parser.feed(piece);
    }
    r.resumeId = parser.resumeId();
    return r;
}

// The same stream whole, cut in two at every position, and byte by byte.
QList<QList<QByteArray>> splits(const QByteArray& bytes) {
    QList<QList<QByteArray>> all{{bytes}};
    for (qsizetype i = 1; i < bytes.size(); ++i)
        all.append({bytes.left(i), bytes.mid(i)});
    QList<QByteArray> single;
    for (char c : bytes)
        single.append(QByteArray(1, c));
    all.append(single);
    return all;
}

// A stream with a NUL inside an id; its length is counted by the compiler.
constexpr char kNulId[] = "id: 3\n\nid: x\0y\ndata: n\n\n";

SseFrame frame(const QString& type, const QString& data, std::optional<QString> id = std::nullopt) {
    return SseFrame{type, data, std::move(id)};
}

} // namespace

class TestSseParser : public QObject {
    Q_OBJECT

private slots:
    void framesIndependentOfSplitting_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QList<SseFrame>>("frames");
        QTest::addColumn<int>("comments");
        QTest::addColumn<QString>("resumeId"); // null: none

        QTest::newRow("joined data lines") << QByteArray("data: a\ndata: b\n\n")
                                           << QList{frame("message", "a\nb")} << 0 << QString();
        QTest::newRow("colon spacing")
            << QByteArray("data:x\n\ndata: x\n\ndata:  x\n\n")
            << QList{frame("message", "x"), frame("message", "x"), frame("message", " x")} << 0
            << QString();
        QTest::newRow("empty first data line")
            << QByteArray("data:\ndata: b\n\n") << QList{frame("message", "b")} << 0 << QString();
        QTest::newRow("blank line resets the event type")
            << QByteArray("event: custom\n\ndata: z\n\n") << QList{frame("message", "z")} << 0
            << QString();
        QTest::newRow("event names the frame") << QByteArray("event: ping\ndata: {}\n\n")
                                               << QList{frame("ping", "{}")} << 0 << QString();
        QTest::newRow("line without colon is a field")
            << QByteArray("data\ndata: y\n\n") << QList{frame("message", "y")} << 0 << QString();
        QTest::newRow("retry and unknown fields ignored")
            << QByteArray("retry: 10\nfoo: bar\ndata: q\n\n") << QList{frame("message", "q")} << 0
            << QString();
        QTest::newRow("comments") << QByteArray(": heartbeat\n:\ndata: c\n\n")
                                  << QList{frame("message", "c")} << 2 << QString();
        QTest::newRow("CR, LF and CRLF mixed")
            << QByteArray("data: 1\r\rdata: 2\n\ndata: 3\r\n\r\ndata: 4\r\ndata: 5\n\r\n")
            << QList{frame("message", "1"), frame("message", "2"), frame("message", "3"),
                     frame("message", "4\n5")}
            << 0 << QString();
        QTest::newRow("id commits on dispatch")
            << QByteArray("id: 7\ndata: a\n\n") << QList{frame("message", "a", "7")} << 0
            << QString("7");
        QTest::newRow("id-only frame still commits")
            << QByteArray("id: 8\n\n") << QList<SseFrame>{} << 0 << QString("8");
        QTest::newRow("cut frame keeps the previous id")
            << QByteArray("id: 1\ndata: a\n\nid: 2\ndata: b\n") << QList{frame("message", "a", "1")}
            << 0 << QString("1");
        QTest::newRow("id with NUL ignored")
            << QByteArray::fromRawData(kNulId, sizeof kNulId - 1)
            << QList{frame("message", "n", "3")} << 0 << QString("3");
        QTest::newRow("empty id") << QByteArray("id\ndata: e\n\n")
                                  << QList{frame("message", "e", "")} << 0 << QString("");
        // Only at the very start: later, the mark makes "data" an unknown field name.
        QTest::newRow("byte-order mark skipped once")
            << QByteArray("\xEF\xBB\xBF"
                          "data: a\n\n\xEF\xBB\xBF"
                          "data: b\n\n")
            << QList{frame("message", "a")} << 0 << QString();
        QTest::newRow("partial mark is text") << QByteArray("\xEF\xBB"
                                                            "data: a\n\ndata: b\n\n")
                                              << QList{frame("message", "b")} << 0 << QString();
        QTest::newRow("invalid UTF-8 replaced")
            << QByteArray("data: a\xFF"
                          "b\n\n")
            << QList{frame("message", u"a\uFFFDb"_qs)} << 0 << QString();
        // Only the stream's own opening mark is dropped; one opening a value is content.
        QTest::newRow("U+FEFF opening a value is kept")
            << QByteArray("event: \xEF\xBB\xBF"
                          "e\ndata: \xEF\xBB\xBF"
                          "a\nid: \xEF\xBB\xBF"
                          "9\n\n")
            << QList{frame(u"\uFEFFe"_qs, u"\uFEFFa"_qs, u"\uFEFF9"_qs)} << 0 << u"\uFEFF9"_qs;
        QTest::newRow("multibyte text")
            << QByteArray("data: Grüße 🤖\n\n") << QList{frame("message", u"Grüße 🤖"_qs)}
            << 0 << QString();
    }

    void framesIndependentOfSplitting() {
        QFETCH(QByteArray, stream);
        QFETCH(QList<SseFrame>, frames);
        QFETCH(int, comments);
        QFETCH(QString, resumeId);
        const Result expected{frames, comments,
                              resumeId.isNull() ? std::nullopt : std::optional(resumeId),
                              std::nullopt};
        for (const auto& pieces : splits(stream)) {
            const Result got = parse(pieces);
            if (!(got == expected)) {
                QCOMPARE(got.frames, expected.frames);
                QCOMPARE(got.comments, expected.comments);
                QCOMPARE(got.resumeId, expected.resumeId);
                QCOMPARE(got.error, expected.error);
            }
        }
    }

    void frameEndingInCarriageReturnIsDeliveredAtOnce() {
        QList<SseFrame> frames;
        SseParser parser({[&](const SseFrame& f) { frames.append(f); }, {}});
        QVERIFY(!parser.feed("data: now\r\r"));
        QCOMPARE(frames.size(), 1);
        // The LF that may follow belongs to the last line end, not a new blank line.
        QVERIFY(!parser.feed("\ndata: next\r\n\r\n"));
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[1].data, u"next"_qs);
    }

    void resumeIdSurvivesANewStream() {
        SseParser parser(SseParser::Handlers{});
        QVERIFY(!parser.feed("id: 41\ndata: a\n\nid: 42\ndata: cut"));
        parser.reset(); // the connection dropped mid-frame
        QCOMPARE(parser.resumeId(), std::optional<QString>(u"41"_qs));
        QVERIFY(!parser.feed("data: fresh\n\n"));
        QCOMPARE(parser.resumeId(), std::optional<QString>(u"41"_qs));
    }

    void limits() {
        // Lines and frames are bounded; the error stops the stream, however the bytes came.
        const QByteArray line = "data: a\n\ndata: " + QByteArray(200, 'x') + "\n\ndata: b\n\n";
        for (const auto& pieces : splits(line)) {
            const Result longLine = parse(pieces, 150);
            QCOMPARE(longLine.error,
                     std::optional<QString>(u"event stream line longer than 150 bytes"_qs));
            QCOMPARE(longLine.frames, QList{frame("message", "a")});
        }

        QByteArray many;
        for (int i = 0; i < 10; ++i)
            many += "data: " + QByteArray(40, 'y') + "\n";
        for (const auto& pieces : splits(many + "\n")) {
            const Result bigFrame = parse(pieces, 1000, 300);
            QCOMPARE(bigFrame.error,
                     std::optional<QString>(u"event stream frame larger than 300 bytes"_qs));
            QVERIFY(bigFrame.frames.isEmpty());
        }

        // Right at the limits is fine.
        const Result fits = parse({"data: " + QByteArray(144, 'z') + "\n\n"}, 150);
        QVERIFY(!fits.error);
        QCOMPARE(fits.frames.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSseParser)
#include "tst_sseparser.moc"
