#pragma once

#include "curves/import_preview.h"
#include "curves/mivaro_doc.h"
#include "platform/file_dialog_port.h"

namespace mivaro {

// "Save As .MVR": asks for one name ("MVR Files (*.MVR)") and writes every
// file of the name list as a standard curve file named after it, each after a
// "File Saved As:" notice. The CurveSet and the name list stay as they were.
void saveAsMvr(CMivaro4Doc& doc, FileDialogPort& dialogs);

// "Import .TXT .CVS": chooses text exports, shows the import setup dialog on
// the last of them, stores the accepted setup in "MivaroOpenSetup.par",
// converts every file of the name list to a standard curve file beside it and
// rebuilds the CurveSet from those. When "Recognise" was pressed, the chosen
// files a format claims become one standard curve file per indent instead.
void importTextFiles(CMivaro4Doc& doc, FileDialogPort& dialogs, ImportSetupDialogPort& setupDialog);

// Save request of "Save As .MVR".
SaveFileRequest mvrSaveRequest();

}  // namespace mivaro
