// kestovar-cli: the console's core from the command line, for scripts and checks.

#include "Cli.h"

#include <QCoreApplication>
#include <QCoroTask>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestovar-cli"));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return QCoro::waitFor(kv::cli::run(arguments));
}
