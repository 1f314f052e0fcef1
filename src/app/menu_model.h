#pragma once

#include <string>
#include <vector>

namespace mivaro {

// The menu, accelerator, toolbar and prompt tables of the main window as plain
// data; the Qt frame builds its widgets from them.

struct MenuItem {
    std::string text;  // "&Save Project\tCtrl+S"; empty for a separator
    int id = 0;        // 0 for a separator

    bool separator() const { return id == 0; }
};

struct MenuDefinition {
    std::string title;
    std::vector<MenuItem> items;
};

struct Accelerator {
    std::string keys;  // in QKeySequence's portable text form: "Ctrl+Insert"
    int id = 0;
};

const std::vector<MenuDefinition>& mainMenu();
const std::vector<Accelerator>& accelerators();

// Toolbar buttons left to right; 0 marks a separator.
const std::vector<int>& toolbarButtons();

// The prompt string of a command: "status prompt\ntooltip" or only the prompt.
// Empty for a command without one.
const std::string& promptString(int id);
std::string statusPrompt(int id);
std::string toolTip(int id);

}  // namespace mivaro
