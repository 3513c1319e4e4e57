#include "editor/PageBuilder.h"

#include "base/Errors.h"
#include "editor/OnePack.h"
#include "editor/SixCheck.h"
#include "editor/SixPack.h"

#include "qtcommon/ListPopup.h"
#include "qtcommon/QtText.h"
#include "qtcommon/WheelFocus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace {
constexpr int ListHeight = 21;

} // namespace

const ParameterInfo& PageBuilder::Parameter(std::string_view caption) {
    const ParameterInfo* info = FindParameter(caption);
    if (!info) throw EKelvoError("Unknown patch parameter " + std::string(caption));
    return *info;
}

QLabel* PageBuilder::Label(const QString& caption, int x, int y) {
    auto* label = new QLabel(caption, page_);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* PageBuilder::LineLabel(const QString& caption, int x, int y) {
    QLabel* label = Label(caption, x, y);
    label->move(x, y + (ListHeight - label->height()) / 2);
    return label;
}

TFrameOnepack* PageBuilder::Onepack(const char* name, std::string_view caption, int x, int y) {
    const ParameterInfo& info = Parameter(caption);
    auto* frame = new TFrameOnepack(page_);
    frame->setObjectName(name);
    frame->move(x, y);
    frame->SetCaption(ToQString(info.caption));
    frame->SetRange(info.min, info.max);
    // A field starts at the lowest value of its range.
    frame->SetValue(info.min);
    ParamControl control;
    control.info = &info;
    control.number = frame;
    controls_.push_back(control);
    return frame;
}

TFrameSixpack* PageBuilder::Sixpack(const char* name, std::string_view caption, int x, int y) {
    const ParameterInfo& info = Parameter(caption);
    auto* frame = new TFrameSixpack(page_);
    frame->setObjectName(name);
    frame->move(x, y);
    frame->SetCaption(ToQString(info.caption));
    frame->SetRange(info.min, info.max);
    for (int k = 1; k <= StringCount; ++k)
        frame->SetValue(k, info.min);
    ParamControl control;
    control.info = &info;
    control.numbers = frame;
    controls_.push_back(control);
    return frame;
}

TFrameSixCheck* PageBuilder::SixCheck(const char* name, std::string_view caption, int x, int y) {
    const ParameterInfo& info = Parameter(caption);
    auto* frame = new TFrameSixCheck(page_);
    frame->setObjectName(name);
    frame->move(x, y);
    frame->SetCaption(ToQString(info.caption));
    ParamControl control;
    control.info = &info;
    control.checks = frame;
    controls_.push_back(control);
    return frame;
}

QComboBox* PageBuilder::MakeList(const char* name, const ParameterInfo& info, int x, int y,
                                 int width, int visibleEntries) {
    auto* list = new QComboBox(page_);
    list->setObjectName(name);
    list->setGeometry(x, y, width, ListHeight);
    list->setEditable(false);
    LimitListPopup(*list, visibleEntries);
    WheelOnlyWithFocus(*list);
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(info.entries.size()));
    for (std::string_view entry : info.entries)
        entries.append(ToQString(entry));
    list->addItems(entries);
    return list;
}

QComboBox* PageBuilder::List(const char* name, std::string_view caption, int labelX, int x, int y,
                             int width, int visibleEntries) {
    const ParameterInfo& info = Parameter(caption);
    LineLabel(ToQString(info.caption), labelX, y);
    QComboBox* list = MakeList(name, info, x, y, width, visibleEntries);
    ParamControl control;
    control.info = &info;
    control.lists[0] = list;
    controls_.push_back(control);
    return list;
}

void PageBuilder::StringLists(const std::array<const char*, StringCount>& namesTopDown,
                              std::string_view caption, int labelX, int x, int y, int width,
                              int rowHeight) {
    const ParameterInfo& info = Parameter(caption);
    ParamControl control;
    control.info = &info;
    for (int row = 0; row < StringCount; ++row) {
        const int string = ScreenStringOrder[row];
        const int top = y + row * rowHeight;
        LineLabel(ToQString(StringListCaption(string)), labelX, top);
        control.lists[string - 1] = MakeList(namesTopDown[row], info, x, top, width, 12);
    }
    controls_.push_back(control);
}

QCheckBox* PageBuilder::Check(const char* name, std::string_view caption, int x, int y, int width) {
    const ParameterInfo& info = Parameter(caption);
    auto* box = new QCheckBox(ToQString(info.caption), page_);
    box->setObjectName(name);
    // Caption to the left of the box, the box at the right edge.
    box->setLayoutDirection(Qt::RightToLeft);
    box->setGeometry(x, y, width, 17);
    ParamControl control;
    control.info = &info;
    control.check = box;
    controls_.push_back(control);
    return box;
}
