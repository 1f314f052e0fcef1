#include "view/qt/graph_printing.h"

#include <QBuffer>
#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <ostream>

#include "platform/safe_file_write.h"
#include "view/qt/graph_output.h"

namespace mivaro {

GraphPrinting::GraphPrinting() = default;
GraphPrinting::~GraphPrinting() = default;

QPrinter& GraphPrinting::printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setDocName("Mivaro graph");
    }
    return *m_printer;
}

void GraphPrinting::printSetup(QWidget* parent) {
    QPageSetupDialog dialog(&printer(), parent);
    dialog.exec();
}

bool GraphPrinting::print(QWidget* parent, const MainGraph& graph, const GraphData& data, QSize clientSize,
                          std::string& error) {
    QPrinter& target = printer();
    // A document of exactly one page.
    target.setFromTo(1, 1);
    QPrintDialog dialog(&target, parent);
    dialog.setMinMax(1, 1);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted) {
        return true;
    }
    return printOn(target, graph, data, clientSize, error);
}

bool GraphPrinting::printOn(QPrinter& printer, const MainGraph& graph, const GraphData& data,
                            QSize clientSize, std::string& error) {
    const QString file = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || file.isEmpty()) {
        printGraphPage(printer, graph, data, clientSize);
        return true;
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(printer.resolution());
        pdf.setPageLayout(printer.pageLayout());
        pdf.setTitle(printer.docName());
        pdf.setCreator("Mivaro");
        printGraphPage(pdf, graph, data, clientSize);
    }
    return saveFileSafely(
        file.toStdString(),
        [&bytes](std::ostream& out) {
            out.write(bytes.constData(), static_cast<std::streamsize>(bytes.size()));
        },
        error);
}

}  // namespace mivaro
