#include "qtcommon/CommandButton.h"

#include "qtcommon/RunHandler.h"

#include <QPushButton>

QPushButton* CommandButton(QObject* context, const char* name, const char* caption,
                           std::function<void()> handler) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(name);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, context,
                     [handler = std::move(handler)] { RunHandler(handler); });
    return button;
}
