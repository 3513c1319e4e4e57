#include "qtcommon/ListPopup.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QProxyStyle>

namespace {

// The application's style, with lists opening as a plain list that honours its entry limit.
class ListPopupStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void LimitListPopup(QComboBox& list, int visibleEntries) {
    // One style serves every list. A widget does not own its style, so the application does;
    // a list that outlives it falls back to the application's style.
    static QPointer<ListPopupStyle> style;
    if (!style) {
        style = new ListPopupStyle(QApplication::style()->name());
        style->setParent(QCoreApplication::instance());
    }
    list.setStyle(style);
    list.setMaxVisibleItems(visibleEntries);
}
