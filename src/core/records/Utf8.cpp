#include "Utf8.h"

#include <QStringDecoder>

namespace kv {

namespace {

QStringDecoder exactDecoder() {
    return QStringDecoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
}

} // namespace

std::optional<QString> strictUtf8(QByteArrayView bytes) {
    QStringDecoder decoder = exactDecoder();
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString lenientUtf8(QByteArrayView bytes) {
    QStringDecoder decoder = exactDecoder();
    return decoder.decode(bytes);
}

} // namespace kv
