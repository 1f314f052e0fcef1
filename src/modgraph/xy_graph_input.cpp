// The modulus graph's mouse and keys: right-click editing of its axes and
// titles, its own text lines, copy, hide and close.
#include "modgraph/xy_graph_wnd.h"
#include "platform/clipboard_port.h"
#include "view/graph_dialogs.h"
#include "view/text_line_dialog_port.h"

namespace mivaro {

namespace {

constexpr int kCtrlC = 3;
constexpr int kCtrlT = 20;
constexpr int kCtrlZ = 26;

}  // namespace

void CXYGraphWnd::editAxis(AxisScale& axis, bool xAxis) {
    if (m_ports.dialogs == nullptr) {
        return;
    }
    const AxisDialogValues values{axis.autoMin, axis.autoMax, axis.autoMajor,          axis.min,
                                  axis.max,     axis.major,   m_settings.labelDecimals};
    const std::optional<AxisDialogValues> edited =
        xAxis ? m_ports.dialogs->askXAxis(values) : m_ports.dialogs->askYAxis(values);
    if (!edited) {
        return;
    }
    axis.autoMin = edited->autoMin;
    axis.autoMax = edited->autoMax;
    axis.autoMajor = edited->autoMajor;
    axis.min = edited->min;
    axis.max = edited->max;
    axis.major = edited->major;
    m_settings.labelDecimals = edited->labelDecimals;
    repaint();
}

void CXYGraphWnd::editTitles() {
    if (m_ports.dialogs == nullptr) {
        return;
    }
    const AxisTitlesValues values{m_settings.fontHeight - 8, m_settings.boldText != 0 ? 1 : 0,
                                  m_settings.xTitle, m_settings.yTitle};
    const std::optional<AxisTitlesValues> edited = m_ports.dialogs->askAxisTitles(values);
    if (!edited) {
        return;
    }
    m_settings.xTitle = edited->xLabel;
    m_settings.yTitle = edited->yLabel;
    m_settings.boldText = edited->bold != 0 ? 1 : 0;
    m_settings.fontHeight = edited->fontSize + 8;
    repaint();
}

void CXYGraphWnd::rightRelease(int x, int y) {
    // The first box that holds the point wins: near the origin the x axis.
    if (m_layout.xAxisBand.contains(x, y)) {
        editAxis(m_settings.x, true);
    } else if (m_layout.yAxisBand.contains(x, y)) {
        editAxis(m_settings.y, false);
    } else if (m_layout.xTitleBox.contains(x, y) || m_layout.yTitleBox.contains(x, y)) {
        editTitles();
    } else if (m_ports.window != nullptr && m_ports.messages != nullptr &&
               m_ports.window->pixelAt(x, y) == 0) {
        // Black: a series in the default colour, or the frame and its texts.
        m_ports.messages->showMessage(kCurveColourHint, kHintCaption, MessageButtons::Ok);
    }
}

void CXYGraphWnd::leftPress(int x, int y) {
    // Placing ends with the press itself; the release has nothing to do here.
    if (m_texts.leftPress(x, y)) {
        m_texts.leftRelease();
        repaint();
    }
}

void CXYGraphWnd::typedCharacter(int code) {
    switch (code) {
        case kCtrlC:
            if (m_ports.clipboard != nullptr && m_ports.messages != nullptr) {
                copyWindowToClipboard(*m_ports.clipboard, *m_ports.messages);
            }
            break;
        case kCtrlT:
            if (m_ports.textLine != nullptr) {
                std::string text;
                if (m_ports.textLine->askTextLine(text)) {
                    m_texts.beginTextPlacement(text);
                }
            }
            break;
        case kCtrlZ:
            if (m_texts.undoText()) {
                repaint();
            }
            break;
        default:
            break;  // consumed: letters have no effect here
    }
}

void CXYGraphWnd::endDialog() {
    if (m_ports.window != nullptr) {
        m_ports.window->hideWindow();
    }
}

void CXYGraphWnd::closeRequest() {
    m_count = 0;
    m_texts.empty();
    for (AxisScale* axis : {&m_settings.x, &m_settings.y}) {
        axis->autoMin = 1;
        axis->autoMax = 1;
        axis->autoMajor = 1;
    }
    endDialog();
}

}  // namespace mivaro
