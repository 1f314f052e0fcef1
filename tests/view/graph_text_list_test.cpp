#include "view/graph_text_list.h"

#include <gtest/gtest.h>

#include "view/main_graph.h"
#include "view/text_cursor.h"
#include "view_test_support.h"

namespace mivaro {
namespace {

using test::Op;

class ScriptedCursor final : public TextCursorBuilder {
  public:
    bool succeed = true;
    std::vector<std::string> built;
    bool buildTextCursor(const std::string& text) override {
        built.push_back(text);
        return succeed;
    }
};

class RecordedMessages final : public MessagePort {
  public:
    std::vector<std::pair<std::string, std::string>> shown;
    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageButtons) override {
        shown.emplace_back(text, caption);
        return MessageAnswer::Ok;
    }
};

TEST(GraphTextList, PlacementTakesTheNextLeftPressAndEatsItsRelease) {
    GraphTextList list;
    // A press and release while idle store nothing and pass the release on.
    EXPECT_FALSE(list.leftPress(10, 10));
    EXPECT_FALSE(list.leftRelease());
    EXPECT_EQ(list.count(), 0);

    list.beginTextPlacement("abc");
    EXPECT_TRUE(list.placing());
    EXPECT_EQ(list.count(), 0);  // prepared, not placed
    EXPECT_TRUE(list.leftPress(300, 200));
    EXPECT_TRUE(list.placing());  // until the release
    EXPECT_TRUE(list.leftRelease());
    EXPECT_FALSE(list.placing());
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.slot(0).text, "abc");
    EXPECT_EQ(list.slot(0).x, 300);
    EXPECT_EQ(list.slot(0).y, 200);
    EXPECT_FALSE(list.leftRelease());  // the next release belongs to the click commands
}

TEST(GraphTextList, RightPressAbandonsAndASecondPreparationReplaces) {
    GraphTextList list;
    list.beginTextPlacement("first");
    list.beginTextPlacement("second");
    list.rightPress();
    EXPECT_FALSE(list.placing());
    EXPECT_FALSE(list.leftPress(1, 1));
    EXPECT_EQ(list.count(), 0);
    list.beginTextPlacement("third");
    list.leftPress(5, 6);
    EXPECT_EQ(list.slot(0).text, "third");
}

TEST(GraphTextList, TwentyLinesThenUndoMakesRoomAgain) {
    GraphTextList list;
    for (int k = 0; k < 20; ++k) {
        list.beginTextPlacement("line " + std::to_string(k));
        ASSERT_TRUE(list.leftPress(k, k));
        list.leftRelease();
    }
    EXPECT_EQ(list.count(), 20);
    list.beginTextPlacement("twenty-first");
    EXPECT_EQ(list.slot(20).text, "twenty-first");  // the spare slot
    EXPECT_FALSE(list.leftPress(50, 50));
    EXPECT_TRUE(list.leftRelease());  // still ends the placement, silently
    EXPECT_EQ(list.count(), 20);

    EXPECT_TRUE(list.undoText());
    EXPECT_EQ(list.count(), 19);
    list.beginTextPlacement("again");
    EXPECT_TRUE(list.leftPress(60, 70));
    EXPECT_EQ(list.count(), 20);
    EXPECT_EQ(list.slot(19).text, "again");

    for (int k = 0; k < 20; ++k) {
        list.undoText();
    }
    EXPECT_FALSE(list.undoText());  // never below zero
    EXPECT_EQ(list.count(), 0);
}

// Undo or the emptying while a text waits must not bring back an old line.
TEST(GraphTextList, PreparedTextSurvivesACountChangeBeforeThePress) {
    GraphTextList list;
    for (const char* text : {"old one", "old two"}) {
        list.beginTextPlacement(text);
        list.leftPress(1, 1);
        list.leftRelease();
    }
    list.beginTextPlacement("new");
    list.undoText();
    ASSERT_TRUE(list.leftPress(40, 50));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.slot(1).text, "new");
    list.leftRelease();

    list.beginTextPlacement("after emptying");
    list.empty();
    ASSERT_TRUE(list.leftPress(7, 8));
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.slot(0).text, "after emptying");
}

TEST(GraphTextList, CursorFailureIsReportedAndPlacementGoesOn) {
    GraphTextList list;
    ScriptedCursor cursor;
    RecordedMessages messages;
    list.setCursorBuilder(&cursor);
    list.setMessagePort(&messages);

    list.beginTextPlacement("ok");
    EXPECT_TRUE(list.showsTextCursor());
    EXPECT_TRUE(messages.shown.empty());

    cursor.succeed = false;
    list.beginTextPlacement("fails");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, "Cannot create And and Xor masks...!");
    EXPECT_EQ(messages.shown[0].second, "Tavimo");
    EXPECT_TRUE(list.placing());
    EXPECT_TRUE(list.hasTextCursor());  // the previous cursor stays in use
    EXPECT_EQ(cursor.built, (std::vector<std::string>{"ok", "fails"}));
    list.rightPress();
    EXPECT_FALSE(list.showsTextCursor());
}

TEST(GraphTextList, PaintDrawsPlacedLinesAndEmptiesOnAChangedNameCount) {
    MainGraph graph;
    CurveSet set;
    RecordingSurface surface(800, 600);
    auto paint = [&](int nameCount) {
        surface.clearRecords();
        graph.paint(surface, GraphData{set, nameCount, "nm", "mN"});
        std::vector<RecordingSurface::Record> lines;
        for (const auto& r : surface.recordsOf(Op::Text)) {
            if (r.align == TextAlign::Left) {
                lines.push_back(r);
            }
        }
        return lines;
    };
    paint(2);
    GraphTextList& list = graph.textList();
    list.beginTextPlacement("abc");
    list.leftPress(300, 200);
    list.leftRelease();
    list.beginTextPlacement("def");
    list.leftPress(10, 400);
    list.leftRelease();

    auto lines = paint(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "abc");
    EXPECT_EQ(lines[0].x, 300);
    EXPECT_EQ(lines[0].y, 200);
    EXPECT_EQ(lines[0].font.rotationDeg, 0);
    EXPECT_EQ(lines[1].text, "def");

    // Settings changes keep the lines; another number of files removes them.
    graph.settings().fontSize = 20;
    EXPECT_EQ(paint(2).size(), 2u);
    list.beginTextPlacement("pending");
    EXPECT_TRUE(paint(3).empty());
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.placing());  // a prepared text survives the emptying
    EXPECT_FALSE(list.undoText());
    EXPECT_TRUE(paint(3).empty());
}

TEST(TextCursor, SizeAndMasks) {
    EXPECT_EQ(textCursorWidth(10, 24), 115);
    EXPECT_EQ(textCursorWidth(0, 24), 19);
    EXPECT_EQ(characterCount("abc"), 3);
    EXPECT_EQ(characterCount("\xC2\xB5m"), 2);  // micro sign + m

    const std::vector<Rgb> pixels{0, makeRgb(1, 1, 1), 0, makeRgb(0, 0, 1), makeRgb(200, 3, 4), 0};
    CursorMasks masks;
    ASSERT_TRUE(deriveCursorMasks(pixels, 3, 2, masks));
    EXPECT_EQ(masks.transparent, (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 1}));
    EXPECT_EQ(masks.colour[1], makeRgb(1, 1, 1));
    EXPECT_EQ(masks.colour[3], makeRgb(0, 0, 1));  // near-black still opaque
    EXPECT_EQ(masks.colour[4], makeRgb(200, 3, 4));
    EXPECT_EQ(masks.colour[0], 0u);

    CursorMasks untouched;
    EXPECT_FALSE(deriveCursorMasks(pixels, 4, 2, untouched));
    EXPECT_FALSE(deriveCursorMasks({}, 0, 24, untouched));
    EXPECT_EQ(untouched.width, 0);
}

}  // namespace
}  // namespace mivaro
