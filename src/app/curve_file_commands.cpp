#include "app/curve_file_commands.h"

#include "curves/curve_conversion.h"
#include "curves/curve_file_dialog.h"
#include "curves/recognise/import_recognition.h"
#include "curves/recognise/recognised_conversion.h"
#include "curves/settings_files.h"

namespace mivaro {

SaveFileRequest mvrSaveRequest() {
    SaveFileRequest request;
    request.title = "Save As";
    request.filters = {{"MVR Files (*.MVR)", {"*.MVR"}}};
    request.defaultExtension = "MVR";
    return request;
}

void saveAsMvr(CMivaro4Doc& doc, FileDialogPort& dialogs) {
    IndentCurve& curve = doc.indentCurve();
    if (curve.names.empty()) {
        return;
    }
    const auto chosen = dialogs.chooseFileToSave(mvrSaveRequest());
    if (!chosen || chosen->empty()) {
        return;
    }
    saveCurveFilesAs(curve, *chosen, doc.messages());
}

void importTextFiles(CMivaro4Doc& doc, FileDialogPort& dialogs, ImportSetupDialogPort& setupDialog) {
    IndentCurve& curve = doc.indentCurve();
    MessagePort& messages = doc.messages();
    doc.compactNameList();
    const std::size_t remembered = curve.names.size();

    curve.offerStandardFiles = false;
    const auto chosen = dialogs.chooseFilesToOpen(curveFileDialogRequest(curve.offerStandardFiles));
    if (!chosen) {
        curve.fileDialogAccepted = false;
        return;
    }
    curve.fileDialogAccepted = true;
    curve.currentFilePath.clear();
    doc.appendPaths(*chosen);

    ImportDialogState& state = doc.importState();
    loadImportSetup(curve.settingsDirectory, state);
    state.rawText.clear();
    state.recognition.clear();
    state.recognisable = false;
    state.useRecogniser = false;
    if (!curve.names.empty()) {
        const std::string& previewed = curve.names.back();
        std::string reason;
        if (!readPreviewText(previewed, state.rawText, reason)) {
            messages.showMessage(std::string(kFileNotOpened) + "\n" + previewed + "\n" + reason, "Error",
                                 MessageButtons::Ok);
            return;
        }
        recognise::recogniseForImport(state, previewed);
    }
    state.preview = buildImportPreview(state);

    const auto accepted = setupDialog.askImportSetup(state);
    if (!accepted) {
        curve.names.resize(remembered);
        return;
    }
    state = *accepted;
    state.setup.otherSeparator = state.otherSeparatorText.empty() ? ' ' : state.otherSeparatorText.front();
    // The conversion reads the setup back from the file: converting with an
    // older file than the one the user accepted would give wrong numbers.
    if (!writeOpenSetup(curve.settingsDirectory, state.setup, state.otherSeparatorText)) {
        messages.showMessage("The import setup could not be saved to \"" +
                                 curve.settingsFile(kOpenSetupFileName) +
                                 "\", so nothing was imported. Check that the folder may be written.",
                             "Error", MessageButtons::Ok);
        curve.names.resize(remembered);
        return;
    }
    if (state.useRecogniser) {
        recognise::convertWithRecogniser(curve, remembered, messages);
    } else {
        convertCurveFiles(curve, messages);
    }
    doc.rebuildCurveSet();
}

}  // namespace mivaro
