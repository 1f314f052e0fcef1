// The modulus graph's mouse and keys against scripted dialogs, clipboard and window.
#include <gtest/gtest.h>

#include "modgraph_fakes.h"

namespace mivaro::test {
namespace {

constexpr Rgb kBlue = makeRgb(0, 0, 255);

struct Harness {
    CXYGraphWnd graph;
    ScriptedGraphDialogs dialogs;
    NotedMessages messages;
    ScriptedTextLine textLine;
    CountingClipboard clipboard;
    FakeGraphWindow window;
    RecordingSurface surface{575, 583};

    Harness() {
        graph.setPorts(XYGraphPorts{&window, &dialogs, &messages, &textLine, &clipboard});
        window.shown = &surface;
    }
    void add(std::vector<double> x, std::vector<double> y, Rgb colour, int style = SQUARE_SOLID) {
        graph.setNextSeriesStyle(colour, style, 3);
        graph.AddSeries(x.data(), y.data(), static_cast<int>(x.size()));
    }
    void paint() {
        surface.clearPixels();
        graph.paint(surface);
    }
};

TEST(XYGraphInput, RightReleaseRoutingFirstMatchWins) {
    // Plot (96, 22) to (511, 523); the blue point (1, 10) lies at (303, 67).
    struct Case {
        const char* what;
        int x, y;
        const char* dialog;  // "" for none
        bool message;
    };
    const Case cases[] = {
        {"near the origin both bands hold it: the x axis wins", 98, 521, "X Axis", false},
        {"y-axis band", 90, 300, "Y Axis", false},
        {"x-title box", 303, 560, "Axis Titles", false},
        {"y-title box", 10, 250, "Axis Titles", false},
        {"the edge of a band is outside it", 300, 533, "", false},
        {"white background", 300, 200, "", false},
        {"the black frame", 0, 100, "", true},
        {"a blue series point", 303, 67, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.add({0, 1, 2}, {0, 10, 10}, kBlue);
        h.paint();
        h.graph.rightRelease(c.x, c.y);
        EXPECT_EQ(std::string(c.dialog), h.dialogs.opened.empty() ? "" : h.dialogs.opened.front());
        EXPECT_LE(h.dialogs.opened.size(), 1u);
        ASSERT_EQ(c.message ? 1u : 0u, h.messages.texts.size());
        if (c.message) {
            EXPECT_EQ(
                "This curve color, type and size depends on the\r\nmain screen load-unload curve settings.",
                h.messages.texts[0]);
            EXPECT_EQ("Information", h.messages.captions[0]);
        }
    }
    // A series in the default black answers like the axes.
    Harness h;
    h.add({0, 1, 2}, {0, 10, 10}, 0);
    h.paint();
    h.graph.rightRelease(303, 67);
    EXPECT_EQ(1u, h.messages.texts.size());
}

TEST(XYGraphInput, DialogsEditTheWindowsOwnSettings) {
    Harness h;
    h.paint();
    h.dialogs.axisAnswer = AxisDialogValues{0, 0, 0, -1, 5, 2, 4};
    h.graph.rightRelease(300, 515);
    EXPECT_EQ(0.0f, h.dialogs.shownAxis.min);
    EXPECT_EQ(2, h.dialogs.shownAxis.labelDecimals);
    const AxisScale& x = h.graph.settings().x;
    EXPECT_EQ(
        (std::vector<float>{0, 0, 0, -1, 5, 2}),
        (std::vector<float>{float(x.autoMin), float(x.autoMax), float(x.autoMajor), x.min, x.max, x.major}));
    EXPECT_EQ(4, h.graph.settings().labelDecimals);
    EXPECT_EQ(1, h.window.repaints);

    // Font size in the dialog = font height - 8; back: + 8.
    h.graph.settings().yTitle = "E(GPa)";
    h.paint();
    h.dialogs.titlesAnswer = AxisTitlesValues{16, 1, "depth", "E"};
    h.graph.rightRelease(h.graph.layout().xTitleBox.left + 1, h.graph.layout().xTitleBox.top + 1);
    EXPECT_EQ(12, h.dialogs.shownTitles.fontSize);
    EXPECT_EQ(0, h.dialogs.shownTitles.bold);
    EXPECT_EQ("nm", h.dialogs.shownTitles.xLabel);
    EXPECT_EQ("E(GPa)", h.dialogs.shownTitles.yLabel);
    EXPECT_EQ(24, h.graph.settings().fontHeight);
    EXPECT_EQ(1, h.graph.settings().boldText);
    EXPECT_EQ("depth", h.graph.settings().xTitle);

    // Cancel changes nothing.
    h.dialogs.axisAnswer.reset();
    h.paint();
    h.graph.rightRelease(h.graph.layout().plotLeft - 2, 300);  // the font grew: plot moved right
    EXPECT_EQ((std::vector<std::string>{"X Axis", "Axis Titles", "Y Axis"}), h.dialogs.opened);
    EXPECT_EQ(1, h.graph.settings().y.autoMin);
    EXPECT_EQ(2, h.window.repaints);
}

TEST(XYGraphInput, KeysAndTextLines) {
    Harness h;
    h.textLine.answers = {"first", "second"};
    h.graph.typedCharacter('a');  // letters are consumed and do nothing
    h.graph.typedCharacter(20);   // Ctrl+T
    h.graph.leftPress(40, 50);    // places and ends placing at once
    EXPECT_FALSE(h.graph.textList().placing());

    // Ctrl+T, Ctrl+Z, press: the text in the cursor is what gets placed,
    // not the line Ctrl+Z took away.
    h.graph.typedCharacter(20);
    h.graph.typedCharacter(26);
    EXPECT_EQ(0, h.graph.textList().count());
    EXPECT_TRUE(h.graph.textList().placing());
    h.graph.leftPress(70, 80);
    ASSERT_EQ(1, h.graph.textList().count());
    EXPECT_EQ("second", h.graph.textList().slot(0).text);
    EXPECT_EQ(70, h.graph.textList().slot(0).x);

    h.paint();  // placed lines are drawn in the window's font
    bool drawn = false;
    for (const auto& r : h.surface.recordsOf(RecordingSurface::Op::Text)) {
        drawn = drawn || (r.text == "second" && r.x == 70 && r.y == 80 && r.font.cellHeight == 20);
    }
    EXPECT_TRUE(drawn);

    h.graph.typedCharacter(3);  // Ctrl+C
    EXPECT_EQ(1, h.clipboard.copies);
    EXPECT_EQ((std::vector<std::string>{"Copied to clipboard..."}), h.messages.texts);
    EXPECT_EQ("Message", h.messages.captions.back());
}

TEST(XYGraphInput, CloseResetsEscapeOnlyHides) {
    Harness h;
    h.add({1, 2}, {3, 4}, kBlue);
    h.add({1, 2}, {3, 4}, kBlue);
    h.textLine.answers = {"note", "waiting"};
    h.graph.typedCharacter(20);
    h.graph.leftPress(5, 5);
    h.graph.typedCharacter(20);  // a text waits while the window closes
    XYGraphSettings& s = h.graph.settings();
    s.x = AxisScale{0, 0, 0, 1, 2, 0.5f};
    s.y.autoMax = 0;
    s.labelDecimals = 3;
    s.xTitle = "depth";
    s.boldText = 1;
    s.fontHeight = 30;

    h.graph.endDialog();  // Enter or Escape
    EXPECT_EQ(1, h.window.hides);
    EXPECT_EQ(2, h.graph.seriesCount());
    EXPECT_EQ(1, h.graph.textList().count());
    EXPECT_EQ(0, s.x.autoMin);

    h.graph.closeRequest();
    EXPECT_EQ(2, h.window.hides);
    EXPECT_EQ(0, h.graph.seriesCount());
    EXPECT_EQ(0, h.graph.textList().count());
    EXPECT_TRUE(h.graph.textList().placing());
    for (const AxisScale& a : {s.x, s.y}) {
        EXPECT_EQ(3, a.autoMin + a.autoMax + a.autoMajor);
    }
    EXPECT_EQ(1.0f, s.x.min);  // typed values stay, unused while automatic
    EXPECT_EQ(3, s.labelDecimals);
    EXPECT_EQ("depth", s.xTitle);
    EXPECT_EQ(1, s.boldText);
    EXPECT_EQ(30, s.fontHeight);
    EXPECT_EQ(kBlue, h.graph.series(1).colour);  // slots keep their data until reused
}

}  // namespace
}  // namespace mivaro::test
