#pragma once
// Places the controls of one editor page: each control takes its caption, range and list
// entries from the parameter catalogue and is recorded with its parameter for load and store.

#include "editor/ParamControl.h"

#include <QString>

#include <string_view>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QWidget;

class PageBuilder {
public:
    PageBuilder(QWidget* page, std::vector<ParamControl>& controls)
        : page_(page), controls_(controls) {}

    // A plain caption whose top edge lies at y.
    QLabel* Label(const QString& text, int x, int y);
    // A caption beside a control whose top edge lies at y, centred on the control's line.
    QLabel* LineLabel(const QString& text, int x, int y);

    TFrameOnepack* Onepack(const char* name, std::string_view caption, int x, int y);
    TFrameSixpack* Sixpack(const char* name, std::string_view caption, int x, int y);
    TFrameSixCheck* SixCheck(const char* name, std::string_view caption, int x, int y);
    // A select-only list 21 pixels high with its caption at labelX on the same line.
    QComboBox* List(const char* name, std::string_view caption, int labelX, int x, int y, int width,
                    int visibleEntries);
    // The per-string lists of a parameter, string 6 at top, stepping down by rowHeight.
    void StringLists(const std::array<const char*, StringCount>& namesTopDown,
                     std::string_view caption, int labelX, int x, int y, int width, int rowHeight);
    // A check box with its caption to the left of the box.
    QCheckBox* Check(const char* name, std::string_view caption, int x, int y, int width);

    // The catalogue entry of a caption; a caption the catalogue does not know is a
    // programming error and raises.
    static const ParameterInfo& Parameter(std::string_view caption);

private:
    QComboBox* MakeList(const char* name, const ParameterInfo& info, int x, int y, int width,
                        int visibleEntries);

    QWidget* page_;
    std::vector<ParamControl>& controls_;
};
