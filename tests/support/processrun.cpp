#include "processrun.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

ProcessRun runProcess(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    process.start(program, args);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    ProcessRun run;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart)
        run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString pdfText(const QString& path) {
    return runProcess(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), path, QStringLiteral("-")}, 30000)
        .out;
}

int pdfPages(const QString& path) {
    const ProcessRun info = runProcess(QStringLiteral("pdfinfo"), {path}, 30000);
    for (const QString& line : info.out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}
