#pragma once

#include <optional>
#include <string>
#include <vector>

#include "modgraph/xy_graph_wnd.h"
#include "platform/clipboard_port.h"
#include "view/graph_dialogs.h"
#include "view/recording_surface.h"
#include "view/text_line_dialog_port.h"

namespace mivaro::test {

// The shared axis and title dialogs, answered from a script; records what opened.
struct ScriptedGraphDialogs final : GraphDialogPort {
    std::vector<std::string> opened;
    AxisDialogValues shownAxis;
    AxisTitlesValues shownTitles;
    std::optional<AxisDialogValues> axisAnswer;
    std::optional<AxisTitlesValues> titlesAnswer;
    std::optional<AxisDialogValues> askXAxis(const AxisDialogValues& v) override {
        opened.push_back("X Axis");
        shownAxis = v;
        return axisAnswer;
    }
    std::optional<AxisDialogValues> askYAxis(const AxisDialogValues& v) override {
        opened.push_back("Y Axis");
        shownAxis = v;
        return axisAnswer;
    }
    std::optional<AxisTitlesValues> askAxisTitles(const AxisTitlesValues& v) override {
        opened.push_back("Axis Titles");
        shownTitles = v;
        return titlesAnswer;
    }
};

struct NotedMessages final : MessagePort {
    std::vector<std::string> texts, captions;
    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageButtons) override {
        texts.push_back(text);
        captions.push_back(caption);
        return MessageAnswer::Ok;
    }
};

struct ScriptedTextLine final : TextLineDialogPort {
    std::vector<std::string> answers;  // taken in order; none left: Cancel
    bool askTextLine(std::string& text) override {
        if (answers.empty()) {
            return false;
        }
        text = answers.front();
        answers.erase(answers.begin());
        return true;
    }
};

struct CountingClipboard final : ClipboardPort {
    int copies = 0;
    bool copyClientArea() override {
        ++copies;
        return true;
    }
};

// A window that displays what the graph last painted on a recording surface.
struct FakeGraphWindow final : XYGraphWindowPort {
    const RecordingSurface* shown = nullptr;
    int repaints = 0, shows = 0, hides = 0;
    void requestRepaint() override { ++repaints; }
    void showWindow() override { ++shows; }
    void hideWindow() override { ++hides; }
    Rgb pixelAt(int x, int y) const override { return shown != nullptr ? shown->pixel(x, y) : 0xFFFFFFu; }
};

}  // namespace mivaro::test
