// Runs a fuzz target over the files it is given (or the files in the folders
// it is given), once each, without fuzzing: the corpus as a regression test.

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool replay(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                           size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (!QFileInfo(argument).isDir()) {
            if (!replay(argument))
                return 1;
            ++inputs;
            continue;
        }
        QDirIterator files(argument, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            if (!replay(files.next()))
                return 1;
            ++inputs;
        }
    }
    if (inputs == 0) {
        std::fprintf(stderr, "no inputs\n");
        return 1;
    }
    std::printf("%d inputs replayed\n", inputs);
    return 0;
}
