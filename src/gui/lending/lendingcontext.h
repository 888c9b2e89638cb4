#pragma once

#include <QDateTime>
#include <functional>

struct AppState;
class MessageService;
class TPreviewDialog;

// What every lending window needs from the program: its state and message boxes, the help
// viewer, the preview whose page printer the reports borrow, the media lists to tell about
// a lend or return, and the clock (tests set their own).
struct LendingContext {
    LendingContext(AppState& s, MessageService& m) : state(s), messages(m) {}

    AppState& state;
    MessageService& messages;
    std::function<void(int context)> help;
    std::function<TPreviewDialog*()> preview;
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

    void showHelp(int context) const {
        if (help)
            help(context);
    }
};
