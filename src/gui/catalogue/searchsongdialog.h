#pragma once

#include "searchdialog.h"

// "Lieder durchsuchen": the search dialog over the fields of a song.
class TSearchSongDialog : public TSearchDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 40301;

    TSearchSongDialog(AppState& state, MessageService& messages, QWidget* parent = nullptr);
};
