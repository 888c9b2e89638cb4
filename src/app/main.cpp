#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Diskarium"));
    QApplication::setApplicationDisplayName(QStringLiteral("Diskarium"));
    QApplication::setApplicationVersion(QStringLiteral("1.5.0"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Diskarium"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
