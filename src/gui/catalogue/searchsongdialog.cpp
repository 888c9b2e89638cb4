#include "searchsongdialog.h"

TSearchSongDialog::TSearchSongDialog(AppState& state, MessageService& messages, QWidget* parent)
    : TSearchDialog(state, messages, search::Kind::Songs, QStringLiteral("Lieder durchsuchen"),
                    kHelpContext, 4, parent) {}
