#pragma once
// The MIDI log window ("Options" -> "MIDI Log"): every message the device list's ports send
// and receive while it is shown, one row per message (time, direction, port, length, what it
// is, then its bytes in hex), newest last; rows arrive as the messages pass. "Copy" puts all
// rows on the clipboard as text, "Save..." writes them to a text file. The window watches the
// log only while it is shown, so nothing is recorded once it is closed.

#include "midi/MidiLog.h"

#include <QWidget>

class QListView;
class QPushButton;
class TMidiLogModel;

class TMidiLogWindow : public QWidget {
    Q_OBJECT
public:
    explicit TMidiLogWindow(QWidget* parent);
    ~TMidiLogWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void CopyClick();
    void SaveClick();

    TMidiLogModel* model_;
    QListView* list_;
    TMidiLog::Watch watch_;
};
