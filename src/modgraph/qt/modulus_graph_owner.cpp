#include "modgraph/qt/modulus_graph_owner.h"

namespace mivaro {

ModulusGraphWindowOwner::ModulusGraphWindowOwner(QWidget* mainView, GraphDialogPort& dialogs,
                                                 MessagePort& messages)
    : m_mainView(mainView), m_dialogs(dialogs), m_messages(messages) {
    m_graph.settings().yTitle = CXYGraphWnd::kModulusTitle;
}

ModulusGraphWindowOwner::~ModulusGraphWindowOwner() {
    delete m_window.data();  // already gone when the main view took it along
}

void ModulusGraphWindowOwner::createOnce() {
    if (!m_created) {
        m_created = true;
        m_window = new XYGraphWindow(m_graph, m_dialogs, m_messages, m_mainView);
        if (onWindowCreated) {
            onWindowCreated(*m_window);
        }
    }
}

void ModulusGraphWindowOwner::setNextSeriesStyle(Rgb colour, int markerStyle, int markerSize) {
    createOnce();
    m_graph.setNextSeriesStyle(colour, markerStyle, markerSize);
}

void ModulusGraphWindowOwner::setBoldText(int bold) {
    createOnce();
    m_graph.setBoldText(bold);
}

void ModulusGraphWindowOwner::setFontHeight(int heightPx) {
    createOnce();
    m_graph.setFontHeight(heightPx);
}

void ModulusGraphWindowOwner::AddSeries(const double* x, const double* y, int n) {
    createOnce();
    m_graph.AddSeries(x, y, n);
}

void ModulusGraphWindowOwner::redrawAndShow() {
    createOnce();
    m_graph.redrawAndShow();
}

}  // namespace mivaro
