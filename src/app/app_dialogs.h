#pragma once

namespace mivaro {

enum class DialogAction { Ok, Cancel };

// Values of the "Indentation Machine Setup" dialog.
struct MachineSetupValues {
    float forceInstabilityMn = 0.5f;  // +/- band of the force during a hold
};

// The shell's own modal dialogs. The Qt layer shows real dialogs; tests answer
// with scripted fakes.
class AppDialogs {
  public:
    virtual ~AppDialogs() = default;
    // Edits a copy of the values; on Ok the caller takes them.
    virtual DialogAction editMachineSetup(MachineSetupValues& values) = 0;
    virtual void showSetupHelpScreen() = 0;
    virtual void showAbout() = 0;
};

}  // namespace mivaro
