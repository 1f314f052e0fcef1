#include "curves/qt/import_setup_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "curves/recognise/import_recognition.h"
#include "platform/text_encoding.h"

namespace mivaro {
namespace {

QLineEdit* numberBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(70);
    return box;
}

QPlainTextEdit* previewBox(QWidget* parent, const char* name, const QFont& font) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(font);
    return box;
}

// A row of radio buttons in a titled box; ids are the setup's values.
QButtonGroup* radioGroup(QWidget* parent, const QString& title, const QStringList& captions, const char* name,
                         QGroupBox*& box, bool vertical = false) {
    box = new QGroupBox(title, parent);
    QBoxLayout* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box))
                                  : static_cast<QBoxLayout*>(new QHBoxLayout(box));
    auto* group = new QButtonGroup(box);
    group->setObjectName(QString::fromLatin1(name));
    for (int id = 0; id < captions.size(); ++id) {
        auto* button = new QRadioButton(captions[id], box);
        button->setObjectName(QString::fromLatin1(name) + QString::number(id));
        group->addButton(button, id);
        layout->addWidget(button);
    }
    return group;
}

void checkId(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
    } else {
        // A value no button stands for (from a hand-edited settings file).
        group->setExclusive(false);
        for (QAbstractButton* any : group->buttons()) {
            any->setChecked(false);
        }
        group->setExclusive(true);
    }
}

int checkedId(QButtonGroup* group, int fallback) {
    const int id = group->checkedId();
    return id < 0 ? fallback : id;
}

}  // namespace

QString ImportSetupWindow::displayText(const std::string& bytes) {
    QString text = QString::fromUtf8(displayTextUtf8(bytes));
    // Line ends are CR LF; the cut at the last line feed leaves a lone CR.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.remove(QChar('\r'));
    for (QChar& c : text) {
        const char16_t code = c.unicode();
        if (code == 0x7F) {
            c = QChar(0x2502);  // the column marker, a bar between the cells
        } else if (code < 0x20 && code != '\t' && code != '\n') {
            c = QChar(0x2400 + code);  // control pictures: a binary file stays legible
        }
    }
    return text;
}

ImportSetupWindow::ImportSetupWindow(const ImportDialogState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setWindowTitle(QStringLiteral("Import Indentation Test Data Text File Setup"));
    setObjectName(QStringLiteral("ImportSetupDialog"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* grid = new QGridLayout(this);

    auto* headerRow = new QHBoxLayout;
    m_headerLines = numberBox(this, "headerLines");
    auto* headerLabel = new QLabel(QStringLiteral("Number of Header Lines ( H> ) : "), this);
    headerLabel->setBuddy(m_headerLines);
    auto* guessButton = new QPushButton(QStringLiteral("Guess"), this);
    guessButton->setObjectName(QStringLiteral("guess"));
    guessButton->setAutoDefault(false);
    headerRow->addWidget(headerLabel);
    headerRow->addWidget(m_headerLines);
    headerRow->addWidget(guessButton);
    m_recognise = new QPushButton(QStringLiteral("Recognise"), this);
    m_recognise->setObjectName(QStringLiteral("recognise"));
    m_recognise->setAutoDefault(false);
    m_recognise->setEnabled(m_state.recognisable);
    headerRow->addWidget(m_recognise);
    headerRow->addStretch();
    grid->addLayout(headerRow, 0, 0, 1, 5);

    m_preview = previewBox(this, "preview", fixed);
    m_preview->setMinimumHeight(260);
    m_recognition = new QLabel(this);
    m_recognition->setObjectName(QStringLiteral("recognition"));
    m_recognition->setWordWrap(true);
    m_recognition->setTextFormat(Qt::PlainText);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(m_preview, 1);
    previewColumn->addWidget(m_recognition);
    grid->addLayout(previewColumn, 1, 0, 1, 5);

    QGroupBox* separatorBox = nullptr;
    m_separator = radioGroup(
        this, QStringLiteral("Separator Type ( See the I symbol ):"),
        {QStringLiteral("Comma"), QStringLiteral("Tab"), QStringLiteral("Space"), QStringLiteral("Other")},
        "separator", separatorBox);
    m_otherSeparator = new QLineEdit(separatorBox);
    m_otherSeparator->setObjectName(QStringLiteral("otherSeparator"));
    m_otherSeparator->setMaximumWidth(50);
    separatorBox->layout()->addWidget(m_otherSeparator);
    QGroupBox* decimalBox = nullptr;
    m_decimal = radioGroup(this, QStringLiteral("Decimal Type"),
                           {QStringLiteral("Period"), QStringLiteral("Comma")}, "decimal", decimalBox);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(separatorBox);
    typeRow->addWidget(decimalBox);
    typeRow->addStretch();
    grid->addLayout(typeRow, 2, 0, 1, 5);

    grid->addWidget(new QLabel(QStringLiteral("Column Number:"), this), 4, 0);
    grid->addWidget(new QLabel(QStringLiteral("Displacement"), this), 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Force"), this), 3, 2);
    m_timePresent = new QCheckBox(QStringLiteral("Time "), this);
    m_timePresent->setObjectName(QStringLiteral("timePresent"));
    m_segmentPresent = new QCheckBox(QStringLiteral("Segments"), this);
    m_segmentPresent->setObjectName(QStringLiteral("segmentPresent"));
    grid->addWidget(m_timePresent, 3, 3);
    grid->addWidget(m_segmentPresent, 3, 4);
    m_displacementColumn = numberBox(this, "displacementColumn");
    m_forceColumn = numberBox(this, "forceColumn");
    m_timeColumn = numberBox(this, "timeColumn");
    m_segmentColumn = numberBox(this, "segmentColumn");
    grid->addWidget(m_displacementColumn, 4, 1);
    grid->addWidget(m_forceColumn, 4, 2);
    grid->addWidget(m_timeColumn, 4, 3);
    grid->addWidget(m_segmentColumn, 4, 4);

    QGroupBox* depthBox = nullptr;
    QGroupBox* forceBox = nullptr;
    m_depthUnit =
        radioGroup(this, QString(), {"nm", QStringLiteral("\u00B5m"), "mm", "cm"}, "depthUnit", depthBox);
    m_forceUnit = radioGroup(this, QString(), {QStringLiteral("\u00B5N"), "mN", "N"}, "forceUnit", forceBox);
    grid->addWidget(depthBox, 5, 1);
    grid->addWidget(forceBox, 5, 2);

    m_displacementPreview = previewBox(this, "displacementPreview", fixed);
    m_forcePreview = previewBox(this, "forcePreview", fixed);
    m_timePreview = previewBox(this, "timePreview", fixed);
    m_segmentPreview = previewBox(this, "segmentPreview", fixed);
    grid->addWidget(m_displacementPreview, 6, 1);
    grid->addWidget(m_forcePreview, 6, 2);
    grid->addWidget(m_timePreview, 6, 3);
    grid->addWidget(m_segmentPreview, 6, 4);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(6, 2);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 7, 0, 1, 5);

    for (QLineEdit* box :
         {m_headerLines, m_displacementColumn, m_forceColumn, m_timeColumn, m_segmentColumn}) {
        connect(box, &QLineEdit::editingFinished, this, &ImportSetupWindow::rebuildPreview);
    }
    for (QButtonGroup* group : {m_separator, m_decimal}) {
        connect(group, &QButtonGroup::buttonClicked, this, &ImportSetupWindow::rebuildPreview);
    }
    for (QCheckBox* box : {m_timePresent, m_segmentPresent}) {
        connect(box, &QCheckBox::clicked, this, &ImportSetupWindow::rebuildPreview);
    }
    for (QButtonGroup* group : {m_depthUnit, m_forceUnit}) {
        connect(group, &QButtonGroup::buttonClicked, this, [this] { readControls(); });
    }
    connect(guessButton, &QPushButton::clicked, this, &ImportSetupWindow::guess);
    connect(m_recognise, &QPushButton::clicked, this, &ImportSetupWindow::recognise);

    showState();
    resize(940, 760);
}

ImportSetupWindow::~ImportSetupWindow() {
    // Hiding the dialog as it goes takes the focus out of a number box, whose
    // notification must not reach a window half destroyed.
    for (QLineEdit* box :
         {m_headerLines, m_displacementColumn, m_forceColumn, m_timeColumn, m_segmentColumn}) {
        box->disconnect(this);
    }
}

bool ImportSetupWindow::readControls() {
    struct Box {
        QLineEdit* box;
        int* value;
    };
    ColumnSetup& setup = m_state.setup;
    const Box boxes[] = {{m_headerLines, &setup.headerLines},
                         {m_displacementColumn, &setup.displacementColumn},
                         {m_forceColumn, &setup.forceColumn},
                         {m_timeColumn, &setup.timeColumn},
                         {m_segmentColumn, &setup.segmentColumn}};
    for (const Box& b : boxes) {
        bool ok = false;
        const int value = b.box->text().trimmed().toInt(&ok);
        if (!ok) {
            if (m_warning) {
                return false;
            }
            m_warning = true;
            QMessageBox::warning(this, windowTitle(), QStringLiteral("Please enter an integer."));
            m_warning = false;
            b.box->setFocus();
            b.box->selectAll();
            return false;
        }
        *b.value = value;
    }
    setup.separatorKind = checkedId(m_separator, setup.separatorKind);
    setup.decimalComma = checkedId(m_decimal, setup.decimalComma);
    setup.depthUnit = checkedId(m_depthUnit, setup.depthUnit);
    setup.forceUnit = checkedId(m_forceUnit, setup.forceUnit);
    setup.timeColumnPresent = m_timePresent->isChecked() ? 1 : 0;
    setup.segmentColumnPresent = m_segmentPresent->isChecked() ? 1 : 0;
    // The separator is stored as bytes, as the file and the preview take it.
    m_state.otherSeparatorText = m_otherSeparator->text().toLatin1().toStdString();
    setup.otherSeparator = m_state.otherSeparatorText.empty() ? ' ' : m_state.otherSeparatorText.front();
    return true;
}

void ImportSetupWindow::showState() {
    const ColumnSetup& setup = m_state.setup;
    m_headerLines->setText(QString::number(setup.headerLines));
    m_displacementColumn->setText(QString::number(setup.displacementColumn));
    m_forceColumn->setText(QString::number(setup.forceColumn));
    m_timeColumn->setText(QString::number(setup.timeColumn));
    m_segmentColumn->setText(QString::number(setup.segmentColumn));
    m_otherSeparator->setText(QString::fromLatin1(m_state.otherSeparatorText.c_str()));
    checkId(m_separator, setup.separatorKind);
    checkId(m_decimal, setup.decimalComma);
    checkId(m_depthUnit, setup.depthUnit);
    checkId(m_forceUnit, setup.forceUnit);
    m_timePresent->setChecked(setup.timeColumnPresent == 1);
    m_segmentPresent->setChecked(setup.segmentColumnPresent == 1);
    m_preview->setPlainText(displayText(m_state.preview.text));
    m_displacementPreview->setPlainText(displayText(m_state.preview.displacement));
    m_forcePreview->setPlainText(displayText(m_state.preview.force));
    m_timePreview->setPlainText(displayText(m_state.preview.time));
    m_segmentPreview->setPlainText(displayText(m_state.preview.segment));
    m_recognition->setText(QString::fromStdString(recognise::recognitionLine(m_state)));
    m_recognition->setVisible(!m_state.recognition.empty());
}

void ImportSetupWindow::rebuildPreview() {
    if (!readControls()) {
        return;
    }
    m_state.preview = buildImportPreview(m_state);
    showState();
}

void ImportSetupWindow::guess() {
    if (!readControls()) {
        return;
    }
    guessImportSetup(m_state);
    recognise::leaveRecognition(m_state);
    showState();
}

void ImportSetupWindow::recognise() {
    if (!readControls()) {
        return;
    }
    recognise::applyRecognition(m_state);
    showState();
}

void ImportSetupWindow::done(int result) {
    if (result == QDialog::Accepted && !readControls()) {
        return;
    }
    QDialog::done(result);
}

std::optional<ImportDialogState> QtImportSetupDialog::askImportSetup(const ImportDialogState& state) {
    ImportSetupWindow window(state, m_parent);
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return window.state();
}

}  // namespace mivaro
