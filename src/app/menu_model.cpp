#include "app/menu_model.h"

#include <map>

#include "app/command_ids.h"

namespace mivaro {

using namespace command;

const std::vector<MenuDefinition>& mainMenu() {
    static const std::vector<MenuDefinition> menu = {
        {"&File",
         {{"&New\tCtrl+N", FileNew},
          {},
          {"Import .TXT .CVS", FileImport},
          {},
          {"Save As .MVR", FileSaveAsMvr},
          {"Export Graph...", FileExportGraph},
          {"Open .MVR", FileOpen},
          {},
          {"&Save Project\tCtrl+S", FileSave},
          {"Save Project As...", FileSaveAs},
          {"Open Project", FileOpenProject},
          {},
          {"&Print...\tCtrl+P", FilePrint},
          {"P&rint Setup...", FilePrintSetup},
          {},
          {"E&xit", AppExit}}},
        {"Edit",
         {{"&Copy\tCtrl+C", EditCopy},
          {"Undo Text \tCtrl+Z", EditUndoText},
          {"&Text Line\tCtrl+T", EditTextLine}}},
        {"&View", {{"Toolbar", ViewToolbar}, {"Status Bar", ViewStatusBar}, {"Results", ViewResults}}},
        {"Setup", {{"Indentation Setup", IndentationSetup}}},
        {"&Help",
         {{"Setup && Graphic Controls", SetupHelpScreen},
          {"&About...", AppAbout},
          {"Help (HelpTavimo.rtf)", HelpFile},
          {},
          {"Download the latest version", DownloadLatest},
          {}}},
    };
    return menu;
}

const std::vector<Accelerator>& accelerators() {
    static const std::vector<Accelerator> keys = {
        {"Ctrl+C", EditCopy},        {"Ctrl+I", FileImport},   {"Ctrl+N", FileNew},
        {"Ctrl+O", FileOpen},        {"Ctrl+P", FilePrint},    {"Ctrl+S", FileSave},
        {"Ctrl+T", EditTextLine},    {"Ctrl+Z", EditUndoText}, {"Ctrl+Ins", EditCopy},
        {"Ctrl+V", EditPaste},       {"Shift+Ins", EditPaste}, {"Shift+Del", EditCut},
        {"Alt+Backspace", EditUndo}, {"F6", NextPane},         {"Shift+F6", PrevPane},
    };
    return keys;
}

const std::vector<int>& toolbarButtons() {
    static const std::vector<int> buttons = {FileNew,      FileOpen, FileSave,  0, FileImport, EditCopy,
                                             EditUndoText, 0,        FilePrint, 0, AppAbout};
    return buttons;
}

const std::string& promptString(int id) {
    static const std::map<int, std::string> prompts = {
        {FileImport, "Import an indentation text file "},
        {IndentationSetup,
         "The noise factor that determines when the hold time stops and the unloading begins. "},
        {FileSaveAsMvr,
         "Makes all curve files the same format. This allows you to compare the results from several testing "
         "machines."},
        {HelpFile, "Opens a help file that can be edited and then saved by the user. "},
        {EditUndoText, "Removes the last result text off of the graph. "},
        {EditTextLine, "Click the Control-T anytime to add text messages to your graph."},
        {SetupHelpScreen, "A click map of window regions for calculations and graph editing. "},
        {DownloadLatest, "Downloads the latest version of this software from the Internet."},
        {FileExportGraph, "Saves the graph as a PNG picture, an SVG drawing or a PDF page."},
        {FileNew, "Create a new document\nNew"},
        {FileOpen, "Open an existing document\nOpen"},
        {FileSave, "Save the active document\nSave"},
        {FileSaveAs, "Save the active document with a new name\nSave As"},
        {FilePrintSetup, "Change the printer and printing options\nPrint Setup"},
        {FilePrint, "Print the active document\nPrint"},
        {EditCopy, "Copy this window and put it on the Clipboard\nCopy"},
        {AppExit, "Quit the application; prompts to save documents\nExit"},
        {ViewToolbar, "Show or hide the toolbar\nToggle ToolBar"},
        {ViewStatusBar, "Show or hide the status bar\nToggle StatusBar"},
        {ViewResults, "Show or hide the table of the results of this session\nResults"},
        {AppAbout, "Display program information and version number\nAbout"},
    };
    static const std::string none;
    const auto found = prompts.find(id);
    return found == prompts.end() ? none : found->second;
}

std::string statusPrompt(int id) {
    const std::string& prompt = promptString(id);
    return prompt.substr(0, prompt.find('\n'));
}

std::string toolTip(int id) {
    const std::string& prompt = promptString(id);
    const auto newline = prompt.find('\n');
    return newline == std::string::npos ? std::string() : prompt.substr(newline + 1);
}

}  // namespace mivaro
