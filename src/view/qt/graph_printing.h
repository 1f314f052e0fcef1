#pragma once

#include <QSize>
#include <memory>
#include <string>

#include "view/main_graph.h"

class QPrinter;
class QWidget;

namespace mivaro {

// The program's printer and its two commands: "P&rint Setup..." (the page
// setup of that printer) and "&Print..." (the print dialog, then the graph on
// one page). The printer is made on first use and keeps its settings for the
// rest of the run.
class GraphPrinting {
  public:
    GraphPrinting();
    ~GraphPrinting();

    void printSetup(QWidget* parent);
    // False with a sentence in `error` when a chosen PDF file could not be
    // written; a cancelled dialog prints nothing and is no failure.
    bool print(QWidget* parent, const MainGraph& graph, const GraphData& data, QSize clientSize,
               std::string& error);

    // The page on a printer set up already (no dialog). Printing to a PDF
    // file is drawn into memory and written through the safe writer, so a
    // failure keeps an older file.
    static bool printOn(QPrinter& printer, const MainGraph& graph, const GraphData& data, QSize clientSize,
                        std::string& error);

    QPrinter& printer();

  private:
    std::unique_ptr<QPrinter> m_printer;
};

}  // namespace mivaro
