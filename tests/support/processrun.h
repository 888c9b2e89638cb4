#pragma once

#include <QString>
#include <QStringList>

// Programs a test runs as a user would: diskarium-tool and the PDF readers of poppler-utils.

struct ProcessRun {
    int exitCode = -1; // -1: crashed or did not finish in time
    QString out, err;
};

// Runs program with args. This thread's events keep running meanwhile, so that a test server
// in the same process answers; after timeoutMs the program is killed.
ProcessRun runProcess(const QString& program, const QStringList& args, int timeoutMs = 120000);

#ifdef TOOL_PATH
// diskarium-tool, for tests declared with TOOL.
inline ProcessRun runTool(const QStringList& args) {
    return runProcess(QStringLiteral(TOOL_PATH), args);
}
#endif

// The text of a PDF file as pdftotext -layout gives it (pages end with a form feed).
QString pdfText(const QString& path);
// The page count pdfinfo reports; -1 when it cannot read the file.
int pdfPages(const QString& path);
