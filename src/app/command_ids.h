#pragma once

// Command identifiers of the menu, accelerators and toolbar. The numbers are
// the resource numbers the program has always used; keep them stable.
namespace mivaro::command {

inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;  // "Open .MVR": standard curve files, never projects
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintPreview = 57609;  // exists in the view, reachable from nowhere
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditPaste = 57637;
inline constexpr int EditUndo = 57643;
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;
inline constexpr int NextPane = 57680;
inline constexpr int PrevPane = 57681;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;

inline constexpr int FileImport = 32771;
inline constexpr int IndentationSetup = 32774;
inline constexpr int FileSaveAsMvr = 32775;
inline constexpr int FileOpenProject = 32776;
inline constexpr int HelpFile = 32778;
inline constexpr int EditUndoText = 32779;
inline constexpr int EditTextLine = 32780;
inline constexpr int SetupHelpScreen = 32781;
inline constexpr int DownloadLatest = 32783;
inline constexpr int FileExportGraph = 32784;  // "Export Graph...": PNG, SVG or PDF
inline constexpr int ViewResults = 32785;      // "Results": the table of the session's analyses

}  // namespace mivaro::command
