#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("diskarium-tool"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.5.0"));
    QTextStream(stderr) << "Aufruf: diskarium-tool BEFEHL ...\n";
    return 2;
}
