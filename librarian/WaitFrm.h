#pragma once
// TFormWait: the borderless "Please wait ..." notice other windows show while they do
// something that takes visible time. It is shown centred on the librarian window.

#include <QWidget>

class TFormWait : public QWidget {
    Q_OBJECT
public:
    explicit TFormWait(QWidget* parent = nullptr);
    // Centres the notice on `owner`, shows it and brings it to the front.
    void ShowOver(QWidget* owner);
};
